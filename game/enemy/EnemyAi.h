// The enemy AI's choice: the situation between an enemy and the player sorted into one of 23 rows,
// and the two tables of ten actions per row that a decision draws from. Actions: 0 and 1 attack,
// 2 stand, 3 close in, 4 back off, 5 and 6 the movement modes 3 and 4, 7 fade.
#pragma once
#include <array>
#include <cstdint>

struct TAiSituation {
  float distance = 0;   // from the aim point to the enemy
  float nearLimit = 0;  // (player's body height + enemy's) x 1.3
  bool awayFromHome = false;
  bool crowded = false;      // more than one object near the player
  bool overmatched = false;  // the player's level more than 10 above the enemy's
  bool turnedAway = false;   // the player runs or dashes, the enemy not before it
  bool reeling = false;      // the player is hit and still alive
  bool acting = false;       // the player runs an attack of its own
  bool playerFading = false;
  bool enemyFading = false;
};

constexpr int32_t kAiRows = 23;
constexpr int32_t kAiChoices = 10;
constexpr int32_t kAiActions = 8;
constexpr int32_t kAiJustHitRow = 20;
constexpr float kAiFarDistance = 8.0f;
constexpr float kAiMiddleDistance = 3.0f;

using TAiChoiceTable = std::array<std::array<uint8_t, kAiChoices>, kAiRows>;

// The row of the situation (a decision that no hit forced).
int32_t ChooseAiRow(const TAiSituation& s);
// The plain table (AI flag clear) and the aggressive one (set), the only one with action 7 outside
// the just-hit row.
const TAiChoiceTable& AiChoiceTable(bool aggressive);
