#include "game/moveset/TPlayerStyle05.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kAirAttack = 33, kAirHold = 35;
  return TStyleRows()
      // The hold attack plays 49 and recovers in 50.
      .LandingAirBasics(49, 50)
      // Techniques 2500 to 2511 by their tap state.
      .Finisher(41, {53, 53}, 50)
      .Finisher(45, {55, 56}, 40)
      .Finisher(49, {57, 59}, 58)
      .Launch(53, 56, {60, 63}, {61, 64}, {62, 62}, kAirAttack, kAirHold)
      .Plunge(59, {65, 67}, {66, 68})
      .Finisher(63, {88, 89}, 50)
      .Finisher(67, {90, 91}, 76)
      .Launch(71, 74, {96, 98}, {97, 99}, {62, 62}, kAirAttack, kAirHold)
      .Finisher(77, {100, 101}, 40)
      .Plunge(81, {108, 110}, {109, 111})
      .Finisher(85, {112, 113}, 40)
      .Finisher(89, {118, 118}, 50)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2500, 41, 43}, {2501, 45, 47}, {2502, 49, 51}, {2503, 53, 56}, {2504, 59, 61}, {2505, 63, 65},
    {2506, 67, 69}, {2507, 71, 74}, {2508, 77, 79}, {2509, 81, 83}, {2510, 85, 87}, {2511, 89, 91},
};

// The aerial techniques 2504 and 2509, tapped and held.
constexpr int32_t kAirStates[] = {59, 61, 81, 83};

}  // namespace

const TStyleTable& TPlayerStyle05::Table() {
  static const TStyleTable table = {
      .weaponType = 5,
      .model = "hero04",
      .holdState = 31,
      .held = {.run = 39, .air = 35, .ground = 31},
      .released = {.run = 37, .air = 33, .ground = 25},
      .hits = kHitsEffects,
      .airComboFlag = 0,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
