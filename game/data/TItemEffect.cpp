#include "game/data/TItemEffect.h"

bool TItemEffect::CountDown() {
  // Wrapping like the 32-bit counter it is, never overflowing as a signed number.
  duration = static_cast<int32_t>(static_cast<uint32_t>(duration) - 1u);
  return duration >= 0;
}
