// Writers of the game's record tables ("wepon.tbl", "accessory.tbl", "itemmean.tbl", "item.tbl",
// "skill.tbl", "svp.tbl", "hrdef.tbl") and of "enemy.tbl". Each row type lists its fields in file
// order; every field is stored scrambled, whatever the header flag.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/TableWriter.h"

namespace datakit {

struct WeaponRow {
  uint32_t id = 0;
  std::string name{};
  uint32_t type = 0, attack = 0, secondValue = 0, element = 0;
  std::array<uint32_t, 10> skills{};
  std::string meshName{};
};

struct AccessoryRow {
  uint32_t id = 0;
  std::string name{};
  uint8_t spare = 0;
  int32_t physicalDefence = 0, magicDefence = 0;
  std::array<float, 6> elementDefences{};
  std::array<uint32_t, 10> skills{};
  std::string spareText{};
};

struct ItemMeanRow {
  uint32_t id = 0, reserved = 0;
  int32_t hpRestored = 0, mpRestored = 0;
  std::array<int32_t, 4> boosts{};
  std::array<uint8_t, 6> cures{};
  int32_t ringCost = 0, duration = 0;
};

struct ItemRow {
  uint32_t id = 0;
  std::string name{};
  uint8_t mapModelKind = 0, sellFlag = 0, ringFlag = 0, spare = 0;
  uint32_t buyPrice = 0, sellPrice = 0;
  std::string modelName{}, iconName{}, pictureName{};
  std::array<std::string, 3> description{};
};

struct SkillRow {
  uint32_t id = 0;
  std::string name{};
  uint8_t kind = 0, icon = 0;
  std::string pictureName{};
  std::array<std::string, 3> description{};
};

struct SvpRow {
  uint32_t id = 0;
  std::string mapName{};
  float x = 0, y = 0, z = 0;
  std::string placeName{};
};

struct HrdefRow {
  uint32_t id = 0;
  std::string name{};
  uint32_t level = 0, experience = 0, maxHp = 100, maxMp = 100, ringGaugeMax = 1000;
  std::array<int32_t, 4> params{100, 100, 100, 100};
  std::array<float, 6> elements{1, 1, 1, 1, 1, 1};
  uint32_t weaponId = 1000, accessoryA = 2000, accessoryB = 2000;
  std::array<int32_t, 6> growth{};
  std::string faceName{}, modelName{}, tableName{};
};

struct EnemyRow {
  uint32_t id = 0;
  std::string name{};
  float height = 0, shadowSize = 0;
  uint8_t objectFlagA = 0, objectFlagB = 0;
  float gravity = 0;
  uint8_t actorFlagA = 0, actorFlagB = 0, actorFlagC = 0;
  int32_t maxHp = 0, hp = 0, maxPoints = 0, points = 0;
  std::array<int32_t, 4> param{};
  std::array<float, 6> element{};
  uint32_t level = 0, levelSpare = 0, valueA = 0, valueB = 0, growthA = 0, growthB = 0;
  std::array<int32_t, 4> paramGrowth{};
  int32_t hpGrowth = 0;
  uint32_t extraValue = 0, dropMoney = 0, dropItem2 = 0, dropItem1 = 0;
  float dropChance2 = 0, dropChance1 = 0;
  std::string modelName{}, soundName{};
};

// Each appends one row to the table (and names its columns on the first row).
void AddRow(TableWriter& table, const WeaponRow& row);
void AddRow(TableWriter& table, const AccessoryRow& row);
void AddRow(TableWriter& table, const ItemMeanRow& row);
void AddRow(TableWriter& table, const ItemRow& row);
void AddRow(TableWriter& table, const SkillRow& row);
void AddRow(TableWriter& table, const SvpRow& row);
void AddRow(TableWriter& table, const HrdefRow& row);
void AddRow(TableWriter& table, const EnemyRow& row);

// A whole table of such rows.
template <class Row>
TableWriter RecordTable(const std::vector<Row>& rows, uint8_t headerFlag = 1) {
  TableWriter table(headerFlag);
  for (const Row& row : rows) AddRow(table, row);
  return table;
}

}  // namespace datakit
