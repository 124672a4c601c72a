// Reading a record count that the rest of the file must be able to hold.
#pragma once
#include <cstdint>

#include "common/TFile.h"

// Reads a u32 count of records that take at least minBytes each. A count whose read fails, or
// which the bytes left cannot hold, is a failed read: count 0 and the file left at its end, so
// that every later read of the same file fails as well.
inline bool ReadCount(TFile& file, uint32_t& count, uint32_t minBytes) {
  count = 0;
  uint32_t n = 0;
  if (!file.Read(&n, 4)) return false;
  if (static_cast<uint64_t>(n) * minBytes > file.Remaining()) {
    file.Seek(0, 2);
    return false;
  }
  count = n;
  return true;
}
