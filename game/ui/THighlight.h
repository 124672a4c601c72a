// The highlight of a column of pieces (panels, rows, menu items): the piece under the cursor fades
// toward its bright value and every other piece toward its dim value, over 10 frames.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/TMoveValue.h"

class THighlight {
 public:
  static constexpr int32_t kFadeFrames = 10;

  // Settled: the cursor's piece bright, the others dim.
  THighlight(size_t count, float bright, float dim, int32_t cursor);

  // One fade step toward the cursor's piece.
  void Step(int32_t cursor);
  // Every fade at its end at once.
  void Settle(int32_t cursor);

  const TMoveValue& operator[](size_t n) const { return values[n]; }
  float Value(size_t n) const { return values[n].value; }
  size_t Size() const { return values.size(); }

 private:
  float bright, dim;
  std::vector<TMoveValue> values;
};
