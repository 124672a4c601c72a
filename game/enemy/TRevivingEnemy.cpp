#include "game/enemy/TRevivingEnemy.h"

#include <algorithm>

TRevivingEnemy::TRevivingEnemy(const TEnemyRecord& record, int32_t actionCount, int32_t attackId, float factor,
                               int32_t limit, uint8_t aiTableFlag)
    : TStandardEnemy(record, actionCount, aiTableFlag, RevivingEnemyClass()),
      revivalAttackId(attackId),
      statFactor(factor),
      revivalLimit(limit) {}

TCountedPtr<TEnemy> TRevivingEnemy::Clone(TEnemyManager* owner) const { return CloneAs(*this, owner); }

void TRevivingEnemy::ReceiveHit(THitObject& hit) {
  TEnemy::ReceiveHit(hit);
  if (hp < 1 && (revivalLimit == kUnlimited || revivalCount++ < revivalLimit)) Revive();
}

void TRevivingEnemy::Revive() {
  if (revivalAttackId != kNoAttack) {
    TAttackInfo revival;
    revival.attackKind = static_cast<uint16_t>(revivalAttackId);
    Attack(revival);
  }
  RecoverHp(maxHp);
  for (int32_t& param : params)
    if (param < kGrowingBelow)
      param = std::min(static_cast<int32_t>(static_cast<float>(param) * statFactor), kMaxParam);
}
