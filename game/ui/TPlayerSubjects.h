// The HUD widgets' views of the live player character, read through its getters.
#pragma once
#include <cstddef>
#include <cstdint>

#include "game/ui/HudSubjects.h"
#include "game/ui/MenuSubjects.h"

class TPlayerChar;

class TPlayerSubjects : public TGaugeSubject,
                        public TRingSubject,
                        public TStatusSubject,
                        public TLevelUpSubject,
                        public TStatusSheetSubject {
 public:
  explicit TPlayerSubjects(TPlayerChar& player) : player(player) {}

  int32_t GetHp() const override;
  int32_t GetMaxHp() const override;
  int32_t GetMp() const override;
  int32_t GetMaxMp() const override;
  int32_t GetRingPointsMax() const override;
  int32_t GetRingPointsUsed() const override;
  uint32_t GetLevel() const override;
  uint32_t GetExperience() const override;
  uint32_t GetPartyMember() const override;
  uint32_t GetWeaponId() const override;
  uint16_t GetWeaponPoints() const override;
  uint16_t GetEquipPoints(char slot) const override;

  uint32_t GetButtons(size_t age) const override;
  bool IsRingKeyHeld() const override;
  void UseRingCommand(uint32_t itemId) override;

  int32_t GetStatusCounter(int32_t status) const override;
  TFrame8* GetFrame() const override;
  float GetBodyHeight() const override;

  TLevelUpGains GetLastLevelUpGains() const override;

  // The character's own attack and defence (parameters 0 and 1 with its rates, timed modifier and
  // accessories), its stored parameters and their bonus parts, and its elemental rates after
  // accessories and rates.
  int32_t GetAttack() const override;
  int32_t GetDefence() const override;
  int32_t GetParam(int32_t n) const override;
  int32_t GetParamBonus(int32_t n) const override;
  float GetElementRate(int32_t n) const override;

 private:
  TPlayerChar& player;
};
