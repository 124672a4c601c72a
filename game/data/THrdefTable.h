// The hero-definition table ("hrdef.tbl"): the eight party members' starting values.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "game/data/TGlobalRecords.h"

struct THrdefRecord {
  uint32_t id = 0xFFFFFFFFu;
  std::string name = "\x96\xbc\x96\xb3\x82\xb5\x82\xcc\x83\x71\x81\x5b\x83\x8d\x81\x5b";  // 名無しのヒーロー
  uint32_t level = 0;
  uint32_t experience = 0;
  uint32_t maxHp = 100;
  uint32_t maxMp = 100;
  uint32_t ringGaugeMax = 1000;
  std::array<int32_t, 4> params{100, 100, 100, 100};
  std::array<float, 6> elements{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  uint32_t weaponId = 1000;
  uint32_t accessoryA = 2000;
  uint32_t accessoryB = 2000;
  std::array<int32_t, 6> growth{};  // HP, MP, then the four parameters
  std::string faceName;
  std::string modelName;
  std::string tableName;

  static constexpr auto Fields() {
    using R = THrdefRecord;
    return std::tuple(&R::id, &R::name, &R::level, &R::experience, &R::maxHp, &R::maxMp, &R::ringGaugeMax,
                      &R::params, &R::elements, &R::weaponId, &R::accessoryA, &R::accessoryB, &R::growth,
                      &R::faceName, &R::modelName, &R::tableName);
  }
};

class THrdefTable : public TGlobalRecords<THrdefRecord, TLoadMode::Replace> {};
