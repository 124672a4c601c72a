// The action states every style shares, on the sample hero's motions: a state command is read
// only when the motion ends, the pairs of a common skill do not lead into each other, refused and
// aerial commands are used up without effect, the recoveries keep the latch, the boosts restart,
// and a skill chains into the one chosen while it ran.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "common/TMesh8.h"
#include "game/actor/TPlayerChar.h"
#include "tests/game/actor/PlayerFixture.h"

namespace {

using playertest::PlayerFixture;
using playertest::TestStyle;
using P = TPlayerChar;

class PlayerStatesTest : public PlayerFixture {
 protected:
  // Ticks of the action until the state changes or the character leaves mode 19; the ticks taken.
  int RunState(TestStyle& p, int limit = 60) {
    const int32_t state = p.GetActionState();
    for (int t = 1; t <= limit; ++t) {
      p.RunMode();
      if (p.GetMode() != P::kActionMode || p.GetActionState() != state) return t;
    }
    return limit + 1;
  }
  static uint32_t Latched(TestStyle& p, uint32_t& value) { return p.TakeCommand(value); }
};

TEST_F(PlayerStatesTest, AStatePlaysItsMotionAndReadsTheCommandOnlyWhenItEnds) {
  TestStyle& p = Open();
  p.ChangeState(5);
  EXPECT_EQ(p.GetMode(), static_cast<uint32_t>(P::kActionMode));
  EXPECT_EQ(p.GetModel()->GetMotion(), 22u);
  p.PostCommand(P::kStateCommand, 13);
  EXPECT_EQ(RunState(p), 14) << "the 14-frame motion ends first";
  EXPECT_EQ(p.GetActionState(), 13);
  EXPECT_EQ(p.GetModel()->GetMotion(), 28u);
  uint32_t value = 0;
  EXPECT_EQ(Latched(p, value), 0u) << "used up";

  // A newer command replaces the older one before the end.
  p.PostCommand(P::kStateCommand, 5);
  p.PostCommand(P::kHoldCommand, 0);
  RunState(p);
  EXPECT_EQ(p.GetActionState(), 33) << "the style's hold state";
}

// A state, the latched command (kind, value) and the state that follows at the motion's end.
struct CommandCase {
  int32_t state;
  uint32_t kind;
  uint32_t value;
  int32_t next;
};

TEST_F(PlayerStatesTest, ExcludedRefusedAndAerialCommandsAreUsedUpForTheFixedNextState) {
  const CommandCase plain[] = {
      {5, 2, 9, 9},    {5, 2, 7, 6},    {5, 2, 5, 6},    {7, 2, 5, 8},    {7, 2, 13, 13}, {9, 2, 11, 10},
      {11, 2, 9, 12},  {11, 2, 5, 5},   {13, 2, 15, 14}, {15, 2, 13, 16}, {17, 2, 19, 18}, {19, 2, 17, 20},
      {19, 2, 21, 21}, {5, 2, 0, 6},    {5, 0, 0, 6},    {5, 3, 9, 6},    {9, 1, 0, 33},  {1, 2, 1, 2},
      {1, 2, 5, 5},    {3, 2, 3, 4},    {3, 2, 1, 4},    {3, 1, 0, 33},   {1, 0, 0, 2},   {3, 2, 9, 9},
      // States the table lacks.
      {5, 2, 34, 6},   {1, 2, 0xFFFFFFFF, 2},
  };
  // With the style refusing 9 and calling 13 aerial.
  const CommandCase filtered[] = {
      {5, 2, 9, 6}, {1, 2, 9, 2}, {7, 2, 13, 8}, {3, 2, 13, 4}, {5, 2, 17, 17},
  };
  TestStyle& p = Open();
  const auto check = [&](std::span<const CommandCase> cases) {
    for (const CommandCase& c : cases) {
      const std::string what = "state " + std::to_string(c.state) + " command " + std::to_string(c.kind) + "/" +
                               std::to_string(c.value);
      p.ChangeState(c.state);
      p.PostCommand(c.kind, c.value);
      RunState(p);
      EXPECT_EQ(p.GetMode(), static_cast<uint32_t>(P::kActionMode)) << what;
      EXPECT_EQ(p.GetActionState(), c.next) << what;
      uint32_t value = 0;
      EXPECT_EQ(Latched(p, value), 0u) << what << ": the command is used up";
    }
  };
  check(plain);
  p.refused = {9};
  p.airStates = {13};
  check(filtered);
}

TEST_F(PlayerStatesTest, TheRecoveriesKeepTheLatchAndTheirEndsStandTheCharacterUp) {
  TestStyle& p = Open();
  for (int32_t state : {21, 23}) {
    p.ChangeState(state);
    p.PostCommand(P::kStateCommand, 13);
    EXPECT_EQ(RunState(p), state == 21 ? 10 : 12) << state;
    EXPECT_EQ(p.GetActionState(), state + 1);
    EXPECT_EQ(p.GetModel()->GetMotion(), 35u);
    uint32_t value = 0;
    EXPECT_EQ(Latched(p, value), P::kStateCommand) << state;
    EXPECT_EQ(value, 13u);

    p.PostCommand(P::kStateCommand, 13);
    p.PushHit(1);
    EXPECT_EQ(RunState(p), 8) << "the 8-frame end of the recovery";
    EXPECT_EQ(p.GetMode(), 0u);
    EXPECT_EQ(Latched(p, value), 0u) << "cleared with the hits";
    EXPECT_EQ(p.GetQueue().GetCount(), 0u);
  }
}

TEST_F(PlayerStatesTest, TheSkillsBoostRestartsAt120WhateverFollows) {
  TestStyle& p = Open();
  p.GetBoostA().Set(30);
  for (int t = 0; t < 5; ++t) p.GetBoostA().Tick();
  ASSERT_EQ(p.GetBoostA().GetPhase(), 5);
  p.ChangeState(9);
  p.PostCommand(P::kStateCommand, 13);
  RunState(p);
  EXPECT_EQ(p.GetActionState(), 13);
  EXPECT_EQ(p.GetBoostA().GetFramesLeft(), 120);
  EXPECT_EQ(p.GetBoostA().GetPhase(), 0);
  EXPECT_FALSE(p.GetBoostB().IsRunning());

  p.ChangeState(11);
  RunState(p);
  EXPECT_EQ(p.GetActionState(), 12);
  EXPECT_EQ(p.GetBoostB().GetFramesLeft(), 120) << "state 11 boosts B";
  EXPECT_EQ(p.GetBoostA().GetFramesLeft(), 120) << "A untouched";
}

TEST_F(PlayerStatesTest, ASkillChainsIntoTheOneChosenWhileItRanOnlyOnCommand3) {
  TestStyle& p = Open();
  p.countedSkills = true;
  p.SetSkillCommand(100, false);
  p.ChangeState(1);
  p.SetSkillCommand(101, true);  // chosen while the first runs: queued
  ASSERT_EQ(p.GetSkillStep(), FindSkillRow(100, false));
  p.plainTicks = 2;
  p.chargedTicks = 1;
  p.PostCommand(P::kStateCommand, 3);
  EXPECT_EQ(RunState(p), 3) << "two ticks running, the third done";
  EXPECT_EQ(p.GetActionState(), 3);
  EXPECT_EQ(p.GetModel()->GetMotion(), 21u);
  EXPECT_EQ(p.GetSkillStep(), FindSkillRow(101, true));
  EXPECT_EQ(p.GetNextSkillStep(), FindSkillRow(101, true)) << "stays queued";
  EXPECT_EQ(p.GetSkillTick(), 0);

  p.PostCommand(P::kStateCommand, 3);
  EXPECT_EQ(RunState(p), 2);
  EXPECT_EQ(p.GetActionState(), 4) << "no further chain";
  EXPECT_EQ(std::count(playerLog.begin(), playerLog.end(), "plain skill"), 3);
  EXPECT_EQ(std::count(playerLog.begin(), playerLog.end(), "charged skill"), 2);

  // Without command 3 the first skill ends in its recovery and the queued one never runs.
  p.ClearHits();
  p.SetMode(0);
  p.SetSkillCommand(100, false);
  p.ChangeState(1);
  p.SetSkillCommand(101, true);
  RunState(p);
  EXPECT_EQ(p.GetActionState(), 2);
  EXPECT_EQ(p.GetSkillStep(), FindSkillRow(100, false));
}

}  // namespace
