#include "game/moveset/TPlayerStyle07.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kAirAttack = 33, kAirHold = 35;
  return TStyleRows()
      // Weapon type 5's, but that the hold attack plays 52 and recovers in 42.
      .LandingAirBasics(52, 42)
      // Techniques 2700 to 2707 by their tap state.
      .Finisher(41, {78, 79}, 42)
      .Finisher(45, {80, 81}, 42)
      .Finisher(49, {82, 83}, 40)
      .Launch(53, 56, {84, 86}, {85, 87}, {62, 62}, kAirAttack, kAirHold)
      .Finisher(59, {94, 95}, 50)
      .Plunge(63, {104, 106}, {105, 107})
      .Finisher(67, {116, 117}, 76)
      .Finisher(71, {120, 120}, 42)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2700, 41, 43}, {2701, 45, 47}, {2702, 49, 51}, {2703, 53, 56},
    {2704, 59, 61}, {2705, 63, 65}, {2706, 67, 69}, {2707, 71, 73},
};

// The aerial technique 2705, tapped and held.
constexpr int32_t kAirStates[] = {63, 65};

}  // namespace

const TStyleTable& TPlayerStyle07::Table() {
  static const TStyleTable table = {
      .weaponType = 7,
      .model = "hero04",
      .holdState = 31,
      .held = {.run = 39, .air = 35, .ground = 31},
      .released = {.run = 37, .air = 33, .ground = 25},
      .hits = kHitsBodyOnly,
      .airComboFlag = 0,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
