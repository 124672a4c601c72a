#include "tools/datakit/ByteWriter.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/scramble.h"

namespace datakit {

ByteWriter& ByteWriter::U8(uint8_t v) {
  bytes_.push_back(v);
  return *this;
}

ByteWriter& ByteWriter::U16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

ByteWriter& ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

ByteWriter& ByteWriter::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return U32(bits);
}

ByteWriter& ByteWriter::Raw(const void* data, size_t size) {
  auto* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
  return *this;
}

ByteWriter& ByteWriter::LString(const std::string& s) {
  U32(static_cast<uint32_t>(s.size()));
  return Raw(s.data(), s.size());
}

ByteWriter& ByteWriter::ScrambledBlock(const void* data, size_t size, uint8_t start) {
  size_t at = bytes_.size();
  Raw(data, size);
  scramble::ScrambleBytes(bytes_.data() + at, size, start);
  return *this;
}

ByteWriter& ByteWriter::Scrambled4(uint32_t v) {
  uint8_t b[4];
  for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
  return ScrambledBlock(b, 4, 0);
}

ByteWriter& ByteWriter::ScrambledF32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  return Scrambled4(bits);
}

ByteWriter& ByteWriter::ScrambledString(const std::string& s, uint8_t textOffset) {
  Scrambled4(static_cast<uint32_t>(s.size()));
  return ScrambledBlock(s.data(), s.size(), textOffset);
}

void ByteWriter::Save(const std::string& path) const { SaveFile(path, bytes_); }

void SaveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void SaveFile(const std::string& path, const std::string& text) {
  SaveFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace datakit
