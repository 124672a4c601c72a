#include "game/actor/StatusGain.h"

#include <algorithm>
#include <cmath>

#include "common/Truncate.h"
#include "game/effect/MtRandomState.h"

// Single precision, each step rounded to float as the game computes: in double, a curve of 180 at
// level 38 ends a hair under 489 and grows one point short.
uint32_t GainAmount(int32_t level, uint32_t current, int32_t curve, float fixedShare, int32_t base) {
  const float raw = static_cast<float>(curve) * 0.001f * static_cast<float>(int64_t{level} + 22) *
                        static_cast<float>(int64_t{level} + 2) +
                    static_cast<float>(base);
  // A curve that ends below zero has nothing to grow toward.
  const uint32_t target = TruncateToU32(raw);
  if (target <= current) return 0;
  const uint32_t gap = target - current;
  const float fixed = fixedShare * static_cast<float>(gap);
  const uint32_t rest = TruncateToU32(static_cast<float>(gap) - fixed);
  const float sure = std::ceil(fixed);
  const float amountF = rest > 0 ? sure + static_cast<float>(GenRand() % rest) : sure;
  const uint32_t amount = std::min(TruncateToU32(amountF), gap);
  return amount == 0 ? 1 : amount;
}
