// The sample hero and heroine with the sample sword on the sample battle map, played with keys as a
// player presses them: the ground combo from a release and three more, the ground hold attack, and
// the air attack from a jump that ends in the landing attack. The attacks are the sample pattern's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/moveset/StyleFixture.h"

namespace {

using P = TPlayerChar;

constexpr uint32_t A = P::kButtonA, C = P::kButtonC;
constexpr uint16_t kLandingAttack = 1000;

class Style00Scenario : public styletest::StyleScenario, public testing::WithParamInterface<uint32_t> {};

TEST_P(Style00Scenario, AReleaseAndThreeMoreRunTheGroundComboToItsRecovery) {
  ASSERT_NE(Open(GetParam()), nullptr);
  Settle();
  Hold(A, 1);
  Hold(0, 3);
  for (int k = 0; k < 3; ++k) {
    Hold(A, 1);
    Hold(0, 1);
  }
  Hold(0, 100);
  EXPECT_EQ(seen, (std::vector<std::string>{"mode 0", "25 motion 37", "27 motion 39", "29 motion 41", "31 motion 43",
                                            "32 motion 44", "mode 0"}));
  EXPECT_EQ(player->attacks, AttacksOf({37, 39, 41, 43}));
  EXPECT_EQ(player->GetQueue().GetCount(), 0u);
}

TEST_P(Style00Scenario, ATwentyOneTickHoldGivesTheGroundHoldAttack) {
  ASSERT_NE(Open(GetParam()), nullptr);
  Settle();
  Hold(A, 21);
  Hold(0, 60);
  EXPECT_EQ(seen, (std::vector<std::string>{"mode 0", "33 motion 56", "34 motion 42", "mode 0"}));
  EXPECT_EQ(player->attacks, AttacksOf({56}));
}

TEST_P(Style00Scenario, AJumpAndAReleaseGiveTheAirAttackAndTheLandingAttack) {
  ASSERT_NE(Open(GetParam()), nullptr);
  Settle();
  Hold(C, 1);
  Hold(0, 1);
  Hold(A, 1);
  Hold(0, 80);
  // The jump is read at once, the attack button two ticks late; the landing comes during the
  // steered recovery.
  EXPECT_EQ(seen, (std::vector<std::string>{"mode 4", "35 motion 45", "36 motion 46", "mode 6", "mode 0"}));
  std::vector<uint16_t> expected = AttacksOf({45});
  expected.push_back(kLandingAttack);
  EXPECT_EQ(player->attacks, expected);
  EXPECT_NEAR(player->GetPosition().y, 0, 0.02f) << "on the ground again";
}

INSTANTIATE_TEST_SUITE_P(Members, Style00Scenario, testing::Values(0u, 1u),
                         [](const testing::TestParamInfo<uint32_t>& info) {
                           return info.param == 0 ? "Hero" : "Heroine";
                         });

}  // namespace
