// The item-meaning table ("itemmean.tbl"): what using a consumable item does.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "common/TCountedPtr.h"
#include "game/data/TGlobalRecords.h"
#include "game/data/TItemEffect.h"

struct TItemMeanRecord {
  uint32_t id = 0;
  uint32_t reserved = 0;
  int32_t hpRestored = 0;  // none when 0 or less
  int32_t mpRestored = 0;
  std::array<int32_t, 4> boosts{};  // timed, for `duration` updates; 0 or less none
  std::array<uint8_t, 6> cures{};   // non-zero clears status effect k
  int32_t ringCost = 0;             // item-ring gauge points a use takes
  int32_t duration = 0;

  static constexpr auto Fields() {
    using R = TItemMeanRecord;
    return std::tuple(&R::id, &R::reserved, &R::hpRestored, &R::mpRestored, &R::boosts, &R::cures,
                      &R::ringCost, &R::duration);
  }
};

class TItemMeanTable : public TGlobalRecords<TItemMeanRecord, TLoadMode::Append> {
 public:
  static TItemMeanRecord* GetRecord(uint32_t id) { return TGlobalRecords<TItemMeanRecord, TLoadMode::Append>::Find(id); }
  static TCountedPtr<TItemEffect> Find(uint32_t id);
};
