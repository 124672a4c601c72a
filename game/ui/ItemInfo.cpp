#include "game/ui/ItemInfo.h"

#include <cstdio>

#include "common/TText8.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/THrdefTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TWeaponTable.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/D3D8Types.h"

namespace {

constexpr uint32_t kFirstWeapon = 1000, kFirstAccessory = 2000, kPastAccessories = 3000;
constexpr int32_t kSkillTextX = 140, kCostX = 180;

// The weapon's element 0-5.
constexpr const char* kElementNames[] = {"\x96\xb3", "\x89\xce", "\x90\x85",   // 無 火 水
                                         "\x95\x97", "\x93\x79", "\x8c\xf5"};  // 風 土 光
// The accessory's six element defences, fire to dark.
constexpr const char* kDefenceNames[] = {"\x89\xce", "\x90\x85", "\x95\x97",   // 火 水 風
                                         "\x93\x79", "\x8c\xf5", "\x88\xc5"};  // 土 光 闇

constexpr char kAttackFormat[] = "\x8d\x55\x8c\x82\x97\xcd\x81\x46+%lu";                // 攻撃力：+%lu
constexpr char kElementFormat[] = "\x81\x40\x91\xae\x90\xab\x81\x46%s";                 // 　属性：%s
constexpr char kExclusive[] = "\x90\xea\x97\x70";                                       // 専用
constexpr char kPhysicalFormat[] = "\x95\xa8\x97\x9d\x96\x68\x8c\xe4\x81\x46+%ld";      // 物理防御：+%ld
constexpr char kMagicFormat[] = "\x96\x82\x96\x40\x96\x68\x8c\xe4\x81\x46+%ld";         // 魔法防御：+%ld
constexpr char kDefenceFormat[] = "\x91\xae\x90\xab\x96\x68\x8c\xe4\x81\x46%s";         // 属性防御：%s
constexpr char kNoDefence[] = "\x82\xc8\x82\xb5";                                       // なし
constexpr char kAllDefences[] = "\x91\x53\x91\xae\x90\xab";                             // 全属性
constexpr char kTwoDefencesFormat[] = "%s - %s";
constexpr char kSkillFormat[] = "%spts\x81\x46%s";                                      // %spts：%s
constexpr char kCostFormat[] = "\x8f\xc1\x94\xefMP \x8e\xe3\x81\x46%3lu \x8b\xad\x81\x46%3lu";  // 消費MP 弱：%3lu 強：%3lu

// The skill icons' entries: each group's stem numbered from 00, the groups in icon order.
struct IconGroup {
  const char* stem;
  uint8_t count;
};
constexpr IconGroup kIconGroups[] = {{"act", 5}, {"mag", 6}, {"pow", 11}, {"bon", 3}, {"atk", 13}};

// MP costs of skills 100-159 by their place in their group of ten; the 140s cost more.
struct CostRow {
  uint32_t weak[7];
  uint32_t strong[7];
};
constexpr uint32_t kFirstCostedSkill = 100, kLastCostedSkill = 159, kExpensiveGroup = 140;
constexpr CostRow kExpensiveCosts = {{25, 40, 70, 100, 150, 190, 130}, {45, 75, 130, 180, 280, 350, 250}};
constexpr CostRow kCosts = {{12, 20, 35, 50, 75, 95, 65}, {22, 37, 65, 90, 140, 175, 125}};

// A slot's learning points are 100 × (slot + 1); three lines hold the three highest.
constexpr size_t kSkillLines = 3;

template <class... Args>
std::string Format(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

TSprite8 EmptySprite() { return LoadSprite("", plat::D3DPOOL_MANAGED, 0); }

TSprite8 EntrySprite(const char* pack, const std::string& entry) {
  if (entry.empty()) return EmptySprite();
  return LoadSprite(pack + entry, plat::D3DPOOL_MANAGED, 0);
}

// Tables add an unknown id with a default record, whose own id is not the one looked up.
template <class Table>
auto* KnownRecord(uint32_t id) {
  auto* record = Table::Find(id);
  return record->id == id ? record : nullptr;
}

void AddPiece(TInfoLines& lines, size_t line, int32_t x, std::string text) {
  if (!text.empty()) lines[line].push_back({x, std::move(text)});
}

void AddDescription(TInfoLines& lines, const std::array<std::string, 3>& description) {
  for (size_t k = 0; k < lines.size(); ++k) AddPiece(lines, k, 0, description[k]);
}

void AddSkillCost(TInfoLines& lines, uint32_t skillId) {
  if (skillId < kFirstCostedSkill || skillId > kLastCostedSkill) return;
  const uint32_t group = skillId / 10 * 10;
  const uint32_t index = skillId - group;
  if (index >= std::size(kCosts.weak)) return;  // the tables stop at the seventh skill of a group
  const CostRow& row = group == kExpensiveGroup ? kExpensiveCosts : kCosts;
  AddPiece(lines, 0, kCostX,
           Format(kCostFormat, static_cast<unsigned long>(row.weak[index]), static_cast<unsigned long>(row.strong[index])));
}

// The skills a weapon or accessory teaches, those learned last (most points) first.
void AddTaughtSkills(TInfoLines& lines, const std::array<uint32_t, 10>& skills) {
  size_t line = 0;
  for (size_t k = skills.size(); k-- > 0 && line < kSkillLines;) {
    if (skills[k] == 0) continue;
    char points[8];
    std::snprintf(points, sizeof points, "%4u", static_cast<unsigned>((k + 1) * 100));
    AddPiece(lines, line++, kSkillTextX, Format(kSkillFormat, points, TSkillTable::Find(skills[k])->name.c_str()));
  }
}

std::string ElementName(uint32_t element) { return element < std::size(kElementNames) ? kElementNames[element] : ""; }

// Weapons one member alone may hold name that member.
std::string ExclusiveText(uint32_t weaponId) {
  const bool hero = TWeaponTable::CanEquip(0, weaponId), heroine = TWeaponTable::CanEquip(1, weaponId);
  if (hero == heroine) return "";
  return THrdefTable::Find(hero ? 0 : 1)->name + kExclusive;
}

std::string DefenceText(const std::array<float, 6>& factors) {
  std::vector<const char*> names;
  for (size_t k = 0; k < factors.size(); ++k)
    if (factors[k] > 0) names.push_back(kDefenceNames[k]);
  if (names.empty()) return kNoDefence;
  if (names.size() == factors.size()) return kAllDefences;
  if (names.size() == 2) return Format(kTwoDefencesFormat, names[0], names[1]);
  return names[0];
}

TInfoLines SkillLines(uint32_t id) {
  TInfoLines lines;
  const TSkillRecord* skill = KnownRecord<TSkillTable>(id);
  if (!skill) return lines;
  AddDescription(lines, skill->description);
  AddSkillCost(lines, id);
  return lines;
}

TInfoLines WeaponLines(uint32_t id) {
  TInfoLines lines;
  const TWeaponRecord* weapon = KnownRecord<TWeaponTable>(id);
  if (!weapon) return lines;
  AddPiece(lines, 0, 0, Format(kAttackFormat, static_cast<unsigned long>(weapon->attack)));
  AddPiece(lines, 1, 0, Format(kElementFormat, ElementName(weapon->element).c_str()));
  AddPiece(lines, 2, 0, ExclusiveText(id));
  AddTaughtSkills(lines, weapon->skills);
  return lines;
}

TInfoLines AccessoryLines(uint32_t id) {
  TInfoLines lines;
  const TAccessoryRecord* accessory = KnownRecord<TAccessoryTable>(id);
  if (!accessory) return lines;
  AddPiece(lines, 0, 0, Format(kPhysicalFormat, static_cast<long>(accessory->physicalDefence)));
  AddPiece(lines, 1, 0, Format(kMagicFormat, static_cast<long>(accessory->magicDefence)));
  AddPiece(lines, 2, 0, Format(kDefenceFormat, DefenceText(accessory->elementDefences).c_str()));
  AddTaughtSkills(lines, accessory->skills);
  return lines;
}

TInfoLines ItemLines(uint32_t id) {
  TInfoLines lines;
  if (const TItemListRecord* item = KnownRecord<TItemListTable>(id)) AddDescription(lines, item->description);
  return lines;
}

}  // namespace

TSprite8 LoadItemIcon(uint32_t itemId) {
  const TItemListRecord* item = KnownRecord<TItemListTable>(itemId);
  return item ? EntrySprite("itemicon.ptx/", item->iconName) : EmptySprite();
}

TSprite8 LoadKindIcon(uint32_t itemId) {
  switch (TItemListTable::Find(itemId)->mapModelKind) {
    case 0: return LoadSprite("itm_icon.ptx/itm00_icon", plat::D3DPOOL_MANAGED, 0);
    case 1: return TWeaponTable::GetIcon(itemId);
    case 2: return LoadSprite("itm_icon.ptx/itm01_icon", plat::D3DPOOL_MANAGED, 0);
    default: return EmptySprite();
  }
}

TSprite8 LoadItemInfoPicture(uint32_t itemId) {
  const TItemListRecord* item = KnownRecord<TItemListTable>(itemId);
  return item ? EntrySprite("iteminfo.ptx/", item->pictureName) : EmptySprite();
}

TSprite8 LoadSkillInfoPicture(uint32_t skillId) {
  const TSkillRecord* skill = KnownRecord<TSkillTable>(skillId);
  return skill ? EntrySprite("skillinfo.ptx/", skill->pictureName) : EmptySprite();
}

std::string SkillIconName(uint8_t iconIndex) {
  uint32_t index = iconIndex;
  for (const IconGroup& group : kIconGroups) {
    if (index < group.count) return Format("%s%02u_skl", group.stem, static_cast<unsigned>(index));
    index -= group.count;
  }
  return "";
}

TSprite8 DrawSkillIcon(uint8_t iconIndex) { return EntrySprite("skl_icon.ptx/", SkillIconName(iconIndex)); }

TInfoLines ItemInfoLines(uint32_t id, bool skill) {
  if (skill) return SkillLines(id);
  if (id < kFirstWeapon) return ItemLines(id);
  if (id < kFirstAccessory) return WeaponLines(id);
  if (id < kPastAccessories) return AccessoryLines(id);
  return {};
}

TText8 UiText(const std::string& name, uint32_t width) {
  return TText8(name, width, 16, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
}

void WritePieces(TText8& text, const std::vector<TInfoPiece>& pieces) {
  text.Clear(false);
  const TUiFont font;
  for (const TInfoPiece& piece : pieces) text.DrawString(piece.x, 0, piece.text, font, false);
  text.Upload();
}

void ItemInfoText(uint32_t id, bool skill, TText8* const lines[3]) {
  const TInfoLines info = ItemInfoLines(id, skill);
  for (size_t k = 0; k < 3; ++k)
    if (lines[k]) WritePieces(*lines[k], info[k]);
}
