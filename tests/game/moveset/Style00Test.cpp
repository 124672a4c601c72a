// Weapon type 0's style as built: the factory's choice, its construction, the ground combo with its
// buffered presses, the launch blow's and the finishers' refusals, the plunge of technique 2004,
// and the refusal of a state outside its table. The town's pad: no attack, and hidden in a talk.
#include <gtest/gtest.h>

#include <string>

#include "common/TMesh8.h"
#include "game/data/TGameData.h"
#include "game/field/TStage.h"
#include "game/field/TStageB.h"
#include "game/moveset/TPlayerStyle01.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using styletest::StyleFixture;
using P = TPlayerChar;

constexpr uint32_t B = P::kButtonB, UP = P::kUp;

class Style00Test : public StyleFixture {};

TEST_F(Style00Test, TheSwordMakesBothMembersTheStyleAndOtherWeaponsTheirOwn) {
  ASSERT_NE(Open(0), nullptr);
  EXPECT_EQ(player->GetModelName(), "hero01");
  EXPECT_EQ(player->GetWeaponId(), kSword);
  EXPECT_EQ(player->GetMode(), 0u);
  EXPECT_NE(player->GetTrailA(), nullptr);
  EXPECT_NE(player->GetTrailB(), nullptr);
  EXPECT_EQ(player->GetQueue().GetCapacity(), 10u);
  // The maps: the common skills and the sixteen techniques; an id they lack is none.
  const std::pair<uint32_t, std::pair<int32_t, int32_t>> techniques[] = {
      {1, {5, 7}}, {5, {21, 23}}, {2000, {47, 49}}, {2003, {59, 62}}, {2013, {101, 104}}, {2015, {111, 114}},
      {2016, {0, 0}}};
  for (const auto& [id, states] : techniques) {
    EXPECT_EQ(player->StateForTechnique(id, false), states.first) << id;
    EXPECT_EQ(player->StateForTechnique(id, true), states.second) << id;
  }

  ASSERT_NE(Open(1), nullptr);
  EXPECT_EQ(player->GetModelName(), "heroine01");
  EXPECT_EQ(Open(1, 1003), nullptr) << "the rod is weapon type 3's";
  EXPECT_NE(dynamic_cast<TPlayerStyle03*>(field->GetPlayer()), nullptr);
  EXPECT_EQ(Open(0, 1001), nullptr) << "the spear is weapon type 1's";
  EXPECT_NE(dynamic_cast<TPlayerStyle01*>(field->GetPlayer()), nullptr);
}

TEST_F(Style00Test, ThreeBufferedPressesRunTheGroundComboAndAFourthWaitsForTheRecovery) {
  ASSERT_NE(Open(), nullptr);
  player->ChangeState(25);
  for (int k = 0; k < 4; ++k) player->PushHit(1);
  for (int32_t next : {27, 29, 31, 32}) {
    RunState();
    EXPECT_EQ(player->GetActionState(), next);
  }
  EXPECT_EQ(player->GetQueue().GetCount(), 1u) << "the last step does not look at the queue";
  EXPECT_EQ(player->GetModel()->GetMotion(), 44u);
  RunState();
  EXPECT_EQ(player->GetMode(), 0u);
  EXPECT_EQ(player->GetQueue().GetCount(), 0u) << "the recovery empties it";
}

TEST_F(Style00Test, TheLaunchBlowsAndTheFinishersRefuseTheirOwnTechnique) {
  ASSERT_NE(Open(), nullptr);
  struct Case {
    int32_t state;
    int32_t command;
    int32_t next;
  } cases[] = {{60, 59, 61}, {60, 62, 61}, {63, 59, 64}, {102, 101, 103}, {115, 114, 116}, {60, 69, 69},
               {47, 47, 48}, {49, 47, 50},  {49, 49, 50},   {49, 51, 51},    {49, 65, 50}};
  for (const Case& c : cases) {
    player->ChangeState(c.state);
    Stand(P::kActionMode, 2.0f, false);
    player->PostCommand(P::kStateCommand, static_cast<uint32_t>(c.command));
    RunState();
    EXPECT_EQ(player->GetActionState(), c.next) << c.state << " given " << c.command;
  }
}

TEST_F(Style00Test, TechniqueTwoThousandFourPlungesOnlyFromTheAirAndItsLandingTakesAHold) {
  ASSERT_NE(Open(), nullptr);
  SetRingSkill(2004);
  SetWords({0, 0, 0, B});
  player->DispatchButtons();
  EXPECT_EQ(player->GetMode(), 0u) << "not started on the ground";

  Stand(5, 3.0f, false);
  SetWords({0, 0, 0, B});
  player->DispatchButtons();
  ASSERT_EQ(player->GetActionState(), 65);
  EXPECT_EQ(player->GetModel()->GetMotion(), 71u);
  for (int t = 0; t < 40; ++t) player->RunMode();
  EXPECT_EQ(player->GetActionState(), 65) << "plunging until it lands";
  player->landed = 1;
  player->RunMode();
  EXPECT_EQ(player->GetActionState(), 66);
  player->PostCommand(P::kHoldCommand, 0);
  RunState();
  EXPECT_EQ(player->GetActionState(), 33);
}

TEST_F(Style00Test, AStateOutsideTheTableIsRefusedWithALine) {
  ASSERT_NE(Open(), nullptr);
  player->ChangeState(25);
  for (int32_t state : {-1, 0, 117, 1000}) {
    testing::internal::CaptureStderr();
    player->ChangeState(state);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "") << state;
    EXPECT_EQ(player->GetActionState(), 25) << state;
    EXPECT_EQ(player->GetModel()->GetMotion(), 37u) << state;
  }
  player->ChangeState(116);
  EXPECT_EQ(player->GetActionState(), 116);
  EXPECT_EQ(player->GetModel()->GetMotion(), 67u);
}

TEST_F(Style00Test, InTownTheButtonsStartNothingAndATalkHidesThePad) {
  TGameData::Instance()->SetCurrentMember(0);
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  player = dynamic_cast<styletest::TestStyle00*>(field->GetPlayer());
  ASSERT_NE(player, nullptr);
  TInput& input = *app->GetInput();
  const auto hold = [&](uint32_t word, int ticks) {
    for (int t = 0; t < ticks; ++t) {
      for (int k = 0; k < TInput::kButtonCount; ++k)
        plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (word >> k & 1) != 0);
      Tick();
    }
  };
  hold(B, 30);
  hold(0, 4);
  EXPECT_EQ(player->GetMode(), 0u) << "no technique in town";

  auto* town = dynamic_cast<TStageB*>(field->GetStage());
  ASSERT_NE(town, nullptr);
  auto* villager = new fieldscenetest::TestVillager("v", true, fieldLog);
  field->GetStage()->AddObject(TCountedPtr<TVillager>(villager));
  services.runs.assign(200, 1);
  Tick();
  ASSERT_TRUE(town->IsInConversation());
  hold(UP, 10);
  EXPECT_EQ(player->GetMode(), 0u) << "the talk keeps the pad";
  EXPECT_EQ(input.GetButtons(0) & UP, UP) << "and gives it back after the tick";
  services.runs.clear();
  villager->asks = false;
  hold(UP, 3);
  EXPECT_FALSE(town->IsInConversation());
  EXPECT_NE(player->GetMode(), 0u) << "walking once the talk is over";
  plat::ReleaseAllKeys();
}

}  // namespace
