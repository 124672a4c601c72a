#include "game/moveset/TPlayerStyle02.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kAirAttack = 37, kAirHold = 43;
  return TStyleRows()
      // The ground combo of five steps; the hold attack plays 58 and recovers in 59.
      .AirComboBasics(5, 58, 59)
      // Techniques 2200 to 2213 by their tap state.
      .Finisher(49, {60, 62}, 61)
      .Finisher(53, {63, 65}, 64)
      .Finisher(57, {66, 68}, 67)
      .Launch(61, 64, {69, 72}, {70, 73}, {71, 71}, kAirAttack, kAirHold)
      .Hang(67, {74, 75}, 52, kAirHold)
      .Hang(71, {76, 77}, 48, kAirHold)
      .Finisher(75, {78, 80}, 79)
      .Finisher(79, {81, 83}, 82)
      .Finisher(83, {84, 85}, 64)
      .Launch(87, 90, {86, 88}, {87, 89}, {71, 71}, kAirAttack, kAirHold)
      .Hang(93, {90, 91}, 52, kAirHold)
      .Hang(97, {92, 93}, 52, kAirHold)
      .Finisher(101, {94, 95}, 61)
      .Finisher(105, {96, 96}, 64)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2200, 49, 51}, {2201, 53, 55}, {2202, 57, 59}, {2203, 61, 64},   {2204, 67, 69},   {2205, 71, 73},   {2206, 75, 77},
    {2207, 79, 81}, {2208, 83, 85}, {2209, 87, 90}, {2210, 93, 95},   {2211, 97, 99},   {2212, 101, 103}, {2213, 105, 107},
};

// The aerial techniques 2204, 2205, 2210 and 2211, tapped and held.
constexpr int32_t kAirStates[] = {67, 69, 71, 73, 93, 95, 97, 99};

}  // namespace

const TStyleTable& TPlayerStyle02::Table() {
  static const TStyleTable table = {
      .weaponType = 2,
      .model = nullptr,
      .holdState = 35,
      .held = {.run = 47, .air = 43, .ground = 35},
      .released = {.run = 45, .air = 37, .ground = 25},
      .hits = kHitsRecoil,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
