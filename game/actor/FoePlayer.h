// The player character as the enemies see it: the foe they close in on, aim at, hit and report
// their defeat to. The player character implements it beside the actor it is; the enemies lie
// above the actors and find it through the stage's player.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"

class TActor;
class TFrame8;

// What a defeated enemy gives the player: its level, the factor of the experience it is worth,
// its ability points and the two values that follow them.
struct TDefeatValues {
  int32_t level = 0;
  float rewardFactor = 0;
  int32_t abilityPoints = 0;
  int32_t value1 = 0;
  int32_t value2 = 0;
};

class TFoePlayer {
 public:
  virtual uint32_t GetLevel() const = 0;
  // The points the enemies aim at while the player runs or dashes (modes 3 and 4): just before
  // it and further before it.
  virtual TFrame8* GetEnemyTarget0() const = 0;
  virtual TFrame8* GetEnemyTarget1() const = 0;
  // The enemy the player last hit, kept for a while.
  virtual void SetEnemyHandle(const TCountedPtr<TActor>& enemy) = 0;
  // The panel with the enemy's hits and damage of the current combo.
  virtual void ShowEnemyPanel(const TActor& enemy) = 0;
  // The best of the enemy's four combo records.
  virtual void KeepBestCombo(const TActor& enemy) = 0;
  virtual void GainFromDefeat(const TActor& enemy, const TDefeatValues& values) = 0;

 protected:
  ~TFoePlayer() = default;
};
