#include <gtest/gtest.h>

#include <cmath>

#include "common/TFrame8.h"
#include "tests/common/MathChecks.h"

namespace {

using namespace mathcheck;
using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

constexpr float kHalfPi = 1.5707963f;

struct World {
  D3DXVECTOR3 x, y, z, position;
};

World WorldOf(const TFrame8& f) {
  D3DXMATRIX m;
  f.GetWorldMatrix(&m);
  return {Row(m, 0), Row(m, 1), Row(m, 2), Row(m, 3)};
}

D3DXVECTOR3 Unit(float x, float y, float z) {
  D3DXVECTOR3 v(x, y, z);
  return *plat::D3DXVec3Normalize(&v, &v);
}

// A root, a scene frame under it and two frames placed in the scene.
struct Scene {
  TCountedPtr<TFrame8> root = CreateNamedFrame("Root", IdentityMatrix());
  TCountedPtr<TFrame8> frame = CreateNamedFrame("Frame", IdentityMatrix());
  TCountedPtr<TFrame8> target = CreateNamedFrame("Target", IdentityMatrix());
  Scene() {
    root->AddChild(frame);
    root->AddChild(target);
  }
};

TEST(FrameMoves, PreAndPostMultiplication) {
  auto f = CreateNamedFrame("f", RotationY(kHalfPi));  // own x axis along world -z
  f->Translate(1, 0, 0, true);
  D3DXVECTOR3 p;
  EXPECT_TRUE(Near(*f->GetPosition(&p), Vec(0, 0, -1)));
  f->Translate(1, 0, 0, false);
  EXPECT_TRUE(Near(*f->GetPosition(&p), Vec(1, 0, -1)));

  f->SetPositionXYZ(1, 2, 3);
  f->SetPositionXYZ(1, 2, 3);
  EXPECT_TRUE(Near(*f->GetPosition(&p), Vec(1, 2, 3)));
  f->SetPosition(Vec(0, 0, 0));
  f->AddPosition(1, 2, 3);
  f->AddPosition(1, 2, 3);
  EXPECT_TRUE(Near(*f->GetPosition(&p), Vec(2, 4, 6)));

  f->Scale(2, 2, 2, true);
  EXPECT_TRUE(Near(*f->GetAxis(&p, 3), Vec(2, 0, 0)));
  EXPECT_TRUE(Near(*f->GetPosition(&p), Vec(2, 4, 6))) << "scaling in its own space keeps the place";
  for (int32_t axis : {0, 4, -1}) EXPECT_TRUE(Near(*f->GetAxis(&p, axis), Vec(0, 0, 0))) << axis;
  for (int32_t axis : {0, 4}) EXPECT_TRUE(Near(*f->GetWorldAxis(&p, axis), Vec(0, 0, 0))) << axis;
}

TEST(FrameSpaces, RelativeMatricesAndPositions) {
  Scene s;
  s.root->SetMatrix(RotationY(kHalfPi) * Translation(1, 0, 0));
  s.frame->SetMatrix(Translation(0, 0, 2));
  s.target->SetMatrix(RotationY(kHalfPi) * Translation(0, 5, 0));
  D3DXVECTOR3 p = Vec(9, 9, 9);
  EXPECT_TRUE(Near(*s.frame->GetWorldPosition(&p), Vec(3, 0, 0)));
  EXPECT_TRUE(s.frame->GetPositionRelativeTo(nullptr, &p));
  EXPECT_TRUE(Near(p, Vec(3, 0, 0)));
  EXPECT_TRUE(s.frame->GetPositionRelativeTo(s.target.Get(), &p));
  EXPECT_TRUE(Near(p, Vec(-2, -5, 0)));  // the target at (1, 5, 0), turned by pi
  EXPECT_TRUE(s.target->GetAxisRelativeTo(s.frame.Get(), &p, 1));
  EXPECT_TRUE(Near(p, Vec(0, 0, -1)));
  p = Vec(9, 9, 9);
  EXPECT_TRUE(s.target->GetAxisRelativeTo(s.frame.Get(), &p, 0));
  EXPECT_TRUE(Near(p, Vec(9, 9, 9))) << "an unknown axis leaves out alone";

  EXPECT_TRUE(s.frame->WorldToLocal(&p, Vec(3, 0, 1), true));
  EXPECT_TRUE(Near(p, Vec(-1, 0, 0)));
  EXPECT_TRUE(s.frame->WorldToLocal(&p, Vec(3, 0, 1), false));
  EXPECT_TRUE(Near(p, Vec(-1, 0, 3))) << "without translation only the turn is undone";
}

TEST(FrameSpaces, SetWorldPositionUnderAMovedTurnedParent) {
  Scene s;
  s.root->SetMatrix(Scaling(2, 2, 2) * RotationY(0.7f) * Translation(1, 0, 0));
  s.frame->SetMatrix(RotationY(-0.3f) * Translation(4, 1, 0));
  const D3DXMATRIX before = *s.frame->GetMatrix();
  ASSERT_TRUE(s.frame->SetWorldPosition(Vec(5, 0, 0)));
  World w = WorldOf(*s.frame);
  EXPECT_TRUE(Near(w.position, Vec(5, 0, 0)));
  EXPECT_TRUE(Near(Row(*s.frame->GetMatrix(), 0), Row(before, 0))) << "the turn stays";

  // A point given in another frame's space.
  s.target->SetMatrix(RotationY(kHalfPi) * Translation(0, 0, 3));
  ASSERT_TRUE(s.frame->SetPositionRelativeTo(s.target.Get(), Vec(1, 0, 0)));
  D3DXVECTOR3 p;
  EXPECT_TRUE(s.frame->GetPositionRelativeTo(s.target.Get(), &p));
  EXPECT_TRUE(Near(p, Vec(1, 0, 0), 1e-4f));
}

TEST(FrameSpaces, SingularWorldMatricesFailAndChangeNothing) {
  Scene s;
  s.root->SetMatrix(Scaling(1, 0, 1));
  s.target->SetPositionXYZ(0, 0, 5);
  D3DXMATRIX m = Translation(7, 7, 7);
  EXPECT_FALSE(s.frame->GetInverseWorldMatrix(&m, true));
  EXPECT_TRUE(SameBytes(m, IdentityMatrix()));
  D3DXVECTOR3 p;
  EXPECT_FALSE(s.frame->WorldToLocal(&p, Vec(1, 1, 1), true));
  EXPECT_FALSE(s.target->GetPositionRelativeTo(s.frame.Get(), &p));
  EXPECT_FALSE(s.target->GetAxisRelativeTo(s.frame.Get(), &p, 0));

  const D3DXMATRIX before = *s.frame->GetMatrix();
  EXPECT_FALSE(s.frame->SetWorldPosition(Vec(1, 2, 3)));
  EXPECT_FALSE(s.frame->LookAt(Vec(1, 0, 0), Vec(0, 1, 0)));
  for (int32_t mode : {1, 3, 4, 8, 12}) EXPECT_FALSE(s.frame->Aim(s.root.Get(), s.target.Get(), mode)) << mode;
  EXPECT_TRUE(SameBytes(*s.frame->GetMatrix(), before));
}

TEST(FrameTurns, LookAt) {
  struct Case {
    const char* what;
    D3DXVECTOR3 direction;
    bool ok;
    D3DXVECTOR3 x, y, z;
  } cases[] = {
      {"ahead", Vec(0, 0, 1), true, Vec(1, 0, 0), Vec(0, 1, 0), Vec(0, 0, 1)},
      {"onto +x", Vec(3, 0, 0), true, Vec(0, 0, -1), Vec(0, 1, 0), Vec(1, 0, 0)},
      {"up is parallel", Vec(0, 2, 0), false, Vec(1, 0, 0), Vec(0, 1, 0), Vec(0, 0, 1)},
      {"no direction", Vec(0, 0, 0), false, Vec(1, 0, 0), Vec(0, 1, 0), Vec(0, 0, 1)},
  };
  for (const Case& c : cases) {
    Scene s;
    s.root->SetMatrix(Translation(4, 5, 6));
    s.frame->SetPositionXYZ(1, 2, 3);
    EXPECT_EQ(s.frame->LookAt(c.direction, Vec(0, 1, 0)), c.ok) << c.what;
    World w = WorldOf(*s.frame);
    EXPECT_TRUE(Near(w.x, c.x)) << c.what;
    EXPECT_TRUE(Near(w.y, c.y)) << c.what;
    EXPECT_TRUE(Near(w.z, c.z)) << c.what;
    EXPECT_TRUE(Near(w.position, Vec(5, 7, 9))) << c.what;
  }
}

TEST(FrameTurns, LookAtUnderATurnedParentAndRelativeToAReference) {
  Scene s;
  s.root->SetMatrix(RotationY(kHalfPi));
  ASSERT_TRUE(s.frame->LookAt(Vec(1, 0, 0), Vec(0, 1, 0)));  // world directions
  EXPECT_TRUE(Near(WorldOf(*s.frame).z, Vec(1, 0, 0)));

  s.target->SetMatrix(RotationY(kHalfPi) * Translation(9, 9, 9));
  ASSERT_TRUE(s.frame->LookAtRelativeTo(s.target.Get(), Vec(0, 0, 1), Vec(0, 1, 0)));
  EXPECT_TRUE(Near(WorldOf(*s.frame).z, Vec(0, 0, -1))) << "the target is turned by pi in the world";
}

TEST(FrameTurns, AimMode12PointsZAtTheTarget) {
  Scene s;
  s.root->SetMatrix(Translation(0, 0, 10));
  s.frame->SetPositionXYZ(1, 1, 1);
  s.target->SetPositionXYZ(4, 5, 13);
  ASSERT_TRUE(s.frame->Aim(s.root.Get(), s.target.Get(), 12));
  World w = WorldOf(*s.frame);
  EXPECT_TRUE(Near(w.z, Unit(3, 4, 12)));
  EXPECT_NEAR(w.x.y, 0, 1e-6) << "x stays level: y leans toward the reference's y";
  EXPECT_GT(w.y.y, 0);
  EXPECT_TRUE(Near(w.position, Vec(1, 1, 11)));
}

TEST(FrameTurns, AimMode12FallbacksUseWorldPoints) {
  // Straight above: the reference's y lies on the aiming line, so the world point (1, 0, 0),
  // taken into the frame's space as a point, becomes the up hint.
  Scene s;
  s.frame->SetPositionXYZ(2, 0, 0);
  s.target->SetPositionXYZ(2, 5, 0);
  ASSERT_TRUE(s.frame->Aim(s.root.Get(), s.target.Get(), 12));
  World w = WorldOf(*s.frame);
  EXPECT_TRUE(Near(w.z, Vec(0, 1, 0)));
  EXPECT_TRUE(Near(w.y, Vec(-1, 0, 0))) << "(1, 0, 0) lies at -x from the frame at (2, 0, 0)";

  // A target on the frame's own origin: the aim is the world point (0, 0, 1) in the frame's space.
  Scene t;
  t.frame->SetMatrix(RotationY(kHalfPi));  // facing +x
  ASSERT_TRUE(t.frame->Aim(t.root.Get(), t.target.Get(), 12));
  EXPECT_TRUE(Near(WorldOf(*t.frame).z, Vec(0, 0, 1)));
}

TEST(FrameTurns, AimModesKeepTheirAxes) {
  struct Case {
    int32_t mode;
    D3DXVECTOR3 target;
    D3DXVECTOR3 x, y, z;
  } cases[] = {
      {4, Vec(3, 4, 0), Vec(0, 0, -1), Vec(0, 1, 0), Vec(1, 0, 0)},  // turns about y only
      {1, Vec(0, 3, 4), Vec(1, 0, 0), Vec(0, 0.8f, -0.6f), Vec(0, 0.6f, 0.8f)},
      {3, Vec(0, 3, 4), Vec(1, 0, 0), Vec(0, 0.8f, -0.6f), Vec(0, 0.6f, 0.8f)},
      {1, Vec(0, 3, -4), Vec(1, 0, 0), Vec(0, -0.8f, -0.6f), Vec(0, 0.6f, -0.8f)},
      {3, Vec(0, 3, -4), Vec(-1, 0, 0), Vec(0, 0.8f, 0.6f), Vec(0, 0.6f, -0.8f)},  // rolled by pi
      {5, Vec(0, 3, -4), Vec(1, 0, 0), Vec(0, -0.8f, -0.6f), Vec(0, 0.6f, -0.8f)},
  };
  for (const Case& c : cases) {
    Scene s;
    s.target->SetPosition(c.target);
    ASSERT_TRUE(s.frame->Aim(s.root.Get(), s.target.Get(), c.mode)) << c.mode;
    World w = WorldOf(*s.frame);
    EXPECT_TRUE(Near(w.x, c.x)) << c.mode << " toward " << c.target.z;
    EXPECT_TRUE(Near(w.y, c.y)) << c.mode << " toward " << c.target.z;
    EXPECT_TRUE(Near(w.z, c.z)) << c.mode << " toward " << c.target.z;
  }
}

TEST(FrameTurns, Mode8FacesTheReferenceZTowardTheTargetSide) {
  struct Case {
    float frameZ, pointZ;
    float facing;
  } cases[] = {{-2, 0, 1}, {2, 0, -1}, {0, 0, -1}};
  for (const Case& c : cases) {
    Scene s;
    s.root->SetMatrix(RotationY(kHalfPi));  // the reference's z runs along world +x
    s.frame->SetPositionXYZ(0, 0, c.frameZ);
    s.target->SetPositionXYZ(0, 0, c.pointZ);
    ASSERT_TRUE(s.frame->Aim(s.root.Get(), s.target.Get(), 8));
    EXPECT_TRUE(Near(WorldOf(*s.frame).z, Vec(c.facing, 0, 0))) << "frame at " << c.frameZ;
  }
  for (const Case& c : cases) {
    Scene s;
    s.frame->SetPositionXYZ(0, 0, c.frameZ);
    ASSERT_TRUE(s.frame->AimAtPoint(s.root.Get(), Vec(5, 5, c.pointZ), 8));
    EXPECT_TRUE(Near(WorldOf(*s.frame).z, Vec(0, 0, c.facing))) << "frame at " << c.frameZ;
  }
}

TEST(FrameTurns, AimAtPointMatchesAimAtAFrameThere) {
  Scene s, t;
  for (Scene* x : {&s, &t}) {
    x->root->SetMatrix(RotationY(0.4f) * Translation(1, 2, 3));
    x->frame->SetPositionXYZ(1, 0, 0);
    x->target->SetPositionXYZ(-3, 2, 5);
  }
  D3DXVECTOR3 point;
  t.target->GetWorldPosition(&point);
  for (int32_t mode : {12, 4, 1}) {
    ASSERT_TRUE(s.frame->Aim(s.root.Get(), s.target.Get(), mode));
    ASSERT_TRUE(t.frame->AimAtPoint(t.root.Get(), point, mode));
    EXPECT_TRUE(Near(*s.frame->GetMatrix(), *t.frame->GetMatrix(), 1e-4f)) << mode;
  }
}

TEST(FrameTurns, UnknownModesAndMissingFramesAreRefused) {
  Scene s;
  s.target->SetPositionXYZ(3, 4, 5);
  const D3DXMATRIX before = *s.frame->GetMatrix();
  for (int32_t mode : {0, 2, 6, 10, 16}) {
    EXPECT_FALSE(s.frame->Aim(s.root.Get(), s.target.Get(), mode)) << mode;
    EXPECT_FALSE(s.frame->AimAtPoint(s.root.Get(), Vec(3, 4, 5), mode)) << mode;
  }
  EXPECT_FALSE(s.frame->Aim(nullptr, s.target.Get(), 12));
  EXPECT_FALSE(s.frame->Aim(s.root.Get(), nullptr, 12));
  EXPECT_FALSE(s.frame->AimAtPoint(nullptr, Vec(3, 4, 5), 4));
  EXPECT_TRUE(SameBytes(*s.frame->GetMatrix(), before));
  EXPECT_TRUE(s.frame->Aim(nullptr, s.target.Get(), 8)) << "mode 8 works in world directions";
}

}  // namespace
