// What using a consumable item does, as a counted copy handed to the player character. It lives
// here, beside the timed modifier that holds it as its source, so the record of the game data can
// hold both without the user interface depending back on the game data.
#pragma once
#include <array>
#include <cstdint>

struct TItemEffect {
  uint32_t id = 0;
  int32_t duration = 0;  // updates the boosts last
  int32_t hpRestored = 0;
  int32_t mpRestored = 0;
  std::array<int32_t, 4> boosts{};
  int32_t ringCost = 0;

  // One update: the duration drops by one; true while it is still 0 or more.
  bool CountDown();
};
