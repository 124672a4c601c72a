// The stage's grid arithmetic: how many cells of a given size cover an axis range.
#pragma once
#include <cstdint>

struct TAxisRange {
  float min;
  float max;
};

// A cell size below 1 becomes the largest float and gives one cell (the range is left alone).
// Otherwise the count is (max - min) / size rounded up, and max moves to min + count * size. An
// empty or inverted range gives 0; a count beyond u32 saturates.
uint32_t FitGridAxis(TAxisRange& range, float& cellSize);
