#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/data/SaveFiles.h"
#include "game/data/THrdefTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TSvpTable.h"
#include "game/enemy/TEnemyTable.h"
#include "tests/game/data/GameDataFixture.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMeshes.h"
#include "tools/datakit/SampleTextures.h"

namespace {

// The sample game's tables in place of the fixture's own.
class SampleTables : public GameDataFixture {
 protected:
  void SetUp() override {
    GameDataFixture::SetUp();
    datakit::WriteSampleGameTables(GetDataFolder());
    TWeaponTable::Clear();
    TAccessoryTable::Clear();
    TItemMeanTable::Clear();
    LoadEnemyDatabase(GetDataFolder() + "enemy.tbl");
    TWeaponTable::Load(GetDataFolder() + "wepon.tbl");
    TItemMeanTable::Load(GetDataFolder() + "itemmean.tbl");
    TAccessoryTable::Load(GetDataFolder() + "accessory.tbl");
    LoadGameTables();
  }
  void TearDown() override {
    EnemyDatabase.clear();
    GameDataFixture::TearDown();
  }
};

TEST_F(SampleTables, StartAPlayableGame) {
  TGameData& d = Data();
  d.NewGame();
  for (uint32_t member : {0u, 1u}) {
    const THrdefRecord& def = *THrdefTable::Find(member);
    EXPECT_EQ(def.id, member);
    EXPECT_FALSE(def.name.empty());
    EXPECT_TRUE(TWeaponTable::CanEquip(member, d.GetCharBlock(member).weaponId)) << member;
    EXPECT_GT(d.GetCharBlock(member).hp, 0);
  }
  // Every weapon has its item row, a mesh and, for type 8, its other hand.
  std::set<uint32_t> types;
  for (uint32_t id = 1000; id <= 1011; ++id) {
    const TWeaponRecord& w = *TWeaponTable::Find(id);
    types.insert(w.type);
    EXPECT_FALSE(w.meshName.empty()) << id;
    EXPECT_EQ(TItemListTable::Find(id)->mapModelKind, 1) << id;
    if (w.type == 8) {
      EXPECT_EQ(TWeaponTable::Find(id + 10000)->type, 8u) << id;
    }
  }
  EXPECT_EQ(types.size(), 12u) << "a weapon of every type";
  for (uint32_t id = 7; id <= 10; ++id) {
    EXPECT_FALSE(TSvpTable::Find(id)->placeName.empty()) << id;
    EXPECT_TRUE(IsSavePointInChapter(id, 3)) << id;
  }
  EXPECT_EQ(TItemMeanTable::GetRecord(1)->hpRestored, 50);
  EXPECT_EQ(EnemyDatabase.count(1), 1u);

  std::vector<uint32_t> learned;
  d.AddWeaponPoints(0, 1000, 200, learned);
  EXPECT_EQ(learned.size(), 2u);
  EXPECT_EQ(TSkillTable::Find(learned[0])->kind, 4);

  d.SetSavePointId(7);
  ASSERT_EQ(d.Save(1), save_code::kDone);
  EXPECT_EQ(d.Load(1, -1), save_code::kDone);
}

// Every sample weapon, both hands of a type-8 one included, gets its model and icon from the
// sample game's mesh folder and icon pack.
TEST_F(SampleTables, WeaponModelsAndIconsLoad) {
  ASSERT_NO_FATAL_FAILURE(device.Start(dir / "Duskwheel03"));
  datakit::WriteSampleMeshes("data/msh03/");
  datakit::SampleItemIconPack().Save("data/ptx03/itm_icon.ptx");
  const std::vector<std::string>& models = datakit::SampleWeaponModels();
  for (uint32_t id : {1000u, 1001u, 1002u, 1003u, 1004u, 11004u, 1005u, 1006u, 1007u, 1008u, 1009u, 1010u, 1011u}) {
    const std::string& model = TWeaponTable::Find(id)->meshName;
    EXPECT_NE(std::find(models.begin(), models.end(), model), models.end()) << model;
    TCountedPtr<TWeaponEquip> weapon = TWeaponTable::GetShared(id);
    ASSERT_TRUE(weapon) << id;
    ASSERT_TRUE(weapon->mesh) << id;
    EXPECT_EQ(weapon->mesh->GetName(), model);
    EXPECT_GT(weapon->mesh->GetTriangleCount(), 0) << model;
    EXPECT_NE(TWeaponTable::GetIcon(id).texture.Object(), nullptr) << id;
  }
}

}  // namespace
