#include "game/data/TGameData.h"

#include <algorithm>

#include "game/data/GameGlobals.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TItemListTable.h"
#include "game/data/TSkillTable.h"
#include "game/data/TWeaponTable.h"
#include "platform/core/Clock.h"

namespace {

constexpr uint8_t kMaxStack = 99;
constexpr int32_t kFullLevel = 64;

// The rates a set skill grants: the row is chosen by the skill's icon number, the rate by its id
// minus the row's first id; it raises rates first .. first + count - 1.
struct BonusRow {
  uint8_t icon;
  uint32_t firstId;
  int32_t firstRate;
  int32_t rateCount;
  float rates[6];
};
constexpr BonusRow kBonusRows[] = {
    {11, 1100, 0, 1, {0.02f, 0.04f, 0.06f, 0.08f, 0.10f, 0.12f}},
    {12, 1110, 1, 1, {0.02f, 0.04f, 0.06f, 0.08f, 0.10f, 0.12f}},
    {13, 1120, 2, 1, {0.02f, 0.04f, 0.06f, 0.08f, 0.10f, 0.12f}},
    {14, 1130, 3, 1, {0.02f, 0.04f, 0.06f, 0.08f, 0.10f, 0.12f}},
    {15, 1140, 4, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {16, 1150, 5, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {17, 1160, 6, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {18, 1170, 7, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {19, 1180, 8, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {20, 1190, 9, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {21, 1200, 4, 6, {0.02f, 0.05f, 0.07f, 0.10f, 0.12f, 0.15f}},
    {22, 1300, 10, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
    {23, 1310, 11, 1, {0.3f, 0.4f, 0.5f, 0.6f, 0.8f, 1.0f}},
    {24, 1320, 12, 1, {0.05f, 0.10f, 0.15f, 0.20f, 0.25f, 0.30f}},
};

// Skill-id ranges whose complete mastery sets story flag 1000 + their index.
struct MasteryRange {
  uint32_t first, last;
};
constexpr MasteryRange kMasteryRanges[12] = {{2000, 2014}, {2100, 2108}, {2200, 2212}, {2300, 2310},
                                             {2400, 2406}, {2500, 2510}, {2600, 2606}, {2700, 2706},
                                             {2800, 2808}, {2900, 2908}, {3000, 3006}, {3100, 3106}};
constexpr uint32_t kMasteryFlagBase = 1000;

// A skill of kind 4-15 is a technique of weapon type kind - 4.
bool FitsWeapon(uint32_t skillId, uint32_t weaponId) {
  uint8_t kind = TSkillTable::Find(skillId)->kind;
  return kind < 4 || kind > 15 || static_cast<uint32_t>(kind - 4) == TWeaponTable::Find(weaponId)->type;
}

uint32_t GoldCap() {
  int32_t cap = GetGoldCap();
  return cap < 0 ? 0 : static_cast<uint32_t>(cap);
}

}  // namespace

void TGameData::NewGame() {
  run.ringSelection = 0;
  saved.playTimeBefore = 0;
  saved.musicLevel = saved.effectLevel = saved.voiceLevel = kFullLevel;
  saved.miniMapMode = 1;
  saved.currentMember = 0;
  saved.savePointId = 0;
  saved.gold = 4000;
  for (uint32_t k = 0; k < kMembers; ++k) saved.party[k].ResetFromDefinition(k);
  saved.flags.fill(0);
  saved.pickups.fill(0);
  saved.ring.fill(TItemEntry{});
  saved.bag.clear();
  AddItem(1, 5);
  Equip(1, 1);
  ApplyVolumes();
  for (TTimedModifier& m : run.timedModifiers) m.Clear();
  run.runStart = plat::timeGetTime();
}

void TGameData::ApplyVolumes() {
  const TGameDataServices& services = GameDataServices();
  const int32_t levels[3] = {saved.effectLevel, saved.voiceLevel, saved.musicLevel};
  for (int32_t set = 0; set < 3; ++set) {
    // A level from a damaged save is kept within the scale rather than sent off the curve.
    const int32_t level = std::clamp(levels[set], 0, kFullLevel);
    services.setSoundSetVolume(set, services.volumeCurve(1.0f - static_cast<float>(level) / 64.0f));
  }
}

TCharBlock& TGameData::GetCharBlock(uint32_t member) {
  if (member < static_cast<uint32_t>(kMembers)) return saved.party[member];
  spareBlock = TCharBlock{};
  return spareBlock;
}

const TCharBlock& TGameData::GetCharBlock(uint32_t member) const {
  static const TCharBlock blank;
  return member < static_cast<uint32_t>(kMembers) ? saved.party[member] : blank;
}

// ---- gold and items ----

void TGameData::SetGold(uint32_t n) { saved.gold = std::min(n, GoldCap()); }

void TGameData::AddGold(uint32_t n) {
  saved.gold = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{saved.gold} + n, GoldCap()));
}

void TGameData::SpendGold(uint32_t n) { saved.gold = n > saved.gold ? 0 : saved.gold - n; }

TItemEntry* TGameData::FindItem(uint32_t id) {
  for (auto& entry : saved.bag)
    if (entry->id == id) return entry.Get();
  // An empty ring slot holds no item, not item 0.
  for (size_t slot = 1; slot < saved.ring.size(); ++slot)
    if (saved.ring[slot].id == id && (id != 0 || saved.ring[slot].count != 0)) return &saved.ring[slot];
  return nullptr;
}

// Id 0 is no item (it marks an empty ring slot) and is never added.
bool TGameData::AddItem(uint32_t id, uint32_t count) {
  if (id == 0) return false;
  const uint8_t added = static_cast<uint8_t>(count);
  if (TItemEntry* entry = FindItem(id)) {
    entry->count = static_cast<uint8_t>(std::min<int32_t>(entry->count + added, kMaxStack));
    return false;
  }
  saved.bag.push_back(MakeCounted<TItemEntry>(TItemEntry{id, added}));
  return true;
}

bool TGameData::TryAddItem(uint32_t id, uint32_t count) {
  if (id == 0) return false;
  const uint8_t added = static_cast<uint8_t>(count);
  if (TItemEntry* entry = FindItem(id)) {
    if (entry->count + added > kMaxStack) return false;
    entry->count = static_cast<uint8_t>(entry->count + added);
    return true;
  }
  saved.bag.push_back(MakeCounted<TItemEntry>(TItemEntry{id, added}));
  return true;
}

bool TGameData::RemoveItem(uint32_t id, uint8_t n) {
  TItemEntry* entry = FindItem(id);
  if (!entry) return false;
  if (entry->count > n) {
    entry->count = static_cast<uint8_t>(entry->count - n);
    return false;
  }
  EraseEntry(entry);
  return true;
}

bool TGameData::UseItem(uint32_t id, uint8_t n) {
  TItemEntry* entry = FindItem(id);
  if (!entry || entry->count < n) return false;
  entry->count = static_cast<uint8_t>(entry->count - n);
  if (entry->count == 0) EraseEntry(entry);
  return true;
}

void TGameData::EraseItem(uint32_t id) {
  auto it = std::find_if(saved.bag.begin(), saved.bag.end(), [&](const auto& e) { return e->id == id; });
  if (it != saved.bag.end()) {
    saved.bag.erase(it);
    return;
  }
  for (size_t slot = 1; slot < saved.ring.size(); ++slot)
    if (saved.ring[slot].id == id) saved.ring[slot] = TItemEntry{};
}

// Only the entry that ran out goes; another ring slot that holds the same id keeps its stack.
void TGameData::EraseEntry(TItemEntry* entry) {
  auto it = std::find_if(saved.bag.begin(), saved.bag.end(), [&](const auto& e) { return e.Get() == entry; });
  if (it != saved.bag.end())
    saved.bag.erase(it);
  else
    *entry = TItemEntry{};
}

void TGameData::Equip(uint32_t slot, uint32_t id) {
  TItemEntry* entry = FindItem(id);
  if (!entry) return;
  const TItemEntry moved = *entry;
  EraseItem(id);
  // Read after the erase: a slot that held this very id is empty now and gives nothing back.
  const TItemEntry previous = saved.ring[slot];
  saved.ring[slot] = moved;
  if (previous.id != 0) AddItem(previous.id, previous.count);
}

void TGameData::Unequip(uint32_t slot) {
  const TItemEntry previous = saved.ring[slot];
  saved.ring[slot] = TItemEntry{};
  if (previous.id != 0) AddItem(previous.id, previous.count);
}

std::vector<uint32_t> TGameData::BuildSellList() const {
  std::vector<uint32_t> ids;
  for (const auto& entry : saved.bag) {
    if (entry->count == 0) continue;
    const TItemListRecord& item = *TItemListTable::Find(entry->id);
    if (item.sellFlag == 1 && item.sellPrice > 0) ids.push_back(entry->id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::vector<const TItemEntry*> TGameData::GetItemsOfKind(uint8_t kind) const {
  std::vector<const TItemEntry*> entries;
  for (const auto& entry : saved.bag)
    if (TItemListTable::Find(entry->id)->mapModelKind == kind) entries.push_back(entry.Get());
  return entries;
}

// ---- party and skills ----

void TGameData::SetSkillSlot(uint32_t member, uint32_t slot, uint32_t skillId) {
  TCharBlock& block = saved.party[member];
  const uint32_t old = block.skillSlots[slot];
  block.skillSlots[slot] = skillId;
  if (skillId != 0) std::erase(block.learned, skillId);
  if (old != 0) LearnSkill(member, old);
  UpdateBonusRates(member);
}

void TGameData::ClearSkillSlot(uint32_t member, uint32_t slot) {
  TCharBlock& block = saved.party[member];
  const uint32_t old = block.skillSlots[slot];
  // Emptied first: a skill still in a slot would not be taken back into the learned list.
  block.skillSlots[slot] = 0;
  if (old != 0) LearnSkill(member, old);
  UpdateBonusRates(member);
}

bool TGameData::LearnSkill(uint32_t member, uint32_t skillId) {
  TCharBlock& block = saved.party[member];
  if (skillId == 0 || block.HasSkill(skillId)) return false;
  block.learned.push_back(skillId);
  UpdateMasteryFlags();
  return true;
}

void TGameData::DropUnusableSkills(uint32_t member, uint32_t weaponId) {
  for (uint32_t slot = 0; slot < 5; ++slot) {
    uint32_t skill = saved.party[member].skillSlots[slot];
    if (skill != 0 && !FitsWeapon(skill, weaponId)) SetSkillSlot(member, slot, 0);
  }
}

std::vector<uint32_t> TGameData::BuildSkillList(uint32_t member, uint32_t weaponId) const {
  std::vector<uint32_t> ids;
  for (uint32_t skill : saved.party[member].learned)
    if (FitsWeapon(skill, weaponId)) ids.push_back(skill);
  std::sort(ids.begin(), ids.end());
  return ids;
}

void TGameData::LearnFromPoints(uint32_t member, const std::array<uint32_t, 10>& skills, uint16_t points,
                                std::vector<uint32_t>* learnedNow) {
  const size_t earned = std::min<size_t>(points / 100, skills.size());
  for (size_t k = 0; k < earned; ++k)
    if (LearnSkill(member, skills[k]) && learnedNow) learnedNow->push_back(skills[k]);
}

void TGameData::AddWeaponPoints(uint32_t member, uint32_t weaponId, uint32_t n, std::vector<uint32_t>& learnedNow) {
  uint16_t* points = saved.party[member].PointsSlot(weaponId);
  if (!points) return;
  *points = static_cast<uint16_t>(std::min<uint64_t>(uint64_t{*points} + n, TCharBlock::kMaxPoints));
  LearnFromPoints(member, TWeaponTable::Find(weaponId)->skills, *points, &learnedNow);
}

void TGameData::AddAccessoryPoints(uint32_t member, uint32_t accessoryId, uint32_t n,
                                   std::vector<uint32_t>& learnedNow) {
  uint16_t* points = saved.party[member].PointsSlot(accessoryId);
  if (!points) return;
  *points = static_cast<uint16_t>(std::min<uint64_t>(uint64_t{*points} + n, TCharBlock::kMaxPoints));
  LearnFromPoints(member, TAccessoryTable::Find(accessoryId)->skills, *points, &learnedNow);
}

void TGameData::RelearnFromPoints() {
  for (const auto& entry : saved.bag) {
    const uint8_t kind = TItemListTable::Find(entry->id)->mapModelKind;
    if (kind != 1 && kind != 2) continue;
    const auto& skills =
        kind == 1 ? TWeaponTable::Find(entry->id)->skills : TAccessoryTable::Find(entry->id)->skills;
    for (uint32_t m = 0; m < kMembers; ++m) LearnFromPoints(m, skills, saved.party[m].PointsOf(entry->id), nullptr);
  }
  for (uint32_t m = 0; m < kMembers; ++m) {
    const TCharBlock& block = saved.party[m];
    const uint32_t weapon = block.weaponId, accessoryA = block.accessoryA, accessoryB = block.accessoryB;
    LearnFromPoints(m, TWeaponTable::Find(weapon)->skills, block.PointsOf(weapon), nullptr);
    LearnFromPoints(m, TAccessoryTable::Find(accessoryA)->skills, block.PointsOf(accessoryA), nullptr);
    LearnFromPoints(m, TAccessoryTable::Find(accessoryB)->skills, block.PointsOf(accessoryB), nullptr);
  }
}

void TGameData::StorePlayerState(const TPlayerState& player) {
  if (player.member < static_cast<uint32_t>(kMembers)) saved.party[player.member].CopyFromPlayer(player);
}

void TGameData::RecoverAll(int32_t member) {
  for (int32_t m = 0; m < kMembers; ++m)
    if (member == -1 || member == m) saved.party[static_cast<size_t>(m)].Refill();
}

void TGameData::UpdateMasteryFlags() {
  for (uint32_t member : {0u, 1u}) {
    const TCharBlock& block = saved.party[member];
    for (uint32_t k = 0; k < 12; ++k) {
      const MasteryRange& range = kMasteryRanges[k];
      bool all = true;
      for (uint32_t id = range.first; all && id <= range.last; ++id) all = block.HasSkill(id);
      if (all && saved.flags[kMasteryFlagBase + k] == 0) saved.flags[kMasteryFlagBase + k] = 1;
    }
  }
}

void TGameData::UpdateBonusRates(uint32_t member) {
  run.bonusRates.fill(0.0f);
  for (uint32_t skill : saved.party[member].skillSlots) {
    if (skill == 0) continue;
    const TSkillRecord& record = *TSkillTable::Find(skill);
    if (record.kind != 2 && record.kind != 3) continue;
    for (const BonusRow& row : kBonusRows) {
      // An id outside its row's six grants nothing.
      if (row.icon != record.icon || skill - row.firstId >= 6) continue;
      const float rate = row.rates[skill - row.firstId];
      for (int32_t k = row.firstRate; k < row.firstRate + row.rateCount; ++k)
        run.bonusRates[static_cast<size_t>(k)] = std::max(run.bonusRates[static_cast<size_t>(k)], rate);
    }
  }
}
