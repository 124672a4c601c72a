#include "game/data/GameGlobals.h"

#include <gtest/gtest.h>

#include "game/data/TGameData.h"
#include "game/data/TItemListTable.h"
#include "game/data/TWeaponTable.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/GameTables.h"

namespace {

TEST(GameGlobals, ValuesBeforeStartUp) {
  EXPECT_EQ(GetChapterNo(), 1);
  EXPECT_EQ(GetLevelCap(), 19u);
  EXPECT_EQ(GetGoldCap(), 10000);
  EXPECT_EQ(GetSaveFolder(), "");
  EXPECT_EQ(GetDataFolder(), "");
  EXPECT_EQ(TGameData::Instance(), nullptr);
}

TEST(GameGlobals, LoadReadsTheDataFolderAndReplacesTheRecord) {
  testkit::TempDir dir;
  SetDataFolder(dir.path() + "/data/tbl03/");
  datakit::RecordTable(std::vector<datakit::ItemRow>{{.id = 1, .name = "herb"}, {.id = 2, .name = "nut"}})
      .Save(dir / "data/tbl03/item.tbl");
  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1000, .attack = 9}}).Save(dir / "wepon.tbl");
  TWeaponTable::Load(dir / "wepon.tbl");

  LoadGameTables();
  TGameData* first = TGameData::Instance();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(TItemListTable::Find(1)->name, "herb");
  auto effect = MakeCounted<TItemEffect>();
  first->GetTimedModifier(0).Assign(effect);
  EXPECT_EQ(effect.GetCount(), 2);

  datakit::RecordTable(std::vector<datakit::ItemRow>{{.id = 1, .name = "leaf"}}).Save(dir / "data/tbl03/item.tbl");
  LoadGameTables();
  EXPECT_EQ(effect.GetCount(), 1);  // the first record was destroyed
  ASSERT_NE(TGameData::Instance(), nullptr);
  EXPECT_EQ(TItemListTable::Find(1)->name, "leaf");
  EXPECT_TRUE(TItemListTable::Find(2)->name.empty());  // refilled, not added to

  FreeGameTables();
  EXPECT_EQ(TGameData::Instance(), nullptr);
  EXPECT_TRUE(TItemListTable::Find(1)->name.empty());
  EXPECT_EQ(TWeaponTable::Find(1000)->attack, 9u);  // the equipment tables live on
  TWeaponTable::Clear();
}

}  // namespace
