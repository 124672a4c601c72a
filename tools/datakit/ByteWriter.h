// Little-endian byte building with the data files' scrambled forms.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datakit {

class ByteWriter {
 public:
  ByteWriter& U8(uint8_t v);
  ByteWriter& U16(uint16_t v);
  ByteWriter& U32(uint32_t v);
  ByteWriter& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  ByteWriter& F32(float v);
  ByteWriter& Raw(const void* data, size_t size);
  ByteWriter& Raw(const std::vector<uint8_t>& bytes) { return Raw(bytes.data(), bytes.size()); }
  // The plain length-prefixed string (u32 length, then the bytes).
  ByteWriter& LString(const std::string& s);
  // A 4-byte field scrambled with rotations 0-3.
  ByteWriter& Scrambled4(uint32_t v);
  ByteWriter& ScrambledF32(float v);
  // Bytes scrambled as one read starting at the given rotation count.
  ByteWriter& ScrambledBlock(const void* data, size_t size, uint8_t start);
  ByteWriter& ScrambledBlock(const ByteWriter& plain, uint8_t start) {
    return ScrambledBlock(plain.data().data(), plain.size(), start);
  }
  // A scrambled string: scrambled u32 length, then the text at textOffset.
  ByteWriter& ScrambledString(const std::string& s, uint8_t textOffset);

  const std::vector<uint8_t>& data() const { return bytes_; }
  size_t size() const { return bytes_.size(); }
  void Save(const std::string& path) const;

 private:
  std::vector<uint8_t> bytes_;
};

// Writes bytes to a file, creating its folders; throws std::runtime_error when it cannot.
void SaveFile(const std::string& path, const std::vector<uint8_t>& bytes);
void SaveFile(const std::string& path, const std::string& text);

}  // namespace datakit
