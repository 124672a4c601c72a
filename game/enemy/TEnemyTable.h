// Enemy definitions: "enemy.tbl" read into the global `EnemyDatabase`, keyed by enemy id.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "sound/TTableReader.h"

struct TEnemyRecord {
  uint32_t Id = 0;
  std::string Name;
  float Height = 0;
  float ShadowSize = 0;
  uint8_t ObjectFlagA = 0;  // blob shadow shown
  uint8_t ObjectFlagB = 0;
  float Gravity = 0;
  uint8_t ActorFlagA = 0;  // hit-kind acceptance
  uint8_t ActorFlagB = 0;
  uint8_t ActorFlagC = 0;
  int32_t MaxHp = 0;
  int32_t Hp = 0;
  int32_t MaxPoints = 0;
  int32_t Points = 0;
  std::array<int32_t, 4> Param{};
  std::array<float, 6> Element{};  // fire, water, wind, soil, light, dark
  uint32_t Level = 0;
  uint32_t LevelSpare = 0;
  uint32_t ValueA = 0;
  uint32_t ValueB = 0;
  uint32_t GrowthA = 0;
  uint32_t GrowthB = 0;
  std::array<int32_t, 4> ParamGrowth{};
  int32_t HpGrowth = 0;
  uint32_t ExtraValue = 0;
  uint32_t DropMoney = 0;
  uint32_t DropItem2 = 0;
  uint32_t DropItem1 = 0;
  float DropChance2 = 0;
  float DropChance1 = 0;
  std::string ModelName;
  std::string SoundName;

  static constexpr auto Fields() {
    using R = TEnemyRecord;
    return std::tuple(&R::Id, &R::Name, &R::Height, &R::ShadowSize, &R::ObjectFlagA, &R::ObjectFlagB, &R::Gravity,
                      &R::ActorFlagA, &R::ActorFlagB, &R::ActorFlagC, &R::MaxHp, &R::Hp, &R::MaxPoints, &R::Points,
                      &R::Param, &R::Element, &R::Level, &R::LevelSpare, &R::ValueA, &R::ValueB, &R::GrowthA,
                      &R::GrowthB, &R::ParamGrowth, &R::HpGrowth, &R::ExtraValue, &R::DropMoney, &R::DropItem2,
                      &R::DropItem1, &R::DropChance2, &R::DropChance1, &R::ModelName, &R::SoundName);
  }
};

// The reader of "enemy.tbl"; it exists only while the database loads.
class TEnemyTable : public TTableHeader {
 public:
  explicit TEnemyTable(const std::string& name = "") { fileName = name; }

  // True when the header and every row were read; a failed row is dropped, earlier ones stay.
  virtual bool Load(const std::string& name);
  virtual void Clear();
  virtual TEnemyRecord* RecordAt(int32_t index) { return &records[static_cast<size_t>(index)]; }
  virtual void CopyRecords(std::vector<TEnemyRecord>& out) const { out = records; }

 private:
  std::vector<TEnemyRecord> records;
};

extern std::map<uint32_t, TEnemyRecord> EnemyDatabase;

// Reads the file into `EnemyDatabase`; a later row of an id replaces the earlier one. A file that
// cannot be read whole is noted on stderr; what was read stays.
void LoadEnemyDatabase(const std::string& path);
// The record of an id; a missing id gets an empty record, which stays in the database.
TEnemyRecord& FindEnemyRecord(uint32_t id);
