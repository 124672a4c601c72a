#include "game/moveset/TPlayerStyle00.h"

#include <vector>

#include "game/moveset/TStyleRows.h"

namespace {

std::vector<TPlayerChar::TStateRow> States() {
  constexpr int32_t kAirAttack = 35, kAirHold = 41;
  return TStyleRows()
      // The ground combo of four steps; the hold attack plays 56 and recovers in 42.
      .AirComboBasics(4, 56, 42)
      // Techniques 2000 to 2015 by their tap state.
      .Finisher(47, {58, 60}, 59)
      .Finisher(51, {61, 62}, 54)
      .Finisher(55, {63, 64}, 54)
      .Launch(59, 62, {65, 68}, {66, 69}, {67, 70}, kAirAttack, kAirHold)
      .Plunge(65, {71, 73}, {72, 74})
      .Hang(69, {83, 85}, 84, kAirHold)
      .Finisher(73, {86, 87}, 59)
      .Hang(77, {91, 92}, 84, kAirHold)
      .Finisher(81, {93, 94}, 89)
      .Hang(85, {97, 98}, 84, kAirHold)
      .Finisher(89, {99, 100}, 40)
      .Finisher(93, {103, 104}, 59)
      .Finisher(97, {105, 106}, 59)
      .Launch(101, 104, {109, 111}, {110, 112}, {67, 67}, kAirAttack, kAirHold)
      .Finisher(107, {113, 114}, 40)
      .Launch(111, 114, {117, 117}, {118, 118}, {67, 67}, kAirAttack, kAirHold)
      .States();
}

constexpr TTechniqueRow kTechniques[] = {
    {2000, 47, 49}, {2001, 51, 53},   {2002, 55, 57},   {2003, 59, 62},   {2004, 65, 67}, {2005, 69, 71},
    {2006, 73, 75}, {2007, 77, 79},   {2008, 81, 83},   {2009, 85, 87},   {2010, 89, 91}, {2011, 93, 95},
    {2012, 97, 99}, {2013, 101, 104}, {2014, 107, 109}, {2015, 111, 114},
};

// The aerial techniques 2004, 2005, 2007 and 2009, tapped and held.
constexpr int32_t kAirStates[] = {65, 67, 69, 71, 77, 79, 85, 87};

}  // namespace

const TStyleTable& TPlayerStyle00::Table() {
  static const TStyleTable table = {
      .weaponType = 0,
      .model = nullptr,
      .holdState = 33,
      .held = {.run = 45, .air = 41, .ground = 33},
      .released = {.run = 43, .air = 35, .ground = 25},
      .hits = kHitsRecoilAndEffects,
      .airComboFlag = 1,
      .airStates = kAirStates,
      .techniques = kTechniques,
      .states = States(),
  };
  return table;
}
