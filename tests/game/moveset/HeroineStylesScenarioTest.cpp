// The sample heroine on the sample battle map with the sample weapon of each of her own styles,
// played with keys as a player presses them: each ground chain from a release and the presses that
// follow it, with its table's motions and the attacks of her model's pattern; weapon type 3's
// launcher carried into the air combo by a press; and the bow's arrows flying from the bow's frame
// into a fighter that stands before her.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/TMesh8.h"
#include "game/effect/TEffectManager.h"
#include "game/moveset/TPlayerStyle03.h"
#include "game/moveset/TPlayerStyle11.h"
#include "tests/game/actor/ActorFixture.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using plat::D3DXVECTOR3;
using P = TPlayerChar;

constexpr uint32_t A = P::kButtonA;
constexpr uint32_t kHeroine = 1;
constexpr uint16_t kLandingAttack = 1000;

class HeroineScenario : public styletest::StyleScenario {
 protected:
  void TearDown() override {
    if (fighter) fighter->Detach();
    fighter.reset();
    StyleScenario::TearDown();
  }
  // Opens the map with the heroine holding the weapon and settles in mode 0.
  void SettleWith(uint32_t weapon) {
    ASSERT_NE(OpenAny(kHeroine, weapon), nullptr);
    Settle();
  }

  std::unique_ptr<actortest::TestFighter> fighter;
};

struct Chain {
  uint32_t weapon;
  int presses;
  std::vector<std::string> states;
};

TEST_F(HeroineScenario, EachStyleRunsItsGroundChainWithItsMotionsAndAttacks) {
  const Chain chains[] = {
      {1003, 4, {"25 motion 37", "27 motion 39", "29 motion 41", "31 motion 43", "33 motion 44", "34 motion 45"}},
      {1006, 4, {"25 motion 37", "27 motion 39", "29 motion 41", "31 motion 43", "33 motion 44", "34 motion 45"}},
      {1007, 2, {"25 motion 37", "27 motion 39", "29 motion 41", "30 motion 42"}},
      {1005, 2, {"25 motion 37", "27 motion 39", "27 motion 39", "28 motion 38"}},
  };
  for (const Chain& c : chains) {
    SCOPED_TRACE(c.weapon);
    SettleWith(c.weapon);
    Taps(c.presses);
    Hold(0, 120);
    std::vector<std::string> want = {"mode 0"};
    want.insert(want.end(), c.states.begin(), c.states.end());
    want.push_back("mode 0");
    EXPECT_EQ(seen, want);
    EXPECT_EQ(probe->attacks, AttacksSeen());
    EXPECT_FALSE(probe->attacks.empty());
    EXPECT_EQ(style->GetQueue().GetCount(), 0u);
  }
}

TEST_F(HeroineScenario, TheLaunchersBlowTakesABufferedPressIntoTheAirCombo) {
  SettleWith(1003);
  Hold(A, 22);
  Hold(0, 1);
  for (int t = 0; t < 60 && style->GetActionState() != 36; ++t) Hold(0, 1);
  ASSERT_EQ(style->GetActionState(), 36);
  Hold(A, 1);
  Hold(0, 120);
  // The air step, with no hit landed, ends in its steered recovery, and the landing comes during it.
  EXPECT_EQ(seen, (std::vector<std::string>{"mode 0", "35 motion 56", "36 motion 57", "38 motion 46", "39 motion 47",
                                            "mode 6", "mode 0"}));
  std::vector<uint16_t> kinds = AttacksSeen();
  kinds.push_back(kLandingAttack);
  EXPECT_EQ(probe->attacks, kinds);
}

TEST_F(HeroineScenario, TheBowsArrowsFlyFromItsFrameAndStrikeAFighterBeforeHer) {
  SettleWith(1005);
  auto* bow = dynamic_cast<TPlayerStyle11*>(style);
  ASSERT_NE(bow, nullptr);
  // A fighter three units along the bow's front, at the height of the ground.
  fighter = std::make_unique<actortest::TestFighter>(actortest::Stats(100, 0), "hero");
  D3DXVECTOR3 origin, axis;
  bow->GetBowFrame()->GetWorldPosition(&origin);
  bow->GetBowFrame()->GetWorldAxis(&axis, 3);
  const D3DXVECTOR3 front = style->GetFront();
  ASSERT_GT(-plat::D3DXVec3Dot(&axis, &front), 0.99f) << "the bow looks where she does";
  fighter->SetPosition(D3DXVECTOR3(origin.x - 3 * axis.x, style->GetPosition().y, origin.z - 3 * axis.z));
  fighter->Attach(field->GetStage());

  Taps(0);
  for (int t = 0; t < 30 && probe->attacks.empty(); ++t) Hold(0, 1);
  // The arrow of the first shot, one tick after it left the bow: its volume rides on its head.
  ASSERT_EQ(bow->GetHits().size(), 1u);
  D3DXVECTOR3 head, at;
  bow->GetHits().front()->GetFrame()->GetWorldPosition(&head);
  bow->GetBowFrame()->GetWorldPosition(&at);
  const D3DXVECTOR3 apart(head.x - at.x, head.y - at.y, head.z - at.z);
  EXPECT_LT(plat::D3DXVec3Length(&apart), 0.3f) << "the arrow starts at the bow";
  Hold(0, 60);
  ASSERT_EQ(probe->attacks, (std::vector<uint16_t>{6100}));
  ASSERT_FALSE(fighter->reactions.empty()) << "the arrow never reached the fighter";
  EXPECT_EQ(fighter->reactions[0].kind, 1);
  EXPECT_GT(fighter->reactions[0].damage, 0);
  ASSERT_FALSE(probe->heard.empty());
  EXPECT_EQ(probe->heard[0][0], -1) << "the arrow's landed value";
  EXPECT_EQ(probe->se.front(), 103);
}

}  // namespace
