// Every built style's table against the styles' summary: its constants, and rows that lead only to
// states of the table, whose hold attacks are the style's and whose aerial starts are its air set.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

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
