#include "game/data/TTimedModifier.h"

void TTimedModifier::Assign(const TCountedPtr<TItemEffect>& newSource) {
  if (!source.SharesWith(newSource)) source = newSource;
  values = source ? source->boosts : std::array<int32_t, 4>{};
}

void TTimedModifier::Tick() {
  if (source && !source->CountDown()) values.fill(0);
}

void TTimedModifier::Clear() {
  values.fill(0);
  source.Reset();
}

bool TTimedModifier::IsActive() const {
  if (!source) return false;
  for (int32_t v : values)
    if (v != 0) return true;
  return false;
}
