#include "game/actor/CharFileReader.h"

#include "common/my_error.h"
#include "platform/core/Win32Types.h"

TCharFileReader::TCharFileReader(const std::string& folder, const std::string& fileName, const char* sourceFile,
                                 int32_t missingLine) {
  if (!file_.Open(true, plat::GENERIC_READ, folder + fileName)) throw my_error(fileName, sourceFile, missingLine);
}

void TCharFileReader::Fail(const std::string& what) const {
  throw my_error(file_.GetName() + ": damaged file (" + what + ")", __FILE__, __LINE__);
}

void TCharFileReader::Need(uint64_t bytes, const char* what) {
  if (bytes > file_.Remaining()) Fail(std::string(what) + " run past the end");
}

uint32_t TCharFileReader::GetU32(const char* what) {
  uint32_t value = 0;
  if (!file_.Read(&value, 4)) Fail(std::string(what) + " cut short");
  return value;
}

std::vector<uint8_t> TCharFileReader::GetBlock(uint32_t count, uint32_t size, const char* what) {
  const uint64_t bytes = uint64_t(count) * size;
  Need(bytes, what);
  std::vector<uint8_t> block(static_cast<size_t>(bytes));
  if (!block.empty() && !file_.Read(block.data(), static_cast<uint32_t>(bytes))) Fail(std::string(what) + " cut short");
  return block;
}
