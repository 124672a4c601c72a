// The scrambled 4-byte cell read that every table row uses.
#pragma once
#include <cstdint>

class TFile;

class TTableFile {
 public:
  // cell := 0, then 4 bytes unscrambled with rotations 0-3; false (cell 0) when the read fails.
  static bool ReadScrambled4(uint32_t& cell, TFile& file);
};
