#include "game/moveset/TPlayerStyle09.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

using S = TPlayerStyle;

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kHold = 31, kAirAttack = 33, kAirHold = 35;
  // The air attack hovers while it strikes; a hold high above the ground plunges, an air technique
  // follows it; a buffered press is not answered.
  constexpr S::THover kHoverAttack = {.hold = kAirHold, .heightTested = true, .airTechniques = true};
  return TStyleRows()
      .GroundCombo(25, kHold, {{37, 38}, {39, 40}, {41, 42}})
      // The charged strike.
      .HoldAttack(kHold, 49, 42)
      // The air attack, and the plunge until its landing blow.
      .Add({S::Hover(43, kHoverAttack, 34), S::SteeredAirRecover(44)})
      .UntilLanding(kAirHold, kHold, 45, 46)
      .RunAttacks(37, kHold, {47, 48}, 42)
      // Techniques 2900 to 2909 by their tap state.
      .Finisher(41, {50, 52}, 51)
      .Finisher(45, {53, 54}, 42)
      .Finisher(49, {55, 56}, 51)
      .Launch(53, 56, {57, 60}, {58, 61}, {59, 59}, kAirAttack, kAirHold)
      .Hang(59, {62, 64}, 63, kAirHold)
      .Hang(63, {65, 66}, 44, kAirHold)
      .Finisher(67, {67, 69}, 68)
      .Hang(71, {70, 71}, 63, kAirHold)
      .Finisher(75, {72, 73}, 42)
      .Hang(79, {74, 74}, 63, kAirHold)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2900, 41, 43}, {2901, 45, 47}, {2902, 49, 51}, {2903, 53, 56}, {2904, 59, 61},
    {2905, 63, 65}, {2906, 67, 69}, {2907, 71, 73}, {2908, 75, 77}, {2909, 79, 81},
};

// The hovering techniques 2904, 2905, 2907 and 2909, tapped and held.
constexpr int32_t kAirStates[] = {59, 61, 63, 65, 71, 73, 79, 81};

}  // namespace

const TStyleTable& TPlayerStyle09::Table() {
  static const TStyleTable table = {
      .weaponType = 9,
      .model = "heroine06",
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
