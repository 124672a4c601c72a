// The reviving enemy: a standard enemy that, felled, gets up at full HP, stronger, with a revival
// attack, as often as its limit allows.
#pragma once
#include <cstdint>

#include "game/enemy/TStandardEnemy.h"

class TRevivingEnemy : public TStandardEnemy {
 public:
  static constexpr int32_t kNoAttack = -1;
  static constexpr int32_t kUnlimited = -1;
  // Parameters from here on grow no more.
  static constexpr int32_t kGrowingBelow = 10000;
  static constexpr int32_t kMaxParam = 99999;

  TRevivingEnemy(const TEnemyRecord& record, int32_t actionCount, int32_t revivalAttackId, float statFactor,
                 int32_t revivalLimit, uint8_t aiTableFlag);

  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override;
  // The enemy's hit; a hit that leaves it at 0 HP or below while revivals remain revives it. Every
  // such hit counts against the limit.
  void ReceiveHit(THitObject& hit) override;

  int32_t GetRevivalAttackId() const { return revivalAttackId; }
  float GetStatFactor() const { return statFactor; }
  int32_t GetRevivalCount() const { return revivalCount; }
  int32_t GetRevivalLimit() const { return revivalLimit; }

 private:
  // The revival attack, full HP, and each parameter below 10000 times the factor (at most 99999).
  void Revive();

  int32_t revivalAttackId;
  float statFactor;
  int32_t revivalCount = 0;
  int32_t revivalLimit;
};
