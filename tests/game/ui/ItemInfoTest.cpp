#include "game/ui/ItemInfo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "common/TText8.h"
#include "game/data/TItemListTable.h"
#include "tests/game/ui/HudFixture.h"

namespace {

const std::string kPoints = "pts\x81\x46";  // pts：

TInfoPiece At(int32_t x, const std::string& text) { return {x, text}; }

class ItemInfo : public HudFixture {
 protected:
  // More rows beside the sample's: accessories and weapons append to their tables.
  static void AppendAccessories(const std::vector<datakit::AccessoryRow>& rows) {
    datakit::RecordTable(rows).Save("extra_accessory.tbl");
    TAccessoryTable::Load("extra_accessory.tbl");
  }
  static void AppendWeapons(const std::vector<datakit::WeaponRow>& rows) {
    datakit::RecordTable(rows).Save("extra_wepon.tbl");
    TWeaponTable::Load("extra_wepon.tbl");
  }
  static datakit::SkillRow Skill(uint32_t id, const std::string& name, const std::string& line = "") {
    return datakit::SkillRow{id, name, 1, 0, "", {line, "", ""}};
  }
};

TEST_F(ItemInfo, AWeaponShowsItsNumbersAndTheSkillsItTeachesMostPointsFirst) {
  // The sample's flame staff: type 4, attack 35, fire, skills in slots 2 and 7.
  const TInfoLines staff = ItemInfoLines(1006, false);
  EXPECT_EQ(staff[0], (std::vector{At(0, "\x8d\x55\x8c\x82\x97\xcd\x81\x46+35"),              // 攻撃力：+35
                                   At(140, " 800" + kPoints + "\x89\x8a\x82\xcc\x89\x51")}));  // 炎の渦
  EXPECT_EQ(staff[1], (std::vector{At(0, "\x81\x40\x91\xae\x90\xab\x81\x46\x89\xce"),        // 　属性：火
                                   At(140, " 300" + kPoints + "\x89\x8a\x92\x65")}));          // 炎弾
  EXPECT_EQ(staff[2], (std::vector{At(0, "\x83\x7e\x83\x49\x90\xea\x97\x70")}))              // ミオ専用
      << "a heroine's weapon names the heroine of the hero definitions";

  // A hero's weapon names the hero; one for both names nobody.
  EXPECT_EQ(ItemInfoLines(1002, false)[2],
            (std::vector{At(0, "\x97\x45\x8e\xd2\x83\x8c\x83\x93\x90\xea\x97\x70")}));  // 勇者レン専用
  EXPECT_TRUE(ItemInfoLines(1000, false)[2].empty());
}

TEST_F(ItemInfo, ThreeLinesHoldTheThreeSkillsWithMostPoints) {
  AppendWeapons({{1500, "many", 0, 1, 0, 6, {3400, 3401, 3000, 3001, 0, 0, 0, 0, 3100, 1145}, "sword00"},
                 {1501, "odd", 12, 1, 0, 9, {}, "sword00"}});
  const TInfoLines many = ItemInfoLines(1500, false);
  ASSERT_EQ(many[0].size(), 2u);
  EXPECT_EQ(many[0][1].text.substr(0, 4 + kPoints.size()), "1000" + kPoints);
  EXPECT_EQ(many[1][1].text.substr(0, 4 + kPoints.size()), " 900" + kPoints);
  EXPECT_EQ(many[2].size(), 1u) << "weapon type 0 has no owner line";
  EXPECT_EQ(many[2][0].text.substr(0, 4 + kPoints.size()), " 400" + kPoints) << "never a fourth line";
  // Past the tables: dark (6) has no element name, type 12 no owner.
  EXPECT_EQ(many[1][0].text, "\x81\x40\x91\xae\x90\xab\x81\x46");  // 　属性：
  EXPECT_TRUE(ItemInfoLines(1501, false)[2].empty());
}

TEST_F(ItemInfo, AnAccessoryShowsItsDefencesAndTheElementsItDefends) {
  const std::string defence = "\x91\xae\x90\xab\x96\x68\x8c\xe4\x81\x46";  // 属性防御：
  AppendAccessories({
      {2010, "a", 0, 2, 5, {0, 0, 0.5f, 0, 0.1f, 0}, {}, ""},
      {2011, "b", 0, 0, 0, {1, 1, 1, 0, 0, 0}, {}, ""},
      {2012, "c", 0, 0, 0, {0, -1, 0, 0, 0, 0}, {}, ""},
      {2013, "d", 0, 0, 0, {1, 1, 1, 1, 1, 1}, {}, ""},
  });
  const TInfoLines a = ItemInfoLines(2010, false);
  EXPECT_EQ(a[0], (std::vector{At(0, "\x95\xa8\x97\x9d\x96\x68\x8c\xe4\x81\x46+2")}));  // 物理防御：+2
  EXPECT_EQ(a[1], (std::vector{At(0, "\x96\x82\x96\x40\x96\x68\x8c\xe4\x81\x46+5")}));  // 魔法防御：+5
  EXPECT_EQ(a[2], (std::vector{At(0, defence + "\x95\x97 - \x8c\xf5")}));               // 風 - 光
  EXPECT_EQ(ItemInfoLines(2011, false)[2][0].text, defence + "\x89\xce") << "three: the first alone";
  EXPECT_EQ(ItemInfoLines(2012, false)[2][0].text, defence + "\x82\xc8\x82\xb5");        // なし
  EXPECT_EQ(ItemInfoLines(2013, false)[2][0].text, defence + "\x91\x53\x91\xae\x90\xab");  // 全属性
  // The sample's silver ring teaches one skill at 100 points.
  const TInfoLines ring = ItemInfoLines(2001, false);
  ASSERT_EQ(ring[0].size(), 2u);
  EXPECT_EQ(ring[0][1].x, 140);
  EXPECT_EQ(ring[0][1].text.substr(0, 4 + kPoints.size()), " 100" + kPoints);
}

TEST_F(ItemInfo, SkillsShowTheirLinesAndTheMpCostOfTheirGroup) {
  const std::string cost = "\x8f\xc1\x94\xefMP \x8e\xe3\x81\x46";  // 消費MP 弱：
  const std::string strong = " \x8b\xad\x81\x46";                  // 強：
  datakit::RecordTable(std::vector{Skill(99, "a", "x"), Skill(103, "b", "y"), Skill(107, "c"), Skill(143, "d", "z"),
                                   Skill(150, "e"), Skill(160, "f")})
      .Save("extra_skill.tbl");
  TSkillTable::Load("extra_skill.tbl");
  struct Case {
    uint32_t id;
    std::vector<TInfoPiece> line0;
  } cases[] = {
      {143, {At(0, "z"), At(180, cost + "100" + strong + "180")}},
      {103, {At(0, "y"), At(180, cost + " 50" + strong + " 90")}},
      {150, {At(180, cost + " 12" + strong + " 22")}},
      {99, {At(0, "x")}},
      {107, {}},  // the cost tables stop at a group's seventh skill
      {160, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ItemInfoLines(c.id, true)[0], c.line0) << c.id;
}

TEST_F(ItemInfo, ItemsShowTheirDescriptionAndWhatTheTablesLackShowsNothing) {
  EXPECT_EQ(ItemInfoLines(1, false)[0],
            (std::vector{At(0, "\x91\xcc\x97\xcd\x82\xf0\x82\x54\x82\x4f\x89\xf1\x95\x9c\x82\xb7\x82\xe9\x81\x42")}));
  for (auto [id, skill] : {std::pair{500u, false}, {1500u, false}, {2500u, false}, {3000u, false}, {9999u, true}}) {
    const TInfoLines lines = ItemInfoLines(id, skill);
    EXPECT_TRUE(lines[0].empty() && lines[1].empty() && lines[2].empty()) << id;
  }
}

TEST_F(ItemInfo, IconsAndPicturesComeFromTheRecordsEntries) {
  EXPECT_EQ(LoadItemIcon(1).texture.GetName(), "itemicon.ptx/icon0001");
  EXPECT_NE(LoadItemIcon(1).texture.Object(), nullptr);
  EXPECT_EQ(LoadItemInfoPicture(1006).texture.GetName(), "iteminfo.ptx/pict1006");
  EXPECT_EQ(LoadSkillInfoPicture(143).texture.GetName(), "skillinfo.ptx/skill0143");
  struct Case {
    uint8_t index;
    std::string name;
  } icons[] = {{0, "act00_skl"}, {4, "act04_skl"}, {5, "mag00_skl"},  {10, "mag05_skl"}, {11, "pow00_skl"},
               {21, "pow10_skl"}, {22, "bon00_skl"}, {24, "bon02_skl"}, {25, "atk00_skl"}, {37, "atk12_skl"}};
  for (const Case& c : icons) {
    const TSprite8 icon = DrawSkillIcon(c.index);
    EXPECT_EQ(icon.texture.GetName(), "skl_icon.ptx/" + c.name);
    EXPECT_NE(icon.texture.Object(), nullptr) << c.name;
  }
  for (uint8_t past : {38, 255}) {
    EXPECT_EQ(SkillIconName(past), "");
    EXPECT_EQ(DrawSkillIcon(past).texture.Object(), nullptr);
  }
}

TEST_F(ItemInfo, NoEntryNameOrUnknownIdGivesTheEmptySpriteWithoutOpeningThePack) {
  datakit::ItemRow plain;
  plain.id = 7;
  plain.name = "plain";
  datakit::RecordTable(std::vector{plain}).Save("extra_item.tbl");
  TItemListTable::Load("extra_item.tbl");
  std::filesystem::remove("data/ptx03/itemicon.ptx");
  std::filesystem::remove("data/ptx03/iteminfo.ptx");
  std::filesystem::remove("data/ptx03/skillinfo.ptx");
  EXPECT_EQ(LoadItemIcon(7).texture.Object(), nullptr);
  EXPECT_EQ(LoadItemInfoPicture(7).texture.Object(), nullptr);
  EXPECT_EQ(LoadItemIcon(1).texture.Object(), nullptr) << "no longer in the table";
  EXPECT_EQ(LoadSkillInfoPicture(4242).texture.Object(), nullptr);
  // A named entry of a missing pack still fails.
  datakit::ItemRow named = plain;
  named.iconName = "icon0007";
  datakit::RecordTable(std::vector{named}).Save("extra_item.tbl");
  TItemListTable::Load("extra_item.tbl");
  EXPECT_THROW(LoadItemIcon(7), my_error);
}

TEST_F(ItemInfo, TheTextObjectsAreClearedDrawnAndUploaded) {
  TText8 line0("l0", 512, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  TText8 line2("l2", 512, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  TText8* const lines[3] = {&line0, nullptr, &line2};
  auto ink = [](const TText8& text, int x0, int x1) {
    int n = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = x0; x < x1; ++x) {
        uint16_t v;
        std::memcpy(&v, text.GetBits() + y * text.GetPitch() + x * 2, 2);
        n += v != 0;
      }
    return n;
  };
  ItemInfoText(1006, false, lines);
  if (access("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", R_OK) == 0) {
    EXPECT_GT(ink(line0, 0, 130), 0);
    EXPECT_GT(ink(line0, 140, 300), 0) << "the skill from x 140";
    EXPECT_GT(ink(line2, 0, 130), 0);
    EXPECT_EQ(ink(line2, 140, 512), 0);
  }
  ItemInfoText(4000, false, lines);
  EXPECT_EQ(ink(line0, 0, 512), 0);
  EXPECT_EQ(ink(line2, 0, 512), 0);
}

}  // namespace
