#include "common/Truncate.h"

int32_t TruncateToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

uint32_t TruncateToU32(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(value);
}
