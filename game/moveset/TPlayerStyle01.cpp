#include "game/moveset/TPlayerStyle01.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  return TStyleRows()
      // Weapon type 0's, but that the hold attack plays 57 and recovers in 40.
      .AirComboBasics(4, 57, 40)
      // Techniques 2100 to 2109 by their tap state.
      .Finisher(47, {75, 76}, 40)
      .Finisher(51, {77, 78}, 54)
      .Finisher(55, {79, 80}, 59)
      .Finisher(59, {81, 82}, 59)
      .Finisher(63, {88, 90}, 89)
      .Finisher(67, {95, 96}, 40)
      .Finisher(71, {101, 102}, 59)
      .Finisher(75, {107, 108}, 54)
      .Finisher(79, {115, 116}, 59)
      .Finisher(83, {119, 119}, 40)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2100, 47, 49}, {2101, 51, 53}, {2102, 55, 57}, {2103, 59, 61}, {2104, 63, 65},
    {2105, 67, 69}, {2106, 71, 73}, {2107, 75, 77}, {2108, 79, 81}, {2109, 83, 85},
};

}  // namespace

const TStyleTable& TPlayerStyle01::Table() {
  static const TStyleTable table = {
      .weaponType = 1,
      .model = nullptr,
      .holdState = 33,
      .held = {.run = 45, .air = 41, .ground = 33},
      .released = {.run = 43, .air = 35, .ground = 25},
      .hits = kHitsRecoilAndEffects,
      .airComboFlag = 1,
      // No state is aerial; a held technique is when its skill's sub-kind lies in 32-36.
      .airSubKinds = {32, 36},
      .airStates = {},
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
