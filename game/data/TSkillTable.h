// The skill table ("skill.tbl"): skills and techniques.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "game/data/TGlobalRecords.h"

struct TSkillRecord {
  uint32_t id = 0;
  std::string name;
  uint8_t kind = 0;  // 4-15: a technique of weapon type kind - 4
  uint8_t icon = 0;
  std::string pictureName;  // entry of "skillinfo.ptx"
  std::array<std::string, 3> description;

  static constexpr auto Fields() {
    using R = TSkillRecord;
    return std::tuple(&R::id, &R::name, &R::kind, &R::icon, &R::pictureName, &R::description);
  }
};

class TSkillTable : public TGlobalRecords<TSkillRecord, TLoadMode::Replace> {};
