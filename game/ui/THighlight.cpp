#include "game/ui/THighlight.h"

THighlight::THighlight(size_t count, float brightValue, float dimValue, int32_t cursor)
    : bright(brightValue), dim(dimValue), values(count) {
  Settle(cursor);
}

void THighlight::Step(int32_t cursor) {
  for (size_t n = 0; n < values.size(); ++n) {
    if (static_cast<int32_t>(n) == cursor)
      values[n].Backward();
    else
      values[n].Forward();
  }
}

void THighlight::Settle(int32_t cursor) {
  for (size_t n = 0; n < values.size(); ++n)
    values[n].Set(bright, dim, kFadeFrames, static_cast<int32_t>(n) == cursor ? 0 : kFadeFrames);
}
