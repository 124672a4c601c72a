#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/my_error.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/THrdefTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TItemMeanTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TSvpTable.h"
#include "game/data/TWeaponTable.h"
#include "tests/game/data/GameDataFixture.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/GameTables.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleTextures.h"

namespace {

class RecordTables : public ::testing::Test {
 protected:
  // The device's processor probe waits on the clock.
  void SetUp() override { plat::SetClock(&clock); }
  void TearDown() override {
    for (auto clear : {&TWeaponTable::Clear, &TAccessoryTable::Clear, &TItemMeanTable::Clear, &TItemListTable::Clear,
                       &TSkillTable::Clear, &TSvpTable::Clear, &THrdefTable::Clear})
      clear();
    plat::SetClock(nullptr);
  }
  testkit::TempDir dir;
  plat::VirtualClock clock;
};

TEST_F(RecordTables, EquipmentRecordsRoundTripUnderEitherHeader) {
  for (uint8_t flag : {uint8_t{0}, uint8_t{1}}) {
    datakit::WeaponRow w{1000u + flag, "\x8c\x95", 7, 120, 9, 4, {}, "sword02"};  // 剣
    for (uint32_t k = 0; k < 10; ++k) w.skills[k] = 100 + k;
    datakit::RecordTable(std::vector{w}, flag).Save(dir / "wepon.tbl");
    TWeaponTable::Load(dir / "wepon.tbl");
    const TWeaponRecord& wr = *TWeaponTable::Find(w.id);
    EXPECT_EQ(wr.id, w.id);
    EXPECT_EQ(wr.name, w.name);
    EXPECT_EQ(wr.type, 7u);
    EXPECT_EQ(wr.attack, 120u);
    EXPECT_EQ(wr.secondValue, 9u);
    EXPECT_EQ(wr.element, 4u);
    EXPECT_EQ(wr.skills, w.skills);
    EXPECT_EQ(wr.meshName, "sword02");

    datakit::AccessoryRow a{2000u + flag, "ring", 0xAB, -5, 17, {0.5f, 0, -1, 0, 2, 0}, {}, "spare"};
    a.skills[9] = 77;
    datakit::RecordTable(std::vector{a}, flag).Save(dir / "accessory.tbl");
    TAccessoryTable::Load(dir / "accessory.tbl");
    const TAccessoryRecord& ar = *TAccessoryTable::Find(a.id);
    EXPECT_EQ(ar.name, "ring");
    EXPECT_EQ(ar.spare, 0xAB);
    EXPECT_EQ(ar.physicalDefence, -5);
    EXPECT_EQ(ar.magicDefence, 17);
    EXPECT_EQ(ar.elementDefences, a.elementDefences);
    EXPECT_EQ(ar.skills, a.skills);
    EXPECT_EQ(ar.spareText, "spare");

    datakit::ItemMeanRow m{10u + flag, 3, 50, -1, {1, 2, 3, 4}, {1, 0, 0, 1, 0, 9}, 250, 600};
    datakit::RecordTable(std::vector{m}, flag).Save(dir / "itemmean.tbl");
    TItemMeanTable::Load(dir / "itemmean.tbl");
    const TItemMeanRecord& mr = *TItemMeanTable::GetRecord(m.id);
    EXPECT_EQ(mr.reserved, 3u);
    EXPECT_EQ(mr.hpRestored, 50);
    EXPECT_EQ(mr.mpRestored, -1);
    EXPECT_EQ(mr.boosts, m.boosts);
    EXPECT_EQ(mr.cures, m.cures);
    EXPECT_EQ(mr.ringCost, 250);
    EXPECT_EQ(mr.duration, 600);
  }
}

TEST_F(RecordTables, GameRecordsRoundTripUnderEitherHeader) {
  for (uint8_t flag : {uint8_t{0}, uint8_t{1}}) {
    datakit::ItemRow i{5, "\x89\xf1\x95\x9c\x96\xf2", 1, 1, 2, 3, 400, 200, "axe", "s1", "s2", {"a", "b", "c"}};  // 回復薬
    datakit::RecordTable(std::vector{i}, flag).Save(dir / "item.tbl");
    TItemListTable::Load(dir / "item.tbl");
    const TItemListRecord& ir = *TItemListTable::Find(5);
    EXPECT_EQ(ir.name, i.name);
    EXPECT_EQ(ir.mapModelKind, 1);
    EXPECT_EQ(ir.sellFlag, 1);
    EXPECT_EQ(ir.ringFlag, 2);
    EXPECT_EQ(ir.spare, 3);
    EXPECT_EQ(ir.buyPrice, 400u);
    EXPECT_EQ(ir.sellPrice, 200u);
    EXPECT_EQ(ir.modelName, "axe");
    EXPECT_EQ(ir.iconName, "s1");
    EXPECT_EQ(ir.pictureName, "s2");
    EXPECT_EQ(ir.description, i.description);

    datakit::SkillRow s{1203, "storm", 2, 21, "t", {"x", "", "z"}};
    datakit::RecordTable(std::vector{s}, flag).Save(dir / "skill.tbl");
    TSkillTable::Load(dir / "skill.tbl");
    const TSkillRecord& sr = *TSkillTable::Find(1203);
    EXPECT_EQ(sr.name, "storm");
    EXPECT_EQ(sr.kind, 2);
    EXPECT_EQ(sr.icon, 21);
    EXPECT_EQ(sr.pictureName, "t");
    EXPECT_EQ(sr.description, s.description);

    datakit::SvpRow v{8, "map0302", 1.5f, -2, 3, "camp"};
    datakit::RecordTable(std::vector{v}, flag).Save(dir / "svp.tbl");
    TSvpTable::Load(dir / "svp.tbl");
    const TSvpRecord& vr = *TSvpTable::Find(8);
    EXPECT_EQ(vr.mapName, "map0302");
    EXPECT_EQ(vr.position, (std::array<float, 3>{1.5f, -2, 3}));
    EXPECT_EQ(vr.placeName, "camp");

    datakit::HrdefRow h;
    h.id = 1;
    h.name = "Mio";
    h.level = 3;
    h.experience = 4;
    h.maxHp = 5;
    h.maxMp = 6;
    h.ringGaugeMax = 7;
    h.params = {8, 9, 10, -11};
    h.elements = {0.5f, 1, 1.5f, 2, 2.5f, 3};
    h.weaponId = 1012;
    h.accessoryA = 2013;
    h.accessoryB = 2014;
    h.growth = {15, 16, 17, 18, 19, 20};
    h.faceName = "face01";
    h.modelName = "mio";
    h.tableName = "mio_t";
    datakit::RecordTable(std::vector{h}, flag).Save(dir / "hrdef.tbl");
    THrdefTable::Load(dir / "hrdef.tbl");
    const THrdefRecord& hr = *THrdefTable::Find(1);
    EXPECT_EQ(hr.id, 1u);
    EXPECT_EQ(hr.name, "Mio");
    EXPECT_EQ(hr.level, 3u);
    EXPECT_EQ(hr.experience, 4u);
    EXPECT_EQ(hr.maxHp, 5u);
    EXPECT_EQ(hr.maxMp, 6u);
    EXPECT_EQ(hr.ringGaugeMax, 7u);
    EXPECT_EQ(hr.params, h.params);
    EXPECT_EQ(hr.elements, h.elements);
    EXPECT_EQ(hr.weaponId, 1012u);
    EXPECT_EQ(hr.accessoryA, 2013u);
    EXPECT_EQ(hr.accessoryB, 2014u);
    EXPECT_EQ(hr.growth, h.growth);
    EXPECT_EQ(hr.faceName, "face01");
    EXPECT_EQ(hr.modelName, "mio");
    EXPECT_EQ(hr.tableName, "mio_t");
  }
}

TEST_F(RecordTables, LaterRowOfAnIdWins) {
  datakit::RecordTable(std::vector<datakit::ItemRow>{{.id = 4, .buyPrice = 10}, {.id = 5}, {.id = 4, .buyPrice = 30}})
      .Save(dir / "item.tbl");
  TItemListTable::Load(dir / "item.tbl");
  EXPECT_EQ(TItemListTable::Find(4)->buyPrice, 30u);

  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1000, .attack = 1}, {.id = 1000, .attack = 2}})
      .Save(dir / "wepon.tbl");
  TWeaponTable::Load(dir / "wepon.tbl");
  EXPECT_EQ(TWeaponTable::Find(1000)->attack, 2u);
}

TEST_F(RecordTables, MissingIdsGetDefaultRecordsThatStay) {
  const THrdefRecord* hero = THrdefTable::Find(5);
  EXPECT_EQ(hero->id, 0xFFFFFFFFu);
  EXPECT_EQ(hero->name, "\x96\xbc\x96\xb3\x82\xb5\x82\xcc\x83\x71\x81\x5b\x83\x8d\x81\x5b");  // 名無しのヒーロー
  EXPECT_EQ(hero->maxHp, 100u);
  EXPECT_EQ(hero->maxMp, 100u);
  EXPECT_EQ(hero->ringGaugeMax, 1000u);
  EXPECT_EQ(hero->params, (std::array<int32_t, 4>{100, 100, 100, 100}));
  EXPECT_EQ(hero->elements, (std::array<float, 6>{1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(hero->weaponId, 1000u);
  EXPECT_EQ(hero->accessoryA, 2000u);
  EXPECT_EQ(hero->growth, (std::array<int32_t, 6>{}));
  EXPECT_EQ(THrdefTable::Find(5), hero);  // the same record again

  const TSvpRecord& svp = *TSvpTable::Find(0);
  EXPECT_EQ(svp.id, 0u);
  EXPECT_EQ(svp.position, (std::array<float, 3>{}));
  EXPECT_TRUE(svp.mapName.empty() && svp.placeName.empty());
  EXPECT_EQ(TWeaponTable::Find(1999)->type, 0u);
  EXPECT_EQ(TSkillTable::Find(9)->kind, 0);
  EXPECT_TRUE(TItemListTable::Find(9)->name.empty());
  EXPECT_EQ(TAccessoryTable::Find(2999)->skills, (std::array<uint32_t, 10>{}));
}

TEST_F(RecordTables, GameTablesReloadEmptyWhileEquipmentTablesOnlyGrow) {
  datakit::RecordTable(std::vector<datakit::SkillRow>{{.id = 1, .kind = 1}}).Save(dir / "a.tbl");
  datakit::RecordTable(std::vector<datakit::SkillRow>{{.id = 2, .kind = 1}}).Save(dir / "b.tbl");
  TSkillTable::Load(dir / "a.tbl");
  TSkillTable::Load(dir / "b.tbl");
  EXPECT_EQ(TSkillTable::Find(1)->kind, 0);  // gone: only the second file's records remain
  EXPECT_EQ(TSkillTable::Find(2)->kind, 1);

  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1001, .type = 3}}).Save(dir / "w1.tbl");
  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1002, .type = 4}}).Save(dir / "w2.tbl");
  TWeaponTable::Load(dir / "w1.tbl");
  TWeaponTable::Load(dir / "w2.tbl");
  EXPECT_EQ(TWeaponTable::Find(1001)->type, 3u);
  EXPECT_EQ(TWeaponTable::Find(1002)->type, 4u);
}

TEST_F(RecordTables, ShortOrBadFilesKeepCompleteRecordsAndSaySo) {
  auto bytes = datakit::RecordTable(std::vector<datakit::SvpRow>{{.id = 1, .placeName = "one"},
                                                                 {.id = 2, .placeName = "two"}})
                   .Build();
  bytes.resize(bytes.size() - 2);
  datakit::SaveFile(dir / "svp.tbl", bytes);
  testing::internal::CaptureStderr();
  TSvpTable::Load(dir / "svp.tbl");
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(dir / "svp.tbl"), std::string::npos);
  EXPECT_EQ(TSvpTable::Find(1)->placeName, "one");
  EXPECT_TRUE(TSvpTable::Find(2)->placeName.empty());

  // A string whose length runs past the end fails the row instead of reading or reserving it.
  datakit::TableWriter table(1);
  table.Column("id");
  table.Row().Scrambled4(3).Scrambled4(0x7FFFFFFFu).Raw("abc", 3);
  table.Save(dir / "skill.tbl");
  testing::internal::CaptureStderr();
  TSkillTable::Load(dir / "skill.tbl");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("skill.tbl"), std::string::npos);
  EXPECT_TRUE(TSkillTable::Find(3)->name.empty());

  testing::internal::CaptureStderr();
  THrdefTable::Load(dir / "none.tbl");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("none.tbl"), std::string::npos);
}

TEST_F(RecordTables, CanEquipByCharacterAndType) {
  std::vector<datakit::WeaponRow> rows;
  for (uint32_t t = 0; t <= 12; ++t) rows.push_back({.id = 1000 + t, .type = t});
  datakit::RecordTable(rows).Save(dir / "wepon.tbl");
  TWeaponTable::Load(dir / "wepon.tbl");
  //                       type: 0  1  2  3  4  5  6  7  8  9 10 11 12
  const bool hero[13] = {1, 1, 1, 0, 0, 1, 1, 1, 1, 0, 1, 0, 0};
  const bool heroine[13] = {1, 1, 1, 1, 1, 0, 0, 0, 0, 1, 0, 1, 0};
  for (uint32_t t = 0; t <= 12; ++t) {
    EXPECT_EQ(TWeaponTable::CanEquip(0, 1000 + t), hero[t]) << t;
    EXPECT_EQ(TWeaponTable::CanEquip(1, 1000 + t), heroine[t]) << t;
    EXPECT_FALSE(TWeaponTable::CanEquip(2, 1000 + t)) << t;
  }
}

TEST_F(RecordTables, IconsAndCountedCopies) {
  GameDevice device;
  ASSERT_NO_FATAL_FAILURE(device.Start(dir.path()));
  datakit::SampleItemIconPack().Save(dir / "data/ptx03/itm_icon.ptx");
  datakit::MeshFile::FromShape("bow", datakit::BoxShape(0.1f, 0.1f, 1.0f),
                               {datakit::MeshMaterial::Colored("string", 1, 1, 1)})
      .Msh()
      .Save(dir / "data/msh03/wepon/bow.msh");
  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1011, .type = 11, .element = 2, .meshName = "bow"},
                                                       {.id = 1003, .type = 3, .element = 9, .meshName = "bow"}})
      .Save(dir / "wepon.tbl");
  TWeaponTable::Load(dir / "wepon.tbl");
  const TSprite8 icon = TWeaponTable::GetIcon(1011);
  EXPECT_EQ(icon.texture.GetName(), "itm_icon.ptx/itm13_icon");
  EXPECT_EQ(icon.texture.GetPool(), 1u);  // managed
  EXPECT_NE(icon.texture.Object(), nullptr);
  EXPECT_EQ(icon.width, 32u);
  EXPECT_EQ(TWeaponTable::GetIcon(1003).texture.GetName(), "itm_icon.ptx/itm05_icon");

  auto bow = TWeaponTable::GetShared(1011);
  ASSERT_TRUE(bow);
  EXPECT_EQ(bow->type, 11u);
  EXPECT_EQ(bow.GetCount(), 1);
  ASSERT_TRUE(bow->mesh);
  EXPECT_EQ(bow->mesh->GetName(), "bow");
  EXPECT_EQ(bow->mesh->GetTriangleCount(), 12);
  EXPECT_FLOAT_EQ(bow->red, 0.3f);  // water
  EXPECT_FLOAT_EQ(bow->blue, 1.0f);
  auto odd = TWeaponTable::GetShared(1003);  // element 9 has no colour
  EXPECT_EQ(odd->red + odd->green + odd->blue, 0.0f);
  // An id the table lacks, even one looked up before, gives a weapon without a model and says so.
  TWeaponTable::Find(1999);
  testing::internal::CaptureStderr();
  auto missing = TWeaponTable::GetShared(1999);
  const std::string said = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(missing);
  EXPECT_FALSE(missing->mesh);
  EXPECT_EQ(missing->id, 0u);
  EXPECT_NE(said.find("1999"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  // A listed weapon whose model file is missing is a broken game folder: the loader's error.
  datakit::RecordTable(std::vector<datakit::WeaponRow>{{.id = 1012, .type = 0, .meshName = "gone"}})
      .Save(dir / "wepon2.tbl");
  TWeaponTable::Load(dir / "wepon2.tbl");
  try {
    TWeaponTable::GetShared(1012);
    ADD_FAILURE() << "a listed weapon without its model file was made";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("wepon/gone.msh"), std::string::npos) << e.what();
  }

  datakit::RecordTable(std::vector<datakit::AccessoryRow>{{.id = 2001, .elementDefences = {0, -1, 0.5f, 0, 0, 0}}})
      .Save(dir / "accessory.tbl");
  TAccessoryTable::Load(dir / "accessory.tbl");
  auto ring = TAccessoryTable::GetShared(2001);
  const bool defended[8] = {false, false, false, true, false, false, false, false};  // elements 0-7
  for (uint32_t e = 0; e < 8; ++e) EXPECT_EQ(ring->Defends(e), defended[e]) << e;
  EXPECT_FALSE(TAccessoryTable::GetShared(2002)->Defends(1));

  datakit::RecordTable(std::vector<datakit::ItemMeanRow>{{.id = 7, .hpRestored = 5, .boosts = {1, 2, 3, 4},
                                                          .ringCost = 30, .duration = 2}})
      .Save(dir / "itemmean.tbl");
  TItemMeanTable::Load(dir / "itemmean.tbl");
  auto effect = TItemMeanTable::Find(7);
  EXPECT_EQ(effect->duration, 2);
  EXPECT_EQ(effect->boosts, (std::array<int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(effect->ringCost, 30);
  EXPECT_TRUE(effect->CountDown());
  EXPECT_TRUE(effect->CountDown());
  EXPECT_FALSE(effect->CountDown());
  EXPECT_EQ(TItemMeanTable::GetRecord(7)->duration, 2);  // the copy is independent of the map
}

}  // namespace
