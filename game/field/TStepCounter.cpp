#include "game/field/TStepCounter.h"

#include <cstdlib>

void TStepCounter::Set(int32_t start, int32_t end, int32_t stepSize) {
  value = from = start;
  to = end;
  step = stepSize;
  subCount = 0;
}

bool TStepCounter::Step() {
  int32_t amount = step;
  if (step < 1) {
    if (++subCount < -step) return true;
    subCount = 0;
    amount = 1;
  }
  // In 64 bits, so a step toward an end near the limits never wraps past it.
  const int64_t distance = int64_t{to} - value;
  if (std::llabs(distance) < amount) {
    value = to;
    return false;
  }
  value += distance < 0 ? -amount : amount;
  return true;
}
