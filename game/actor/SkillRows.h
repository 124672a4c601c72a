// The skill table: for each active skill (ids 100-159; the ids ending in 7, 8 and 9 have none) and
// each variant (basic, or charged by holding the skill button), the routine that runs it and the
// arguments it runs with. The values stand as the game stores them, odd ones included (skill 103
// strikes with the kinds of 102, skill 105's basic variant passes the charged flag, and the charged
// variants of the skills ending in 6 pass the basic voice kind).
#pragma once
#include <cstdint>
#include <span>

// The routines of the player character that run skills (TPlayerCharSkills.cpp).
enum class TSkillRoutine : uint8_t {
  kIdle,  // plays the motion out: the ids without a skill
  kTimedStrike,
  kHeldStrikes,
  kStepVolleyA,
  kStepVolleyB,
  kStepVolleyC,
  kGroundWaveA,
  kGroundWaveB,
  kGroundWaveC,
  kFanBurst,
  kHealBlessing,
  kHealBlessingB,
  kFallingShots,
  kScatterShots,
};

// A routine's arguments; each routine reads those it takes.
struct TSkillArgs {
  uint32_t kind = 0;  // the attack kind of the strikes; the voice kind of the routines that take one
  uint32_t cost = 0;
  uint32_t period = 0;   // ticks between volleys
  uint32_t volleys = 0;
  uint8_t charged = 0;   // the charged argument, which need not be the row's variant
};

struct TSkillRow {
  uint32_t skill;
  uint8_t variant;  // 1: the charged variant
  TSkillRoutine routine;
  TSkillArgs args;
};

// The 84 rows, two a skill, basic first.
std::span<const TSkillRow> SkillRows();
// The row of the skill and variant: the idle row for an id of 100-159 without a skill, null outside.
const TSkillRow* FindSkillRow(uint32_t skill, bool charged);
