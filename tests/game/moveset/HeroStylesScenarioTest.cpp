// The sample hero with a weapon of each of the types 1, 2, 5, 6, 7, 8 and 10, and the heroine with
// those of types 1 and 2, on the sample battle map, played with keys as a player presses them:
// each ground chain from a release and a press for each further step, with its table's motions and
// its model's attacks; the launch of type 10 carrying a press into the air attack; the air combo of
// type 8 going on against a dummy only when its hit finds a press waiting; and a weapon change
// making the hero anew in the class of the new weapon's type.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game/field/THitObject.h"
#include "game/field/TStageLinks.h"
#include "game/moveset/PlayerStyles.h"
#include "game/moveset/TPlayerStyle01.h"
#include "game/moveset/TPlayerStyle02.h"
#include "game/moveset/TPlayerStyle05.h"
#include "game/moveset/TPlayerStyle06.h"
#include "game/moveset/TPlayerStyle07.h"
#include "game/moveset/TPlayerStyle08.h"
#include "game/moveset/TPlayerStyle10.h"
#include "game/actor/TPlayerFactory.h"
#include "tests/game/moveset/StyleFixture.h"

namespace {

using P = TPlayerChar;
using styletest::StyleScenario;

constexpr uint32_t A = P::kButtonA, C = P::kButtonC;
constexpr uint32_t kSpear = 1001, kGreatSword = 1008, kAxe = 1002, kMace = 1009, kHammer = 1010, kDaggers = 1004,
                   kKnuckles = 1011;

// A member with a weapon and the ground chain it runs: its combo steps, the last one's recovery last,
// and the motions the style's table gives those states.
struct Chain {
  uint32_t member, weapon;
  std::vector<int32_t> states;
  std::vector<uint32_t> motions;
};

class HeroStylesScenario : public StyleScenario, public testing::WithParamInterface<Chain> {};

TEST_P(HeroStylesScenario, AReleaseAndAPressForEachFurtherStepRunTheGroundChainToItsRecovery) {
  const Chain& chain = GetParam();
  ASSERT_NE(OpenAny(chain.member, chain.weapon), nullptr);
  Settle();
  const size_t steps = chain.states.size() - 1;
  Taps(static_cast<int>(steps) - 1);
  Hold(0, 120);

  std::vector<std::string> expected = {"mode 0"};
  std::vector<uint16_t> attacks;
  ASSERT_EQ(chain.motions.size(), chain.states.size());
  for (size_t k = 0; k < chain.states.size(); ++k) {
    const uint32_t motion = chain.motions[k];
    expected.push_back(Seen(chain.states[k], motion));
    const std::vector<uint16_t> kinds = AttacksOf({motion});
    attacks.insert(attacks.end(), kinds.begin(), kinds.end());
  }
  expected.push_back("mode 0");
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(attacks.size(), steps) << "every step strikes, its recovery not";
  EXPECT_EQ(probe->attacks, attacks);
  EXPECT_EQ(style->GetQueue().GetCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Weapons, HeroStylesScenario,
    testing::Values(Chain{0, kSpear, {25, 27, 29, 31, 32}, {37, 39, 41, 43, 44}},
                    Chain{1, kSpear, {25, 27, 29, 31, 32}, {37, 39, 41, 43, 44}},
                    Chain{0, kGreatSword, {25, 27, 29, 31, 33, 34}, {37, 39, 41, 43, 45, 46}},
                    Chain{1, kGreatSword, {25, 27, 29, 31, 33, 34}, {37, 39, 41, 43, 45, 46}},
                    Chain{0, kAxe, {25, 27, 29, 30}, {37, 39, 41, 42}},
                    Chain{0, kMace, {25, 27, 29, 30}, {37, 39, 41, 42}},
                    Chain{0, kHammer, {25, 27, 29, 30}, {37, 39, 41, 42}},
                    Chain{0, kDaggers, {25, 27, 29, 31, 33, 34}, {37, 39, 41, 43, 45, 46}},
                    Chain{0, kKnuckles, {25, 27, 29, 30}, {37, 39, 41, 42}}),
    [](const testing::TestParamInfo<Chain>& info) {
      return std::string(info.param.member == 0 ? "Hero" : "Heroine") + std::to_string(info.param.weapon);
    });

// A post on the stage that tells the hero of every hit it takes, as a foe's hit reaction does.
class Dummy : public fieldscenetest::TestPlayer {
 public:
  explicit Dummy(fieldscenetest::Log& log) : TestPlayer(9, 0, log) {}
  ~Dummy() override { Detach(); }

  void ReceiveHit(THitObject& hit) override {
    if (TFieldActor* owner = stage ? stage->FindActor(hit.GetOwnerId()) : nullptr)
      owner->OnHitLanded(*this, hit.GetLandedValue(), 1, hit.HasHit());
  }
};

using HeroStylesScenarioOnce = StyleScenario;

TEST_F(HeroStylesScenarioOnce, TheKnucklesHoldLaunchesAndAPressDuringTheLaunchStartsTheAirAttackAtItsTop) {
  ASSERT_NE(OpenAny(0, kKnuckles), nullptr);
  Settle();
  Hold(A, 21);
  Hold(0, 3);
  Hold(A, 1);
  Hold(0, 150);
  ASSERT_GE(seen.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.begin() + 4),
            (std::vector<std::string>{"mode 0", Seen(31, 53), Seen(32, 54), Seen(34, 43)}));
  EXPECT_EQ(seen.back(), "mode 0") << "down again";
  const std::vector<uint16_t> attacks = AttacksOf({53, 54, 43});
  ASSERT_GE(probe->attacks.size(), attacks.size());
  EXPECT_EQ(std::vector<uint16_t>(probe->attacks.begin(), probe->attacks.begin() + attacks.size()), attacks);
}

TEST_F(HeroStylesScenarioOnce, TheDaggersAirAttackGoesOnOnlyWhenItsHitFindsAPressWaiting) {
  struct Case {
    bool dummy, press;
    int32_t next;
  } cases[] = {{true, true, 39}, {true, false, 38}, {false, true, 38}};
  for (const Case& c : cases) {
    ASSERT_NE(OpenAny(0, kDaggers), nullptr);
    Settle();
    std::unique_ptr<Dummy> dummy;
    if (c.dummy) {
      dummy = std::make_unique<Dummy>(fieldLog);
      dummy->Attach(field->GetStage());
      // It keeps a step before the hero, at its height.
      beforeTick = [&] {
        const plat::D3DXVECTOR3 at = style->GetPosition(), front = style->GetFront();
        dummy->GetFrame()->SetPositionXYZ(at.x + front.x * 1.05f, at.y, at.z + front.z * 1.05f);
      };
    }
    Hold(C, 1);
    Hold(0, 1);
    Hold(A, 1);
    Hold(0, 1);
    if (c.press) Hold(A, 1);
    Hold(0, 60);
    beforeTick = nullptr;
    EXPECT_EQ(!probe->heard.empty(), c.dummy) << "the air cut lands on the dummy";
    const auto first = std::find(seen.begin(), seen.end(), Seen(37, 47));
    ASSERT_NE(first, seen.end()) << c.dummy << c.press;
    ASSERT_NE(first + 1, seen.end()) << c.dummy << c.press;
    EXPECT_EQ(first[1], Seen(c.next, c.next == 39 ? 49u : 48u)) << c.dummy << c.press;
  }
}

template <class Style>
bool Is(TStagePlayer* p) {
  return dynamic_cast<Style*>(p) != nullptr;
}

TEST_F(HeroStylesScenarioOnce, AWeaponChangeMakesTheHeroAnewInTheClassOfTheNewType) {
  SetPlayerStyleMaker(&MakePlayerStyle);
  Open(0, kSword);
  const struct {
    uint32_t weapon;
    bool (*is)(TStagePlayer*);
    const char* model;
  } changes[] = {
      {kAxe, &Is<TPlayerStyle05>, "hero04"},    {kMace, &Is<TPlayerStyle06>, "hero04"},
      {kDaggers, &Is<TPlayerStyle08>, "hero05"}, {kSpear, &Is<TPlayerStyle01>, "hero01"},
      {kKnuckles, &Is<TPlayerStyle10>, "hero07"}, {kHammer, &Is<TPlayerStyle07>, "hero04"},
      {kGreatSword, &Is<TPlayerStyle02>, "hero02"},
  };
  for (const auto& c : changes) {
    const TStagePlayer* before = field->GetPlayer();
    Equip(c.weapon);
    TStagePlayer* now = field->GetPlayer();
    ASSERT_NE(now, nullptr) << c.weapon;
    EXPECT_NE(now, before) << c.weapon;
    EXPECT_TRUE(c.is(now)) << c.weapon;
    EXPECT_EQ(now->GetWeaponId(), c.weapon);
    EXPECT_EQ(dynamic_cast<P&>(*now).GetModelName(), c.model);
  }
}

}  // namespace
