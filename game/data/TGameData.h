// The game-progress record of a play-through: party, gold, items and the item ring, story flags,
// map items taken, settings, the save point to resume at and the play time.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/data/GameDataServices.h"
#include "game/data/TCharBlock.h"
#include "game/data/TTimedModifier.h"

struct TItemEntry {
  uint32_t id = 0;  // 0 in a ring slot: empty
  uint8_t count = 0;
};

// The part of the record that a save keeps, in the save's order.
struct TSavedProgress {
  uint32_t playTimeBefore = 0;  // ms before the current run of play
  int32_t musicLevel = 0;       // 0-64
  int32_t effectLevel = 0;
  int32_t voiceLevel = 0;
  uint8_t miniMapMode = 0;
  uint32_t currentMember = 0;
  uint32_t savePointId = 0;
  uint32_t gold = 0;
  std::array<TCharBlock, 8> party;
  std::array<uint8_t, 2048> flags{};
  std::array<uint8_t, 1024> pickups{};
  std::array<TItemEntry, 8> ring{};  // the ring shows slots 1-7
  std::vector<TCountedPtr<TItemEntry>> bag;  // in the order ids were first added
};

class TGameData {
 public:
  static constexpr int32_t kMembers = 8;
  static constexpr int32_t kBonusRates = 13;

  TGameData() = default;
  virtual ~TGameData() = default;
  // The record of the running game; null before the game tables are loaded and after they are freed.
  static TGameData* Instance();
  // The record of the running game, or a blank one when there is none (a screen shown without a
  // game), which takes whatever a screen writes and keeps it to itself.
  static TGameData& InstanceOrBlank();

  void NewGame();
  void ApplyVolumes();
  void SetVolume0(int32_t level) { saved.effectLevel = level; }
  void SetVolume1(int32_t level) { saved.voiceLevel = level; }
  void SetVolume2(int32_t level) { saved.musicLevel = level; }
  int32_t GetVolume0() const { return saved.effectLevel; }
  int32_t GetVolume1() const { return saved.voiceLevel; }
  int32_t GetVolume2() const { return saved.musicLevel; }
  void SetMiniMapMode(uint8_t mode) { saved.miniMapMode = mode; }
  uint8_t GetMiniMapMode() const { return saved.miniMapMode; }
  // Numbers from scripts are checked: a member, flag or map item out of range reads 0 (a blank
  // block) and is never written.
  void SetCurrentMember(uint32_t member) {
    if (member < static_cast<uint32_t>(kMembers)) saved.currentMember = member;
  }
  uint32_t GetCurrentMember() const { return saved.currentMember; }
  uint32_t GetSavePointId() const { return saved.savePointId; }
  void SetSavePointId(uint32_t id) { saved.savePointId = id; }
  uint8_t GetFlag(uint32_t n) const { return n < saved.flags.size() ? saved.flags[n] : 0; }
  void SetFlag(uint32_t n, uint8_t value) {
    if (n < saved.flags.size()) saved.flags[n] = value;
  }
  uint8_t GetPickupFlag(uint32_t n) const { return n < saved.pickups.size() ? saved.pickups[n] : 0; }
  void SetPickupFlag(uint32_t n, uint8_t value) {
    if (n < saved.pickups.size()) saved.pickups[n] = value;
  }
  TCharBlock& GetCharBlock(uint32_t member);
  const TCharBlock& GetCharBlock(uint32_t member) const;
  uint32_t GetPlayTimeBefore() const { return saved.playTimeBefore; }
  uint32_t GetRunStart() const { return run.runStart; }
  // The loading screen starts the run when a load succeeded.
  void SetRunStart(uint32_t ms) { run.runStart = ms; }
  uint32_t GetRingSelection() const { return run.ringSelection; }
  void SetRingSelection(uint32_t slot) { run.ringSelection = slot; }
  // The skill ring's cursor, handed from one player character to the next; a save-point start
  // puts it back on the first entry.
  uint32_t GetSkillRingCursor() const { return run.skillRingCursor; }
  void SetSkillRingCursor(uint32_t entry) { run.skillRingCursor = entry; }
  float GetBonusRate(int32_t k) const { return run.bonusRates[k]; }
  // Until the member's skills are looked at again (UpdateBonusRates); a rate out of range is ignored.
  void SetBonusRate(int32_t k, float rate) {
    if (k >= 0 && k < kBonusRates) run.bonusRates[static_cast<size_t>(k)] = rate;
  }
  TTimedModifier& GetTimedModifier(uint32_t member) { return run.timedModifiers[member]; }

  // Gold and items.
  uint32_t GetGold() const { return saved.gold; }
  void SetGold(uint32_t n);
  void AddGold(uint32_t n);
  void SpendGold(uint32_t n);
  TItemEntry* FindItem(uint32_t id);
  bool AddItem(uint32_t id, uint32_t count);
  bool TryAddItem(uint32_t id, uint32_t count);
  bool RemoveItem(uint32_t id, uint8_t n);
  bool UseItem(uint32_t id, uint8_t n);
  void EraseItem(uint32_t id);
  int32_t GetItemKindCount() const { return static_cast<int32_t>(saved.bag.size()); }
  const std::vector<TCountedPtr<TItemEntry>>& GetOwnedItems() const { return saved.bag; }
  TItemEntry& GetEquipEntry(uint32_t slot) { return saved.ring[slot]; }
  void Equip(uint32_t slot, uint32_t id);
  void Unequip(uint32_t slot);
  std::vector<uint32_t> BuildSellList() const;
  // The bag's entries whose item has that kind (0 usable, 1 weapon, 2 accessory), in bag order;
  // the ring's are not among them.
  std::vector<const TItemEntry*> GetItemsOfKind(uint8_t kind) const;

  // Party and skills.
  // A member or slot out of range holds no skill.
  uint32_t GetSkillSlot(uint32_t member, uint32_t slot) const {
    if (member >= saved.party.size() || slot >= saved.party[member].skillSlots.size()) return 0;
    return saved.party[member].skillSlots[slot];
  }
  void SetSkillSlot(uint32_t member, uint32_t slot, uint32_t skillId);
  void ClearSkillSlot(uint32_t member, uint32_t slot);
  bool LearnSkill(uint32_t member, uint32_t skillId);
  void DropUnusableSkills(uint32_t member, uint32_t weaponId);
  std::vector<uint32_t> BuildSkillList(uint32_t member, uint32_t weaponId) const;
  void AddWeaponPoints(uint32_t member, uint32_t weaponId, uint32_t n, std::vector<uint32_t>& learnedNow);
  void AddAccessoryPoints(uint32_t member, uint32_t accessoryId, uint32_t n, std::vector<uint32_t>& learnedNow);
  void StorePlayerState(const TPlayerState& player);
  void RecoverAll(int32_t member);  // -1: all eight
  void UpdateMasteryFlags();
  void UpdateBonusRates(uint32_t member);
  void RaiseToDefinitions();

  // Save files: result codes of SaveFiles.h.
  int32_t Save(int32_t slot);
  int32_t Load(int32_t slot, int32_t chapter);  // chapter -1: this program's saves

 private:
  // What the record holds for the current run only; a save does not keep it.
  struct RunState {
    std::array<float, kBonusRates> bonusRates{};
    uint32_t ringSelection = 0;
    uint32_t skillRingCursor = 0;
    uint32_t runStart = 0;
    std::array<TTimedModifier, kMembers> timedModifiers;
  };

  void EraseEntry(TItemEntry* entry);
  void LearnFromPoints(uint32_t member, const std::array<uint32_t, 10>& skills, uint16_t points,
                       std::vector<uint32_t>* learnedNow);
  void RelearnFromPoints();
  void ApplyChapterBonus(int32_t chapter);

  TSavedProgress saved;
  RunState run;
  TCharBlock spareBlock;  // what a member out of range gets, blank again on every call
};
