// The player character's movement modes on the sample hero's motions (their lengths are the data
// kit's): the changes between the modes, the slides of the hit reactions and their escape, lying
// and dying, the level-up's shock, using an item, and the five reactions to an enemy's hit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/TMesh8.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"
#include "tests/game/actor/PlayerFixture.h"

namespace {

using playertest::PlayerFixture;
using playertest::TestStyle;
using P = TPlayerChar;

constexpr uint32_t UP = P::kUp, B = P::kButtonB;

class PlayerModesTest : public PlayerFixture {
 protected:
  // One tick of the current mode's handler alone, with the pad word.
  void Run(TestStyle& p, uint32_t word = 0) {
    Press(word);
    p.RunMode();
  }
  // The body unturned at the origin, so that its own z is the world's.
  static void Square(TestStyle& p) {
    plat::D3DXMATRIX identity;
    p.GetFrame()->SetMatrix(*plat::D3DXMatrixIdentity(&identity));
  }
  static float BodyZ(const TestStyle& p) { return p.GetFrame()->GetMatrix()->_43; }
  size_t Notes(const std::string& what) const {
    return static_cast<size_t>(std::count(playerLog.begin(), playerLog.end(), what));
  }
};

// A mode, the pad held, and the tick on which the mode is left (or, for a mode that keeps
// looping, how long it is watched). Lengths: stand 16, walk start 8, walk 16, run 12, jump 20,
// landing 8, blown landing 10, stunned 20, level-up 30 at half speed, using an item 30.
struct ModeCase {
  int32_t from;
  uint32_t word;
  int ticks;
  int32_t to;
};

TEST_F(PlayerModesTest, EachModeEndsAsItsMotionDoesOrLoopsItsMotion) {
  const ModeCase cases[] = {
      {0, 0, 40, 0},    {0, UP, 1, 1},   {1, UP, 8, 2},    {1, 0, 1, 0},     {2, UP, 40, 2},
      {2, 0, 1, 0},     {3, UP, 40, 3},  {3, 0, 1, 0},     {4, 0, 20, 5},    {4, UP, 20, 5},
      {6, 0, 8, 0},     {6, UP, 8, 0},   {15, 0, 10, 11},  {17, 0, 59, 0},   {18, 0, 30, 0},
  };
  TestStyle& p = Open();
  for (const ModeCase& c : cases) {
    const std::string what = "mode " + std::to_string(c.from) + " word " + std::to_string(c.word);
    p.mainState = 1;
    p.SetMode(c.from);
    for (int t = 1; t < c.ticks; ++t) {
      Run(p, c.word);
      ASSERT_EQ(p.GetMode(), static_cast<uint32_t>(c.from)) << what << " left early, on tick " << t;
    }
    Run(p, c.word);
    EXPECT_EQ(p.GetMode(), static_cast<uint32_t>(c.to)) << what;
  }
}

TEST_F(PlayerModesTest, StandingLoopsItsMotionAndADoubleTapWinsOverTheDirection) {
  TestStyle& p = Open();
  p.SetMode(0);
  for (int t = 0; t < 15; ++t) Run(p);
  EXPECT_FLOAT_EQ(p.GetModel()->GetMotionTime(), 15.0f);
  Run(p);
  EXPECT_FLOAT_EQ(p.GetModel()->GetMotionTime(), 0.0f) << "the 16-frame motion wrapped";

  // The first tap held, let go, and pressed again: the character runs.
  Press(UP);
  p.CheckDoubleTap();
  Press(0);
  p.CheckDoubleTap();
  Press(UP);
  p.CheckDoubleTap();
  ASSERT_TRUE(p.HasDoubleTap());
  p.RunMode();
  EXPECT_EQ(p.GetMode(), 3u);
  EXPECT_FALSE(p.HasDoubleTap()) << "used up";
  EXPECT_EQ(p.GetLastMovementMode(), 3u);
}

TEST_F(PlayerModesTest, StartingToWalkTurnsUntilTheMotionsLastTickAndLandingReturnsToTheLastMovementMode) {
  TestStyle& p = Open();
  p.SetMode(1);
  for (int t = 0; t < 7; ++t) Run(p, UP);
  const plat::D3DXMATRIX before = *p.GetFrame()->GetMatrix();
  Run(p, UP);
  EXPECT_EQ(p.GetMode(), 2u);
  EXPECT_EQ(before._11, p.GetFrame()->GetMatrix()->_11) << "no turn on the tick the motion ends";
  EXPECT_EQ(before._13, p.GetFrame()->GetMatrix()->_13);

  p.SetMode(5);
  p.landed = 0;
  Run(p, UP);
  EXPECT_EQ(p.GetMode(), 5u) << "still in the air";
  p.landed = 1;
  Run(p, UP);
  EXPECT_EQ(p.GetMode(), 2u) << "back to walking, not to starting to walk";
  p.SetMode(5);
  Run(p);
  EXPECT_EQ(p.GetMode(), 6u);
  EXPECT_EQ(p.attacks, (std::vector<uint16_t>{1000, 1000})) << "the landing attack each time";
}

TEST_F(PlayerModesTest, ASlideSlowsToNothingAtTheMotionsLastFrame) {
  TestStyle& p = Open();
  Square(p);
  // Flinching backward at half the rate: 22 ticks slide by (11 - t) / 10 x 0.5 with t stepping 0.5.
  p.SetMode(7);
  p.airHitScale = 10.0f;
  p.motionRate = 0.5f;
  p.mainState = 10;
  for (int t = 0; t < 22; ++t) Run(p);
  EXPECT_NEAR(BodyZ(p), 126.5f / 10.0f * 0.5f, 1e-4f);
  Run(p);
  EXPECT_NEAR(BodyZ(p), 6.325f, 1e-4f) << "no slide from the last frame";
  EXPECT_EQ(p.GetMode(), 0u) << "the reset stands it up";
  EXPECT_EQ(p.GetMainState(), 1);
  EXPECT_FLOAT_EQ(p.GetMotionRate(), 1.0f);

  // Knocked down forward: the motion runs at 1.0 whatever the rate; the rate still scales the slide.
  Square(p);
  p.SetMode(10);
  p.airHitScale = 4.0f;
  p.motionRate = 2.0f;
  for (int t = 0; t < 12; ++t) Run(p);
  EXPECT_NEAR(BodyZ(p), -66.0f / 4.0f * 2.0f, 1e-4f);
  EXPECT_EQ(p.GetMode(), 12u);
  EXPECT_FLOAT_EQ(p.GetMotionRate(), 1.0f);
}

TEST_F(PlayerModesTest, ADivisorOfZeroNeitherSlidesNorDrifts) {
  TestStyle& p = Open();
  for (int32_t mode : {7, 8, 9, 10, 13, 14}) {
    Square(p);
    p.SetMode(mode);
    p.airHitScale = 0.0f;
    p.velocity.y = 1.0f;
    p.landed = 0;
    for (int t = 0; t < 5; ++t) Run(p);
    EXPECT_EQ(BodyZ(p), 0.0f) << "mode " << mode;
    EXPECT_EQ(p.GetFrame()->GetMatrix()->_41, 0.0f) << "mode " << mode;
  }
  // A throw drifts backward 0.8 over the divisor a tick, and falls once it no longer rises.
  Square(p);
  p.SetMode(13);
  p.airHitScale = 4.0f;
  p.velocity.y = 0.1f;
  Run(p);
  EXPECT_NEAR(BodyZ(p), 0.2f, 1e-6f);
  EXPECT_EQ(p.GetMode(), 13u);
  p.velocity.y = 0.0f;
  Run(p);
  EXPECT_EQ(p.GetMode(), 14u);
  p.landed = 1;
  Run(p);
  EXPECT_EQ(p.GetMode(), 15u);
  EXPECT_NEAR(BodyZ(p), 0.6f, 1e-6f);
}

// The slide escape: skill 5 on the ring's selected slot, at least 20 points, motion time below 2
// and the cancel button held.
struct EscapeCase {
  const char* what;
  int ticksBefore;
  int32_t points;
  int32_t hp;
  uint32_t skill;
  uint32_t word;
  bool escapes;
};

TEST_F(PlayerModesTest, TheEscapeNeedsSkill5TwentyPointsTheFirstTwoFramesAndTheButton) {
  const EscapeCase cases[] = {
      {"at once", 0, 20, 50, 5, B, true},          {"at frame 1", 1, 25, 50, 5, B, true},
      {"at frame 2", 2, 25, 50, 5, B, false},      {"19 points", 0, 19, 50, 5, B, false},
      {"another skill", 0, 25, 50, 4, B, false},   {"no button", 0, 25, 50, 5, UP, false},
      {"no hit points", 0, 25, 0, 5, B, false},
  };
  TestStyle& p = Open();
  hud->cursor = 2;
  for (const EscapeCase& c : cases) {
    TGameData::Instance()->SetSkillSlot(0, 2, c.skill);
    for (int32_t mode : {7, 10}) {
      p.SetMode(mode);
      p.mainState = 1000;
      p.airHitScale = 10.0f;
      for (int t = 0; t < c.ticksBefore; ++t) Run(p);
      p.sp = c.points;
      p.hp = c.hp;
      Run(p, c.word);
      EXPECT_EQ(p.GetMode() == P::kActionMode, c.escapes) << c.what << " in mode " << mode;
      if (!c.escapes) continue;
      EXPECT_EQ(p.GetActionState(), 21) << c.what;
      EXPECT_EQ(p.GetSp(), c.points - 20) << c.what;
      EXPECT_EQ(p.GetMainState(), 1) << c.what << ": reset";
    }
  }
}

TEST_F(PlayerModesTest, ADeadCharacterLiesCountingDownAndSpeaksOnce) {
  TestStyle& p = Open();
  p.hp = 0;
  p.SetMode(11);
  Run(p);
  EXPECT_EQ(p.GetHp(), -1);
  EXPECT_EQ(Notes("down voice"), 1u);
  EXPECT_EQ(p.GetBlinkTimer(), P::kBlinkUntilStopped);
  for (int t = 0; t < 40; ++t) Run(p);
  EXPECT_EQ(p.GetHp(), -41);
  EXPECT_EQ(p.GetMode(), 11u) << "never gets up";
  EXPECT_EQ(Notes("down voice"), 1u);

  // Alive, the character gets up when the motion ends, blinking for 60 ticks.
  p.hp = 10;
  p.SetMode(12);
  for (int t = 0; t < 29; ++t) Run(p);
  EXPECT_EQ(p.GetMode(), 12u);
  Run(p);
  EXPECT_EQ(p.GetMode(), 0u);
  EXPECT_EQ(p.GetBlinkTimer(), 60);
}

TEST_F(PlayerModesTest, AStunLastsItsPlaysOfTheMotionOrItsTicks) {
  TestStyle& p = Open();
  p.SetMode(16);
  p.mainState = 100;
  p.reactionCount = 2;
  p.countFrames = 0;
  for (int t = 0; t < 39; ++t) Run(p);
  EXPECT_EQ(p.GetMode(), 16u);
  Run(p);
  EXPECT_EQ(p.GetMode(), 0u) << "two plays of the 20-frame motion";
  EXPECT_EQ(p.GetMainState(), 1);

  p.SetMode(16);
  p.reactionCount = 3;
  p.countFrames = 1;
  Run(p);
  Run(p);
  EXPECT_EQ(p.GetMode(), 16u);
  EXPECT_FLOAT_EQ(p.GetModel()->GetMotionTime(), 0.0f) << "the motion stands still";
  Run(p);
  EXPECT_EQ(p.GetMode(), 0u);
}

TEST_F(PlayerModesTest, TheLevelUpShocksOnceInItsWindowAndEndsBlinking) {
  TestStyle& p = Open();
  p.SetMode(17);
  const size_t before = p.GetHits().size();
  std::vector<int> shocks;
  for (int t = 1; t <= 59; ++t) {
    const size_t n = p.GetHits().size();
    Run(p);
    if (p.GetHits().size() > n) shocks.push_back(t);
  }
  EXPECT_EQ(shocks, (std::vector<int>{12})) << "motion time 5.5, read before the step";
  EXPECT_EQ(p.GetHits().size(), before + 1);
  EXPECT_EQ(p.GetMode(), 0u);
  EXPECT_EQ(p.GetBlinkTimer(), 90);
}

TEST_F(PlayerModesTest, AnItemIsUsedOncePastItsMomentAndTheModeEndsWithItsMotion) {
  TestStyle& p = Open();
  TGameData& data = *TGameData::Instance();
  data.AddItem(1, 3);
  const uint8_t herbs = data.FindItem(1)->count;
  p.hp = 10;
  p.UseRingCommand(1);  // the herb: 50 hit points for 100 ring points
  ASSERT_EQ(p.GetMode(), 18u);
  const int32_t used = p.GetRingPointsUsed();
  for (int t = 0; t < 5; ++t) Run(p);
  EXPECT_EQ(p.GetRingItem(), 1u) << "motion time 4 is not yet past 4.5";
  Run(p);
  EXPECT_EQ(p.GetRingItem(), 0u);
  EXPECT_EQ(data.FindItem(1)->count, herbs - 1);
  EXPECT_EQ(p.GetHp(), 60);
  EXPECT_EQ(p.GetRingPointsUsed(), used + 100);
  EXPECT_EQ(p.attacks, (std::vector<uint16_t>{2000}));
  EXPECT_EQ(std::count(p.se.begin(), p.se.end(), 503), 1);
  EXPECT_EQ(std::count(fieldLog.begin(), fieldLog.end(), "ring refresh"), 1);
  for (int t = 6; t < 29; ++t) Run(p);
  EXPECT_EQ(p.GetMode(), 18u);
  Run(p);
  EXPECT_EQ(p.GetMode(), 0u);
  EXPECT_EQ(p.attacks.size(), 1u) << "applied once";

  // Nothing latched: nothing is applied, and the mode still ends with its motion.
  p.SetMode(18);
  for (int t = 0; t < 30; ++t) Run(p);
  EXPECT_EQ(p.GetMode(), 0u);
  EXPECT_EQ(p.attacks.size(), 1u);
  EXPECT_EQ(data.FindItem(1)->count, herbs - 1);
}

TEST_F(PlayerModesTest, AnItemsCuresBoostsAndRingPointsEachHaveTheirAttack) {
  TItemMeanRecord& tonic = *TItemMeanTable::GetRecord(77);
  tonic.mpRestored = 5;
  tonic.boosts = {0, 3, 0, 1};
  tonic.cures = {1, 1, 1, 1, 1, 1};
  tonic.ringCost = 5000;
  tonic.duration = 100;
  TestStyle& p = Open();
  TGameData::Instance()->AddItem(77, 1);
  p.GetPoison().Set(100);
  p.GetDrain().Set(100);
  p.GetReversal().Set(100);
  p.GetHoldBlock().Set(100);
  p.GetSlow().Set(100);
  p.GetSkillBlock().Set(100);
  p.SetRingItem(77);
  p.SetMode(18);
  for (int t = 0; t < 30; ++t) Run(p);
  EXPECT_EQ(p.attacks, (std::vector<uint16_t>{2001, 2003, 2005, 2006, 2006, 2006, 2006, 2006, 2006}));
  for (int32_t k = 0; k < P::kAilmentCount; ++k) EXPECT_EQ(p.GetAilmentFrames(k), 0) << "ailment " << k;
  EXPECT_EQ(p.GetRingPointsUsed(), p.GetRingPointsMax()) << "capped";
  EXPECT_TRUE(p.HasTimedModifier()) << "the boosts last";
  EXPECT_EQ(TGameData::Instance()->FindItem(77), nullptr);
}

// --- hit reactions ---------------------------------------------------------------------------------

struct ReactionCase {
  const char* what;
  int32_t kind;
  int32_t mainState;  // before the hit; -5 is above every strength when compared unsigned
  int32_t strength;
  int32_t knockFlags;
  bool front;
  int32_t mode;  // after the hit (the character starts in mode 0)
  int32_t mainAfter;
};

class PlayerReactionTest : public PlayerModesTest {
 protected:
  void Hit(TestStyle& p, int32_t kind, int32_t strength, int32_t knockFlags, bool front, int32_t damage,
           bool longStun = false) {
    switch (kind) {
      case 1: return p.OnHitKind1(0, 0, knockFlags, strength, front, 0.5f, 30.0f, damage);
      case 2: return p.OnHitKind2(0, 0, knockFlags, strength, front, 0.5f, 30.0f, damage);
      case 4: return p.OnHitKind4(0, 0, knockFlags, strength, front, 0.5f, 30.0f, 0.09f, damage);
      case 8: return p.OnHitKind8(0, 0, knockFlags, strength, longStun, front, 0.5f, 30.0f, damage);
      default: return p.OnHitKind16(0, 0, knockFlags, strength, front, 0.5f, 30.0f, damage);
    }
  }
};

TEST_F(PlayerReactionTest, AHitBreaksInOnlyWhenTheStateAllowsItComparedUnsigned) {
  const ReactionCase cases[] = {
      {"a blow flinches backward", 1, 1, 10, 0, true, 7, 10},
      {"from behind forward", 2, 1, 10, 0, false, 8, 10},
      {"a knock-down blow", 1, 1, 1000, 64, true, 9, 1000},
      {"32 knocks down too", 2, 1, 1000, 32, false, 10, 1000},
      {"a flinch again", 1, 10, 10, 0, true, 7, 10},
      {"a stun broken by a blow", 2, 100, 10, 0, true, 7, 10},
      {"lying, a weaker blow only hurts", 1, 1000, 10, 0, true, 0, 1000},
      {"lying, as strong only hurts", 1, 1000, 1000, 64, true, 0, 1000},
      {"lying, a stronger blow", 1, 1000, 100000, 0, false, 8, 10},
      {"-5 is no state below 10", 1, -5, 1000000, 64, true, 0, -5},
      {"blown away", 16, 1, 1000000, 0, false, 10, 1000000},
      {"blown away while stunned", 16, 100, 10, 0, true, 9, 1000000},
      {"blown away again only hurts", 16, 1000000, 1000000, 0, true, 0, 1000000},
      {"-5 is not blown away", 16, -5, 1000000, 0, true, 0, -5},
      {"thrown", 4, 1000, 100000, 0, true, 13, 100000},
      {"not thrown while blown away", 4, 1000000, 100000, 0, true, 0, 1000000},
      {"thrown, a blow-away only keeps it up", 16, 100000, 1000000, 0, true, 0, 100000},
      {"thrown, a weaker blow only keeps it up", 1, 100000, 1000, 64, true, 0, 100000},
      {"thrown, a weaker stun only keeps it up", 8, 100000, 100, 0, true, 0, 100000},
      {"stunned", 8, 1, 100, 0, true, 16, 100},
      {"stunned while flinching", 8, 10, 100, 0, true, 16, 100},
      {"stunned again: knocked down", 8, 100, 100, 0, false, 10, 1000},
      {"lying, no stun", 8, 1000, 100, 0, true, 0, 1000},
      {"lying, a stronger stun", 8, 1000, 100000, 0, true, 16, 100},
      {"-5 is not stunned", 8, -5, 1000000, 0, true, 0, -5},
  };
  TestStyle& p = Open();
  for (const ReactionCase& c : cases) {
    p.Reset();
    p.hp = 500;
    p.mainState = c.mainState;
    Hit(p, c.kind, c.strength, c.knockFlags, c.front, 20);
    EXPECT_EQ(p.GetHp(), 480) << c.what;
    EXPECT_EQ(p.GetMode(), static_cast<uint32_t>(c.mode)) << c.what;
    EXPECT_EQ(p.GetMainState(), c.mainAfter) << c.what;
  }
}

TEST_F(PlayerReactionTest, EachReactionStoresWhatItsModesRead) {
  TestStyle& p = Open();
  p.hp = 500;
  Hit(p, 1, 10, 0, true, 1);
  EXPECT_FLOAT_EQ(p.airHitScale, 30.0f);
  EXPECT_FLOAT_EQ(p.GetMotionRate(), 0.5f);
  EXPECT_EQ(p.reactionCount, 4);

  p.Reset();
  Hit(p, 4, 100000, 0, true, 1);
  EXPECT_FLOAT_EQ(p.airHitScale, 30.0f);
  EXPECT_FLOAT_EQ(p.GetMotionRate(), 1.0f);
  EXPECT_FLOAT_EQ(p.GetGravity(), -0.002f);
  EXPECT_FLOAT_EQ(p.GetVelocity().y, 0.09f);
  // A second throw in the air keeps the character up instead of throwing it again.
  p.SetMode(14);
  Hit(p, 4, 100000, 0, true, 1);
  EXPECT_EQ(p.GetMode(), 14u);
  EXPECT_EQ(p.GetMainState(), 100000);
  // A blow-away in the air scales the air-hit value by 0.12 and keeps it up too.
  Hit(p, 16, 1000000, 0, true, 1);
  EXPECT_EQ(p.GetMode(), 14u);
  EXPECT_EQ(p.GetMainState(), 100000);
  EXPECT_FLOAT_EQ(p.airHitScale, 3.6f);

  p.Reset();
  Hit(p, 8, 100, 0, true, 1, true);
  EXPECT_TRUE(p.HasStunMark());
  EXPECT_EQ(p.countFrames, 1);
  EXPECT_EQ(p.reactionCount, 400);
  Hit(p, 8, 100, 0, true, 1, false);
  EXPECT_FLOAT_EQ(p.airHitScale, 120.0f) << "the broken stun's fall";
}

TEST_F(PlayerReactionTest, AKillingBlowWithoutKnockFlagsKnocksTheCharacterDown) {
  TestStyle& p = Open();
  for (int32_t kind : {1, 2, 8}) {
    p.Reset();
    p.hp = 15;
    Hit(p, kind, kind == 8 ? 100 : 10, 0, true, 40);
    EXPECT_EQ(p.GetHp(), 0) << "kind " << kind;
    EXPECT_EQ(p.GetMode(), 9u) << "kind " << kind;
    EXPECT_EQ(p.GetMainState(), 1000) << "kind " << kind;
    EXPECT_FLOAT_EQ(p.airHitScale, 120.0f) << "kind " << kind;
    EXPECT_FLOAT_EQ(p.GetMotionRate(), 1.0f) << "kind " << kind;
    EXPECT_EQ(p.GetComboHits(), 1) << "kind " << kind << ": the hit is taken once";
  }
}

}  // namespace
