// Reading of the character files (".pat", ".wpm"): every count is checked against the bytes left
// before anything is allocated, and a file that ends early or holds an index outside its tables
// throws `my_error` naming the file, so a damaged file stops the load instead of giving garbage.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/TFile.h"

class TCharFileReader {
 public:
  // Opens folder + fileName for reading; a missing file throws with the bare fileName, from the
  // caller's source file and line.
  TCharFileReader(const std::string& folder, const std::string& fileName, const char* sourceFile,
                  int32_t missingLine);

  [[noreturn]] void Fail(const std::string& what) const;
  // Fails unless `bytes` more bytes are left.
  void Need(uint64_t bytes, const char* what);
  uint32_t GetU32(const char* what);
  // count records of `size` bytes in one read.
  std::vector<uint8_t> GetBlock(uint32_t count, uint32_t size, const char* what);
  void Close() { file_.Close(); }

 private:
  TFile file_;
};
