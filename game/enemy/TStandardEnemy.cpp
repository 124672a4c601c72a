#include "game/enemy/TStandardEnemy.h"

#include <algorithm>

#include "game/effect/MtRandomState.h"

TStandardEnemy::TStandardEnemy(const TEnemyRecord& record, int32_t count, uint8_t aiTableFlag,
                               const TEnemyClass& enemyClass)
    : TEnemy(record, aiTableFlag, enemyClass),
      actionCount(std::min(count, static_cast<int32_t>(enemyClass.AttackRows()))) {
  SetMode(enemy_mode::kStand);
}

TStandardEnemy::TStandardEnemy(const TStandardEnemy& source)
    : TEnemy(source), actionCount(source.actionCount), actionHandler(source.actionHandler) {}

void TStandardEnemy::Update() {
  if (IsOutOfRange()) {
    alive = 0;
    return;
  }
  // Armour: no combo wears it down while the player is not attacking; a dead enemy is left to die.
  if (enemyClass->frameReset == TFrameReset::kWhileAlive && hp > 0 && !PlayerActs()) TActor::Reset();
  Think();
  RunPatternEvents();
  RunHandler(modeHandler);
  PostUpdate();
}

void TStandardEnemy::ChangeState(int32_t attack) {
  if (attack < 0 || static_cast<uint32_t>(attack) >= enemyClass->AttackRows()) return;
  const TActionRow& row = enemyClass->actions[attack + 1];
  SetMode(enemy_mode::kAction);
  TEnemy::ChangeState(attack + 1);
  actionHandler = row.handler;
  model->SetMotion(row.motion);
}

TCountedPtr<TEnemy> TStandardEnemy::Clone(TEnemyManager* owner) const { return CloneAs(*this, owner); }

void TStandardEnemy::PickAttack(float) {
  TurnTowardAim();
  ChangeState(actionCount > 0 ? static_cast<int32_t>(GenRand() % static_cast<uint32_t>(actionCount)) : 0);
}

void TStandardEnemy::RunActionHandler() {
  RunHandler(actionHandler);
}
