#include "game/moveset/TPlayerStyle04.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kHold = 35, kAirAttack = 37, kAirHold = 43;
  return TStyleRows()
      .GroundCombo(25, kHold, {{37, 38}, {39, 40}, {41, 42}, {43, 38}, {44, 45}})
      // The charged strike.
      .HoldAttack(kHold, 59, 45)
      .AirCombo(kAirAttack, kHold, {{{46, 47}, {48, 49}, {50, 51}}}, 52, 53)
      .RunAttacks(45, kHold, {54, 55}, 45)
      // Techniques 2400 to 2407 by their tap state.
      .Finisher(49, {71, 72}, 45)
      .Finisher(53, {73, 74}, 38)
      .Launch(57, 60, {75, 78}, {76, 79}, {77, 77}, kAirAttack, kAirHold)
      .Plunge(63, {80, 82}, {81, 83})
      .Finisher(67, {90, 91}, 65)
      .Hang(71, {98, 100}, 99, kAirHold)
      .Launch(75, 78, {105, 107}, {106, 108}, {77, 77}, kAirAttack, kAirHold)
      .Finisher(81, {110, 110}, 45)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2400, 49, 51}, {2401, 53, 55}, {2402, 57, 60}, {2403, 63, 65},
    {2404, 67, 69}, {2405, 71, 73}, {2406, 75, 78}, {2407, 81, 83},
};

// The plunging technique 2403 and the hovering 2405, tapped and held.
constexpr int32_t kAirStates[] = {63, 65, 71, 73};

}  // namespace

const TStyleTable& TPlayerStyle04::Table() {
  static const TStyleTable table = {
      .weaponType = 4,
      .model = "heroine03",
      .holdState = 35,
      .held = {.run = 47, .air = 43, .ground = 35},
      .released = {.run = 45, .air = 37, .ground = 25},
      .hits = kHitsRecoilAndEffects,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
