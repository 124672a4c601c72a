// Talking to the sample town's elder as the README tells a player to: walked into with held
// direction keys until the hero gets no closer, then Z. Placed just outside the reach, or turned
// too far aside, Z starts nothing; just inside, it does.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

#include "game/field/TStageB.h"
#include "game/field/TVillager.h"
#include "game/script/TMessageWindow.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using L = datakit::SampleMapLayout;

class TalkScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    OpenMap("03.pbms/town");
    FinishOpeningFade();
    for (const TCountedPtr<TVillager>& v : Town().GetObjects())
      if (v->GetScriptName() == "03.pbsc/Villager00") elder = v.Get();
    ASSERT_NE(elder, nullptr);
  }

  TStageB& Town() { return dynamic_cast<TStageB&>(Stage()); }
  TMessageWindow* Window() {
    return TScriptEngine::Get() ? dynamic_cast<TMessageWindow*>(TScriptEngine::Get()->FindObject("Text")) : nullptr;
  }
  // Z pressed through the keys; true when the elder's talk began on that tick.
  bool PressZ() {
    Press();
    return Town().IsInConversation() && elder->IsTalking();
  }

  const D3DXVECTOR3 elderAt{L::kElderAt.x, L::kElderAt.y, L::kElderAt.z};
  TVillager* elder = nullptr;
};

TEST_F(TalkScenario, WalkedIntoTheElderUntilItStopsTheHeroTalksToHimWithZ) {
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(elderAt.x, 0, elderAt.z - 3)));
  // Held toward him until a tick brings the hero no closer: it stands against his body.
  float before = Distance(elderAt);
  bool blocked = false;
  for (int i = 0; i < kLongestWalk && !blocked; ++i) {
    HoldToward(vec3::Sub(elderAt, Hero().GetPosition()));
    Tick();
    const float now = Distance(elderAt);
    blocked = before - now < 1e-3f;
    before = now;
  }
  ASSERT_TRUE(blocked) << "the hero walked on";
  // Let go, and the hero comes to rest where it is.
  Release();
  D3DXVECTOR3 last = Hero().GetPosition();
  bool still = false;
  for (int i = 0; i < 100 && !still; ++i) {
    Tick();
    const D3DXVECTOR3 at = Hero().GetPosition();
    still = vec3::Length(vec3::Sub(at, last)) < 1e-5f;
    last = at;
  }
  ASSERT_TRUE(still) << "the hero never came to rest";
  ASSERT_FALSE(Town().IsInConversation());

  const float apart = Distance(elderAt);
  const float off = std::acos(vec3::Dot(Hero().GetFront(), vec3::Unit(vec3::Sub(elderAt, Hero().GetPosition()))));
  EXPECT_TRUE(PressZ()) << "stopped " << apart << " from the elder, facing " << off * 57.29578f << " degrees aside";
  TMessageWindow* window = nullptr;
  for (int i = 0; i < 300 && !((window = Window()) && window->IsPageWaiting()); ++i) Tick();
  EXPECT_TRUE(window && window->IsPageWaiting() && window->IsShown()) << "his words never came up";
}

// The hero put before the elder at a distance between their bodies' bottom points, its front
// turned aside from him by an angle, then Z.
struct Placement {
  const char* what;
  float apart;
  float degreesAside;
  bool talks;
};

void PrintTo(const Placement& p, std::ostream* out) { *out << p.what; }

// Both bodies are 0.5 high: the reach is 0.5 + 0.5 + 0.5 between them, within 30 degrees of the
// hero's front.
const Placement kPlacements[] = {
    {"1.6 away, facing him", 1.6f, 0, false},
    {"1.4 away, facing him", 1.4f, 0, true},
    {"1.0 away, turned 35 degrees aside", 1.0f, 35, false},
    {"1.0 away, turned 25 degrees aside", 1.0f, 25, true},
};

class TalkReach : public TalkScenario, public ::testing::WithParamInterface<Placement> {};

TEST_P(TalkReach, ZBeforeTheElderTalksOnlyWithinHisReachAndFacingHim) {
  const Placement& p = GetParam();
  // South of him, so the hero looks north at him, then turned east by the angle.
  const float turn = p.degreesAside * 0.017453292f;
  const D3DXVECTOR3 at(elderAt.x, 0, elderAt.z - p.apart), front(std::sin(turn), 0, std::cos(turn));
  Stand(at, front, 2);
  if (HasFatalFailure()) return;
  ASSERT_LT(vec3::Length(vec3::Sub(Hero().GetPosition(), at)), 0.02f);
  EXPECT_EQ(PressZ(), p.talks);
  for (int i = 0; i < 30; ++i) Tick();
  EXPECT_EQ(Town().IsInConversation(), p.talks);
}

INSTANTIATE_TEST_SUITE_P(SampleTown, TalkReach, ::testing::ValuesIn(kPlacements));

}  // namespace
