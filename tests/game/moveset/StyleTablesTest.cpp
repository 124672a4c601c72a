// Every built style's table against the styles' summary: its constants, and rows that lead only to
// states of the table, whose hold attacks are the style's and whose aerial starts are its air set.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

#include "game/actor/TPlayerFactory.h"
#include "game/moveset/PlayerStyles.h"
#include "game/moveset/TPlayerStyle.h"
#include "game/moveset/TStyleRows.h"

namespace {

using Row = TPlayerChar::TStateRow;
using S = TPlayerStyle;

// One style as the summary gives it.
struct Summary {
  uint32_t weaponType;
  const char* model;  // null: the member's model of the type
  int32_t states;
  int32_t holdState;
  TStyleStarts held, released;
  uint8_t hits;
  bool airComboFlag;
  uint32_t queueCapacity;
  uint32_t techniques;  // skill ids 2000 + 100 x type on
};
constexpr Summary kSummaries[] = {
    {0, nullptr, 117, 33, {45, 41, 33}, {43, 35, 25}, kHitsRecoilAndEffects, true, 10, 16},
    {1, nullptr, 87, 33, {45, 41, 33}, {43, 35, 25}, kHitsRecoilAndEffects, true, 10, 10},
    {2, nullptr, 109, 35, {47, 43, 35}, {45, 37, 25}, kHitsRecoil, true, 10, 14},
    {3, "heroine03", 102, 35, {48, 44, 35}, {46, 38, 25}, kHitsRecoilAndEffects, true, 10, 12},
    {4, "heroine03", 85, 35, {47, 43, 35}, {45, 37, 25}, kHitsRecoilAndEffects, true, 10, 8},
    {5, "hero04", 93, 31, {39, 35, 31}, {37, 33, 25}, kHitsEffects, false, 10, 12},
    {6, "hero04", 73, 31, {39, 35, 31}, {37, 33, 25}, kHitsEffects, false, 10, 8},
    {7, "hero04", 75, 31, {39, 35, 31}, {37, 33, 25}, kHitsBodyOnly, false, 10, 8},
    {8, "hero05", 91, 35, {47, 43, 35}, {45, 37, 25}, kHitsRecoilAndEffects, true, 10, 10},
    {9, "heroine06", 83, 31, {39, 35, 31}, {37, 33, 25}, kHitsEffects, false, 10, 10},
    {10, "hero07", 78, 31, {44, 40, 31}, {42, 34, 25}, kHitsRecoilAndEffects, true, 10, 8},
    {11, "heroine08", 75, 29, {39, 35, 29}, {37, 31, 25}, kHitsEffects, true, 3, 8},
};

bool Same(const TStyleStarts& a, const TStyleStarts& b) {
  return a.run == b.run && a.air == b.air && a.ground == b.ground;
}

bool Is(const Row& row, const Row& made) { return row.handler == made.handler; }
// The templates whose hold is the ground hold attack, and those whose hold is the air hold.
bool HoldsOnTheGround(const Row& row) { return Is(row, S::ComboStep(0, 0, 0, 0)) || Is(row, S::ComboFinish(0, 0, 0)); }
bool HoldsInTheAir(const Row& row) {
  return Is(row, S::AirCombo(0, 0, 0, 0)) || Is(row, S::AirComboLast(0, 0, 0)) ||
         Is(row, S::AirTechnique(0, 0, 0, 0, 0, 0)) || Is(row, S::AirHold(0, 0, 0));
}
// The templates a state started in the air runs.
bool StartsInTheAir(const Row& row) { return HoldsInTheAir(row) || Is(row, S::AwaitLanding(0, 0)); }

TEST(StyleTables, EveryBuiltStyleKeepsTheSummarysConstants) {
  ASSERT_FALSE(PlayerStyleTables().empty());
  std::set<uint32_t> types;
  for (const TStyleTable* table : PlayerStyleTables()) {
    ASSERT_LT(table->weaponType, std::size(kSummaries));
    EXPECT_TRUE(types.insert(table->weaponType).second) << "one table a type";
    const Summary& s = kSummaries[table->weaponType];
    const std::string what = "style " + std::to_string(s.weaponType);
    EXPECT_EQ(table->states.size(), static_cast<size_t>(s.states)) << what;
    EXPECT_EQ(table->holdState, s.holdState) << what;
    EXPECT_EQ(table->SkillKind(), s.weaponType + 4) << what;
    EXPECT_TRUE(Same(table->held, s.held)) << what;
    EXPECT_TRUE(Same(table->released, s.released)) << what;
    EXPECT_EQ(table->hits, s.hits) << what;
    EXPECT_EQ(table->airComboFlag != 0, s.airComboFlag) << what;
    EXPECT_EQ(table->queueCapacity, s.queueCapacity) << what;
    EXPECT_EQ(table->model == nullptr, s.model == nullptr) << what;
    if (table->model) {
      EXPECT_STREQ(table->model, s.model) << what;
      const TPlayerStyleRow& factory = PlayerStyles()[s.weaponType];
      const char* shown = factory.heroModel ? factory.heroModel : factory.heroineModel;
      EXPECT_STREQ(shown, s.model) << what << ": the factory shows the style's own model";
    }
    ASSERT_EQ(table->techniques.size(), s.techniques) << what;
    for (uint32_t k = 0; k < s.techniques; ++k)
      EXPECT_EQ(table->techniques[k].skillId, 2000 + 100 * s.weaponType + k) << what;
  }
}

// The rows of states 25 on as each style's own table writes them (the bow's aside): weapon type,
// state, motion, and the state the row ends in when no command is obeyed (-1 idle, -2 a fall).
struct WrittenRow {
  uint32_t weaponType;
  int32_t state;
  uint32_t motion;
  int32_t end;
};
constexpr WrittenRow kWrittenRows[] = {
    {0, 25, 37, 26}, {0, 26, 38, -1}, {0, 27, 39, 28}, {0, 28, 40, -1}, {0, 29, 41, 30}, {0, 30, 42, -1},
    {0, 31, 43, 32}, {0, 32, 44, -1}, {0, 33, 56, 34}, {0, 34, 42, -1}, {0, 35, 45, 36}, {0, 36, 46, -2},
    {0, 37, 47, 38}, {0, 38, 48, -2}, {0, 39, 49, 40}, {0, 40, 50, -2}, {0, 41, 51, 42}, {0, 42, 52, -1},
    {0, 43, 53, 44}, {0, 44, 54, -1}, {0, 45, 55, 46}, {0, 46, 54, -1}, {0, 47, 58, 48}, {0, 49, 60, 50},
    {0, 48, 59, -1}, {0, 50, 59, -1}, {0, 51, 61, 52}, {0, 53, 62, 54}, {0, 52, 54, -1}, {0, 54, 54, -1},
    {0, 55, 63, 56}, {0, 57, 64, 58}, {0, 56, 54, -1}, {0, 58, 54, -1}, {0, 59, 65, 60}, {0, 62, 68, 63},
    {0, 60, 66, 61}, {0, 63, 69, 64}, {0, 61, 67, -2}, {0, 64, 70, -2}, {0, 65, 71, 66}, {0, 67, 73, 68},
    {0, 66, 72, -1}, {0, 68, 74, -1}, {0, 69, 83, 70}, {0, 71, 85, 72}, {0, 70, 84, -2}, {0, 72, 84, -2},
    {0, 73, 86, 74}, {0, 75, 87, 76}, {0, 74, 59, -1}, {0, 76, 59, -1}, {0, 77, 91, 78}, {0, 79, 92, 80},
    {0, 78, 84, -2}, {0, 80, 84, -2}, {0, 81, 93, 82}, {0, 83, 94, 84}, {0, 82, 89, -1}, {0, 84, 89, -1},
    {0, 85, 97, 86}, {0, 87, 98, 88}, {0, 86, 84, -2}, {0, 88, 84, -2}, {0, 89, 99, 90}, {0, 91, 100, 92},
    {0, 90, 40, -1}, {0, 92, 40, -1}, {0, 93, 103, 94}, {0, 95, 104, 96}, {0, 94, 59, -1}, {0, 96, 59, -1},
    {0, 97, 105, 98}, {0, 99, 106, 100}, {0, 98, 59, -1}, {0, 100, 59, -1}, {0, 101, 109, 102}, {0, 104, 111, 105},
    {0, 102, 110, 103}, {0, 105, 112, 106}, {0, 103, 67, -2}, {0, 106, 67, -2}, {0, 107, 113, 108},
    {0, 109, 114, 110}, {0, 108, 40, -1}, {0, 110, 40, -1}, {0, 111, 117, 112}, {0, 114, 117, 115},
    {0, 112, 118, 113}, {0, 115, 118, 116}, {0, 113, 67, -2}, {0, 116, 67, -2},
    {1, 25, 37, 26}, {1, 26, 38, -1}, {1, 27, 39, 28}, {1, 28, 40, -1}, {1, 29, 41, 30}, {1, 30, 42, -1},
    {1, 31, 43, 32}, {1, 32, 44, -1}, {1, 33, 57, 34}, {1, 34, 40, -1}, {1, 35, 45, 36}, {1, 36, 46, -2},
    {1, 37, 47, 38}, {1, 38, 48, -2}, {1, 39, 49, 40}, {1, 40, 50, -2}, {1, 41, 51, 42}, {1, 42, 52, -1},
    {1, 43, 53, 44}, {1, 44, 54, -1}, {1, 45, 55, 46}, {1, 46, 54, -1}, {1, 47, 75, 48}, {1, 48, 40, -1},
    {1, 49, 76, 50}, {1, 50, 40, -1}, {1, 51, 77, 52}, {1, 52, 54, -1}, {1, 53, 78, 54}, {1, 54, 54, -1},
    {1, 55, 79, 56}, {1, 56, 59, -1}, {1, 57, 80, 58}, {1, 58, 59, -1}, {1, 59, 81, 60}, {1, 60, 59, -1},
    {1, 61, 82, 62}, {1, 62, 59, -1}, {1, 63, 88, 64}, {1, 64, 89, -1}, {1, 65, 90, 66}, {1, 66, 89, -1},
    {1, 67, 95, 68}, {1, 68, 40, -1}, {1, 69, 96, 70}, {1, 70, 40, -1}, {1, 71, 101, 72}, {1, 72, 59, -1},
    {1, 73, 102, 74}, {1, 74, 59, -1}, {1, 75, 107, 76}, {1, 76, 54, -1}, {1, 77, 108, 78}, {1, 78, 54, -1},
    {1, 79, 115, 80}, {1, 80, 59, -1}, {1, 81, 116, 82}, {1, 82, 59, -1}, {1, 83, 119, 84}, {1, 84, 40, -1},
    {1, 85, 119, 86}, {1, 86, 40, -1},
    {2, 25, 37, 26}, {2, 26, 38, -1}, {2, 27, 39, 28}, {2, 28, 40, -1}, {2, 29, 41, 30}, {2, 30, 42, -1},
    {2, 31, 43, 32}, {2, 32, 44, -1}, {2, 33, 45, 34}, {2, 34, 46, -1}, {2, 35, 58, 36}, {2, 36, 59, -1},
    {2, 37, 47, 38}, {2, 38, 48, -2}, {2, 39, 49, 40}, {2, 40, 50, -2}, {2, 41, 51, 42}, {2, 42, 52, -2},
    {2, 43, 53, 44}, {2, 44, 54, -1}, {2, 45, 55, 46}, {2, 46, 56, -1}, {2, 47, 57, 48}, {2, 48, 56, -1},
    {2, 49, 60, 50}, {2, 51, 62, 52}, {2, 50, 61, -1}, {2, 52, 61, -1}, {2, 53, 63, 54}, {2, 55, 65, 56},
    {2, 54, 64, -1}, {2, 56, 64, -1}, {2, 57, 66, 58}, {2, 59, 68, 60}, {2, 58, 67, -1}, {2, 60, 67, -1},
    {2, 61, 69, 62}, {2, 64, 72, 65}, {2, 62, 70, 63}, {2, 65, 73, 66}, {2, 63, 71, -2}, {2, 66, 71, -2},
    {2, 67, 74, 68}, {2, 69, 75, 70}, {2, 68, 52, -2}, {2, 70, 52, -2}, {2, 71, 76, 72}, {2, 73, 77, 74},
    {2, 72, 48, -2}, {2, 74, 48, -2}, {2, 75, 78, 76}, {2, 77, 80, 78}, {2, 76, 79, -1}, {2, 78, 79, -1},
    {2, 79, 81, 80}, {2, 81, 83, 82}, {2, 80, 82, -1}, {2, 82, 82, -1}, {2, 83, 84, 84}, {2, 85, 85, 86},
    {2, 84, 64, -1}, {2, 86, 64, -1}, {2, 87, 86, 88}, {2, 90, 88, 91}, {2, 88, 87, 89}, {2, 91, 89, 92},
    {2, 89, 71, -2}, {2, 92, 71, -2}, {2, 93, 90, 94}, {2, 95, 91, 96}, {2, 94, 52, -2}, {2, 96, 52, -2},
    {2, 97, 92, 98}, {2, 99, 93, 100}, {2, 98, 52, -2}, {2, 100, 52, -2}, {2, 101, 94, 102}, {2, 103, 95, 104},
    {2, 102, 61, -1}, {2, 104, 61, -1}, {2, 105, 96, 106}, {2, 107, 96, 108}, {2, 106, 64, -1}, {2, 108, 64, -1},
    {3, 25, 37, 26}, {3, 26, 38, -1}, {3, 27, 39, 28}, {3, 28, 40, -1}, {3, 29, 41, 30}, {3, 30, 42, -1},
    {3, 31, 43, 32}, {3, 32, 38, -1}, {3, 33, 44, 34}, {3, 34, 45, -1}, {3, 35, 56, 36}, {3, 36, 57, 37},
    {3, 37, 58, -2}, {3, 38, 46, 39}, {3, 39, 47, -2}, {3, 40, 48, 41}, {3, 41, 49, -2}, {3, 42, 50, 43},
    {3, 43, 51, -2}, {3, 44, 52, 45}, {3, 45, 53, -1}, {3, 46, 54, 47}, {3, 47, 45, -1}, {3, 48, 55, 49},
    {3, 49, 45, -1}, {3, 50, 60, 51}, {3, 51, 45, -1}, {3, 52, 61, 53}, {3, 53, 45, -1}, {3, 54, 62, 55},
    {3, 55, 38, -1}, {3, 56, 63, 57}, {3, 57, 38, -1}, {3, 58, 64, 59}, {3, 59, 65, -1}, {3, 60, 66, 61},
    {3, 61, 65, -1}, {3, 62, 67, 63}, {3, 63, 47, -2}, {3, 64, 68, 65}, {3, 65, 47, -2}, {3, 66, 69, 67},
    {3, 67, 51, -2}, {3, 68, 70, 69}, {3, 69, 51, -2}, {3, 70, 84, 71}, {3, 71, 85, 72}, {3, 72, 77, -2},
    {3, 73, 86, 74}, {3, 74, 87, 75}, {3, 75, 77, -2}, {3, 76, 88, 77}, {3, 77, 47, -2}, {3, 78, 89, 79},
    {3, 79, 47, -2}, {3, 80, 92, 81}, {3, 81, 93, 82}, {3, 82, 77, -2}, {3, 83, 94, 84}, {3, 84, 95, 85},
    {3, 85, 77, -2}, {3, 86, 96, 87}, {3, 87, 47, -2}, {3, 88, 97, 89}, {3, 89, 47, -2}, {3, 90, 101, 91},
    {3, 91, 45, -1}, {3, 92, 102, 93}, {3, 93, 45, -1}, {3, 94, 103, 95}, {3, 95, 99, -2}, {3, 96, 104, 97},
    {3, 97, 99, -2}, {3, 98, 109, 99}, {3, 99, 99, -2}, {3, 100, 109, 101}, {3, 101, 99, -2},
    {4, 25, 37, 26}, {4, 26, 38, -1}, {4, 27, 39, 28}, {4, 28, 40, -1}, {4, 29, 41, 30}, {4, 30, 42, -1},
    {4, 31, 43, 32}, {4, 32, 38, -1}, {4, 33, 44, 34}, {4, 34, 45, -1}, {4, 35, 59, 36}, {4, 36, 45, -1},
    {4, 37, 46, 38}, {4, 38, 47, -2}, {4, 39, 48, 40}, {4, 40, 49, -2}, {4, 41, 50, 42}, {4, 42, 51, -2},
    {4, 43, 52, 44}, {4, 44, 53, -1}, {4, 45, 54, 46}, {4, 46, 45, -1}, {4, 47, 55, 48}, {4, 48, 45, -1},
    {4, 49, 71, 50}, {4, 50, 45, -1}, {4, 51, 72, 52}, {4, 52, 45, -1}, {4, 53, 73, 54}, {4, 54, 38, -1},
    {4, 55, 74, 56}, {4, 56, 38, -1}, {4, 57, 75, 58}, {4, 58, 76, 59}, {4, 59, 77, -2}, {4, 60, 78, 61},
    {4, 61, 79, 62}, {4, 62, 77, -2}, {4, 63, 80, 64}, {4, 64, 81, -1}, {4, 65, 82, 66}, {4, 66, 83, -1},
    {4, 67, 90, 68}, {4, 68, 65, -1}, {4, 69, 91, 70}, {4, 70, 65, -1}, {4, 71, 98, 72}, {4, 72, 99, -2},
    {4, 73, 100, 74}, {4, 74, 99, -2}, {4, 75, 105, 76}, {4, 76, 106, 77}, {4, 77, 77, -2}, {4, 78, 107, 79},
    {4, 79, 108, 80}, {4, 80, 77, -2}, {4, 81, 110, 82}, {4, 82, 45, -1}, {4, 83, 110, 84}, {4, 84, 45, -1},
    {5, 25, 37, 26}, {5, 26, 38, -1}, {5, 27, 39, 28}, {5, 28, 40, -1}, {5, 29, 41, 30}, {5, 30, 42, -1},
    {5, 31, 49, 32}, {5, 32, 50, -1}, {5, 33, 43, 34}, {5, 34, 44, -1}, {5, 35, 45, 36}, {5, 36, 46, -1},
    {5, 37, 47, 38}, {5, 38, 42, -1}, {5, 39, 48, 40}, {5, 40, 42, -1}, {5, 41, 53, 42}, {5, 42, 50, -1},
    {5, 43, 53, 44}, {5, 44, 50, -1}, {5, 45, 55, 46}, {5, 46, 40, -1}, {5, 47, 56, 48}, {5, 48, 40, -1},
    {5, 49, 57, 50}, {5, 50, 58, -1}, {5, 51, 59, 52}, {5, 52, 58, -1}, {5, 53, 60, 54}, {5, 54, 61, 55},
    {5, 55, 62, -2}, {5, 56, 63, 57}, {5, 57, 64, 58}, {5, 58, 62, -2}, {5, 59, 65, 60}, {5, 60, 66, -1},
    {5, 61, 67, 62}, {5, 62, 68, -1}, {5, 63, 88, 64}, {5, 64, 50, -1}, {5, 65, 89, 66}, {5, 66, 50, -1},
    {5, 67, 90, 68}, {5, 68, 76, -1}, {5, 69, 91, 70}, {5, 70, 76, -1}, {5, 71, 96, 72}, {5, 72, 97, 73},
    {5, 73, 62, -2}, {5, 74, 98, 75}, {5, 75, 99, 76}, {5, 76, 62, -2}, {5, 77, 100, 78}, {5, 78, 40, -1},
    {5, 79, 101, 80}, {5, 80, 40, -1}, {5, 81, 108, 82}, {5, 82, 109, -1}, {5, 83, 110, 84}, {5, 84, 111, -1},
    {5, 85, 112, 86}, {5, 86, 40, -1}, {5, 87, 113, 88}, {5, 88, 40, -1}, {5, 89, 118, 90}, {5, 90, 50, -1},
    {5, 91, 118, 92}, {5, 92, 50, -1},
    {6, 25, 37, 26}, {6, 26, 38, -1}, {6, 27, 39, 28}, {6, 28, 40, -1}, {6, 29, 41, 30}, {6, 30, 42, -1},
    {6, 31, 51, 32}, {6, 32, 40, -1}, {6, 33, 43, 34}, {6, 34, 44, -1}, {6, 35, 45, 36}, {6, 36, 46, -1},
    {6, 37, 47, 38}, {6, 38, 42, -1}, {6, 39, 48, 40}, {6, 40, 42, -1}, {6, 41, 69, 42}, {6, 42, 50, -1},
    {6, 43, 70, 44}, {6, 44, 50, -1}, {6, 45, 71, 46}, {6, 46, 50, -1}, {6, 47, 72, 48}, {6, 48, 50, -1},
    {6, 49, 73, 50}, {6, 50, 58, -1}, {6, 51, 74, 52}, {6, 52, 58, -1}, {6, 53, 75, 54}, {6, 54, 76, -1},
    {6, 55, 77, 56}, {6, 56, 76, -1}, {6, 57, 92, 58}, {6, 58, 42, -1}, {6, 59, 93, 60}, {6, 60, 42, -1},
    {6, 61, 102, 62}, {6, 62, 50, -1}, {6, 63, 103, 64}, {6, 64, 50, -1}, {6, 65, 114, 66}, {6, 66, 40, -1},
    {6, 67, 115, 68}, {6, 68, 40, -1}, {6, 69, 119, 70}, {6, 70, 50, -1}, {6, 71, 119, 72}, {6, 72, 50, -1},
    {7, 25, 37, 26}, {7, 26, 38, -1}, {7, 27, 39, 28}, {7, 28, 40, -1}, {7, 29, 41, 30}, {7, 30, 42, -1},
    {7, 31, 52, 32}, {7, 32, 42, -1}, {7, 33, 43, 34}, {7, 34, 44, -1}, {7, 35, 45, 36}, {7, 36, 46, -1},
    {7, 37, 47, 38}, {7, 38, 42, -1}, {7, 39, 48, 40}, {7, 40, 42, -1}, {7, 41, 78, 42}, {7, 42, 42, -1},
    {7, 43, 79, 44}, {7, 44, 42, -1}, {7, 45, 80, 46}, {7, 46, 42, -1}, {7, 47, 81, 48}, {7, 48, 42, -1},
    {7, 49, 82, 50}, {7, 50, 40, -1}, {7, 51, 83, 52}, {7, 52, 40, -1}, {7, 53, 84, 54}, {7, 54, 85, 55},
    {7, 55, 62, -2}, {7, 56, 86, 57}, {7, 57, 87, 58}, {7, 58, 62, -2}, {7, 59, 94, 60}, {7, 60, 50, -1},
    {7, 61, 95, 62}, {7, 62, 50, -1}, {7, 63, 104, 64}, {7, 64, 105, -1}, {7, 65, 106, 66}, {7, 66, 107, -1},
    {7, 67, 116, 68}, {7, 68, 76, -1}, {7, 69, 117, 70}, {7, 70, 76, -1}, {7, 71, 120, 72}, {7, 72, 42, -1},
    {7, 73, 120, 74}, {7, 74, 42, -1},
    {8, 25, 37, 26}, {8, 26, 38, -1}, {8, 27, 39, 28}, {8, 28, 40, -1}, {8, 29, 41, 30}, {8, 30, 42, -1},
    {8, 31, 43, 32}, {8, 32, 44, -1}, {8, 33, 45, 34}, {8, 34, 46, -1}, {8, 35, 58, 36}, {8, 36, 59, -1},
    {8, 37, 47, 38}, {8, 38, 48, -2}, {8, 39, 49, 40}, {8, 40, 50, -2}, {8, 41, 51, 42}, {8, 42, 52, -2},
    {8, 43, 53, 44}, {8, 44, 54, -1}, {8, 45, 55, 46}, {8, 46, 56, -1}, {8, 47, 57, 48}, {8, 48, 56, -1},
    {8, 49, 60, 50}, {8, 50, 61, -1}, {8, 51, 62, 52}, {8, 52, 61, -1}, {8, 53, 63, 54}, {8, 54, 64, -1},
    {8, 55, 65, 56}, {8, 56, 64, -1}, {8, 57, 66, 58}, {8, 58, 61, -1}, {8, 59, 67, 60}, {8, 60, 61, -1},
    {8, 61, 68, 62}, {8, 62, 59, -1}, {8, 63, 69, 64}, {8, 64, 59, -1}, {8, 65, 70, 66}, {8, 66, 71, 67},
    {8, 67, 72, -2}, {8, 68, 73, 69}, {8, 69, 74, 70}, {8, 70, 75, -2}, {8, 71, 76, 72}, {8, 72, 59, -1},
    {8, 73, 77, 74}, {8, 74, 59, -1}, {8, 75, 78, 76}, {8, 76, 79, -1}, {8, 77, 80, 78}, {8, 78, 81, -1},
    {8, 79, 82, 80}, {8, 80, 83, -1}, {8, 81, 84, 82}, {8, 82, 83, -1}, {8, 83, 85, 84}, {8, 84, 86, -2},
    {8, 85, 87, 86}, {8, 86, 86, -2}, {8, 87, 88, 88}, {8, 88, 61, -1}, {8, 89, 88, 90}, {8, 90, 61, -1},
    {9, 25, 37, 26}, {9, 26, 38, -1}, {9, 27, 39, 28}, {9, 28, 40, -1}, {9, 29, 41, 30}, {9, 30, 42, -1},
    {9, 31, 49, 32}, {9, 32, 42, -1}, {9, 33, 43, 34}, {9, 34, 44, -2}, {9, 35, 45, 36}, {9, 36, 46, -1},
    {9, 37, 47, 38}, {9, 38, 42, -1}, {9, 39, 48, 40}, {9, 40, 42, -1}, {9, 41, 50, 42}, {9, 42, 51, -1},
    {9, 43, 52, 44}, {9, 44, 51, -1}, {9, 45, 53, 46}, {9, 46, 42, -1}, {9, 47, 54, 48}, {9, 48, 42, -1},
    {9, 49, 55, 50}, {9, 50, 51, -1}, {9, 51, 56, 52}, {9, 52, 51, -1}, {9, 53, 57, 54}, {9, 54, 58, 55},
    {9, 55, 59, -2}, {9, 56, 60, 57}, {9, 57, 61, 58}, {9, 58, 59, -2}, {9, 59, 62, 60}, {9, 60, 63, -2},
    {9, 61, 64, 62}, {9, 62, 63, -2}, {9, 63, 65, 64}, {9, 64, 44, -2}, {9, 65, 66, 66}, {9, 66, 44, -2},
    {9, 67, 67, 68}, {9, 68, 68, -1}, {9, 69, 69, 70}, {9, 70, 68, -1}, {9, 71, 70, 72}, {9, 72, 63, -2},
    {9, 73, 71, 74}, {9, 74, 63, -2}, {9, 75, 72, 76}, {9, 76, 42, -1}, {9, 77, 73, 78}, {9, 78, 42, -1},
    {9, 79, 74, 80}, {9, 80, 63, -2}, {9, 81, 74, 82}, {9, 82, 63, -2},
    {10, 25, 37, 26}, {10, 26, 38, -1}, {10, 27, 39, 28}, {10, 28, 40, -1}, {10, 29, 41, 30}, {10, 30, 42, -1},
    {10, 31, 53, 32}, {10, 32, 54, 33}, {10, 33, 55, -2}, {10, 34, 43, 35}, {10, 35, 44, -2}, {10, 36, 45, 37},
    {10, 37, 46, -2}, {10, 38, 47, 39}, {10, 39, 48, -2}, {10, 40, 49, 41}, {10, 41, 50, -1}, {10, 42, 51, 43},
    {10, 43, 42, -1}, {10, 44, 52, 45}, {10, 45, 42, -1}, {10, 46, 56, 47}, {10, 47, 57, -1}, {10, 48, 58, 49},
    {10, 49, 57, -1}, {10, 50, 59, 51}, {10, 51, 60, -1}, {10, 52, 61, 53}, {10, 53, 60, -1}, {10, 54, 62, 55},
    {10, 55, 42, -1}, {10, 56, 63, 57}, {10, 57, 42, -1}, {10, 58, 64, 59}, {10, 59, 38, -1}, {10, 60, 65, 61},
    {10, 61, 38, -1}, {10, 62, 66, 63}, {10, 63, 67, -1}, {10, 64, 68, 65}, {10, 65, 67, -1}, {10, 66, 69, 67},
    {10, 67, 38, -1}, {10, 68, 70, 69}, {10, 69, 38, -1}, {10, 70, 71, 71}, {10, 71, 72, -2}, {10, 72, 73, 73},
    {10, 73, 72, -2}, {10, 74, 74, 75}, {10, 75, 38, -1}, {10, 76, 74, 77}, {10, 77, 38, -1},
};

TEST(StyleTables, EachStylesRowsPlayTheMotionsAndEndWhereItsTableWritesThem) {
  std::map<uint32_t, const TStyleTable*> tables;
  for (const TStyleTable* table : PlayerStyleTables()) tables[table->weaponType] = table;
  std::map<uint32_t, size_t> checked;
  for (const WrittenRow& w : kWrittenRows) {
    const std::string what = "style " + std::to_string(w.weaponType) + " state " + std::to_string(w.state);
    ASSERT_EQ(tables.count(w.weaponType), 1u) << what;
    const std::vector<Row>& states = tables[w.weaponType]->states;
    ASSERT_LT(static_cast<size_t>(w.state), states.size()) << what;
    EXPECT_EQ(states[static_cast<size_t>(w.state)].motion, w.motion) << what;
    EXPECT_EQ(states[static_cast<size_t>(w.state)].next, w.end) << what;
    ++checked[w.weaponType];
  }
  // Every state from 25 on of each style is written out.
  for (const auto& [type, table] : tables) {
    if (type != 11) {
      EXPECT_EQ(checked[type], table->states.size() - 25) << "style " << type;
    }
  }
}

// Each style's own techniques as its table maps them: weapon type, skill id, tap state, hold state.
struct WrittenTechnique {
  uint32_t weaponType, skillId;
  int32_t tap, hold;
};
constexpr WrittenTechnique kWrittenTechniques[] = {
    {0, 2000, 47, 49}, {0, 2001, 51, 53}, {0, 2002, 55, 57}, {0, 2003, 59, 62}, {0, 2004, 65, 67}, {0, 2005, 69, 71},
    {0, 2006, 73, 75}, {0, 2007, 77, 79}, {0, 2008, 81, 83}, {0, 2009, 85, 87}, {0, 2010, 89, 91}, {0, 2011, 93, 95},
    {0, 2012, 97, 99}, {0, 2013, 101, 104}, {0, 2014, 107, 109}, {0, 2015, 111, 114}, {1, 2100, 47, 49},
    {1, 2101, 51, 53}, {1, 2102, 55, 57}, {1, 2103, 59, 61}, {1, 2104, 63, 65}, {1, 2105, 67, 69}, {1, 2106, 71, 73},
    {1, 2107, 75, 77}, {1, 2108, 79, 81}, {1, 2109, 83, 85}, {2, 2200, 49, 51}, {2, 2201, 53, 55}, {2, 2202, 57, 59},
    {2, 2203, 61, 64}, {2, 2204, 67, 69}, {2, 2205, 71, 73}, {2, 2206, 75, 77}, {2, 2207, 79, 81}, {2, 2208, 83, 85},
    {2, 2209, 87, 90}, {2, 2210, 93, 95}, {2, 2211, 97, 99}, {2, 2212, 101, 103}, {2, 2213, 105, 107},
    {3, 2300, 50, 52}, {3, 2301, 54, 56}, {3, 2302, 58, 60}, {3, 2303, 62, 64}, {3, 2304, 66, 68}, {3, 2305, 70, 73},
    {3, 2306, 76, 78}, {3, 2307, 80, 83}, {3, 2308, 86, 88}, {3, 2309, 90, 92}, {3, 2310, 94, 96},
    {3, 2311, 98, 100}, {4, 2400, 49, 51}, {4, 2401, 53, 55}, {4, 2402, 57, 60}, {4, 2403, 63, 65},
    {4, 2404, 67, 69}, {4, 2405, 71, 73}, {4, 2406, 75, 78}, {4, 2407, 81, 83}, {5, 2500, 41, 43}, {5, 2501, 45, 47},
    {5, 2502, 49, 51}, {5, 2503, 53, 56}, {5, 2504, 59, 61}, {5, 2505, 63, 65}, {5, 2506, 67, 69}, {5, 2507, 71, 74},
    {5, 2508, 77, 79}, {5, 2509, 81, 83}, {5, 2510, 85, 87}, {5, 2511, 89, 91}, {7, 2700, 41, 43}, {7, 2701, 45, 47},
    {7, 2702, 49, 51}, {7, 2703, 53, 56}, {7, 2704, 59, 61}, {7, 2705, 63, 65}, {7, 2706, 67, 69}, {7, 2707, 71, 73},
    {8, 2800, 49, 51}, {8, 2801, 53, 55}, {8, 2802, 57, 59}, {8, 2803, 61, 63}, {8, 2804, 65, 68}, {8, 2805, 71, 73},
    {8, 2806, 75, 77}, {8, 2807, 79, 81}, {8, 2808, 83, 85}, {8, 2809, 87, 89}, {9, 2900, 41, 43}, {9, 2901, 45, 47},
    {9, 2902, 49, 51}, {9, 2903, 53, 56}, {9, 2904, 59, 61}, {9, 2905, 63, 65}, {9, 2906, 67, 69}, {9, 2907, 71, 73},
    {9, 2908, 75, 77}, {9, 2909, 79, 81},
    {6, 2600, 41, 43}, {6, 2601, 45, 47}, {6, 2602, 49, 51}, {6, 2603, 53, 55}, {6, 2604, 57, 59}, {6, 2605, 61, 63},
    {6, 2606, 65, 67}, {6, 2607, 69, 71}, {10, 3000, 46, 48}, {10, 3001, 50, 52}, {10, 3002, 54, 56},
    {10, 3003, 58, 60}, {10, 3004, 62, 64}, {10, 3005, 66, 68}, {10, 3006, 70, 72}, {10, 3007, 74, 76},
};

TEST(StyleTables, EachStylesTechniquesStartTheStatesItsTableMapsThemTo) {
  std::map<std::pair<uint32_t, uint32_t>, const TTechniqueRow*> built;
  for (const TStyleTable* table : PlayerStyleTables())
    for (const TTechniqueRow& row : table->techniques) built[{table->weaponType, row.skillId}] = &row;
  for (const WrittenTechnique& w : kWrittenTechniques) {
    const auto found = built.find({w.weaponType, w.skillId});
    ASSERT_NE(found, built.end()) << "style " << w.weaponType << " skill " << w.skillId;
    EXPECT_EQ(found->second->tap, w.tap) << "style " << w.weaponType << " skill " << w.skillId;
    EXPECT_EQ(found->second->hold, w.hold) << "style " << w.weaponType << " skill " << w.skillId;
  }
}

TEST(StyleTables, RowsLeadOnlyToStatesOfTheTableAndHoldAsTheStyleDoes) {
  for (const TStyleTable* table : PlayerStyleTables()) {
    const std::string style = "style " + std::to_string(table->weaponType);
    const auto count = static_cast<int32_t>(table->states.size());
    const auto inTable = [&](int32_t s) { return s > 0 && s < count; };
    // The common head as every style has it.
    const std::span<const Row> head = TPlayerChar::CommonStateRows();
    for (size_t s = 0; s < head.size(); ++s) {
      EXPECT_EQ(table->states[s].motion, head[s].motion) << style << " state " << s;
      EXPECT_EQ(table->states[s].handler, head[s].handler) << style << " state " << s;
    }
    for (int32_t s = 1; s < count; ++s) {
      const Row& row = table->states[static_cast<size_t>(s)];
      const std::string what = style + " state " + std::to_string(s);
      ASSERT_NE(row.handler, nullptr) << what;
      // The recoveries of the common head name no end: they stand the character up.
      const bool recovery = Is(row, S::Idle(0)) || Is(row, S::Fall(0));
      EXPECT_TRUE(inTable(row.next) || row.next == S::kIdle || row.next == S::kFall || (recovery && row.next == 0))
          << what;
      for (int32_t excluded : row.excluded) EXPECT_TRUE(excluded == 0 || inTable(excluded)) << what;
      EXPECT_TRUE(row.chain == 0 || inTable(row.chain)) << what;
      EXPECT_TRUE(row.hold == 0 || inTable(row.hold)) << what;
      if (HoldsOnTheGround(row)) {
        EXPECT_EQ(row.hold, table->holdState) << what;
      }
      // A hover may answer no hold at all.
      if (HoldsInTheAir(row) && !(Is(row, S::AirHold(0, 0, 0)) && row.hold == 0)) {
        EXPECT_EQ(row.hold, table->held.air) << what;
      }
    }
    for (const TStyleStarts& starts : {table->held, table->released})
      for (int32_t s : {starts.run, starts.air, starts.ground}) EXPECT_TRUE(inTable(s)) << style;
    EXPECT_TRUE(inTable(table->holdState)) << style;
  }
}

TEST(StyleTables, TheAirSetIsTheTechniquesThatStartInTheAir) {
  for (const TStyleTable* table : PlayerStyleTables()) {
    std::set<int32_t> aerial;
    for (const TTechniqueRow& t : table->techniques)
      for (int32_t s : {t.tap, t.hold}) {
        ASSERT_LT(static_cast<size_t>(s), table->states.size()) << t.skillId;
        if (StartsInTheAir(table->states[static_cast<size_t>(s)])) aerial.insert(s);
      }
    EXPECT_EQ(std::set<int32_t>(table->airStates.begin(), table->airStates.end()), aerial)
        << "style " << table->weaponType;
  }
}

TEST(StyleTables, OnlyTheStylesOwnAirAttacksHoverOtherwiseThanTheTechniquesHang) {
  // Weapon type 9's air attack, and the bow's air shots and charged air shot.
  const std::map<uint32_t, std::set<int32_t>> own = {{9, {33}}, {11, {31, 33, 35}}};
  const Row hang = S::AirHold(0, 0, 0);
  for (const TStyleTable* table : PlayerStyleTables()) {
    std::set<int32_t> hovers;
    for (size_t s = 0; s < table->states.size(); ++s) {
      const Row& row = table->states[s];
      if (!Is(row, hang)) continue;
      const bool plainHang = row.sink == 0 && row.chain == 0 && row.heightTested && !row.airTechniques;
      if (plainHang) continue;
      hovers.insert(static_cast<int32_t>(s));
      EXPECT_LE(row.sink, 0.0f) << "hovers sink or hang";
      // A press shoots again: it leads to a hover of its own kind.
      if (row.chain) {
        EXPECT_TRUE(Is(table->states[static_cast<size_t>(row.chain)], hang)) << s;
      }
    }
    const auto found = own.find(table->weaponType);
    EXPECT_EQ(hovers, found == own.end() ? std::set<int32_t>{} : found->second) << "style " << table->weaponType;
  }
}

TEST(StyleTables, AShapeOfTechniqueStatesStartsAtTheNextStateOrTheTableIsNotBuilt) {
  TStyleRows rows;
  EXPECT_THROW(rows.Finisher(26, {58, 60}, 59), std::logic_error);
  rows.Finisher(25, {58, 60}, 59).Launch(29, 32, {65, 68}, {66, 69}, {67, 70}, 35, 41);
  EXPECT_EQ(rows.States().size(), 35u);
  EXPECT_EQ(rows.States()[30].excluded, (std::array<int32_t, 3>{0, 29, 32})) << "the launch's own states";
  EXPECT_EQ(rows.States()[34].motion, 70u);
  EXPECT_THROW(rows.Hang(36, {83, 85}, 84, 41), std::logic_error);
  EXPECT_THROW(TStyleRows().Launch(25, 29, {1, 1}, {1, 1}, {1, 1}, 35, 41), std::logic_error) << "a hold too far";
}

}  // namespace
