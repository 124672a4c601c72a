// What sets one enemy class apart from the others. Every enemy runs the same engine (TEnemy); a
// class is one row of traits: its attack states, how it takes a hit, which hits move it, whether
// its actor values are reset every tick, and how its AI waits and chooses. The standard enemy's row
// is the default; each further class is its row plus, where it has any, a little code of its own
// (an aura, a revival, the time stop).
#pragma once
#include <array>
#include <cstdint>

class TEnemy;

using TEnemyHandler = void (TEnemy::*)();

// One row of an action-state table: the motion the state plays and the handler that runs it.
struct TActionRow {
  uint32_t motion;
  TEnemyHandler handler;
};

// A wait drawn from the random stream: least + GenRand() % spread; a spread of 0 draws nothing.
struct TAiWait {
  int32_t least;
  uint32_t spread;

  int32_t Draw() const;
};

// How a hit is taken, after the actor's own resolution.
struct THitTaking {
  bool turns;        // the hit turns the enemy toward it; else its facing is kept (the side is still read)
  bool steals;       // the steal roll follows
  bool setsAiTimer;  // the AI timer is set to aiTimer (below -99: the next decision is the just-hit row's)
  int32_t aiTimer;
};

// Which hits move the enemy: each kind into its own reaction, or only the one that kills it.
enum class TReactionRule : uint8_t { kEveryKind, kKillingBlowOnly };

// The fall of a killing blow, for the classes that only it moves.
struct TKillingBlow {
  bool fallsBySide;      // down sliding backward when hit from the front, forward from behind; else always backward
  bool slideEveryHit;    // every hit sets the slide of the fall, not only the killing one
  bool restartsCounter;  // the fall sets the reaction counter and the motion rate anew
};

// Whether the actor's values go back to normal every tick: never, or while the enemy lives and the
// player is out of its action mode (armour that no combo wears down).
enum class TFrameReset : uint8_t { kNever, kWhileAlive };

using TAiChoiceRow = std::array<uint8_t, 10>;

// How the AI decides: from the situation's row of its choice table (or one fixed row), how long
// it waits until the next decision, and how long after an attack ends.
struct TAiDecision {
  const TAiChoiceRow* fixedChoices;  // null: the choice table
  TAiWait wait;
  TAiWait afterAttack;
};

struct TEnemyClass {
  const char* name;
  // Row 0 is no state; row s + 1 belongs to attack s.
  const TActionRow* actions;
  uint32_t actionRows;
  THitTaking hit;
  TReactionRule reactions;
  TKillingBlow killingBlow;
  TFrameReset frameReset;
  TAiDecision decision;

  uint32_t AttackRows() const { return actionRows - 1; }
};

// Seven attacks of motions 16 to 22, the base hit resolution and reactions, nothing more.
const TEnemyClass& StandardEnemyClass();
// Ten attacks; hits never turn it, steal nothing and only the killing one fells it; reset every
// tick while it lives.
const TEnemyClass& SuperArmouredEnemyClass();
// The standard row, carrying an element aura.
const TEnemyClass& ElementEnemyClass();
// The standard row, reviving.
const TEnemyClass& RevivingEnemyClass();
// Seven attacks, the base hit resolution; only the killing blow fells it, toward the side it came
// from; reset every tick while it lives.
const TEnemyClass& ArmouredEnemyClass();
// Ten attacks, unmoved like the super-armoured class without its AI wait on a hit, and its own
// quicker decisions by variant (0 or 1; any other is taken as 1).
const TEnemyClass& TimeStopEnemyClass(uint8_t variant);
