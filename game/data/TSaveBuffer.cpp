#include "game/data/TSaveBuffer.h"

#include <cstring>

#include "common/Untraced.h"

TSaveWriter& TSaveWriter::U8(uint8_t v) {
  bytes.push_back(v);
  return *this;
}

TSaveWriter& TSaveWriter::U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }

TSaveWriter& TSaveWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

TSaveWriter& TSaveWriter::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return U32(bits);
}

TSaveWriter& TSaveWriter::Bytes(const uint8_t* data, size_t size) {
  bytes.insert(bytes.end(), data, data + size);
  return *this;
}

bool TSaveReader::Bytes(uint8_t* out, size_t size) {
  if (size > Left()) return false;
  if (size) std::memcpy(out, at, size);
  at += size;
  return true;
}

DW_UNTRACED bool TSaveReader::U16s(uint16_t* out, size_t count) {
  if (count > Left() / 2) return false;
  for (size_t i = 0; i < count; ++i, at += 2) out[i] = static_cast<uint16_t>(at[0] | (at[1] << 8));
  return true;
}

DW_UNTRACED bool TSaveReader::U32s(uint32_t* out, size_t count) {
  if (count > Left() / 4) return false;
  for (size_t i = 0; i < count; ++i, at += 4)
    out[i] = static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
             static_cast<uint32_t>(at[3]) << 24;
  return true;
}

bool TSaveReader::U8(uint8_t& v) { return Bytes(&v, 1); }

bool TSaveReader::U16(uint16_t& v) { return U16s(&v, 1); }

bool TSaveReader::U32(uint32_t& v) { return U32s(&v, 1); }

bool TSaveReader::I32(int32_t& v) {
  uint32_t u;
  if (!U32(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool TSaveReader::F32(float& v) {
  uint32_t u;
  if (!U32(u)) return false;
  std::memcpy(&v, &u, 4);
  return true;
}
