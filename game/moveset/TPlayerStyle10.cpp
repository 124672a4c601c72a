#include "game/moveset/TPlayerStyle10.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kLaunch = 31, kAirAttack = 34, kAirHold = 40;
  return TStyleRows()
      .GroundCombo(25, kLaunch, {{37, 38}, {39, 40}, {41, 42}})
      // The ground hold attack launches; its top starts the air combo on a buffered press.
      .HoldLaunch(kLaunch, {53, 54, 55}, kAirAttack, kAirHold)
      .AirCombo(kAirAttack, kLaunch, {{{43, 44}, {45, 46}, {47, 48}}}, 49, 50)
      .RunAttacks(42, kLaunch, {51, 52}, 42)
      // Techniques 3000 to 3007 by their tap state.
      .Finisher(46, {56, 58}, 57)
      .Finisher(50, {59, 61}, 60)
      .Finisher(54, {62, 63}, 42)
      .Finisher(58, {64, 65}, 38)
      .Finisher(62, {66, 68}, 67)
      .Finisher(66, {69, 70}, 38)
      .Hang(70, {71, 73}, 72, kAirHold)
      .Finisher(74, {74, 74}, 38)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {3000, 46, 48}, {3001, 50, 52}, {3002, 54, 56}, {3003, 58, 60},
    {3004, 62, 64}, {3005, 66, 68}, {3006, 70, 72}, {3007, 74, 76},
};

// The aerial technique 3006, tapped and held.
constexpr int32_t kAirStates[] = {70, 72};

}  // namespace

const TStyleTable& TPlayerStyle10::Table() {
  static const TStyleTable table = {
      .weaponType = 10,
      .model = "hero07",
      .holdState = 31,
      .held = {.run = 44, .air = 40, .ground = 31},
      .released = {.run = 42, .air = 34, .ground = 25},
      .hits = kHitsRecoilAndEffects,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
