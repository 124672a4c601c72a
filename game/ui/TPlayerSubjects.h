// The HUD widgets' views of the live player character, read through its getters.
#pragma once
#include <cstddef>
#include <cstdint>

#include "game/ui/HudSubjects.h"

class TPlayerChar;

class TPlayerSubjects : public TGaugeSubject, public TRingSubject, public TStatusSubject, public TLevelUpSubject {
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

 private:
  TPlayerChar& player;
};
