// The accessory table ("accessory.tbl"): defences, element defences and the skills it teaches.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "common/TCountedPtr.h"
#include "game/data/TGlobalRecords.h"

struct TAccessoryRecord {
  uint32_t id = 0;
  std::string name;
  uint8_t spare = 0;
  int32_t physicalDefence = 0;
  int32_t magicDefence = 0;
  std::array<float, 6> elementDefences{};  // fire to dark; defended when above 0
  std::array<uint32_t, 10> skills{};       // learned at 100 * (k + 1) points; 0 none
  std::string spareText;

  static constexpr auto Fields() {
    using R = TAccessoryRecord;
    return std::tuple(&R::id, &R::name, &R::spare, &R::physicalDefence, &R::magicDefence,
                      &R::elementDefences, &R::skills, &R::spareText);
  }
};

// An equipped accessory as the player character holds it.
struct TAccessoryEquip {
  uint32_t id = 0;
  int32_t physicalDefence = 0;
  int32_t magicDefence = 0;
  std::array<float, 6> elementDefences{};

  // element 1-6 (fire to dark); none (0) and anything else are never defended.
  bool Defends(uint32_t element) const { return element >= 1 && element <= 6 && elementDefences[element - 1] > 0; }
};

class TAccessoryTable : public TGlobalRecords<TAccessoryRecord, TLoadMode::Append> {
 public:
  static TCountedPtr<TAccessoryEquip> GetShared(uint32_t id);
};
