#include "game/moveset/TPlayerStyle06.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  return TStyleRows()
      // Weapon type 5's, but that the hold attack plays 51 and recovers in 40.
      .LandingAirBasics(51, 40)
      // Techniques 2600 to 2607 by their tap state.
      .Finisher(41, {69, 70}, 50)
      .Finisher(45, {71, 72}, 50)
      .Finisher(49, {73, 74}, 58)
      .Finisher(53, {75, 77}, 76)
      .Finisher(57, {92, 93}, 42)
      .Finisher(61, {102, 103}, 50)
      .Finisher(65, {114, 115}, 40)
      .Finisher(69, {119, 119}, 50)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2600, 41, 43}, {2601, 45, 47}, {2602, 49, 51}, {2603, 53, 55},
    {2604, 57, 59}, {2605, 61, 63}, {2606, 65, 67}, {2607, 69, 71},
};

}  // namespace

const TStyleTable& TPlayerStyle06::Table() {
  static const TStyleTable table = {
      .weaponType = 6,
      .model = "hero04",
      .holdState = 31,
      .held = {.run = 39, .air = 35, .ground = 31},
      .released = {.run = 37, .air = 33, .ground = 25},
      .hits = kHitsEffects,
      .airComboFlag = 0,
      .airStates = {},
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
