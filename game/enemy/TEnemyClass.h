// What sets one enemy class apart from the others. Every enemy runs the same engine (TEnemy); a
// class is one row of traits: its attack states, how it takes a hit, which hits move it, whether
// its actor values are reset every tick, and what it carries besides. The standard enemy's row is
// the default; each further class adds its row and the trait values its behaviour needs.
#pragma once
#include <cstdint>

class TEnemy;

using TEnemyHandler = void (TEnemy::*)();

// One row of an action-state table: the motion the state plays and the handler that runs it.
struct TActionRow {
  uint32_t motion;
  TEnemyHandler handler;
};

// How a hit is taken: the actor's resolution (turned toward the hit), then the steal roll.
enum class THitResolution : uint8_t { kTurnedWithSteal };
// Which hits move the enemy: every kind into its own reaction.
enum class TReactionRule : uint8_t { kEveryKind };
// Whether the actor values go back to normal every tick.
enum class TFrameReset : uint8_t { kNever };
// What the class carries besides.
enum class TEnemyExtra : uint8_t { kNone };

struct TEnemyClass {
  const char* name;
  // Row 0 is no state; row s + 1 belongs to attack s.
  const TActionRow* actions;
  uint32_t actionRows;
  THitResolution hitResolution;
  TReactionRule reactions;
  TFrameReset frameReset;
  TEnemyExtra extra;

  uint32_t AttackRows() const { return actionRows - 1; }
};

// Seven attacks of motions 16 to 22, the base hit resolution and reactions, nothing more.
const TEnemyClass& StandardEnemyClass();
