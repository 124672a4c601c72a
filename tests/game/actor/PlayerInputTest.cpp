// The pad as the player character reads it: button edges two ticks late, hold counters, the
// command latch and the attack queue, the double tap, jumping, falling, turning and the keys the
// field asks about.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/shell/TInput.h"
#include "tests/game/actor/PlayerFixture.h"

namespace {

using playertest::Log;
using playertest::PlayerFixture;
using playertest::TestStyle;
using P = TPlayerChar;

constexpr uint32_t A = P::kButtonA, B = P::kButtonB, C = P::kButtonC;
constexpr uint32_t UP = P::kUp, DOWN = P::kDown, LEFT = P::kLeft, RIGHT = P::kRight;
constexpr float kTen = 10.0f * std::numbers::pi_v<float> / 180.0f;

class PlayerInputTest : public PlayerFixture {
 protected:
  // One tick of buttons: the history moves on and the buttons are read.
  void Tick(TestStyle& p, uint32_t word) {
    Press(word);
    p.DispatchButtons();
  }
  Log Taken() {
    Log taken = playerLog;
    playerLog.clear();
    return taken;
  }
};

TEST_F(PlayerInputTest, ButtonsAreReadFromTheWordsTwoAndThreeTicksBack) {
  TestStyle& p = Open();
  struct Case {
    std::array<uint32_t, 4> words;
    Log calls;
  };
  const Case cases[] = {
      {{A, A, 0, 0}, {}},                       // too new to be read
      {{0, 0, A, 0}, {"press A"}},              //
      {{0, 0, A, A}, {"hold A"}},               //
      {{0, 0, 0, A}, {"release A"}},            //
      {{0, 0, B, 0}, {"press B"}},              //
      {{0, 0, B, B}, {"hold B"}},               //
      {{B, 0, 0, B}, {"release B"}},            //
      {{0, 0, A | B, A | B}, {"hold A", "hold B", "release AB"}},
      {{A, A, A, A | B}, {"hold A", "release B"}},
  };
  for (const Case& c : cases) {
    SetWords(c.words);
    p.DispatchButtons();
    EXPECT_EQ(Taken(), c.calls) << c.words[0] << " " << c.words[1] << " " << c.words[2] << " " << c.words[3];
  }
}

TEST_F(PlayerInputTest, AHeldButtonCountsFromItsPressAndAResetCounterStays) {
  TestStyle& p = Open();
  for (int i = 0; i < 3; ++i) Tick(p, A);  // the press reaches word 2
  EXPECT_EQ(p.GetHoldCounterA(), 1u);
  for (int i = 0; i < 20; ++i) Tick(p, A);
  EXPECT_EQ(p.GetHoldCounterA(), 21u);

  p.SetHoldCounterA(0);  // a style used the hold up
  for (int i = 0; i < 5; ++i) Tick(p, A);
  EXPECT_EQ(p.GetHoldCounterA(), 0u);
  p.SetHoldCounterA(P::kHoldSpent);
  Tick(p, A);
  EXPECT_EQ(p.GetHoldCounterA(), P::kHoldSpent);

  for (int i = 0; i < 3; ++i) Tick(p, B);
  for (int i = 0; i < 4; ++i) Tick(p, B);
  EXPECT_EQ(p.GetHoldCounterB(), 5u);
}

TEST_F(PlayerInputTest, TheHoldBlockStopsHoldingAndRefusesTheRelease) {
  TestStyle& p = Open();
  p.GetHoldBlock().Set(100);
  SetWords({0, 0, A, A});
  p.DispatchButtons();
  SetWords({0, 0, 0, A});
  p.DispatchButtons();
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(p.se, (std::vector<int32_t>{608}));
}

TEST_F(PlayerInputTest, ReleasingBothButtonsTogetherIsOneReleaseOfBoth) {
  TestStyle& p = Open();
  for (int i = 0; i < 6; ++i) Tick(p, A | B);
  Taken();
  for (int i = 0; i < 6; ++i) Tick(p, 0);
  EXPECT_EQ(Taken(), (Log{"hold A", "hold B", "release AB"}));
  EXPECT_EQ(app->GetInput()->GetButtons(1) & (A | B), 0u) << "both are gone from the newer words";
}

TEST_F(PlayerInputTest, TheQueueHoldsNinePressesFirstInFirstOut) {
  TestStyle& p = Open();
  for (uint32_t v = 1; v <= 10; ++v) p.PushHit(v);
  EXPECT_EQ(p.GetQueue().GetCount(), 9u);
  for (uint32_t v = 1; v <= 9; ++v) EXPECT_EQ(p.PopHit(), v);
  EXPECT_EQ(p.PopHit(), 0u);
  p.PushHit(1);
  p.ClearHits();
  EXPECT_EQ(p.PopHit(), 0u);
  for (uint32_t v : p.GetQueue().GetEntries()) EXPECT_EQ(v, 0u);
}

TEST_F(PlayerInputTest, TheLatchKeepsTheLastCommandUntilItIsTaken) {
  TestStyle& p = Open();
  p.PostCommand(1, 0);
  p.PostCommand(2, 37);
  uint32_t argument = 0;
  EXPECT_EQ(p.TakeCommand(argument), 2u);
  EXPECT_EQ(argument, 37u);
  EXPECT_EQ(p.TakeCommand(argument), 0u);
  EXPECT_EQ(argument, 0u);
}

TEST_F(PlayerInputTest, ASkillCommandChoosesTheNextStepWhileASkillRuns) {
  TestStyle& p = Open();
  p.SetSkillCommand(99, false);
  p.SetSkillCommand(160, true);
  EXPECT_TRUE(p.thunks.empty()) << "only commands 100-159";
  p.SetSkillCommand(100, true);
  EXPECT_EQ(p.GetSkillStep(), FindSkillRow(100, true));
  p.ChangeState(3);
  p.SetSkillCommand(159, false);
  EXPECT_EQ(p.GetSkillStep(), FindSkillRow(100, true));
  EXPECT_EQ(p.GetNextSkillStep(), FindSkillRow(159, false));
  EXPECT_EQ(p.thunks, (std::vector<uint32_t>{1001, 1590}));
}

TEST_F(PlayerInputTest, ASkillNeedsMorePointsThanItCostsAndNoBlock) {
  TestStyle& p = Open();
  p.sp = 20;
  EXPECT_FALSE(p.PaySkillCost(20));
  EXPECT_EQ(p.GetSp(), 20);
  EXPECT_EQ(p.se, (std::vector<int32_t>{608}));
  EXPECT_TRUE(p.PaySkillCost(19));
  EXPECT_EQ(p.GetSp(), 1);
  p.sp = 50;
  p.GetSkillBlock().Set(10);
  EXPECT_FALSE(p.PaySkillCost(1));
  EXPECT_EQ(p.se.size(), 2u);
}

TEST_F(PlayerInputTest, ADoubleTapNeedsTheSecondPressWithinNineTicksOfTheRelease) {
  TestStyle& p = Open();
  // A first press, and the second `gap` ticks after the first one's release.
  auto tap = [&](int gap) {
    p.ClearCommand();
    for (int i = 0; i < 40; ++i) {
      Press(0);
      p.CheckDoubleTap();
    }
    Press(LEFT);
    p.CheckDoubleTap();
    for (int i = 0; i < gap; ++i) {
      Press(0);
      p.CheckDoubleTap();
    }
    Press(LEFT);
    p.CheckDoubleTap();
    return p.HasDoubleTap();
  };
  EXPECT_TRUE(tap(1));
  EXPECT_EQ(p.GetDoubleTappedDirection(), LEFT);
  EXPECT_TRUE(tap(9));
  EXPECT_FALSE(tap(10));
  EXPECT_EQ(p.GetDoubleTapCounter(), 10u) << "the late press is a first press";

  // A first press held for nine ticks after it is held too long.
  p.ClearCommand();
  for (int i = 0; i < 40; ++i) {
    Press(0);
    p.CheckDoubleTap();
  }
  for (int i = 0; i < 10; ++i) {
    Press(RIGHT);
    p.CheckDoubleTap();
  }
  EXPECT_EQ(p.GetDoubleTapCounter(), 0u);
}

TEST_F(PlayerInputTest, TheFirstTapKeepsTheBodysTurnWithoutItsPlace) {
  TestStyle& p = Open();
  p.GetFrame()->SetPositionXYZ(4, 5, 6);
  Press(0);
  Press(UP);
  p.CheckDoubleTap();
  const plat::D3DXMATRIX& saved = p.GetSavedOrientation();
  EXPECT_EQ(saved._41 + saved._42 + saved._43, 0.0f);
  EXPECT_EQ(saved._11, p.GetFrame()->GetMatrix()->_11);
}

TEST_F(PlayerInputTest, JumpingAndFallingStartFromTheMovementModes) {
  TestStyle& p = Open();
  Press(0);
  Press(C);
  p.CheckJump();
  EXPECT_EQ(p.GetMode(), 4u);
  EXPECT_FLOAT_EQ(p.GetVelocity().y, 0.18f);
  EXPECT_FLOAT_EQ(p.GetGravity(), -0.007f);

  p.SetMode(2);
  Press(C);  // held, not pressed
  p.CheckJump();
  EXPECT_EQ(p.GetMode(), 2u);

  p.velocity.y = 10.0f * p.defaultGravity;
  p.CheckFall();
  EXPECT_EQ(p.GetMode(), 2u) << "exactly ten ticks of gravity is not a fall";
  p.velocity.y = 11.0f * p.defaultGravity;
  p.CheckFall();
  EXPECT_EQ(p.GetMode(), 5u);
  p.SetMode(17);
  p.velocity.y = -1.0f;
  p.CheckFall();
  EXPECT_EQ(p.GetMode(), 17u);
}

TEST_F(PlayerInputTest, TheLandingAttackNeedsTheGround) {
  TestStyle& p = Open();
  p.SetMode(2);
  p.SetMode(5);
  p.landed = 0;
  EXPECT_FALSE(p.FireFixedAttack());
  p.landed = 1;
  Press(UP);
  EXPECT_TRUE(p.FireFixedAttack());
  EXPECT_EQ(p.GetMode(), 2u) << "back to walking";
  EXPECT_EQ(p.attacks, (std::vector<uint16_t>{1000}));
  EXPECT_EQ(p.se.back(), 1000);
  Press(0);
  EXPECT_TRUE(p.FireFixedAttack());
  EXPECT_EQ(p.GetMode(), 6u);
}

class TurnTest : public PlayerInputTest {
 protected:
  // The body at the origin unturned; the view at the point, unturned.
  float Step(TestStyle& p, uint32_t direction, plat::D3DXVECTOR3 view) {
    plat::D3DXMATRIX identity;
    plat::D3DXMatrixIdentity(&identity);
    p.GetFrame()->SetMatrix(identity);
    p.GetReferenceFrame()->SetMatrix(identity);
    p.GetReferenceFrame()->SetPosition(view);
    Press(direction);
    return p.GetTurnStep();
  }
};

TEST_F(TurnTest, TheTurnFollowsThePadSeenFromTheViewAndReversalMirrorsIt) {
  TestStyle& p = Open();
  ASSERT_NE(p.GetReferenceFrame(), nullptr);
  struct Case {
    uint32_t direction;
    plat::D3DXVECTOR3 view;
    float tens;  // the step in tens of degrees
  };
  const plat::D3DXVECTOR3 side(2, 0, 0), behind(0, 0, 3);
  const Case cases[] = {
      {UP, side, 1},           {DOWN, side, -1},          {UP | LEFT, side, 1},    {DOWN | LEFT, side, -1},
      {UP | RIGHT, side, 1},   {DOWN | RIGHT, side, -1},  {LEFT, behind, -1},      {RIGHT, behind, 1},
      {UP | LEFT, behind, -1}, {DOWN | LEFT, behind, -1}, {UP | RIGHT, behind, 1}, {DOWN | RIGHT, behind, 1},
      {UP, {0.6f, 0, 0.8f}, 0.6f},
  };
  for (bool reversed : {false, true}) {
    p.GetReversal().Set(reversed ? 100 : 0);
    for (const Case& c : cases)
      EXPECT_NEAR(Step(p, c.direction, c.view), (reversed ? -c.tens : c.tens) * kTen, 1e-5)
          << c.direction << (reversed ? " reversed" : "");
  }
}

TEST_F(TurnTest, APadStraightBehindTheBodyTurnsItSixtyDegrees) {
  TestStyle& p = Open();
  // The view unturned behind the body: up points along the view's back, straight behind the body.
  EXPECT_NEAR(Step(p, UP, {0, 0, 3}), -std::numbers::pi_v<float> / 3, 1e-5);
  EXPECT_NEAR(Step(p, DOWN, {0, 0, 3}), 0.0f, 1e-5) << "down points where the body faces already";
  EXPECT_EQ(Step(p, 0, {2, 0, 0}), 0.0f);
}

TEST_F(TurnTest, MovingByThePadStepsAtTheLastMovementModesSpeed) {
  TestStyle& p = Open();
  const float steps[] = {0.01f, 0.02f, 0.05f, 0.08f};
  for (int32_t m = 0; m < 4; ++m) {
    p.SetMode(m);
    p.SetMode(4);
    Step(p, UP, {0, 0, 3});
    p.MoveByPad(false);
    EXPECT_NEAR(p.GetPosition().z, -steps[m], 1e-6) << m;
  }
  Step(p, 0, {0, 0, 3});
  p.MoveByPad(true);
  EXPECT_EQ(p.GetPosition().z, 0.0f);
}

TEST_F(PlayerInputTest, TheFieldsKeysNeedAFreeCharacter) {
  TestStyle& p = Open();
  SetWords({P::kMenuButton | A, 0, 0, 0});
  EXPECT_TRUE(p.IsMenuKeyTriggered());
  EXPECT_TRUE(p.IsExamineKeyTriggered());
  SetWords({P::kMenuButton | A, P::kMenuButton | A, 0, 0});
  EXPECT_FALSE(p.IsMenuKeyTriggered()) << "held, not pressed";
  EXPECT_FALSE(p.IsExamineKeyTriggered());

  SetWords({P::kMenuButton | A, 0, 0, 0});
  p.SetMode(5);
  EXPECT_TRUE(p.IsMenuKeyTriggered());
  EXPECT_FALSE(p.IsExamineKeyTriggered()) << "not in the air";
  p.SetMode(19);
  EXPECT_FALSE(p.IsMenuKeyTriggered());
  p.SetMode(0);
  p.hp = -1;
  EXPECT_FALSE(p.IsMenuKeyTriggered());
  EXPECT_FALSE(p.IsExamineKeyTriggered());
  p.hp = 10;
  p.mainState = 10;
  EXPECT_FALSE(p.IsExamineKeyTriggered());
  EXPECT_FALSE(p.IsFreeForAction());
}

// A newly pressed A examines in every mode but the jump, the fall and the landing (4-6), the two
// busy modes (17, 18) and an action (19).
TEST_F(PlayerInputTest, TheExamineKeyWaitsOutTheAirTheLandingAndTheBusyModes) {
  TestStyle& p = Open();
  struct Case {
    int32_t mode;
    bool examines;
  };
  const Case cases[] = {
      {0, true},   {3, true},   {4, false},  {5, false},  {6, false},  {7, true},   {8, true},
      {12, true},  {16, true},  {17, false}, {18, false}, {19, false},
  };
  for (const Case& c : cases) {
    p.SetMode(c.mode);
    SetWords({A, 0, 0, 0});
    EXPECT_EQ(p.IsExamineKeyTriggered(), c.examines) << "mode " << c.mode;
  }
}

TEST_F(PlayerInputTest, TheItemRingUsesAnItemOnlyWithTheRingPointsItCosts) {
  TestStyle& p = Open();
  SetWords({P::kRingButton, 0, 0, 0});
  EXPECT_TRUE(p.IsRingKeyHeld());
  TCharBlock& block = TGameData::Instance()->GetCharBlock(0);
  block.ringGaugeUsed = 900;  // 100 free; the fruit costs 200
  TestStyle& q = Open();
  q.UseRingCommand(3);
  EXPECT_EQ(q.se, (std::vector<int32_t>{608}));
  EXPECT_EQ(q.GetRingItem(), 0u);
  q.UseRingCommand(1);  // the herb costs 100
  EXPECT_EQ(q.GetRingItem(), 1u);
  EXPECT_EQ(q.GetMode(), 18u);
  EXPECT_FALSE(q.IsRingKeyHeld()) << "busy using it";
}

TEST_F(PlayerInputTest, TheTickHidesTheButtonsFromTheCharacterWhileTheRingHasThePad) {
  TestStyle& p = Open();
  hud->ringHasPad = true;
  SetWords({C, 0, A, 0});
  p.Update();
  EXPECT_EQ(p.GetMode(), 0u) << "no jump";
  EXPECT_EQ(p.GetHoldCounterA(), 1u) << "the older words are still read";
  EXPECT_EQ(app->GetInput()->GetButtons(0), C) << "put back at the end of the tick";
}

}  // namespace
