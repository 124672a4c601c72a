// The heroine's own styles as built (weapon types 3, 4 and 9 and the bow): the factory's choice,
// what each of their states makes of the queue, the latched command, the flag, the height and the
// landing, and the sequences their tables give the ground combo, the launcher, the air steps, the
// hovering air attacks and shots, and the bow's small queue and spent holds.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>

#include "common/TMesh8.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/moveset/TPlayerStyle04.h"
#include "game/moveset/TPlayerStyle09.h"
#include "game/moveset/TPlayerStyle11.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using styletest::Air;
using styletest::kHigh;
using styletest::kLow;
using styletest::Noting;
using styletest::StyleCase;
using styletest::StyleFixture;
using P = TPlayerChar;

constexpr uint32_t H = P::kHoldCommand, T = P::kStateCommand;
constexpr uint32_t A = P::kButtonA;
constexpr uint32_t kHeroine = 1;
// The sample's weapons of the heroine's styles.
constexpr uint32_t kRod = 1003, kStaff = 1006, kFan = 1007, kBow = 1005;

const StyleCase kCases[] = {
    // Weapon type 3.
    {kRod, {"the fifth step ignores a press", 33, {.presses = 1}, {.state = 34, .presses = 1}}},
    {kRod, {"which its recovery drops", 34, {.presses = 1}, {.mode = 0}}},
    {kRod, {"a ground step's hold launches", 31, {.kind = H}, {.state = 35}}},
    {kRod, {"the launcher takes off", 35, {.kind = H}, {.state = 36, .latched = H}}},
    {kRod, {"a press carries the launch into the air combo", 36, Air({.kind = H, .presses = 1, .flag = true}),
            {.state = 38, .latched = H}}},
    {kRod, {"a hold plunges at any height", 36, Air({.kind = H, .height = kLow}), {.state = 44}}},
    {kRod, {"an air technique follows the launch", 36, Air({.kind = T, .value = 62}), {.state = 62}}},
    {kRod, {"nothing: the launch falls", 36, Air({}), {.state = 37}}},
    {kRod, {"its ending falls", 37, Air({}), {.mode = 5}}},
    {kRod, {"the air step goes on with the flag", 38, Air({.flag = true}), {.state = 40}}},
    {kRod, {"a press alone is not enough", 38, Air({.presses = 1}), {.state = 39, .presses = 1}}},
    {kRod, {"a low hold clears the flag and stays", 38, Air({.kind = H, .flag = true, .height = kLow}),
            {.state = 38}}},
    {kRod, {"a high hold plunges", 40, Air({.kind = H, .flag = true}), {.state = 44}}},
    {kRod, {"the last air step ends", 42, Air({.flag = true}), {.state = 43}}},
    {kRod, {"the plunge waits for the ground", 44, Air({.kind = H}), {.state = 44, .latched = H}}},
    {kRod, {"and strikes once landed", 44, {.ended = false}, {.state = 45}}},
    {kRod, {"the landing blow stands", 45, {.presses = 1}, {.mode = 0}}},
    {kRod, {"the dash attack's hold launches", 46, {.kind = H}, {.state = 35}}},
    {kRod, {"a hovering technique's high hold plunges", 62, Air({.kind = H}), {.state = 44}}},
    {kRod, {"and falls without one", 62, Air({.kind = T, .value = 66}), {.state = 63}}},
    {kRod, {"a rising technique's blow takes a press into the air combo", 71, Air({.presses = 1}), {.state = 38}}},
    {kRod, {"and refuses its own hold", 71, Air({.kind = T, .value = 73}), {.state = 72}}},
    // Weapon type 4.
    {kStaff, {"a ground step's hold charges", 27, {.kind = H}, {.state = 35}}},
    {kStaff, {"the fifth step ignores a press", 33, {.presses = 1}, {.state = 34, .presses = 1}}},
    {kStaff, {"the charged strike drops a hold", 35, {.kind = H}, {.state = 36}}},
    {kStaff, {"and a press", 35, {.presses = 1}, {.state = 36, .presses = 1}}},
    {kStaff, {"and an air technique", 35, {.kind = T, .value = 71}, {.state = 36}}},
    {kStaff, {"but takes a ground technique", 35, {.kind = T, .value = 49}, {.state = 49}}},
    {kStaff, {"the air step goes on with the flag", 37, Air({.flag = true}), {.state = 39}}},
    {kStaff, {"a rising technique's blow takes a press", 58, Air({.presses = 1}), {.state = 37}}},
    {kStaff, {"the plunging technique waits for the ground", 63, Air({.kind = H}), {.state = 63, .latched = H}}},
    {kStaff, {"and strikes once landed", 65, {.ended = false}, {.state = 66}}},
    {kStaff, {"its strike takes a hold into the charged strike", 64, {.kind = H}, {.state = 35}}},
    {kStaff, {"or a ground technique", 66, {.kind = T, .value = 53}, {.state = 53}}},
    {kStaff, {"or stands", 66, {.kind = T, .value = 71, .presses = 1}, {.mode = 0}}},
    {kStaff, {"the hovering technique's high hold plunges", 71, Air({.kind = H}), {.state = 43}}},
    // Weapon type 9.
    {kFan, {"the third step ignores a press", 29, {.presses = 1}, {.state = 30, .presses = 1}}},
    {kFan, {"a ground step's hold charges", 25, {.kind = H}, {.state = 31}}},
    {kFan, {"the charged strike drops a hold", 31, {.kind = H}, {.state = 32}}},
    {kFan, {"the air attack leaves a press unanswered", 33, Air({.presses = 1}), {.state = 34, .presses = 1}}},
    {kFan, {"a high hold plunges", 33, Air({.kind = H}), {.state = 35}}},
    {kFan, {"a low hold stays", 33, Air({.kind = H, .height = kLow}), {.state = 33}}},
    {kFan, {"an air technique follows it", 33, Air({.kind = T, .value = 59}), {.state = 59}}},
    {kFan, {"a ground technique does not", 33, Air({.kind = T, .value = 41}), {.state = 34}}},
    {kFan, {"a landing ends it", 33, {.presses = 1, .ended = false}, {.mode = 6}}},
    {kFan, {"the plunge waits for the ground", 35, Air({}), {.state = 35}}},
    {kFan, {"and strikes once landed", 35, {.ended = false}, {.state = 36}}},
    {kFan, {"the rising blow's press starts the air attack", 54, Air({.presses = 1}), {.state = 33}}},
    // The bow.
    {kBow, {"a press in the repeated shot shoots it again", 27, {.presses = 2}, {.state = 27, .presses = 1}}},
    {kBow, {"without one its recovery", 27, {}, {.state = 28}}},
    {kBow, {"a shot's hold charges", 25, {.kind = H}, {.state = 29}}},
    {kBow, {"the charged shot takes a ground technique", 29, {.kind = T, .value = 41}, {.state = 41}}},
    {kBow, {"the air shot shoots again on a press", 31, Air({.kind = H, .presses = 1}), {.state = 33, .latched = H}}},
    {kBow, {"and again", 33, Air({.presses = 1}), {.state = 33}}},
    {kBow, {"a hold charges at any height", 31, Air({.kind = H, .height = kLow}), {.state = 35}}},
    {kBow, {"an air technique follows", 33, Air({.kind = T, .value = 59}), {.state = 59}}},
    {kBow, {"a ground technique does not", 33, Air({.kind = T, .value = 41}), {.state = 34}}},
    {kBow, {"a landing ends it", 31, {.presses = 1, .ended = false}, {.mode = 6}}},
    {kBow, {"the charged air shot drops a hold", 35, Air({.kind = H}), {.state = 36}}},
    {kBow, {"and a press", 35, Air({.presses = 1}), {.state = 36, .presses = 1}}},
    {kBow, {"but takes an air technique", 35, Air({.kind = T, .value = 67}), {.state = 67}}},
    {kBow, {"the air shots' recovery falls", 34, Air({}), {.mode = 5}}},
    {kBow, {"the rising blow's press starts the air shot", 50, Air({.presses = 1}), {.state = 31}}},
    {kBow, {"a hovering technique's high hold charges", 59, Air({.kind = H}), {.state = 35}}},
};

class HeroineStylesTest : public StyleFixture {
 protected:
  // Ticks of the current state until its motion ends and it moves on.
  void EndState() {
    EndMotion();
    probe->RunOnce();
  }
};

TEST_F(HeroineStylesTest, EachWeaponMakesTheHeroineItsStyle) {
  struct Case {
    uint32_t weapon;
    const std::type_info& style;
    const char* model;
    uint32_t queue;
    uint32_t firstTechnique, lastTechnique;
    std::pair<int32_t, int32_t> first, last;
  } cases[] = {
      {kRod, typeid(Noting<TPlayerStyle03>), "heroine03", 10, 2300, 2311, {50, 52}, {98, 100}},
      {kStaff, typeid(Noting<TPlayerStyle04>), "heroine03", 10, 2400, 2407, {49, 51}, {81, 83}},
      {kFan, typeid(Noting<TPlayerStyle09>), "heroine06", 10, 2900, 2909, {41, 43}, {79, 81}},
      {kBow, typeid(Noting<TPlayerStyle11>), "heroine08", 3, 3100, 3107, {41, 43}, {71, 73}},
  };
  for (const Case& c : cases) {
    ASSERT_NE(OpenAny(kHeroine, c.weapon), nullptr) << c.weapon;
    EXPECT_EQ(typeid(*style), c.style) << c.weapon;
    EXPECT_EQ(style->GetModelName(), c.model);
    EXPECT_EQ(style->GetWeaponId(), c.weapon);
    EXPECT_EQ(style->GetQueue().GetCapacity(), c.queue) << c.weapon;
    EXPECT_EQ(style->GetMode(), 0u);
    for (bool hold : {false, true}) {
      EXPECT_EQ(style->StateForTechnique(c.firstTechnique, hold), hold ? c.first.second : c.first.first) << c.weapon;
      EXPECT_EQ(style->StateForTechnique(c.lastTechnique, hold), hold ? c.last.second : c.last.first) << c.weapon;
    }
    EXPECT_EQ(style->StateForTechnique(3, true), 15) << "the common skills";
  }
  auto* bow = dynamic_cast<Noting<TPlayerStyle11>*>(style);
  ASSERT_NE(bow, nullptr);
  EXPECT_GT(bow->GetArrowMesh().GetTriangleCount(), 0) << "the arrow mesh, loaded with the bow";
}

TEST_F(HeroineStylesTest, EachStateAnswersWhatItFindsAsItsTableSays) {
  CheckAll(kHeroine, kCases);
}

TEST_F(HeroineStylesTest, TwoReleasesInTheFirstStepCarryTheComboTwoStepsAndAHoldLaunches) {
  auto* rod = OpenStyle<TPlayerStyle03>(kHeroine, kRod);
  ASSERT_NE(rod, nullptr);
  rod->ChangeState(25);
  Release(A);
  Release(A);
  EXPECT_EQ(rod->GetQueue().GetCount(), 2u);
  for (int32_t next : {27, 29, 30}) {
    RunState();
    EXPECT_EQ(rod->GetActionState(), next) << "no release after the first step";
  }
  RunState();
  EXPECT_EQ(rod->GetMode(), 0u);

  // Held 21 ticks on the ground: the launcher, which takes off as a jump does into its blow.
  Stand(0, 0, true);
  HoldFires(A);
  ASSERT_EQ(rod->GetActionState(), 35);
  EXPECT_EQ(rod->GetModel()->GetMotion(), 56u);
  RunState();
  EXPECT_EQ(rod->GetActionState(), 36);
  EXPECT_EQ(rod->GetModel()->GetMotion(), 57u);
  EXPECT_FLOAT_EQ(rod->gravity, -0.007f);
  EXPECT_FLOAT_EQ(rod->velocity.y, 0.18f);
}

TEST_F(HeroineStylesTest, ALowHoldAtAnAirStepsEndIsSpentAndTheRecoveryFollowsATickLater) {
  auto* rod = OpenStyle<TPlayerStyle03>(kHeroine, kRod);
  ASSERT_NE(rod, nullptr);
  rod->ChangeState(40);
  Stand(P::kActionMode, kLow, false);
  rod->SetAirCombo(true);
  rod->PostCommand(H, 0);
  EndState();
  EXPECT_EQ(rod->GetActionState(), 40);
  EXPECT_FALSE(rod->HasAirCombo());
  probe->RunOnce();
  EXPECT_EQ(rod->GetActionState(), 41) << "the recovery, not the next step";

  // The plunge waits for the ground however long the fall.
  rod->ChangeState(44);
  Stand(P::kActionMode, kHigh, false);
  for (int t = 0; t < 300; ++t) probe->RunOnce();
  EXPECT_EQ(rod->GetActionState(), 44);
  rod->landed = 1;
  probe->RunOnce();
  EXPECT_EQ(rod->GetActionState(), 45);
}

TEST_F(HeroineStylesTest, TheFansAirAttackStartsFromEveryAirModeAndHangsWhileItStrikes) {
  auto* fan = OpenStyle<TPlayerStyle09>(kHeroine, kFan);
  ASSERT_NE(fan, nullptr);
  for (uint32_t mode : {4u, 5u}) {
    Stand(mode, kHigh, false);
    Release(A);
    EXPECT_EQ(fan->GetActionState(), 33) << mode;
    EXPECT_EQ(fan->GetModel()->GetMotion(), 43u);
    Release(A);  // buffered, never answered
    for (int ticks = 0; fan->GetActionState() == 33 && ticks < 100; ++ticks) {
      fan->velocity.y = -0.2f;
      probe->RunOnce();
      if (fan->GetActionState() == 33) {
        EXPECT_EQ(fan->velocity.y, 0.0f) << "hangs on tick " << ticks;
      }
    }
    EXPECT_EQ(fan->GetActionState(), 34) << "its steered recovery";
    EXPECT_EQ(fan->GetQueue().GetCount(), 1u) << "the press waits, unanswered";
    fan->ClearHits();
  }
}

TEST_F(HeroineStylesTest, TheBowsQueueKeepsTwoReleasesAndALowHoldInTheAirIsSpent) {
  auto* bow = OpenStyle<TPlayerStyle11>(kHeroine, kBow);
  ASSERT_NE(bow, nullptr);
  bow->ChangeState(25);
  for (int k = 0; k < 3; ++k) Release(A);
  EXPECT_EQ(bow->GetQueue().GetCount(), 2u) << "the third release is dropped";
  // Each press shoots the repeated shot again from its start.
  for (int32_t next : {27, 27, 28}) {
    EndState();
    EXPECT_EQ(bow->GetActionState(), next);
    EXPECT_EQ(bow->GetModel()->GetMotionTime(), 0.0f);
  }

  // A hold in a jump fires once: not high, it starts nothing; high, the charged air shot.
  for (float height : {1.4f, 1.0f}) {
    Stand(4, height, false);
    HoldFires(A);
    EXPECT_EQ(bow->GetMode(), 4u) << height;
    EXPECT_EQ(bow->GetHoldCounterA(), P::kHoldSpent) << "the hold counts as fired";
    Release(A, P::kHoldSpent);
    EXPECT_EQ(bow->GetMode(), 4u) << "its release starts nothing";
  }
  Stand(4, 1.5f, false);
  HoldFires(A);
  EXPECT_EQ(bow->GetActionState(), 35);
}

TEST_F(HeroineStylesTest, TheBowsAirShotsSinkSlowlyAndAreNoAirTechnique) {
  auto* bow = OpenStyle<TPlayerStyle11>(kHeroine, kBow);
  ASSERT_NE(bow, nullptr);
  for (int32_t state : {31, 33}) {
    bow->ChangeState(state);
    Stand(P::kActionMode, kHigh, false);
    for (int t = 0; t < 5; ++t) {
      bow->velocity.y = 0.3f;
      probe->RunOnce();
      EXPECT_FLOAT_EQ(bow->velocity.y, -0.01f) << state << " tick " << t;
    }
  }
  bow->ChangeState(35);
  bow->velocity.y = -0.3f;
  probe->RunOnce();
  EXPECT_EQ(bow->velocity.y, 0.0f) << "the charged air shot hangs";

  for (int32_t state : {31, 33, 35}) EXPECT_FALSE(bow->IsAirTechnique(state)) << state;
  for (int32_t state : {59, 61, 67, 69}) EXPECT_TRUE(bow->IsAirTechnique(state)) << state;
}

}  // namespace
