// The movers of actors' attacks: which of them turn their bullet, the seek mover's bend in the
// chord's own axes and its path without a target, and the orbits' widening circles about a centre
// or a followed frame.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "game/effect/AttackMovers.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TBullet.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/ShotFixture.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;
using plat::D3DXVECTOR3;
using shottest::ActorDouble;

class AttackMoversTest : public shottest::ShotFixture {
 protected:
  void SetUp() override {
    ShotFixture::SetUp();
    root = CreateNamedFrame("ShotRoot", IdentityMatrix());
    bullet = std::make_unique<TMeshBullet>("rock01_mesh.msh", Vec(1, 1, 1));
    ahead = std::make_unique<TMeshBullet>("rock01_mesh.msh", Vec(1, 1, 1));
    bullet->Attach(*root, Vec(0, 0, 0), Vec(0, 0, 1), {1, 1, 1, 1});
    ahead->Attach(*root, Vec(0, 0, 0), Vec(0, 0, 1), {1, 1, 1, 1});
    stage.actors[7] = &target;
    // The view sits behind the origin, so a turned bullet's z axis points at -z.
    stage.root->SetPositionXYZ(0, 0, -4);
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
  // Whether Face turned the bullet (it starts looking along +z, at the origin).
  bool Turns(TEffectMover& mover) {
    bullet->GetFrame()->SetMatrix(IdentityMatrix());
    mover.Face(*bullet, stage.GetSceneFrame(), stage.GetRootFrame());
    D3DXVECTOR3 z;
    bullet->GetFrame()->GetWorldAxis(&z, 3);
    return Near(z, Vec(0, 0, -1), 1e-5f);
  }
  D3DXVECTOR3 Position() const { return Local(*bullet); }

  TCountedPtr<TFrame8> root;
  std::unique_ptr<TMeshBullet> bullet, ahead;
  ActorDouble target;
};

TEST_F(AttackMoversTest, OnlyTheLineShakeAndOrbitMoversTurnTheirBullet) {
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", IdentityMatrix());
  TLineMover line(Vec(0, 0, 0), Vec(0, 0, 1), 0.1f, 0);
  TShakeFollowMover shake(carrier, Vec(0, 0, 0), Vec(0, 0, 0), Vec(200, 300, 200));
  TOrbitMover orbit(Vec(0, 0, 0), 0, 0.2f, 5, 0.01f, 0.8f, Vec(0, 0, 0));
  TOrbitFollowMover orbitFollow(Vec(0, 0, 0), 0, 0.2f, 5, 0.01f, 0.8f, carrier, Vec(0, 0, 0));
  TBezierPlainMover plain(0.02f, Vec(0, 2, 0), Vec(0, 0, 0), Vec(0, 0, 3));
  TBezierSeekMover seek(0.02f, 0.7f, 0, Vec(0, 2, 0), Vec(0, 0, 0), 7, &stage);
  TFallMover fall(0.1f, 0, Vec(0, 0, 0), Vec(0, 0, 1));
  EXPECT_TRUE(Turns(line));
  EXPECT_TRUE(Turns(shake));
  EXPECT_TRUE(Turns(orbit));
  EXPECT_TRUE(Turns(orbitFollow));
  EXPECT_FALSE(Turns(plain));
  EXPECT_FALSE(Turns(seek));
  EXPECT_FALSE(Turns(fall));
}

TEST_F(AttackMoversTest, TheLineMoverFliesAsTheStraightMover) {
  // Start, direction, speed, acceleration: a negative speed flies along the direction.
  TLineMover line(Vec(1, 0, 0), Vec(0, 0, 5), -0.1f, 0);
  EXPECT_TRUE(Near(line.GetDirection(), Vec(0, 0, 1)));
  for (int k = 1; k <= 3; ++k) {
    Step(line);
    EXPECT_TRUE(Near(Position(), Vec(1, 0, 0.1f * k), 1e-5f)) << k;
  }
}

TEST_F(AttackMoversTest, ThePlainCurveBendsAsThePathMoverWithEqualMiddlePoints) {
  TBezierPlainMover plain(0.25f, Vec(1, 2, 3), Vec(1, 0, 1), Vec(4, 5, 5));
  EXPECT_TRUE(Near(plain.GetPoint(1), BendPoint(Vec(1, 0, 1), Vec(4, 5, 5), Vec(1, 2, 3))));
  EXPECT_TRUE(Near(plain.GetPoint(1), plain.GetPoint(2)));
  Step(plain, 4);
  EXPECT_TRUE(Near(Position(), Vec(4, 5, 5), 1e-5f));
}

TEST_F(AttackMoversTest, TheSeekBendFollowsTheChordItself) {
  const struct {
    const char* name;
    D3DXVECTOR3 start, end, bend, want;
  } cases[] = {
      // A level chord: its own up is the world's, as for the plain bend.
      {"level", Vec(0, 0, 0), Vec(0, 0, 10), Vec(1, 2, 3), Vec(1, 2, 3)},
      // Chord (0, 3, 4): side (1, 0, 0), its up (0, 0.8, -0.6), along it (0, 0.6, 0.8).
      {"rising", Vec(0, 0, 0), Vec(0, 3, 4), Vec(1, 2, 3), Vec(1, 1.6f + 1.8f, -1.2f + 2.4f)},
      // Straight up: no side and no up of its own; only the part along it remains.
      {"vertical", Vec(1, 1, 1), Vec(1, 6, 1), Vec(1, 2, 3), Vec(1, 4, 1)},
      {"no chord", Vec(2, 0, 2), Vec(2, 0, 2), Vec(1, 2, 3), Vec(2, 0, 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const D3DXVECTOR3 got = ChordBendPoint(c.start, c.end, c.bend);
    EXPECT_TRUE(std::isfinite(got.x) && std::isfinite(got.y) && std::isfinite(got.z));
    EXPECT_TRUE(Near(got, c.want, 1e-5f));
  }
}

TEST_F(AttackMoversTest, TheSeekMoverAimsAboveItsTargetAndFollowsItForAWhile) {
  target.position = Vec(0, 0, 4);
  target.height = 3;
  TBezierSeekMover seek(0.25f, 0.5f, 1.0f, Vec(1, 2, 3), Vec(0, 0, 0), 7, &stage);
  EXPECT_TRUE(Near(seek.GetPoint(3), Vec(0, 3, 4)));
  EXPECT_TRUE(Near(seek.GetPoint(1), ChordBendPoint(Vec(0, 0, 0), Vec(0, 3, 4), Vec(1, 2, 3)), 1e-5f));
  EXPECT_TRUE(Near(seek.GetPoint(1), seek.GetPoint(2)));
  // While t is below the homing start the end moves onto the target raised by the height offset.
  target.position = Vec(2, 0, 4);
  Step(seek, 2);
  EXPECT_TRUE(Near(seek.GetPoint(3), Vec(2, 1, 4)));
  target.position = Vec(5, 0, 5);
  Step(seek);
  EXPECT_TRUE(Near(seek.GetPoint(3), Vec(2, 1, 4)));
}

TEST_F(AttackMoversTest, ASeekMoverWithAnUnknownTargetStaysAtItsStart) {
  TBezierSeekMover seek(0.02f, 0.7f, 0, Vec(3, 2.5f, -0.2f), Vec(1, 2, 3), 99, &stage);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Near(seek.GetPoint(i), Vec(1, 2, 3))) << i;
  Step(seek, 50);
  EXPECT_TRUE(Near(Position(), Vec(1, 2, 3), 1e-5f));
  // No stage at all finds nobody either.
  TBezierSeekMover stranded(0.02f, 0.7f, 0, Vec(3, 2.5f, -0.2f), Vec(1, 2, 3), 7, nullptr);
  EXPECT_TRUE(Near(stranded.GetPoint(3), Vec(1, 2, 3)));
}

TEST_F(AttackMoversTest, TheOrbitWidensToItsLimitAndTurnsEitherWay) {
  const D3DXVECTOR3 centre = Vec(1, 2, 3);
  TOrbitMover orbit(centre, 0, 0.2f, 5, 0.01f, 0.8f, Vec(0, 0, 0));
  EXPECT_NEAR(orbit.GetAngularSpeed(), 5 * 0.017453292f, 1e-7f);
  for (int tick = 1; tick <= 70; ++tick) {
    Step(orbit);
    const float want = std::min(0.2f + 0.01f * tick, 0.8f);
    ASSERT_NEAR(orbit.GetRadius(), want, 1e-5f) << tick;
    ASSERT_LE(orbit.GetRadius(), 0.8f);
    const float a = 5.0f * tick * 0.017453292f;
    ASSERT_TRUE(Near(Position(), Vec(centre.x + std::sin(a) * want, centre.y, centre.z + std::cos(a) * want), 1e-4f))
        << tick;
  }
  EXPECT_FLOAT_EQ(orbit.GetRadius(), 0.8f);

  // Minus five degrees a tick: the first step swings to the other side of the centre.
  TOrbitMover back(centre, 0, 0.2f, -5, 0.01f, 1.2f, Vec(0, 0, 0));
  Step(back);
  EXPECT_LT(Position().x, centre.x);
  TOrbitMover forth(centre, 0, 0.2f, 5, 0.01f, 1.2f, Vec(0, 0, 0));
  Step(forth);
  EXPECT_GT(Position().x, centre.x);
}

TEST_F(AttackMoversTest, TheFollowingOrbitCirclesTheFramesWorldPositionAndKeepsItAlive) {
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", mathcheck::RotationY(1.5707964f));
  carrier->SetPositionXYZ(10, 0, 5);
  root->SetPositionXYZ(0, 7, 0);  // the bullet's parent is off the origin: the place is in world space
  auto orbit = std::make_unique<TOrbitFollowMover>(Vec(0, 0.5f, 0), 1.5707964f, 0.2f, 0, 0.1f, 0.4f, carrier,
                                                   Vec(0, 0.25f, 0));
  EXPECT_EQ(carrier.GetCount(), 2);
  Step(*orbit);
  // A quarter turn, radius 0.3: (0.3, 0, 0) from the centre, whatever the carrier's own turn.
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(10.3f, 0.5f, 5), 1e-5f));
  carrier->SetPositionXYZ(0, 1, 0);
  Step(*orbit);
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(0.4f, 1.5f, 0), 1e-5f));

  ahead->SetPosition(Vec(1, 1, 1));
  orbit->Follow(*bullet, *ahead);
  EXPECT_TRUE(Near(bullet->GetPosition(), Vec(1, 1.25f, 1)));

  TCountedPtr<TFrame8> watch = carrier;
  carrier.Reset();
  orbit.reset();
  EXPECT_EQ(watch.GetCount(), 1);
}

TEST_F(AttackMoversTest, TheShakeFollowerJittersAboutItsAxisPointInTheSharedFrame) {
  SeedRand(77);
  TCountedPtr<TFrame8> carrier = CreateNamedFrame("Carrier", IdentityMatrix());
  carrier->SetPositionXYZ(0, 5, 0);
  auto shake =
      std::make_unique<TShakeFollowMover>(carrier, Vec(0, -1, 0), Vec(0, 0, 0), Vec(200, 300, 200));
  EXPECT_EQ(carrier.GetCount(), 2);
  for (int i = 0; i < 50; ++i) {
    Step(*shake);
    const D3DXVECTOR3 p = bullet->GetPosition();
    ASSERT_LE(std::fabs(p.x), 64.0f / 200 + 1e-5f);
    ASSERT_NEAR(p.y, 4.0f, 64.0f / 300 + 1e-5f);
    ASSERT_LE(std::fabs(p.z), 64.0f / 200 + 1e-5f);
  }
  TCountedPtr<TFrame8> watch = carrier;
  carrier.Reset();
  shake.reset();
  EXPECT_EQ(watch.GetCount(), 1);
}

}  // namespace
