#include "game/enemy/EnemyAi.h"

namespace {

// Rows: 0-3 near or middle with nothing else, by crowding; 4-5 far; 6-7 the player fading; 8-11
// the player acting; 12-13 the player reeling; 14-15 the enemy fading; 16-17 overmatched; 18-19
// the player turned away; 20 just hit; 21 strayed from home; 22 very far.
constexpr TAiChoiceTable kPlain{{
    {1, 1, 1, 1, 1, 1, 1, 5, 6, 4},
    {1, 1, 1, 2, 2, 2, 4, 4, 5, 6},
    {1, 1, 1, 1, 3, 3, 3, 3, 5, 6},
    {1, 1, 4, 4, 2, 2, 2, 2, 5, 6},
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 2},
    {3, 3, 3, 3, 3, 3, 3, 2, 2, 2},
    {4, 4, 4, 4, 1, 2, 5, 5, 6, 6},
    {2, 2, 2, 2, 2, 4, 4, 5, 5, 6},
    {6, 4, 5, 5, 6, 6, 2, 2, 2, 2},
    {2, 5, 5, 6, 6, 2, 2, 2, 2, 2},
    {2, 4, 4, 4, 4, 4, 2, 2, 2, 2},
    {2, 5, 5, 5, 6, 6, 6, 2, 2, 2},
    {2, 1, 1, 4, 2, 2, 2, 5, 5, 6},
    {6, 1, 1, 4, 2, 2, 2, 5, 5, 6},
    {6, 1, 1, 1, 1, 1, 4, 5, 5, 6},
    {6, 3, 3, 3, 3, 3, 1, 1, 1, 5},
    {6, 4, 4, 4, 4, 2, 2, 5, 5, 6},
    {6, 4, 4, 4, 2, 2, 2, 5, 5, 6},
    {6, 1, 1, 1, 1, 1, 1, 1, 1, 3},
    {3, 1, 1, 1, 1, 1, 1, 1, 3, 3},
    {3, 1, 1, 1, 1, 7, 7, 7, 7, 5},
    {6, 4, 4, 4, 4, 4, 4, 4, 4, 2},
    {2, 2, 2, 2, 2, 2, 2, 2, 2, 5},
}};

constexpr TAiChoiceTable kAggressive{{
    {1, 1, 1, 1, 1, 1, 7, 5, 6, 4},
    {1, 1, 1, 2, 2, 2, 4, 4, 5, 6},
    {1, 1, 1, 1, 1, 3, 3, 7, 6, 5},
    {1, 1, 4, 4, 2, 2, 2, 2, 5, 6},
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 2},
    {3, 3, 3, 3, 3, 3, 3, 2, 2, 2},
    {4, 4, 4, 4, 7, 7, 1, 2, 5, 6},
    {2, 2, 2, 2, 7, 7, 5, 5, 6, 6},
    {4, 4, 5, 5, 6, 6, 2, 2, 2, 7},
    {5, 5, 6, 6, 2, 2, 2, 2, 7, 7},
    {4, 4, 4, 4, 4, 2, 2, 2, 2, 2},
    {5, 5, 5, 6, 6, 6, 2, 2, 2, 2},
    {1, 1, 1, 1, 1, 4, 2, 2, 5, 6},
    {1, 1, 1, 2, 2, 2, 4, 7, 5, 6},
    {1, 1, 1, 1, 1, 1, 1, 4, 5, 6},
    {3, 3, 3, 1, 1, 1, 1, 1, 5, 6},
    {4, 4, 2, 2, 1, 1, 5, 5, 6, 6},
    {4, 4, 2, 2, 1, 1, 5, 5, 6, 6},
    {1, 1, 1, 1, 1, 1, 1, 3, 3, 7},
    {1, 1, 1, 1, 1, 1, 1, 3, 3, 7},
    {1, 1, 1, 1, 1, 7, 7, 7, 7, 7},
    {4, 4, 4, 4, 4, 1, 1, 7, 2, 2},
    {3, 3, 3, 3, 3, 3, 3, 3, 5, 6},
}};

// Near the player: the first condition that holds, else the quiet row by crowding.
int32_t NearRow(const TAiSituation& s) {
  if (s.turnedAway) return 18;
  if (s.overmatched) return 16;
  if (s.reeling) return 12;
  if (s.acting) return s.crowded ? 10 : 8;
  if (s.playerFading) return 6;
  if (s.enemyFading) return 14;
  return s.crowded ? 1 : 0;
}

int32_t MiddleRow(const TAiSituation& s) {
  if (s.turnedAway) return 19;
  if (s.overmatched) return 17;
  if (s.reeling) return 13;
  if (s.acting) return s.crowded ? 11 : 9;
  if (s.playerFading) return 7;
  if (s.enemyFading) return 15;
  return s.crowded ? 3 : 2;
}

}  // namespace

int32_t ChooseAiRow(const TAiSituation& s) {
  if (s.distance >= kAiFarDistance) return 22;
  if (s.awayFromHome) return s.distance > s.nearLimit ? 21 : (s.crowded ? 1 : 0);
  if (s.distance > kAiMiddleDistance) return s.overmatched ? 17 : (s.crowded ? 5 : 4);
  if (s.distance <= s.nearLimit) return NearRow(s);
  if (s.distance < kAiMiddleDistance) return MiddleRow(s);
  return 0;  // exactly at the middle distance, beyond the near limit
}

const TAiChoiceTable& AiChoiceTable(bool aggressive) { return aggressive ? kAggressive : kPlain; }
