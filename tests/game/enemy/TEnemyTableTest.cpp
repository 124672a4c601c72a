#include "game/enemy/TEnemyTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/scramble.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/GameTables.h"

namespace {

// Every field distinct, so a swapped or skipped field shows.
datakit::EnemyRow FullRow(uint32_t id) {
  datakit::EnemyRow r;
  r.id = id;
  r.name = "\x83\x58\x83\x89\x83\x43\x83\x80";  // スライム
  r.height = 1.5f;
  r.shadowSize = 2.25f;
  r.objectFlagA = 1;
  r.objectFlagB = 2;
  r.gravity = -9.5f;
  r.actorFlagA = 3;
  r.actorFlagB = 4;
  r.actorFlagC = 5;
  r.maxHp = 1000;
  r.hp = 900;
  r.maxPoints = 80;
  r.points = 70;
  r.param = {11, 12, -13, 14};
  r.element = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  r.level = 21;
  r.levelSpare = 22;
  r.valueA = 23;
  r.valueB = 24;
  r.growthA = 25;
  r.growthB = 26;
  r.paramGrowth = {31, 32, 33, -34};
  r.hpGrowth = 35;
  r.extraValue = 36;
  r.dropMoney = 37;
  r.dropItem2 = 38;
  r.dropItem1 = 39;
  r.dropChance2 = 0.25f;
  r.dropChance1 = 0.75f;
  r.modelName = "slime01";
  r.soundName = "slime";
  return r;
}

void ExpectSame(const TEnemyRecord& e, const datakit::EnemyRow& r) {
  EXPECT_EQ(e.Id, r.id);
  EXPECT_EQ(e.Name, r.name);
  EXPECT_EQ(e.Height, r.height);
  EXPECT_EQ(e.ShadowSize, r.shadowSize);
  EXPECT_EQ(e.ObjectFlagA, r.objectFlagA);
  EXPECT_EQ(e.ObjectFlagB, r.objectFlagB);
  EXPECT_EQ(e.Gravity, r.gravity);
  EXPECT_EQ(e.ActorFlagA, r.actorFlagA);
  EXPECT_EQ(e.ActorFlagB, r.actorFlagB);
  EXPECT_EQ(e.ActorFlagC, r.actorFlagC);
  EXPECT_EQ(e.MaxHp, r.maxHp);
  EXPECT_EQ(e.Hp, r.hp);
  EXPECT_EQ(e.MaxPoints, r.maxPoints);
  EXPECT_EQ(e.Points, r.points);
  EXPECT_EQ(e.Param, r.param);
  EXPECT_EQ(e.Element, r.element);
  EXPECT_EQ(e.Level, r.level);
  EXPECT_EQ(e.LevelSpare, r.levelSpare);
  EXPECT_EQ(e.ValueA, r.valueA);
  EXPECT_EQ(e.ValueB, r.valueB);
  EXPECT_EQ(e.GrowthA, r.growthA);
  EXPECT_EQ(e.GrowthB, r.growthB);
  EXPECT_EQ(e.ParamGrowth, r.paramGrowth);
  EXPECT_EQ(e.HpGrowth, r.hpGrowth);
  EXPECT_EQ(e.ExtraValue, r.extraValue);
  EXPECT_EQ(e.DropMoney, r.dropMoney);
  EXPECT_EQ(e.DropItem2, r.dropItem2);
  EXPECT_EQ(e.DropItem1, r.dropItem1);
  EXPECT_EQ(e.DropChance2, r.dropChance2);
  EXPECT_EQ(e.DropChance1, r.dropChance1);
  EXPECT_EQ(e.ModelName, r.modelName);
  EXPECT_EQ(e.SoundName, r.soundName);
}

class EnemyDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { EnemyDatabase.clear(); }
  void TearDown() override { EnemyDatabase.clear(); }
  testkit::TempDir dir;
};

TEST_F(EnemyDatabaseTest, EveryFieldRoundTripsUnderEitherHeader) {
  for (uint8_t flag : {uint8_t{0}, uint8_t{1}}) {
    EnemyDatabase.clear();
    auto row = FullRow(40 + flag);
    datakit::RecordTable(std::vector{row}, flag).Save(dir / "enemy.tbl");
    LoadEnemyDatabase(dir / "enemy.tbl");
    ASSERT_EQ(EnemyDatabase.size(), 1u) << int(flag);
    ExpectSame(EnemyDatabase.at(row.id), row);
  }
}

TEST_F(EnemyDatabaseTest, LaterRowOfAnIdWinsAndMissingIdsGetAnEmptyRecord) {
  auto first = FullRow(5), second = FullRow(5), other = FullRow(6);
  second.maxHp = 4242;
  second.name = "boss";
  datakit::RecordTable(std::vector{first, other, second}).Save(dir / "enemy.tbl");
  LoadEnemyDatabase(dir / "enemy.tbl");
  EXPECT_EQ(FindEnemyRecord(5).MaxHp, 4242);
  EXPECT_EQ(FindEnemyRecord(5).Name, "boss");

  const TEnemyRecord& missing = FindEnemyRecord(77);
  EXPECT_EQ(missing.Id, 0u);
  EXPECT_EQ(missing.MaxHp, 0);
  EXPECT_EQ(missing.Element, (std::array<float, 6>{}));
  EXPECT_TRUE(missing.Name.empty() && missing.ModelName.empty() && missing.SoundName.empty());
  EXPECT_EQ(EnemyDatabase.count(77), 1u);
}

TEST_F(EnemyDatabaseTest, TruncatedFileKeepsTheRecordsReadWhole) {
  auto bytes = datakit::RecordTable(std::vector{FullRow(1), FullRow(2), FullRow(3)}).Build();
  bytes.resize(bytes.size() - 10);  // into the third record's sound name
  datakit::SaveFile(dir / "enemy.tbl", bytes);
  TEnemyTable table;
  EXPECT_FALSE(table.Load(dir / "enemy.tbl"));
  std::vector<TEnemyRecord> records;
  table.CopyRecords(records);
  EXPECT_EQ(records.size(), 2u);

  LoadEnemyDatabase(dir / "enemy.tbl");
  EXPECT_EQ(EnemyDatabase.size(), 2u);
  EXPECT_EQ(EnemyDatabase.count(3), 0u);
}

TEST_F(EnemyDatabaseTest, TextEndsAtItsZeroByteAndOverlongLengthsFail) {
  auto row = FullRow(9);
  row.name = std::string("ab\0cd", 5);
  datakit::RecordTable(std::vector{row}).Save(dir / "enemy.tbl");
  LoadEnemyDatabase(dir / "enemy.tbl");
  EXPECT_EQ(FindEnemyRecord(9).Name, "ab");
  EXPECT_EQ(FindEnemyRecord(9).Height, row.height);  // the bytes after the zero were consumed

  // A name length far past the end of the file: a failed read, nothing reserved.
  datakit::TableWriter table(1);
  table.Column("id");
  table.Row().Scrambled4(10).Scrambled4(0xFFFFFFF0u).Raw("xyz", 3);
  table.Save(dir / "bad.tbl");
  TEnemyTable reader;
  EXPECT_FALSE(reader.Load(dir / "bad.tbl"));
  EnemyDatabase.clear();
  LoadEnemyDatabase(dir / "missing.tbl");
  EXPECT_TRUE(EnemyDatabase.empty());
}

}  // namespace
