// Little-endian building and bounded reading of a save's payload.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class TSaveWriter {
 public:
  TSaveWriter& U8(uint8_t v);
  TSaveWriter& U16(uint16_t v);
  TSaveWriter& U32(uint32_t v);
  TSaveWriter& F32(float v);
  TSaveWriter& Bytes(const uint8_t* data, size_t size);

  std::vector<uint8_t>& Data() { return bytes; }

 private:
  std::vector<uint8_t> bytes;
};

// Every read checks the bytes left; a read past the end fails and leaves its target unchanged.
class TSaveReader {
 public:
  TSaveReader(const uint8_t* data, size_t size) : at(data), end(data + size) {}

  bool U8(uint8_t& v);
  bool U16(uint16_t& v);
  bool U32(uint32_t& v);
  bool I32(int32_t& v);
  bool F32(float& v);
  bool Bytes(uint8_t* out, size_t size);
  // A whole array in one bounds check: the long point tables are most of a save.
  bool U16s(uint16_t* out, size_t count);
  bool U32s(uint32_t* out, size_t count);
  size_t Left() const { return static_cast<size_t>(end - at); }

 private:
  const uint8_t* at;
  const uint8_t* end;
};
