// A party member's temporary stat boost: four values cached from an item effect, valid until the
// effect's countdown runs out.
#pragma once
#include <array>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "game/data/TItemEffect.h"

class TTimedModifier {
 public:
  // Shares the source (unless it is already the one held) and caches its four boost values.
  void Assign(const TCountedPtr<TItemEffect>& newSource);
  // Counts the source down once; when it runs out the cached values become 0.
  void Tick();
  // Zeroes the values and drops the source.
  void Clear();
  bool IsActive() const;

  const std::array<int32_t, 4>& GetValues() const { return values; }
  const TCountedPtr<TItemEffect>& GetSource() const { return source; }

 private:
  std::array<int32_t, 4> values{};
  TCountedPtr<TItemEffect> source;
};
