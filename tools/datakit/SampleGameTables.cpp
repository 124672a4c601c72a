#include "tools/datakit/SampleGameTables.h"

#include <vector>

#include "tools/datakit/GameTables.h"

namespace datakit {

namespace {

WeaponRow Weapon(uint32_t id, const std::string& name, uint32_t type, uint32_t attack, uint32_t element,
                 const std::string& mesh, std::array<uint32_t, 10> skills = {}) {
  return WeaponRow{id, name, type, attack, 0, element, skills, mesh};
}

ItemRow Item(uint32_t id, const std::string& name, uint8_t kind, uint32_t price, const std::string& model = "") {
  ItemRow r;
  r.id = id;
  r.name = name;
  r.mapModelKind = kind;
  r.sellFlag = 1;
  r.ringFlag = kind == 0 ? 1 : 0;
  r.buyPrice = price;
  r.sellPrice = price / 2;
  r.modelName = model;
  return r;
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

}  // namespace

void WriteSampleGameTables(const std::string& folder) {
  const std::string sword = "\x83\x56\x83\x87\x81\x5b\x83\x67\x83\x5c\x81\x5b\x83\x68";   // ショートソード
  const std::string spear = "\x83\x8d\x83\x93\x83\x4f\x83\x58\x83\x73\x83\x41";           // ロングスピア
  const std::string axe = "\x83\x75\x83\x8d\x83\x93\x83\x59\x83\x41\x83\x4e\x83\x58";     // ブロンズアクス
  const std::string rod = "\x83\x8d\x83\x62\x83\x68";                                     // ロッド
  const std::string daggers = "\x83\x63\x83\x43\x83\x93\x83\x5f\x83\x4b\x81\x5b";         // ツインダガー
  const std::string bow = "\x83\x7b\x83\x45";                                             // ボウ
  RecordTable(std::vector{
                  Weapon(1000, sword, 0, 10, 0, "sword00", {3000, 3001}),
                  Weapon(1001, spear, 1, 14, 0, "spear00"),
                  Weapon(1002, axe, 5, 18, 4, "axe00"),
                  Weapon(1003, rod, 3, 8, 5, "rod00", {3100}),
                  Weapon(1004, daggers, 8, 9, 0, "dagger00"),
                  Weapon(11004, daggers, 8, 9, 0, "dagger01"),  // the other hand of the type-8 pair
                  Weapon(1005, bow, 11, 12, 3, "bow00"),
              })
      .Save(folder + "wepon.tbl");

  const std::string silverRing = "\x8b\xe2\x82\xcc\x8e\x77\x97\xd6";      // 銀の指輪
  const std::string bracelet = "\x8e\xe7\x82\xe8\x82\xcc\x98\x72\x97\xd6";  // 守りの腕輪
  RecordTable(std::vector{
                  AccessoryRow{2000, "---", 0, 0, 0, {}, {}, ""},
                  AccessoryRow{2001, silverRing, 0, 2, 5, {0.2f, 0, 0, 0, 0, 0}, {1145}, ""},
                  AccessoryRow{2002, bracelet, 0, 6, 1, {}, {}, ""},
              })
      .Save(folder + "accessory.tbl");

  RecordTable(std::vector{
                  ItemMeanRow{1, 0, 50, 0, {}, {}, 100, 0},
                  ItemMeanRow{2, 0, 0, 30, {}, {}, 100, 0},
                  ItemMeanRow{3, 0, 0, 0, {10, 0, 0, 0}, {}, 200, 600},
              })
      .Save(folder + "itemmean.tbl");

  ItemRow herb = Item(1, "\x96\xf2\x91\x90", 0, 20);  // 薬草
  herb.description[0] = "\x91\xcc\x97\xcd\x82\xf0\x89\xf1\x95\x9c\x82\xb7\x82\xe9\x81\x42";  // 体力を回復する。
  RecordTable(std::vector{
                  herb,
                  Item(2, "\x96\x82\x96\x40\x82\xcc\x90\x85", 0, 40),  // 魔法の水
                  Item(3, "\x97\xcd\x82\xcc\x8e\xc0", 0, 100),         // 力の実
                  Item(1000, sword, 1, 100, "sword00"),
                  Item(1001, spear, 1, 150, "spear00"),
                  Item(1002, axe, 1, 200, "axe00"),
                  Item(1003, rod, 1, 100, "rod00"),
                  Item(1004, daggers, 1, 180, "dagger00"),
                  Item(1005, bow, 1, 160, "bow00"),
                  Item(2000, "---", 2, 0),
                  Item(2001, silverRing, 2, 300),
                  Item(2002, bracelet, 2, 250),
              })
      .Save(folder + "item.tbl");

  RecordTable(std::vector{
                  SkillRow{3000, "\x8e\x61\x82\xe8\x8f\xe3\x82\xb0", 4, 1, "", {}},                  // 斬り上げ
                  SkillRow{3001, "\x89\xf1\x93\x5d\x8e\x61\x82\xe8", 4, 1, "", {}},                  // 回転斬り
                  SkillRow{3100, "heal", 1, 2, "", {}},
                  SkillRow{1145, "\x83\x74\x83\x40\x83\x43\x83\x41\x83\x41\x83\x62\x83\x76", 2, 15, "", {}},  // ファイアアップ
              })
      .Save(folder + "skill.tbl");

  RecordTable(std::vector{
                  SvpRow{7, "map0301", 0, 0, 0, "\x8e\x6e\x82\xdc\x82\xe8\x82\xcc\x91\xba"},  // 始まりの村
                  SvpRow{8, "map0302", 10, 0, 5, "\x90\x58\x82\xcc\x93\xfc\x8c\xfb"},        // 森の入口
                  SvpRow{9, "map0303", -4, 2, 8, "\x8e\x52\x82\xcc\x82\xd3\x82\xe0\x82\xc6"},  // 山のふもと
                  SvpRow{10, "map0304", 0, 12, 0, "\x8c\xc3\x82\xa2\x93\x83"},               // 古い塔
              })
      .Save(folder + "svp.tbl");

  RecordTable(std::vector{Member(0, "\x97\x45\x8e\xd2\x83\x8c\x83\x93", 1000, "hero"),  // 勇者レン
                          Member(1, "\x83\x7e\x83\x49", 1003, "heroine")})               // ミオ
      .Save(folder + "hrdef.tbl");

  EnemyRow slime;
  slime.id = 1;
  slime.name = "\x83\x58\x83\x89\x83\x43\x83\x80";  // スライム
  slime.height = 1.0f;
  slime.shadowSize = 1.0f;
  slime.objectFlagA = 1;
  slime.gravity = 0.05f;
  slime.actorFlagA = slime.actorFlagB = slime.actorFlagC = 1;
  slime.maxHp = slime.hp = 40;
  slime.param = {5, 5, 3, 3};
  slime.element = {1, 1, 1, 1, 1, 1};
  slime.valueA = 10;
  slime.valueB = 5;
  slime.hpGrowth = 10;
  slime.dropMoney = 20;
  slime.dropItem1 = 1;
  slime.dropChance1 = 0.3f;
  slime.modelName = "slime";
  slime.soundName = "slime";
  RecordTable(std::vector{slime}).Save(folder + "enemy.tbl");
}

}  // namespace datakit
