#include "game/ui/TStatusIcons.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/data/TItemEffect.h"
#include "tests/game/ui/HudFixture.h"

namespace {

class StatusIcons : public HudFixture {
 protected:
  void SetUp() override {
    HudFixture::SetUp();
    plat::D3DXMATRIX identity;
    plat::D3DXMatrixIdentity(&identity);
    stage = CreateNamedFrame("Scene", identity);
    player.frame = CreateNamedFrame("Root", identity);
    player.frame->SetPositionXYZ(3, 0.5f, -2);
    stage->AddChild(player.frame);
    icons = std::make_unique<TStatusIcons>();
    icons->Attach(player);
  }
  void Updates(int n) {
    for (int k = 0; k < n; ++k) icons->Update(player);
  }
  static plat::D3DXVECTOR3 Position(const TStatusIcon& icon) {
    plat::D3DXVECTOR3 p;
    icon.GetFrame()->GetPosition(&p);
    return p;
  }
  static float MeshAlpha(const TStatusIcon& icon) {
    return icon.GetFrame()->GetMeshes().front().GetMaterial(0).GetMaterial().Emissive.a;
  }

  TCountedPtr<TFrame8> stage;
  std::unique_ptr<TStatusIcons> icons;
};

TEST_F(StatusIcons, TheGroupHangsBesideTheCharacterAboveItsHeadAndTurns) {
  EXPECT_EQ(icons->GetRoot()->GetParent(), stage.Get());
  EXPECT_EQ(icons->GetRoot()->GetName(), "StateRoot");
  Updates(90);
  plat::D3DXVECTOR3 p;
  icons->GetRoot()->GetPosition(&p);
  EXPECT_FLOAT_EQ(p.x, 3);
  EXPECT_FLOAT_EQ(p.y, 0.5f + 1.5f + 1.0f);
  EXPECT_FLOAT_EQ(p.z, -2);
  // A quarter turn about y after 90 updates: the x axis points along -z.
  plat::D3DXVECTOR3 x;
  icons->GetRoot()->GetAxis(&x, 1);
  EXPECT_NEAR(x.x, 0, 1e-4f);
  EXPECT_NEAR(x.z, -1, 1e-4f);
  EXPECT_EQ(icons->GetShownCount(), 0u);
  icons->Detach();
  EXPECT_EQ(icons->GetRoot()->GetParent(), nullptr);
}

TEST_F(StatusIcons, OneEffectStandsAtTheCentreAndFadesInOverFiftyUpdates) {
  player.counters[0] = 30;
  Updates(1);
  const TStatusIcon& poison = icons->GetIcon(0);
  ASSERT_TRUE(poison.IsMoving());
  EXPECT_EQ(poison.GetFrame()->GetParent(), icons->GetRoot().Get());
  EXPECT_EQ(icons->GetShownCount(), 1u);
  Updates(49);
  EXPECT_LT(poison.GetAlpha().value, 1.0f);
  Updates(1);
  EXPECT_FLOAT_EQ(poison.GetAlpha().value, 1.0f);
  Updates(10);
  EXPECT_TRUE(poison.IsMoving()) << "the glide takes sixty updates after the one it starts in";
  Updates(1);
  EXPECT_TRUE(poison.IsSteady());
  EXPECT_FLOAT_EQ(MeshAlpha(poison), 1.0f);
  const plat::D3DXVECTOR3 p = Position(poison);
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(p.y, 0.0f);
  EXPECT_EQ(p.z, 0.0f);
}

TEST_F(StatusIcons, ASecondEffectSpreadsTheIconsOnTheCircle) {
  player.counters[0] = 30;
  Updates(70);
  player.counters[4] = 30;  // slow
  Updates(1);
  const TStatusIcon& poison = icons->GetIcon(0);
  const TStatusIcon& slow = icons->GetIcon(4);
  EXPECT_TRUE(poison.IsMoving());
  EXPECT_TRUE(slow.IsMoving());
  EXPECT_FLOAT_EQ(poison.GetTarget().z, 0.6f);
  EXPECT_NEAR(poison.GetTarget().x, 0, 1e-6f);
  EXPECT_NEAR(slow.GetTarget().x, 0, 1e-6f);
  EXPECT_FLOAT_EQ(slow.GetTarget().z, -0.6f);
  Updates(61);
  EXPECT_TRUE(poison.IsSteady());
  EXPECT_FLOAT_EQ(Position(slow).z, -0.6f);
  EXPECT_FLOAT_EQ(Position(poison).z, 0.6f);

  // Three spread a third of a turn apart.
  const plat::D3DXVECTOR3 third = TStatusIcons::Slot(3, 1);
  EXPECT_NEAR(third.x, 0.6f * std::sin(2.0943951f), 1e-6f);
  EXPECT_NEAR(third.z, 0.6f * std::cos(2.0943951f), 1e-6f);
}

TEST_F(StatusIcons, AnEndedEffectRisesAndFadesAndARestartWaitsForIt) {
  player.counters[2] = 5;
  Updates(80);
  player.counters[2] = 0;
  Updates(1);
  const TStatusIcon& confusion = icons->GetIcon(2);
  ASSERT_TRUE(confusion.IsHiding());
  player.counters[2] = 5;  // back while the icon still rises
  Updates(60);
  EXPECT_TRUE(confusion.IsHiding());
  EXPECT_FLOAT_EQ(Position(confusion).y, 2.0f * 59 / 60);
  EXPECT_EQ(MeshAlpha(confusion), 0.0f);
  Updates(1);
  // Gone at last, and taken up again in the same update, entering from the centre.
  EXPECT_TRUE(confusion.IsMoving());
  EXPECT_EQ(icons->GetShownCount(), 1u);
  EXPECT_EQ(Position(confusion).y, 0.0f) << "its frame starts again from where it hangs";
  EXPECT_EQ(confusion.GetFrame()->GetParent(), icons->GetRoot().Get());

  player.counters[2] = 0;
  Updates(63);
  EXPECT_TRUE(confusion.IsIdle());
  EXPECT_EQ(icons->GetShownCount(), 0u);
  EXPECT_EQ(confusion.GetFrame()->GetParent(), nullptr);
}

// An icon rising away keeps its place when another arrives and takes no slot: with [rising poison,
// steady slow, new confusion] the two that stay share the circle, slow at half a turn (slot 1 of 2)
// and confusion entering to a whole turn (slot 2 of 2), where a count of three would put them at
// 120 and 240 degrees.
TEST_F(StatusIcons, AnIconFadingOutKeepsItsPlaceAndCountsForNoSlotWhenAnotherArrives) {
  player.counters[0] = 30;
  player.counters[4] = 30;  // slow
  Updates(70);
  const TStatusIcon& poison = icons->GetIcon(0);
  const TStatusIcon& slow = icons->GetIcon(4);
  const TStatusIcon& confusion = icons->GetIcon(2);
  ASSERT_TRUE(poison.IsSteady());
  const plat::D3DXVECTOR3 place = Position(poison);
  EXPECT_FLOAT_EQ(place.z, 0.6f);
  player.counters[0] = 0;
  Updates(1);
  ASSERT_TRUE(poison.IsHiding());
  ASSERT_TRUE(slow.IsSteady()) << "an icon that starts hiding moves no other";
  player.counters[2] = 30;  // confusion
  Updates(1);
  EXPECT_EQ(icons->GetShownCount(), 3u);
  EXPECT_TRUE(poison.IsHiding());
  EXPECT_FLOAT_EQ(poison.GetTarget().y, place.y + 2.0f);
  struct Case {
    const char* what;
    const TStatusIcon* icon;
    float degrees;
  };
  for (const Case& c : {Case{"slow", &slow, 180}, Case{"confusion", &confusion, 360}}) {
    SCOPED_TRACE(c.what);
    const float theta = c.degrees * 3.14159265f / 180;
    EXPECT_TRUE(c.icon->IsMoving());
    EXPECT_NEAR(c.icon->GetTarget().x, 0.6f * std::sin(theta), 1e-5f);
    EXPECT_EQ(c.icon->GetTarget().y, 0.0f);
    EXPECT_NEAR(c.icon->GetTarget().z, 0.6f * std::cos(theta), 1e-5f);
  }
  Updates(30);
  EXPECT_FLOAT_EQ(Position(poison).x, place.x);
  EXPECT_FLOAT_EQ(Position(poison).z, place.z);
  EXPECT_GT(Position(poison).y, place.y) << "rising";
  Updates(31);
  EXPECT_NEAR(Position(slow).z, -0.6f, 1e-5f);
  EXPECT_NEAR(Position(confusion).z, 0.6f, 1e-5f);
}

TEST_F(StatusIcons, TheBoostIconFollowsTheMembersTimedModifier) {
  player.member = 1;
  TCountedPtr<TItemEffect> effect(new TItemEffect);
  effect->duration = 2;
  effect->boosts = {10, 0, 0, 0};
  Data().GetTimedModifier(1).Assign(effect);
  Updates(1);
  EXPECT_TRUE(icons->GetIcon(6).IsMoving());
  Data().GetTimedModifier(1).Clear();
  Updates(1);
  EXPECT_TRUE(icons->GetIcon(6).IsHiding());
}

}  // namespace
