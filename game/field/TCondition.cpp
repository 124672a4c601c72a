#include "game/field/TCondition.h"

#include "game/field/StageEnemies.h"
#include "game/field/TStage.h"

TCondition::TCondition(TStage* stage, const std::string& script)
    : TMapObject(stage), scriptName(script), enemies(stage->GetEnemyManager()) {}

uint32_t TCondition::DefeatedCount() const { return enemies ? enemies->GetDefeatedCount() : 0; }

bool TCondition::HasDefeated(uint32_t enemyNumber) const { return enemies && enemies->Contains(enemyNumber); }

TCountCondition::TCountCondition(TStage* stage, const TCountConditionRecord& record)
    : TCondition(stage, record.scriptName), defeatedCount(record.defeatedCount) {}

int32_t TCountCondition::Test() {
  if (DefeatedCount() < defeatedCount) return kNothingHappened;
  return Fire(GetScriptName());
}

TEnemyCondition::TEnemyCondition(TStage* stage, const TEnemyConditionRecord& record)
    : TCondition(stage, record.scriptName), enemyNumber(record.enemyNumber) {}

int32_t TEnemyCondition::Test() {
  if (!HasDefeated(enemyNumber)) return kNothingHappened;
  return Fire(GetScriptName());
}
