// Map objects that run a map script once the fight has gone a certain way: enough enemies defeated,
// or a given enemy defeated. They read the defeated list of the stage's enemy manager; a stage
// without one (a town) has defeated nobody. Once the condition holds, the script runs on every
// tick the condition is tested.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/MapRecords.h"
#include "game/field/TMapObject.h"

class TStageEnemies;

class TCondition : public TMapObject {
 public:
  // Takes the stage's enemy manager as it is now.
  TCondition(TStage* stage, const std::string& scriptName);

  const std::string& GetScriptName() const { return scriptName; }

 protected:
  uint32_t DefeatedCount() const;
  bool HasDefeated(uint32_t enemyNumber) const;

 private:
  std::string scriptName;
  TStageEnemies* enemies;  // the stage's, not owned
};

// Holds once the defeated list has at least that many entries (0: from the first tick).
class TCountCondition : public TCondition {
 public:
  TCountCondition(TStage* stage, const TCountConditionRecord& record);
  int32_t Test() override;

 private:
  uint32_t defeatedCount;
};

// Holds once the enemy number is in the defeated list.
class TEnemyCondition : public TCondition {
 public:
  TEnemyCondition(TStage* stage, const TEnemyConditionRecord& record);
  int32_t Test() override;

 private:
  uint32_t enemyNumber;
};
