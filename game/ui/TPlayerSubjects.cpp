#include "game/ui/TPlayerSubjects.h"

#include "game/actor/TPlayerChar.h"

int32_t TPlayerSubjects::GetHp() const { return player.GetHp(); }
int32_t TPlayerSubjects::GetMaxHp() const { return player.GetMaxHp(); }
int32_t TPlayerSubjects::GetMp() const { return player.GetSp(); }
int32_t TPlayerSubjects::GetMaxMp() const { return player.GetMaxSp(); }
int32_t TPlayerSubjects::GetRingPointsMax() const { return player.GetRingPointsMax(); }
int32_t TPlayerSubjects::GetRingPointsUsed() const { return player.GetRingPointsUsed(); }
uint32_t TPlayerSubjects::GetLevel() const { return player.GetLevel(); }
uint32_t TPlayerSubjects::GetExperience() const { return player.GetExperience(); }
uint32_t TPlayerSubjects::GetPartyMember() const { return player.GetMember(); }
uint32_t TPlayerSubjects::GetWeaponId() const { return player.GetWeaponId(); }
uint16_t TPlayerSubjects::GetWeaponPoints() const { return player.GetWeaponPoints(); }
uint16_t TPlayerSubjects::GetEquipPoints(char slot) const { return player.GetEquipPoints(slot); }

uint32_t TPlayerSubjects::GetButtons(size_t age) const { return player.GetButtons(age); }
bool TPlayerSubjects::IsRingKeyHeld() const { return player.IsRingKeyHeld(); }
void TPlayerSubjects::UseRingCommand(uint32_t itemId) { player.UseRingCommand(itemId); }

int32_t TPlayerSubjects::GetStatusCounter(int32_t status) const { return player.GetAilmentFrames(status); }
TFrame8* TPlayerSubjects::GetFrame() const { return player.GetFrame(); }
float TPlayerSubjects::GetBodyHeight() const { return player.GetBodyHeight(); }

TLevelUpGains TPlayerSubjects::GetLastLevelUpGains() const {
  const std::array<uint32_t, 6>& g = player.GetLevelUpGains();
  TLevelUpGains gains;
  gains.str = static_cast<int32_t>(g[0]);
  gains.vit = static_cast<int32_t>(g[1]);
  gains.intelligence = static_cast<int32_t>(g[2]);
  gains.men = static_cast<int32_t>(g[3]);
  gains.hp = static_cast<int32_t>(g[4]);
  gains.mp = static_cast<int32_t>(g[5]);
  return gains;
}

int32_t TPlayerSubjects::GetAttack() const { return player.GetParam0(); }
int32_t TPlayerSubjects::GetDefence() const { return player.GetParam1(); }

int32_t TPlayerSubjects::GetParam(int32_t n) const {
  return n >= 0 && n < 4 ? player.GetState().params[static_cast<size_t>(n)] : 0;
}

int32_t TPlayerSubjects::GetParamBonus(int32_t n) const { return player.GetParamBonus(n); }

float TPlayerSubjects::GetElementRate(int32_t n) const {
  static constexpr float (TPlayerChar::*kRates[6])() = {&TPlayerChar::GetElement0, &TPlayerChar::GetElement1,
                                                        &TPlayerChar::GetElement2, &TPlayerChar::GetElement3,
                                                        &TPlayerChar::GetElement4, &TPlayerChar::GetElement5};
  return n >= 0 && n < 6 ? (player.*kRates[n])() : 0.0f;
}
