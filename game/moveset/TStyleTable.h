// What makes one fighting style: constants and rows, no code. The one engine (TPlayerStyle) runs
// every style from its table; a style class only names its table.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "game/actor/TPlayerChar.h"

// The states the attack button starts from a movement mode: while running (mode 3), in the air
// and on the ground.
struct TStyleStarts {
  int32_t run;
  int32_t air;
  int32_t ground;
};

// A technique's action states, tapped and held.
struct TTechniqueRow {
  uint32_t skillId;
  int32_t tap;
  int32_t hold;
};

// What a landed hit does beside the character's own work: the recoil (a hop and a step forward
// that may keep an air combo going) and the effects (a piece stuck on the target).
enum TStyleHits : uint8_t { kHitsBodyOnly = 0, kHitsRecoil = 1, kHitsEffects = 2, kHitsRecoilAndEffects = 3 };

struct TStyleTable {
  uint32_t weaponType;  // its techniques are the skills of kind weaponType + 4
  const char* model;    // its own model; null where the member's model of the type is shown
  uint32_t queueCapacity = TPlayerChar::kQueueCapacity;
  int32_t holdState;
  TStyleStarts held;      // a hold of the attack button fired
  TStyleStarts released;  // the attack button released (the ground start is the first combo step)
  uint8_t hits;           // TStyleHits
  uint8_t airComboFlag;   // the style keeps the flag of a landed air hit
  // A held technique counts as aerial when its skill's sub-kind lies in this range; {0, 0}: when
  // the state is one of the air states.
  std::array<uint8_t, 2> airSubKinds{};
  std::span<const int32_t> airStates;          // the aerial techniques' start states
  std::span<const TTechniqueRow> techniques;   // besides the common skills 1-5
  std::vector<TPlayerChar::TStateRow> states;  // every state, the common head 0-24 first

  uint8_t SkillKind() const { return static_cast<uint8_t>(weaponType + 4); }
};

// The common skills 1-5: skill k taps into state 4k + 1 and holds into 4k + 3.
std::span<const TTechniqueRow> CommonTechniques();
