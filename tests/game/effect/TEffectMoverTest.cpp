// The motion controllers: the straight step, the point followers with their jitter, the bend point
// and Bezier step, homing on a character that moves or leaves, and the heal at the end of a flight.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "game/effect/MtRandomState.h"
#include "game/effect/TBezierMover.h"
#include "game/effect/TBullet.h"
#include "game/effect/TEffectMover.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/ShotFixture.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;
using shottest::ActorDouble;

class EffectMoverTest : public shottest::ShotFixture {
 protected:
  void SetUp() override {
    ShotFixture::SetUp();
    root = CreateNamedFrame("ShotRoot", IdentityMatrix());
    bullet = std::make_unique<TMeshBullet>("rock01_mesh.msh", Vec(1, 1, 1));
    ahead = std::make_unique<TMeshBullet>("rock01_mesh.msh", Vec(1, 1, 1));
    bullet->Attach(*root, Vec(0, 0, 0), Vec(0, 0, 1), {1, 1, 1, 1});
    ahead->Attach(*root, Vec(0, 0, 0), Vec(0, 0, 1), {1, 1, 1, 1});
    stage.actors[7] = &target;
  }
  void TearDown() override {
    bullet.reset();
    ahead.reset();
    root.Reset();
    ShotFixture::TearDown();
  }
  void Step(TEffectMover& mover, int times = 1) {
    for (int i = 0; i < times; ++i) mover.Step(*bullet, stage.GetSceneFrame(), stage.GetRootFrame());
  }
  D3DXVECTOR3 Position() const { return Local(*bullet); }

  // The cubic with the textbook weights, in double.
  static D3DXVECTOR3 Cubic(const D3DXVECTOR3 p[4], double t) {
    const double w[4] = {(1 - t) * (1 - t) * (1 - t), 3 * t * (1 - t) * (1 - t), 3 * t * t * (1 - t), t * t * t};
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < 4; ++i) {
      x += w[i] * p[i].x;
      y += w[i] * p[i].y;
      z += w[i] * p[i].z;
    }
    return Vec(float(x), float(y), float(z));
  }

  TCountedPtr<TFrame8> root;
  std::unique_ptr<TMeshBullet> bullet, ahead;
  ActorDouble target;
};

TEST_F(EffectMoverTest, TheBendPointLiesInTheChordsHorizontalAxes) {
  const struct {
    D3DXVECTOR3 start, end, bend, want;
  } cases[] = {
      {Vec(0, 0, 0), Vec(0, 0, 10), Vec(1, 2, 3), Vec(1, 2, 3)},
      // Chord (3, 5, 4): side (0.8, 0, -0.6), forward (0.6, 0, 0.8); the chord's rise plays no part.
      {Vec(1, 0, 1), Vec(4, 5, 5), Vec(1, 2, 3), Vec(1 + 0.8f + 1.8f, 2, 1 - 0.6f + 2.4f)},
      {Vec(0, 0, 0), Vec(-10, 0, 0), Vec(1, 0, 0), Vec(0, 0, 1)},
      // Straight up, or no chord at all: only the rise remains.
      {Vec(1, 1, 1), Vec(1, 6, 1), Vec(1, 2, 3), Vec(1, 3, 1)},
      {Vec(2, 0, 2), Vec(2, 0, 2), Vec(1, 2, 3), Vec(2, 2, 2)},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(Near(BendPoint(c.start, c.end, c.bend), c.want, 1e-5f));
    TBezierPathMover mover(0.1f, c.bend, c.start, c.end);
    EXPECT_TRUE(Near(mover.GetPoint(0), c.start));
    EXPECT_TRUE(Near(mover.GetPoint(1), c.want, 1e-5f));
    EXPECT_TRUE(Near(mover.GetPoint(2), c.want, 1e-5f));
    EXPECT_TRUE(Near(mover.GetPoint(3), c.end));
  }
}

TEST_F(EffectMoverTest, TheBezierStepAdvancesFirstReachesTheEndAndGoesOnPastIt) {
  TBezierPathMover mover(0.25f, Vec(1, 2, 3), Vec(0, 0, 0), Vec(0, 0, 10));
  const D3DXVECTOR3 points[4] = {mover.GetPoint(0), mover.GetPoint(1), mover.GetPoint(2), mover.GetPoint(3)};
  for (int k = 1; k <= 3; ++k) {
    Step(mover);
    EXPECT_FLOAT_EQ(mover.GetT(), 0.25f * k);
    EXPECT_TRUE(Near(Position(), Cubic(points, 0.25 * k), 1e-5f)) << k;
  }
  Step(mover);
  EXPECT_EQ(mover.GetT(), 1.0f);
  const D3DXVECTOR3 end = Position();
  EXPECT_EQ(end.x, 0.0f);
  EXPECT_EQ(end.y, 0.0f);
  EXPECT_EQ(end.z, 10.0f);
  // Not clamped: the curve is extrapolated.
  Step(mover);
  EXPECT_TRUE(Near(Position(), Cubic(points, 1.25), 1e-4f));
}

TEST_F(EffectMoverTest, TheHomingMoverStartsAboveTheTargetOrAtItsStart) {
  target.position = Vec(0, 0, 8);
  target.height = 1.5f;
  TBezierHomingMover found(0.1f, 0.7f, 0.25f, Vec(0, 2, 0), Vec(1, 0, 0), 7, &stage);
  EXPECT_TRUE(Near(found.GetPoint(3), Vec(0, 1.5f, 8)));
  EXPECT_TRUE(Near(found.GetPoint(1), BendPoint(Vec(1, 0, 0), Vec(0, 1.5f, 8), Vec(0, 2, 0))));

  TBezierHomingMover missing(0.1f, 0.7f, 0.25f, Vec(0, 2, 0), Vec(1, 0, 0), 8, &stage);
  EXPECT_TRUE(Near(missing.GetPoint(3), Vec(1, 0, 0)));
  EXPECT_TRUE(Near(missing.GetPoint(1), Vec(1, 2, 0)));
  TBezierHomingMover noStage(0.1f, 0.7f, 0.25f, Vec(0, 2, 0), Vec(1, 0, 0), 7, nullptr);
  EXPECT_TRUE(Near(noStage.GetPoint(3), Vec(1, 0, 0)));
}

TEST_F(EffectMoverTest, HomingFollowsWhileTBeforeTheStepIsBelowTheLimit) {
  target.position = Vec(0, 0, 8);
  TBezierHomingMover mover(0.25f, 0.7f, 0.5f, Vec(0, 1, 0), Vec(0, 0, 0), 7, &stage);
  // t before each step: 0, 0.25, 0.5 follow; 0.75 and later do not.
  const bool follows[] = {true, true, true, false, false};
  for (int k = 0; k < 5; ++k) {
    target.position = Vec(float(k), 0, 8);
    const D3DXVECTOR3 before = mover.GetPoint(3);
    Step(mover);
    EXPECT_TRUE(Near(mover.GetPoint(3), follows[k] ? Vec(float(k), 0.5f, 8) : before)) << k;
  }
  // The middle points stay those of the construction.
  EXPECT_TRUE(Near(mover.GetPoint(1), BendPoint(Vec(0, 0, 0), Vec(0, 1, 8), Vec(0, 1, 0))));

  TBezierHomingMover never(0.25f, 0.0f, 0.5f, Vec(0, 1, 0), Vec(0, 0, 0), 7, &stage);
  const D3DXVECTOR3 first = never.GetPoint(3);
  target.position = Vec(5, 5, 5);
  Step(never, 4);
  EXPECT_TRUE(Near(never.GetPoint(3), first));
  EXPECT_TRUE(Near(Position(), first));
}

TEST_F(EffectMoverTest, AVanishedTargetLeavesTheLastEndPoint) {
  TBezierHomingMover mover(0.125f, 0.7f, 0.0f, Vec(0, 2, 0), Vec(0, 0, 0), 7, &stage);
  target.position = Vec(2, 0, 6);
  Step(mover, 2);
  stage.actors.erase(7);
  Step(mover, 6);
  EXPECT_TRUE(Near(mover.GetPoint(3), Vec(2, 0, 6)));
  EXPECT_TRUE(Near(Position(), Vec(2, 0, 6)));
}

TEST_F(EffectMoverTest, TheHealMoverHealsOnlyAboveTheEndWhileTheTargetIsThere) {
  // 0.98 itself heals nothing; every later step heals the amount while the target is found.
  TBezierHealMover mover(0.98f, 0.7f, 0.0f, Vec(0, 1, 0), Vec(0, 0, 0), 7, &stage, 25);
  Step(mover);
  EXPECT_EQ(mover.GetT(), 0.98f);
  EXPECT_TRUE(target.heals.empty());
  Step(mover, 2);
  EXPECT_EQ(target.heals, (std::vector<int32_t>{25, 25}));
  stage.actors.erase(7);
  Step(mover);
  EXPECT_EQ(target.heals.size(), 2u);
}

TEST_F(EffectMoverTest, TheStraightMoverStepsAgainstItsNormalisedDirection) {
  TFallMover along(-0.1f, 0.0f, Vec(1, 0, 0), Vec(0, 0, 5));
  EXPECT_TRUE(Near(along.GetDirection(), Vec(0, 0, 1)));
  for (int k = 1; k <= 5; ++k) {
    Step(along);
    EXPECT_TRUE(Near(Position(), Vec(1, 0, 0.1f * k), 1e-5f)) << k;
  }
  // A positive, growing speed: 0.2, then 0.3, then 0.4 against (0, 1, 0).
  TFallMover falling(0.1f, 0.1f, Vec(0, 10, 0), Vec(0, 2, 0));
  const float heights[] = {9.8f, 9.5f, 9.1f};
  for (float h : heights) {
    Step(falling);
    EXPECT_TRUE(Near(Position(), Vec(0, h, 0), 1e-5f));
  }
  // Trailing bullets move onto the bullet ahead.
  ahead->SetPosition(Vec(3, 4, 5));
  falling.Follow(*bullet, *ahead);
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(3, 4, 5)));
}

TEST_F(EffectMoverTest, ThePointFollowerRidesOnItsReferenceFrame) {
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", mathcheck::RotationY(1.5707964f));
  carrier->SetPositionXYZ(5, 0, 0);
  TSpinFollowMover mover(carrier.Get(), Vec(0, 1, 2), Vec(0, 0.5f, 0));
  Step(mover);
  // (0, 1, 2) turned a quarter about y is (2, 1, 0), then moved by (5, 0, 0).
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(7, 1, 0), 1e-5f));
  carrier->SetPositionXYZ(5, 0, 3);
  Step(mover);
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(7, 1, 3), 1e-5f));

  ahead->SetPosition(Vec(1, 1, 1));
  mover.Follow(*bullet, *ahead);
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(1, 1.5f, 1)));

  // Face turns the bullet with the view references.
  bullet->SetPosition(Vec(0, 0, 0));
  stage.root->SetPositionXYZ(0, 0, -4);
  mover.Face(*bullet, stage.GetSceneFrame(), stage.GetRootFrame());
  D3DXVECTOR3 z;
  bullet->GetFrame()->GetWorldAxis(&z, 3);
  EXPECT_TRUE(Near(z, Vec(0, 0, -1), 1e-5f));
}

TEST_F(EffectMoverTest, TheShakeDrawsThreeJittersOfMinus64To63AFrame) {
  SeedRand(12345);
  MtRandomState reference;
  reference.Seed(12345);
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", IdentityMatrix());
  carrier->SetPositionXYZ(10, 20, 30);
  TShakeMover mover(carrier.Get(), Vec(1, 2, 3), Vec(0, 0, 0), Vec(1, 2, 4));
  std::set<int> seen;
  for (int k = 0; k < 3000; ++k) {
    Step(mover);
    int want[3];
    for (int& j : want) j = static_cast<int>((reference.Next() >> 1) & 127) - 64;
    const D3DXVECTOR3 p = bullet->GetPosition();
    const float got[3] = {(p.x - 11) * 1, (p.y - 22) * 2, (p.z - 33) * 4};
    for (int axis = 0; axis < 3; ++axis) {
      ASSERT_NEAR(got[axis], float(want[axis]), 1e-3f) << k;
      seen.insert(want[axis]);
    }
  }
  EXPECT_EQ(*seen.begin(), -64);
  EXPECT_EQ(*seen.rbegin(), 63);
  EXPECT_EQ(seen.size(), 128u);
}

TEST_F(EffectMoverTest, TheHoldingShakeKeepsItsFrameAliveUntilItGoes) {
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", IdentityMatrix());
  carrier->SetPositionXYZ(0, 5, 0);
  auto mover = std::make_unique<THoldingShakeMover>(carrier, Vec(0, 0, 0), Vec(0, 0, 0), Vec(200, 300, 200));
  EXPECT_EQ(carrier.GetCount(), 2);
  TCountedPtr<TFrame8> watch = carrier;
  carrier.Reset();
  Step(*mover);
  EXPECT_NEAR(bullet->GetPosition().y, 5.0f, 64.0f / 300);
  mover.reset();
  EXPECT_EQ(watch.GetCount(), 1);
}

TEST_F(EffectMoverTest, TheHolderHandsOnWithTheOldAutoPointerRules) {
  int destroyed = 0;
  auto journal = std::make_shared<effecttest::Journal>();
  auto* a = new shottest::MoverProbe(journal, {}, &destroyed);
  auto* b = new shottest::MoverProbe(journal, {}, &destroyed);
  {
    TMoverHolder held;
    TMoverHolder first(a);
    held = first;
    EXPECT_EQ(held.Get(), a);
    EXPECT_TRUE(held.Owns());
    EXPECT_EQ(first.Get(), a);  // the giver keeps the pointer, not the ownership
    EXPECT_FALSE(first.Owns());

    TMoverHolder& same = held;
    held = same;  // itself: nothing
    EXPECT_TRUE(held.Owns());

    TMoverHolder other(b);
    held = other;  // a different mover: the owned one goes
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(held.Get(), b);

    TMoverHolder borrowed;
    borrowed = held;  // the same pointer comes back owned
    EXPECT_FALSE(held.Owns());
    held = borrowed;
    EXPECT_TRUE(held.Owns());
    EXPECT_FALSE(borrowed.Owns());
  }
  EXPECT_EQ(destroyed, 2);
}

}  // namespace
