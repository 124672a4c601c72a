#include "game/moveset/TPlayerStyle08.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kAirAttack = 37, kAirHold = 43;
  return TStyleRows()
      // The ground combo of five steps; the hold attack plays 58 and recovers in 59.
      .AirComboBasics(5, 58, 59)
      // Techniques 2800 to 2809 by their tap state.
      .Finisher(49, {60, 62}, 61)
      .Finisher(53, {63, 65}, 64)
      .Finisher(57, {66, 67}, 61)
      .Finisher(61, {68, 69}, 59)
      .Launch(65, 68, {70, 73}, {71, 74}, {72, 75}, kAirAttack, kAirHold)
      .Finisher(71, {76, 77}, 59)
      .Plunge(75, {78, 80}, {79, 81})
      .Finisher(79, {82, 84}, 83)
      .Hang(83, {85, 87}, 86, kAirHold)
      .Finisher(87, {88, 88}, 61)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2800, 49, 51}, {2801, 53, 55}, {2802, 57, 59}, {2803, 61, 63}, {2804, 65, 68},
    {2805, 71, 73}, {2806, 75, 77}, {2807, 79, 81}, {2808, 83, 85}, {2809, 87, 89},
};

// The aerial techniques 2806 and 2808, tapped and held.
constexpr int32_t kAirStates[] = {75, 77, 83, 85};

}  // namespace

const TStyleTable& TPlayerStyle08::Table() {
  static const TStyleTable table = {
      .weaponType = 8,
      .model = "hero05",
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
