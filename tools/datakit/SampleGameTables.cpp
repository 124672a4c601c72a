#include "tools/datakit/SampleGameTables.h"

#include <bit>
#include <cstdio>
#include <iterator>
#include <vector>

#include "tools/datakit/GameTables.h"
#include "tools/datakit/SampleEnemies.h"
#include "tools/datakit/SampleMaps.h"
#include "tools/datakit/TableWriter.h"

namespace datakit {

namespace {

// The second value holds the bits of the blade's length, which the weapon trail follows.
WeaponRow Weapon(uint32_t id, const std::string& name, uint32_t type, uint32_t attack, uint32_t element, float blade,
                 const std::string& mesh, std::array<uint32_t, 10> skills = {}) {
  return WeaponRow{id, name, type, attack, std::bit_cast<uint32_t>(blade), element, skills, mesh};
}

std::string Numbered(const char* stem, uint32_t id) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%04u", stem, static_cast<unsigned>(id));
  return name;
}

ItemRow Item(uint32_t id, const std::string& name, uint8_t kind, uint32_t price, const std::string& model = "",
             const std::string& line = "") {
  ItemRow r;
  r.id = id;
  r.name = name;
  r.mapModelKind = kind;
  r.sellFlag = 1;
  r.ringFlag = kind == 0 ? 1 : 0;
  r.buyPrice = price;
  r.sellPrice = price / 2;
  r.modelName = model;
  r.iconName = SampleItemIconEntry(id);
  r.pictureName = SampleItemPictureEntry(id);
  r.description[0] = line;
  return r;
}

// An item the shops never buy back.
ItemRow Unsellable(ItemRow r) {
  r.sellFlag = 0;
  return r;
}

// A usable item that may not go on the item ring.
ItemRow OffTheRing(ItemRow r) {
  r.ringFlag = 0;
  return r;
}

SkillRow Skill(uint32_t id, const std::string& name, uint8_t kind, uint8_t icon, const std::string& line) {
  return SkillRow{id, name, kind, icon, SampleSkillPictureEntry(id), {line, "", ""}};
}

HrdefRow Member(uint32_t id, const std::string& name, uint32_t weapon, const std::string& model) {
  HrdefRow r;
  r.id = id;
  r.name = name;
  r.maxHp = 120;
  r.maxMp = 30;
  r.params = {12, 10, 8, 8};
  r.weaponId = weapon;
  r.growth = {20, 5, 2, 2, 1, 1};
  r.faceName = "face0" + std::to_string(id);
  r.modelName = model;
  r.tableName = model;
  return r;
}

// The sample's items and skills, and the skills the flame staff teaches (slots 2 and 7).
constexpr uint32_t kItemIds[] = {1,    2,    3,    4,    1000, 1001, 1002, 1003, 1004, 1005,
                                 1006, 1007, 1008, 1009, 1010, 1011, 2000, 2001, 2002, 2003};
constexpr uint32_t kNamedSkillIds[] = {2000, 2001, 1145, 3400, 3401, 103, 143};
constexpr uint32_t kFlameShot = 3400, kFlameVortex = 3401;
// The five skills of every weapon (kind 0) and the techniques of weapon type 0 (kind 4) that the
// sample names only by number.
constexpr uint32_t kCommonSkills = 5;
constexpr uint32_t kFirstSwordTechnique = 2000, kSwordTechniques = 16;
constexpr uint8_t kCommonKind = 0, kSwordKind = 4;
// The techniques of weapon types 1 to 11 (of the kind type + 4, ids from 2000 + 100 x type on),
// named by their weapon and number. Of weapon type 1's, 2100-2104 have the sub-kinds 31, 32, 33,
// 36 and 37, the edges of its aerial sub-kinds 32-36; every other one has 1.
struct TechniqueRange {
  const char* stem;
  uint32_t weaponType;
  uint32_t count;
};
constexpr TechniqueRange kStyleTechniques[] = {
    {"spear ", 1, 10}, {"blade ", 2, 14}, {"rod ", 3, 12},   {"staff ", 4, 8},    {"axe ", 5, 12}, {"mace ", 6, 8},
    {"hammer ", 7, 8}, {"dagger ", 8, 10}, {"fan ", 9, 10}, {"knuckle ", 10, 8}, {"bow ", 11, 8},
};
constexpr uint8_t kPlainSubKind = 1;
constexpr uint8_t kSpearEdgeSubKinds[] = {31, 32, 33, 36, 37};
// Skills of the skill routines (kind 1) that the sample names only by number: one of each routine.
constexpr uint32_t kRoutineSkills[] = {100, 101, 102, 105, 114, 115, 134, 135, 144, 145, 152, 154, 155};
constexpr uint8_t kRoutineKind = 1;

std::vector<SkillRow> NumberedSkills() {
  std::vector<SkillRow> rows;
  for (uint32_t id = 1; id <= kCommonSkills; ++id)
    rows.push_back(Skill(id, "skill " + std::to_string(id), kCommonKind, static_cast<uint8_t>(id - 1), ""));
  for (uint32_t id = kFirstSwordTechnique + 2; id < kFirstSwordTechnique + kSwordTechniques; ++id)
    rows.push_back(Skill(id, "sword " + std::to_string(id), kSwordKind, 1, ""));
  for (uint32_t id : kRoutineSkills) rows.push_back(Skill(id, "skill " + std::to_string(id), kRoutineKind, 7, ""));
  for (const TechniqueRange& range : kStyleTechniques)
    for (uint32_t k = 0; k < range.count; ++k) {
      const uint32_t id = 2000 + 100 * range.weaponType + k;
      const bool edge = range.weaponType == 1 && k < std::size(kSpearEdgeSubKinds);
      rows.push_back(Skill(id, range.stem + std::to_string(id), static_cast<uint8_t>(range.weaponType + 4),
                           edge ? kSpearEdgeSubKinds[k] : kPlainSubKind, ""));
    }
  return rows;
}

}  // namespace

std::vector<uint32_t> SampleExpTable() {
  std::vector<uint32_t> table;
  for (uint32_t i = 0; i <= 200; ++i) table.push_back(300 - i);
  return table;
}

std::vector<uint32_t> SampleAbilityTable() {
  std::vector<uint32_t> table;
  for (uint32_t i = 0; i <= 200; ++i) table.push_back(30 - i / 10);
  return table;
}

std::vector<uint32_t> SampleItemIds() { return {std::begin(kItemIds), std::end(kItemIds)}; }
std::vector<uint32_t> SampleSkillIds() {
  std::vector<uint32_t> ids(std::begin(kNamedSkillIds), std::end(kNamedSkillIds));
  for (const SkillRow& row : NumberedSkills()) ids.push_back(row.id);
  return ids;
}
std::string SampleItemIconEntry(uint32_t itemId) { return Numbered("icon", itemId); }
std::string SampleItemPictureEntry(uint32_t itemId) { return Numbered("pict", itemId); }
std::string SampleSkillPictureEntry(uint32_t skillId) { return Numbered("skill", skillId); }

void WriteSampleGameTables(const std::string& folder) {
  const std::string sword = "\x83\x56\x83\x87\x81\x5b\x83\x67\x83\x5c\x81\x5b\x83\x68";   // ショートソード
  const std::string spear = "\x83\x8d\x83\x93\x83\x4f\x83\x58\x83\x73\x83\x41";           // ロングスピア
  const std::string axe = "\x83\x75\x83\x8d\x83\x93\x83\x59\x83\x41\x83\x4e\x83\x58";     // ブロンズアクス
  const std::string rod = "\x83\x8d\x83\x62\x83\x68";                                     // ロッド
  const std::string daggers = "\x83\x63\x83\x43\x83\x93\x83\x5f\x83\x4b\x81\x5b";         // ツインダガー
  const std::string bow = "\x83\x7b\x83\x45";                                             // ボウ
  const std::string staff = "\x89\x8a\x82\xcc\x8f\xf1";                                     // 炎の杖
  const std::string fan = "\x93\x53\x90\xee";                                             // 鉄扇
  const std::string greatSword = "\x91\xe5\x8c\x95";                                      // 大剣
  const std::string mace = "\x83\x81\x83\x43\x83\x58";                                    // メイス
  const std::string hammer = "\x83\x45\x83\x48\x81\x5b\x83\x6e\x83\x93\x83\x7d\x81\x5b";  // ウォーハンマー
  const std::string knuckles = "\x83\x69\x83\x62\x83\x4e\x83\x8b";                        // ナックル
  RecordTable(std::vector{
                  Weapon(1000, sword, 0, 10, 0, 1.1f, "sword00", {2000, 2001}),
                  Weapon(1001, spear, 1, 14, 0, 1.7f, "spear00"),
                  Weapon(1002, axe, 5, 18, 4, 0.95f, "axe00"),
                  Weapon(1003, rod, 3, 8, 5, 1.15f, "rod00", {2300}),
                  Weapon(1004, daggers, 8, 9, 0, 0.47f, "dagger00"),
                  Weapon(11004, daggers, 8, 9, 0, 0.47f, "dagger01"),  // the other hand of the type-8 pair
                  Weapon(1005, bow, 11, 12, 3, 1.3f, "bow00"),
                  Weapon(1006, staff, 4, 35, 1, 1.4f, "staff00", {0, 0, kFlameShot, 0, 0, 0, 0, kFlameVortex}),
                  Weapon(1007, fan, 9, 11, 2, 0.6f, "fan00", {2900}),
                  Weapon(1008, greatSword, 2, 16, 0, 1.3f, "blade00"),
                  Weapon(1009, mace, 6, 15, 0, 0.8f, "mace00"),
                  Weapon(1010, hammer, 7, 20, 0, 0.9f, "hammer00"),
                  Weapon(1011, knuckles, 10, 11, 0, 0.3f, "knuckle00"),
              })
      .Save(folder + "wepon.tbl");

  const std::string silverRing = "\x8b\xe2\x82\xcc\x8e\x77\x97\xd6";      // 銀の指輪
  const std::string bracelet = "\x8e\xe7\x82\xe8\x82\xcc\x98\x72\x97\xd6";  // 守りの腕輪
  const std::string crown = "\x89\xa9\x8b\xe0\x82\xcc\x8a\xa5";                  // 黄金の冠
  RecordTable(std::vector{
                  AccessoryRow{2000, "---", 0, 0, 0, {}, {}, ""},
                  AccessoryRow{2001, silverRing, 0, 2, 5, {0.2f, 0, 0, 0, 0, 0}, {1145}, ""},
                  AccessoryRow{2002, bracelet, 0, 6, 1, {}, {}, ""},
                  AccessoryRow{2003, crown, 0, 12, 12, {0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f}, {}, ""},
              })
      .Save(folder + "accessory.tbl");

  RecordTable(std::vector{
                  ItemMeanRow{1, 0, 50, 0, {}, {}, 100, 0},
                  ItemMeanRow{2, 0, 0, 30, {}, {}, 100, 0},
                  ItemMeanRow{3, 0, 0, 0, {10, 0, 0, 0}, {}, 200, 600},
                  // The blessings' timed boosts.
                  ItemMeanRow{1000, 0, 0, 0, {5, 5, 0, 0}, {}, 0, 1200},
                  ItemMeanRow{1001, 0, 0, 0, {10, 10, 0, 0}, {}, 0, 2400},
                  ItemMeanRow{1002, 0, 0, 0, {10, 5, 10, 5}, {}, 0, 1800},
                  ItemMeanRow{1003, 0, 0, 0, {20, 10, 20, 10}, {}, 0, 3600},
              })
      .Save(folder + "itemmean.tbl");

  RecordTable(std::vector{
                  // 薬草: 体力を５０回復する。
                  Item(1, "\x96\xf2\x91\x90", 0, 20, "",
                       "\x91\xcc\x97\xcd\x82\xf0\x82\x54\x82\x4f\x89\xf1\x95\x9c\x82\xb7\x82\xe9\x81\x42"),
                  // 魔法の水: 魔力を３０回復する。
                  Item(2, "\x96\x82\x96\x40\x82\xcc\x90\x85", 0, 40, "",
                       "\x96\x82\x97\xcd\x82\xf0\x82\x52\x82\x4f\x89\xf1\x95\x9c\x82\xb7\x82\xe9\x81\x42"),
                  // 力の実: しばらく力が上がる。
                  Item(3, "\x97\xcd\x82\xcc\x8e\xc0", 0, 100, "",
                       "\x82\xb5\x82\xce\x82\xe7\x82\xad\x97\xcd\x82\xaa\x8f\xe3\x82\xaa\x82\xe9\x81\x42"),
                  OffTheRing(Unsellable(Item(4, "\x8c\xc3\x82\xa2\x8c\xae", 0, 200))),  // 古い鍵
                  Item(1000, sword, 1, 100, "sword00"),
                  Item(1001, spear, 1, 150, "spear00"),
                  Item(1002, axe, 1, 200, "axe00"),
                  Item(1003, rod, 1, 100, "rod00"),
                  Item(1004, daggers, 1, 180, "dagger00"),
                  Item(1005, bow, 1, 160, "bow00"),
                  Item(1006, staff, 1, 400, "staff00"),
                  Item(1007, fan, 1, 240, "fan00"),
                  Item(1008, greatSword, 1, 260, "blade00"),
                  Item(1009, mace, 1, 220, "mace00"),
                  Item(1010, hammer, 1, 300, "hammer00"),
                  Item(1011, knuckles, 1, 140, "knuckle00"),
                  Item(2000, "---", 2, 0),
                  Item(2001, silverRing, 2, 300),
                  Item(2002, bracelet, 2, 250),
                  Item(2003, crown, 2, 4800),
              })
      .Save(folder + "item.tbl");

  std::vector<SkillRow> skills = {
      // 斬り上げ: 前方を斬り上げる。
      Skill(2000, "\x8e\x61\x82\xe8\x8f\xe3\x82\xb0", 4, 1,
            "\x91\x4f\x95\xfb\x82\xf0\x8e\x61\x82\xe8\x8f\xe3\x82\xb0\x82\xe9\x81\x42"),
      // 回転斬り: 回転して周りを斬る。
      Skill(2001, "\x89\xf1\x93\x5d\x8e\x61\x82\xe8", 4, 1,
            "\x89\xf1\x93\x5d\x82\xb5\x82\xc4\x8e\xfc\x82\xe8\x82\xf0\x8e\x61\x82\xe9\x81\x42"),
      // ファイアアップ: 火の力を高める。
      Skill(1145, "\x83\x74\x83\x40\x83\x43\x83\x41\x83\x41\x83\x62\x83\x76", 2, 15,
            "\x89\xce\x82\xcc\x97\xcd\x82\xf0\x8d\x82\x82\xdf\x82\xe9\x81\x42"),
      // 炎弾: 火の玉を撃ち出す。
      Skill(kFlameShot, "\x89\x8a\x92\x65", 8, 5,
            "\x89\xce\x82\xcc\x8b\xca\x82\xf0\x8c\x82\x82\xbf\x8f\x6f\x82\xb7\x81\x42"),
      // 炎の渦: 炎の渦で周りを焼く。
      Skill(kFlameVortex, "\x89\x8a\x82\xcc\x89\x51", 8, 6,
            "\x89\x8a\x82\xcc\x89\x51\x82\xc5\x8e\xfc\x82\xe8\x82\xf0\x8f\xc4\x82\xad\x81\x42"),
      // ヒール: 仲間の傷を癒やす。 (its MP cost shows in its text)
      Skill(103, "\x83\x71\x81\x5b\x83\x8b", 1, 7,
            "\x92\x87\x8a\xd4\x82\xcc\x8f\x9d\x82\xf0\x96\xfc\x82\xe2\x82\xb7\x81\x42"),
      // メテオ: 空から岩を降らせる。
      Skill(143, "\x83\x81\x83\x65\x83\x49", 1, 10,
            "\x8b\xf3\x82\xa9\x82\xe7\x8a\xe2\x82\xf0\x8d\x7e\x82\xe7\x82\xb9\x82\xe9\x81\x42"),
  };
  const std::vector<SkillRow> numbered = NumberedSkills();
  skills.insert(skills.end(), numbered.begin(), numbered.end());
  RecordTable(skills).Save(folder + "skill.tbl");

  // A save made on the town's disc resumes on it; the cleared chapter's in the town's middle.
  constexpr Vec3 disc = SampleMapLayout::kTownSavePointAt;
  RecordTable(std::vector{
                  SvpRow{SampleMapLayout::kTownSavePoint, "03.pbms/town", disc.x, disc.y, disc.z, kSampleTownName},
                  SvpRow{8, "03.pbms/field", 10, 0, 5, "\x90\x58\x82\xcc\x93\xfc\x8c\xfb"},          // 森の入口
                  SvpRow{9, "03.pbms/field", -4, 2, 8, "\x8e\x52\x82\xcc\x82\xd3\x82\xe0\x82\xc6"},  // 山のふもと
                  SvpRow{10, "03.pbms/town", 0, 0, 0, "\x8c\xc3\x82\xa2\x93\x83"},                   // 古い塔
              })
      .Save(folder + "svp.tbl");

  RecordTable(std::vector{Member(0, "\x97\x45\x8e\xd2\x83\x8c\x83\x93", 1000, "hero"),  // 勇者レン
                          Member(1, "\x83\x7e\x83\x49", 1003, "heroine")})              // ミオ
      .Save(folder + "hrdef.tbl");

  TableWriter::IdList(SampleExpTable()).Save(folder + "ex.tbl");
  TableWriter::IdList(SampleAbilityTable()).Save(folder + "abp.tbl");
  RecordTable(SampleEnemyRows()).Save(folder + "enemy.tbl");
}

}  // namespace datakit
