// The skill table: every skill id of 100-159 and both variants give the routine and arguments the
// game stores, the ids without a skill the idle row, and nothing outside the range.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "game/actor/SkillRows.h"

namespace {

using R = TSkillRoutine;

// A row as "SkillName (arguments)", the arguments in the order the routine takes them.
std::string Describe(const TSkillRow& row) {
  const TSkillArgs& a = row.args;
  const std::string cost = std::to_string(a.cost), period = std::to_string(a.period);
  const std::string volleys = std::to_string(a.volleys), charged = std::to_string(a.charged);
  const std::string kind = std::to_string(a.kind);
  const std::string plain = "(" + cost + ", " + period + ", " + volleys + ", " + charged + ")";
  const std::string voiced = "(" + cost + ", " + period + ", " + volleys + ", " + charged + ", " + kind + ")";
  switch (row.routine) {
    case R::kIdle: return "idle";
    case R::kTimedStrike: return "SkillTimedStrike (" + kind + ", " + cost + ")";
    case R::kHeldStrikes:
      return "SkillHeldStrikes (" + kind + ", " + cost + ", " + period + ", " + volleys + ", " + charged + ")";
    case R::kStepVolleyA: return "SkillStepVolleyA " + plain;
    case R::kStepVolleyB: return "SkillStepVolleyB " + plain;
    case R::kStepVolleyC: return "SkillStepVolleyC " + plain;
    case R::kGroundWaveA: return "SkillGroundWaveA " + plain;
    case R::kGroundWaveB: return "SkillGroundWaveB " + voiced;
    case R::kGroundWaveC: return "SkillGroundWaveC " + voiced;
    case R::kFanBurst: return "SkillFanBurst (" + cost + ", " + period + ", " + kind + ")";
    case R::kHealBlessing: return "SkillHealBlessing " + plain;
    case R::kHealBlessingB: return "SkillHealBlessingB " + voiced;
    case R::kFallingShots: return "SkillFallingShots " + voiced;
    case R::kScatterShots: return "SkillScatterShots " + voiced;
  }
  return "?";
}

std::vector<std::string> ReadGolden() {
  std::ifstream in(DW_SKILL_GOLDEN);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SkillTable, EveryIdOfTheRangeAndBothVariantsGiveTheStoredRow) {
  const std::vector<std::string> want = ReadGolden();
  ASSERT_EQ(want.size(), 120u) << DW_SKILL_GOLDEN;
  size_t line = 0;
  for (uint32_t id = 100; id <= 159; ++id) {
    for (bool charged : {false, true}) {
      const TSkillRow* row = FindSkillRow(id, charged);
      ASSERT_NE(row, nullptr) << id;
      EXPECT_EQ(std::to_string(id) + " " + (charged ? "1" : "0") + " " + Describe(*row), want[line++]);
      if (row->routine == R::kIdle) continue;
      EXPECT_EQ(row->skill, id);
      EXPECT_EQ(row->variant, charged ? 1 : 0);
    }
  }
}

TEST(SkillTable, TheIdsWithoutASkillShareTheIdleRowAndNothingLiesOutsideTheRange) {
  const TSkillRow* idle = FindSkillRow(107, false);
  ASSERT_NE(idle, nullptr);
  for (uint32_t group = 100; group < 160; group += 10)
    for (uint32_t digit = 7; digit <= 9; ++digit)
      for (bool charged : {false, true}) EXPECT_EQ(FindSkillRow(group + digit, charged), idle) << group + digit;
  for (uint32_t id : {0u, 5u, 99u, 160u, 1145u, 0xFFFFFFFFu})
    for (bool charged : {false, true}) EXPECT_EQ(FindSkillRow(id, charged), nullptr) << id;

  // 84 rows, each the one its id and variant find.
  const std::span<const TSkillRow> rows = SkillRows();
  EXPECT_EQ(rows.size(), 84u);
  std::set<std::pair<uint32_t, uint8_t>> seen;
  for (const TSkillRow& row : rows) {
    EXPECT_TRUE(seen.insert({row.skill, row.variant}).second) << row.skill;
    EXPECT_EQ(FindSkillRow(row.skill, row.variant != 0), &row);
  }
}

}  // namespace
