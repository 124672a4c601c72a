#include "game/actor/StatusGain.h"

#include <cmath>

#include "game/effect/MtRandomState.h"

uint32_t GainAmount(int32_t level, uint32_t current, int32_t curve, float fixedShare, int32_t base) {
  const double raw = curve * 0.001 * (level + 22.0) * (level + 2.0) + base;
  // A curve that ends below zero has nothing to grow toward; one past the u32 range stops there.
  const uint32_t target = raw <= 0 ? 0u : raw >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(raw);
  if (target <= current) return 0;
  const uint32_t gap = target - current;
  const float fixed = fixedShare * static_cast<float>(gap);
  const float restF = static_cast<float>(gap) - fixed;
  const uint32_t rest = restF <= 0 ? 0u : static_cast<uint32_t>(restF);
  const double sure = std::ceil(static_cast<double>(fixed));
  const double amountF = rest > 0 ? sure + static_cast<double>(GenRand() % rest) : sure;
  uint32_t amount = amountF <= 0 ? 0u : amountF >= gap ? gap : static_cast<uint32_t>(amountF);
  if (amount > gap) amount = gap;
  return amount == 0 ? 1 : amount;
}
