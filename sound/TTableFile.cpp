#include "sound/TTableFile.h"

#include "common/TFile.h"

bool TTableFile::ReadScrambled4(uint32_t& cell, TFile& file) {
  cell = 0;
  return file.ReadScrambled(&cell, 4, 0);
}
