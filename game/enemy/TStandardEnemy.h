// The enemy that most enemy ids are: the enemy engine with the standard class's row, one of its
// first `actionCount` attacks chosen at random each time it attacks, and the shared AI. The other
// classes are this enemy with their own class row and what little they add.
#pragma once
#include <cstdint>

#include "game/enemy/TEnemy.h"

class TStandardEnemy : public TEnemy {
 public:
  // Standing (mode 0) from the start. A count beyond the class's attack rows is cut to them.
  TStandardEnemy(const TEnemyRecord& record, int32_t actionCount, uint8_t aiTableFlag,
                 const TEnemyClass& enemyClass = StandardEnemyClass());
  TStandardEnemy(const TStandardEnemy& source);

  // Out of range it just leaves; else (its actor values reset first where its class says so) it
  // thinks, runs its pattern's events and its mode, and ends the tick as every actor does. The
  // manager removes it once it is no longer alive.
  void Update() override;
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  // Attack s: mode 16 with the row s + 1 of the class's action table, its motion and handler. An
  // attack the table lacks is refused.
  void ChangeState(int32_t attack) override;
  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override;
  // A random one of the first actionCount attacks (the first when there are none).
  void PickAttack(float distance) override;
  void RunActionHandler() override;

  int32_t GetActionCount() const { return actionCount; }

 private:
  int32_t actionCount;
  TEnemyHandler actionHandler = nullptr;
};

// A class that is the standard enemy with another class row and nothing of its own.
template <const TEnemyClass& (*Row)()>
class TRowEnemy : public TStandardEnemy {
 public:
  TRowEnemy(const TEnemyRecord& record, int32_t actionCount, uint8_t aiTableFlag)
      : TStandardEnemy(record, actionCount, aiTableFlag, Row()) {}

  TCountedPtr<TEnemy> Clone(TEnemyManager* owner) const override { return CloneAs(*this, owner); }
};

// The super-armoured enemy: hits neither stagger nor turn it and steal nothing; only the blow that
// kills it fells it, always backward. Ten attacks.
using TEnemyKind2 = TRowEnemy<SuperArmouredEnemyClass>;
// The armoured enemy: hits turn it and may steal, but only the blow that kills it fells it, toward
// the side it came from.
using TEnemyKind5 = TRowEnemy<ArmouredEnemyClass>;
