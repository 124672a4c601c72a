// The player character's record of one defeated enemy's gains, queued until its notice is shown.
#pragma once
#include <cstdint>

struct TGainNotice {
  uint32_t sequence = 0;
  uint32_t experience = 0;
  uint32_t abilityPoints = 0;  // from the table
  uint32_t abilityBonus = 0;   // after the bonus rate
  uint32_t enemyPoints = 0;
  uint32_t enemyValues[2] = {};
};
