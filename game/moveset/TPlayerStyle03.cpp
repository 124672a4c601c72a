#include "game/moveset/TPlayerStyle03.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kHold = 35, kAirAttack = 38, kAirHold = 44;
  return TStyleRows()
      .GroundCombo(25, kHold, {{37, 38}, {39, 40}, {41, 42}, {43, 38}, {44, 45}})
      // The launcher, whose blow in the air a press carries into the air combo.
      .HoldLaunch(kHold, {56, 57, 58}, kAirAttack, kAirHold)
      .AirCombo(kAirAttack, kHold, {{{46, 47}, {48, 49}, {50, 51}}}, 52, 53)
      .RunAttacks(46, kHold, {54, 55}, 45)
      // Techniques 2300 to 2311 by their tap state.
      .Finisher(50, {60, 61}, 45)
      .Finisher(54, {62, 63}, 38)
      .Finisher(58, {64, 66}, 65)
      .Hang(62, {67, 68}, 47, kAirHold)
      .Hang(66, {69, 70}, 51, kAirHold)
      .Launch(70, 73, {84, 86}, {85, 87}, {77, 77}, kAirAttack, kAirHold)
      .Hang(76, {88, 89}, 47, kAirHold)
      .Launch(80, 83, {92, 94}, {93, 95}, {77, 77}, kAirAttack, kAirHold)
      .Hang(86, {96, 97}, 47, kAirHold)
      .Finisher(90, {101, 102}, 45)
      .Hang(94, {103, 104}, 99, kAirHold)
      .Hang(98, {109, 109}, 99, kAirHold)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2300, 50, 52}, {2301, 54, 56}, {2302, 58, 60}, {2303, 62, 64}, {2304, 66, 68},  {2305, 70, 73},
    {2306, 76, 78}, {2307, 80, 83}, {2308, 86, 88}, {2309, 90, 92}, {2310, 94, 96}, {2311, 98, 100},
};

// The hovering techniques 2303, 2304, 2306, 2308, 2310 and 2311, tapped and held.
constexpr int32_t kAirStates[] = {62, 64, 66, 68, 76, 78, 86, 88, 94, 96, 98, 100};

}  // namespace

const TStyleTable& TPlayerStyle03::Table() {
  static const TStyleTable table = {
      .weaponType = 3,
      .model = "heroine03",
      .holdState = 35,
      .held = {.run = 48, .air = 44, .ground = 35},
      .released = {.run = 46, .air = 38, .ground = 25},
      .hits = kHitsRecoilAndEffects,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
