#include "common/FitGridAxis.h"

#include <cfloat>
#include <cmath>

uint32_t FitGridAxis(TAxisRange& range, float& cellSize) {
  if (!(cellSize >= 1.0f)) {
    cellSize = FLT_MAX;
    return 1;
  }
  const float cells = (range.max - range.min) / cellSize;
  if (!(cells > 0.0f)) return 0;  // also NaN
  const float whole = std::ceil(cells);
  const uint32_t count = whole >= 4294967296.0f ? 0xFFFFFFFFu : static_cast<uint32_t>(whole);
  range.max = range.min + static_cast<float>(count) * cellSize;
  return count;
}
