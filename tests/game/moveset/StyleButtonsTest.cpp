// The buttons of weapon type 0's style, read two ticks late: a hold fires once on its 21st tick, a
// release starts the attack of the movement mode or waits in the queue during an action, the air
// hold needs height, and a technique starts only where it belongs (the ground or the air).
#include <gtest/gtest.h>

#include <string>

#include "game/data/TGameData.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using styletest::StyleFixture;
using P = TPlayerChar;

constexpr uint32_t A = P::kButtonA, B = P::kButtonB;

class StyleButtonsTest : public StyleFixture {
 protected:
  // One tick of buttons: the history moves on and the buttons are read.
  void Buttons(uint32_t word) {
    Press(word);
    player->DispatchButtons();
  }
  // A tap of the technique button during the first combo step: the kind latched, its value out.
  uint32_t TapDuringAction(uint32_t& value) {
    player->ChangeState(25);
    SetWords({0, 0, 0, B});
    player->SetHoldCounterB(1);
    player->DispatchButtons();
    return Latched(value);
  }
};

TEST_F(StyleButtonsTest, AHoldFiresOnItsTwentyFirstTickAndItsReleaseStartsNothing) {
  ASSERT_NE(Open(), nullptr);
  // Pressed on tick 1, the press is read two ticks later, as the hold's first tick.
  for (int t = 1; t <= 22; ++t) {
    Buttons(A);
    ASSERT_EQ(player->GetMode(), 0u) << "tick " << t;
  }
  Buttons(A);
  EXPECT_EQ(player->GetActionState(), 33) << "the ground hold attack on the hold's 21st tick";
  EXPECT_EQ(player->GetModel()->GetMotion(), 56u);
  EXPECT_EQ(player->GetHoldCounterA(), P::kHoldSpent);
  Buttons(A);
  Buttons(0);
  Buttons(0);
  Buttons(0);
  EXPECT_EQ(player->GetActionState(), 33);
  EXPECT_EQ(player->GetQueue().GetCount(), 0u) << "the release after a hold pushes nothing";
  EXPECT_EQ(player->GetHoldCounterA(), 0u);

  // Twenty ticks held, then released: the first combo step.
  player->SetMode(0);
  for (int t = 0; t < 20; ++t) Buttons(A);
  for (int t = 0; t < 3; ++t) Buttons(0);
  EXPECT_EQ(player->GetMode(), static_cast<uint32_t>(P::kActionMode));
  EXPECT_EQ(player->GetActionState(), 25);
  EXPECT_EQ(player->GetModel()->GetMotion(), 37u);
}

TEST_F(StyleButtonsTest, AReleaseStartsTheAttackOfItsModeAndWaitsInTheQueueDuringAnAction) {
  ASSERT_NE(Open(), nullptr);
  struct Case {
    uint32_t mode;
    float height;
    uint32_t started;
  } cases[] = {{0, 0, 25}, {1, 0, 25}, {2, 0, 25}, {3, 0, 43}, {4, 2, 35}, {5, 0.5f, 35},
               {6, 0, 25}, {16, 0, 25}, {17, 0, kNone}, {18, 0, kNone}};
  for (const Case& c : cases) {
    player->SetAirCombo(true);
    EXPECT_EQ(After(c.mode, c.height, A, false), c.started) << "mode " << c.mode;
    if (c.started == 35) {
      EXPECT_FALSE(player->HasAirCombo()) << "the air attack starts without the flag";
    }
  }
  // Not free: a knocked-down character starts nothing.
  player->mainState = 10;
  EXPECT_EQ(After(0, 0, A, false), kNone);
  player->mainState = 1;

  // During an action the release is buffered, nine at most.
  player->ChangeState(25);
  for (int k = 0; k < 12; ++k) {
    SetWords({0, 0, 0, A});
    player->SetHoldCounterA(1);
    player->DispatchButtons();
  }
  EXPECT_EQ(player->GetActionState(), 25);
  EXPECT_EQ(player->GetQueue().GetCount(), 9u);
}

TEST_F(StyleButtonsTest, TheHoldStartsTheAttackOfItsModeAndInTheAirOnlyAboveOnePointFour) {
  ASSERT_NE(Open(), nullptr);
  struct Case {
    uint32_t mode;
    float height;
    uint32_t started;
  } cases[] = {{0, 0, 33}, {2, 0, 33}, {3, 0, 45}, {4, 1.41f, 41}, {5, 3, 41}, {5, 1.4f, kNone}, {6, 0, kNone}};
  for (const Case& c : cases) {
    EXPECT_EQ(After(c.mode, c.height, A, true), c.started) << "mode " << c.mode << " at " << c.height;
    EXPECT_EQ(player->GetHoldCounterA(), P::kHoldSpent) << "spent, started or not";
  }
  // During an action the hold is latched.
  player->ChangeState(27);
  player->SetHoldCounterA(20);
  SetWords({0, 0, A, A});
  player->DispatchButtons();
  uint32_t value = 7;
  EXPECT_EQ(Latched(value), P::kHoldCommand);
  EXPECT_EQ(player->GetActionState(), 27);
}

TEST_F(StyleButtonsTest, TapsInTheAirAndHoldsAboveTheMovingModesStartOnlyAerialTechniques) {
  ASSERT_NE(Open(), nullptr);
  struct Case {
    uint32_t skill;
    bool hold;
    uint32_t mode;
    uint32_t started;
  } cases[] = {
      // 2000 on the ground, 2004 plunges from the air.
      {2000, false, 0, 47}, {2000, false, 3, 47},  {2000, false, 6, 47},    {2000, false, 4, kNone},
      {2000, false, 5, kNone}, {2004, false, 0, kNone}, {2004, false, 6, kNone}, {2004, false, 4, 65},
      {2004, false, 5, 65},  {2000, true, 0, 49},    {2000, true, 3, 49},     {2000, true, 6, kNone},
      {2000, true, 4, kNone}, {2004, true, 2, kNone},  {2004, true, 4, 67},     {2004, true, 6, 67},
      // A common skill, and nothing on the ring.
      {1, false, 0, 5},      {1, true, 1, 7},        {0, false, 0, kNone},    {0, true, 0, kNone},
  };
  for (const Case& c : cases) {
    SetRingSkill(c.skill);
    const float height = c.mode == 4 || c.mode == 5 ? 2.0f : 0.0f;
    EXPECT_EQ(After(c.mode, height, B, c.hold), c.started)
        << "skill " << c.skill << (c.hold ? " held" : " tapped") << " in mode " << c.mode;
  }
  // During an action the technique is latched with its state.
  SetRingSkill(2001);
  uint32_t value = 0;
  EXPECT_EQ(TapDuringAction(value), P::kStateCommand);
  EXPECT_EQ(value, 51u);
}

TEST_F(StyleButtonsTest, ASkillOfAnotherWeaponStartsNothingAndLatchesNoState) {
  ASSERT_NE(Open(), nullptr);
  // The flame shot is a technique of weapon type 4: no state of this style.
  EXPECT_EQ(player->StateForTechnique(3400, false), -1);
  SetRingSkill(3400);
  for (bool hold : {false, true}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(After(0, 0, B, hold), kNone);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "never asked for state -1";
  }
  uint32_t value = 9;
  EXPECT_EQ(TapDuringAction(value), P::kStateCommand);
  EXPECT_EQ(value, 0u) << "a command of no state";

  // The passive kinds and the escape are not started by the button at all.
  for (uint32_t skill : {1145u, 5u}) {
    SetRingSkill(skill);
    EXPECT_EQ(After(0, 0, B, false), kNone) << skill;
  }
  // Skill routines (kind 1) run in states 1 and 3.
  EXPECT_EQ(player->StateForTechnique(103, false), 1);
  EXPECT_EQ(player->StateForTechnique(103, true), 3);
  EXPECT_EQ(player->StateForTechnique(0, true), 0);
}

}  // namespace
