// The stage cameras without a device: the shake, the chase and rail rules, the aim and the view,
// and the camera a map's camera chunks build.
#include "common/TFrame8.h"
#include "game/field/TCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "common/TView8.h"
#include "tests/game/field/MapFixture.h"

namespace {

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

::testing::AssertionResult Near(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tolerance = 1e-4f) {
  if (std::fabs(got.x - want.x) <= tolerance && std::fabs(got.y - want.y) <= tolerance &&
      std::fabs(got.z - want.z) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << ", " << got.z << "), want ("
                                       << want.x << ", " << want.y << ", " << want.z << ")";
}

float Length(const D3DXVECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
D3DXVECTOR3 Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z); }

class CameraTest : public MapFixture {
 protected:
  void SetUp() override {
    MapFixture::SetUp();
    view.SetProjection(0.1f, 200.0f, 45.0f, 640, 480);
  }

  D3DXVECTOR3 Position(const TFrame8& frame) {
    D3DXVECTOR3 p;
    frame.GetPosition(&p);
    return p;
  }
  D3DXVECTOR3 Axis(const TFrame8& frame, int32_t axis) {
    D3DXVECTOR3 a;
    frame.GetAxis(&a, axis);
    return a;
  }
  // Where the view puts a world point (camera space: x right, y up, z ahead).
  D3DXVECTOR3 InView(const D3DXVECTOR3& point) {
    D3DXVECTOR3 out;
    plat::D3DXVec3TransformCoord(&out, &point, view.GetView());
    return out;
  }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCountedPtr<TFrame8> target = CreateNamedFrame("CameraTarget", IdentityMatrix());
  TView8 view;
};

// ---- Shake -------------------------------------------------------------------------------------

// The stage puts the target back every tick before the camera steps, so each jolt shows for one
// tick: what the target holds after each step is the jolt of that tick.
std::vector<D3DXVECTOR3> Jolts(TCamera& camera, TFrame8& target, int ticks) {
  std::vector<D3DXVECTOR3> out;
  for (int i = 0; i < ticks; ++i) {
    target.SetPositionXYZ(0, 0, 0);
    camera.StepShake();
    D3DXVECTOR3 p;
    out.push_back(*target.GetPosition(&p));
  }
  return out;
}

TEST_F(CameraTest, AShakeJoltsTheTargetOnTheFirstTickOfEachPeriodOnTheChosenAxes) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  EXPECT_FALSE(camera.IsShaking());
  camera.StartShake(2, 3, 0.5f, 1 | 4);
  EXPECT_TRUE(camera.IsShaking());
  camera.StartShake(5, 2, 9.0f, 2);  // ignored while the first runs

  const std::vector<D3DXVECTOR3> jolts = Jolts(camera, *target, 7);
  const D3DXVECTOR3 jolt(0.5f, 0, 0.5f), none(0, 0, 0);
  const D3DXVECTOR3 want[7] = {jolt, none, none, jolt, none, none, none};
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(Near(jolts[i], want[i])) << "tick " << i + 1;
  EXPECT_FALSE(camera.IsShaking()) << "two periods of three ticks";
}

TEST_F(CameraTest, AShakeOfPeriodOneJoltsOnceAndStaysActiveUntilStopped) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.StartShake(3, 1, 1.0f, 2);
  std::vector<D3DXVECTOR3> jolts = Jolts(camera, *target, 10);
  EXPECT_TRUE(Near(jolts[0], D3DXVECTOR3(0, 1, 0)));
  for (int i = 1; i < 10; ++i) EXPECT_TRUE(Near(jolts[i], D3DXVECTOR3(0, 0, 0))) << "tick " << i + 1;
  EXPECT_TRUE(camera.IsShaking());

  camera.StartShake(1, 2, 4.0f, 1);  // still ignored
  EXPECT_TRUE(Near(Jolts(camera, *target, 1)[0], D3DXVECTOR3(0, 0, 0)));
  camera.StopShake();
  EXPECT_FALSE(camera.IsShaking());
  camera.StartShake(1, 2, 4.0f, 1);
  jolts = Jolts(camera, *target, 3);
  EXPECT_TRUE(Near(jolts[0], D3DXVECTOR3(4, 0, 0)));
  EXPECT_FALSE(camera.IsShaking());
}

TEST_F(CameraTest, TheJoltFollowsTheTargetsOwnAxes) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  D3DXMATRIX turned;
  plat::D3DXMatrixRotationY(&turned, std::numbers::pi_v<float> / 2);  // local x becomes world -z
  target->SetMatrix(turned);
  camera.StartShake(1, 2, 1.0f, 1);
  camera.StepShake();
  EXPECT_TRUE(Near(Position(*target), D3DXVECTOR3(0, 0, -1)));
}

// ---- Aim, view and reset -----------------------------------------------------------------------

TEST_F(CameraTest, ApplyAimsAtThePointAboveTheTargetAndWritesTheView) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  EXPECT_EQ(camera.GetFrame()->GetName(), "TCamera");
  EXPECT_EQ(camera.GetFrame()->GetParent(), scene.Get());
  camera.GetFrame()->SetPositionXYZ(3, 5, -4);
  target->SetPositionXYZ(0, 2, 0);
  camera.Apply();

  const D3DXVECTOR3 aim(0, 3, 0), from(3, 5, -4);
  const D3DXVECTOR3 toAim = Minus(aim, from);
  const D3DXVECTOR3 z = Axis(*camera.GetFrame(), 3);
  EXPECT_TRUE(Near(z, D3DXVECTOR3(toAim.x / Length(toAim), toAim.y / Length(toAim), toAim.z / Length(toAim))));
  const D3DXVECTOR3 seen = InView(aim);
  EXPECT_TRUE(Near(seen, D3DXVECTOR3(0, 0, Length(toAim)), 1e-3f)) << "the aim point lies straight ahead";
}

TEST_F(CameraTest, ResetEndsTheShakeAndSettlesTheChaseCamera) {
  TChaseCamera camera(scene.Get(), target.Get(), &view, 6.0f, 2.5f);
  camera.StartShake(5, 10, 1.0f, 7);
  camera.Reset(D3DXVECTOR3(0, 3, -16), D3DXVECTOR3(0, 0, -10), 100);
  EXPECT_FALSE(camera.IsShaking());
  EXPECT_TRUE(Near(Position(*target), D3DXVECTOR3(0, 0, -10)));
  // Straight behind the target, held out at distance + 0.7 a little above the aim height.
  const D3DXVECTOR3 settled = Position(*camera.GetFrame());
  EXPECT_NEAR(settled.x, 0.0f, 1e-4f);
  EXPECT_LT(settled.z, -16.0f);
  EXPECT_GE(settled.y, 2.5f);
  EXPECT_LT(settled.y, 2.6f);
  EXPECT_NEAR(Length(Minus(settled, D3DXVECTOR3(0, 0, -10))), 6.7f, 1e-3f);
  const D3DXVECTOR3 aim(0, 1, -10);
  EXPECT_TRUE(Near(InView(aim), D3DXVECTOR3(0, 0, Length(Minus(aim, settled))), 1e-3f));
}

// ---- Chase rule --------------------------------------------------------------------------------

TEST_F(CameraTest, TheChaseCameraClosesATenthOfTheGapWithinItsLimits) {
  struct Case {
    const char* what;
    D3DXVECTOR3 from, want;
  };
  // Target at the origin; distance 6, height 2.5 (aim height 2.5, nearest 6.7).
  const float pushed = 0.5f / std::sqrt(3.3f * 3.3f + 2.5f * 2.5f);
  const Case cases[] = {
      {"high above: down by at most 0.5", {0, 20, -6}, {0, 19.5f, -6}},
      {"far below: up by at most 0.5, then onto the aim height", {0, -20, -6}, {0, 2.5f, -6}},
      {"a little below: onto the aim height", {0, 2, -10}, {0, 2.5f, -9.6f}},
      {"sideways: a tenth of the way to the goal", {20, 2.5f, 0}, {18.6f, 2.5f, 0}},
      {"too near: pushed out by at most 0.5", {0, 2.5f, -3}, {0, 2.5f + 2.5f * pushed, -3.3f - 3.3f * pushed}},
  };
  for (const Case& c : cases) {
    TChaseCamera camera(scene.Get(), target.Get(), &view, 6.0f, 2.5f);
    camera.GetFrame()->SetPosition(c.from);
    camera.Follow();
    EXPECT_TRUE(Near(Position(*camera.GetFrame()), c.want)) << c.what;
  }
}

TEST_F(CameraTest, AChaseCameraJustInsideItsNearestDistanceIsPushedOntoIt) {
  TChaseCamera camera(scene.Get(), target.Get(), &view, 6.0f, 2.5f);
  target->SetPositionXYZ(4, 1, 2);
  camera.GetFrame()->SetPositionXYZ(4, 3.5f, -4.2f);
  camera.Follow();
  const D3DXVECTOR3 n = Position(*camera.GetFrame());
  EXPECT_NEAR(Length(Minus(n, D3DXVECTOR3(4, 1, 2))), 6.7f, 1e-4f);
}

TEST_F(CameraTest, TheChaseCameraCountsTicksFarFromItsAimPointAndStartsAgainAfterSixty) {
  TChaseCamera camera(scene.Get(), target.Get(), &view, 6.0f, 2.5f);
  for (int tick = 1; tick <= 60; ++tick) {
    camera.GetFrame()->SetPositionXYZ(0, 2.5f, -100);
    camera.Follow();
  }
  EXPECT_EQ(camera.GetStuckTicks(), 60u);
  camera.GetFrame()->SetPositionXYZ(0, 2.5f, -100);
  camera.Follow();
  EXPECT_EQ(camera.GetStuckTicks(), 0u);
  camera.GetFrame()->SetPositionXYZ(0, 2.5f, -100);
  camera.Follow();
  camera.GetFrame()->SetPositionXYZ(0, 2.5f, -6);
  camera.Follow();
  EXPECT_EQ(camera.GetStuckTicks(), 0u) << "near again";
}

TEST_F(CameraTest, AChaseCameraStraightAboveItsTargetStaysDefined) {
  TChaseCamera camera(scene.Get(), target.Get(), &view, 6.0f, 2.5f);
  camera.GetFrame()->SetPositionXYZ(0, 4, 0);
  camera.Follow();
  const D3DXVECTOR3 n = Position(*camera.GetFrame());
  EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z));
  EXPECT_TRUE(Near(n, D3DXVECTOR3(0, 3.85f + 0.5f, 0))) << "pulled down a tenth, pushed straight up by 0.5";
}

// ---- Rail rule ---------------------------------------------------------------------------------

class RailCameraTest : public CameraTest {
 protected:
  // A relative point: the camera `distance` along (dx, dz) and `height` above the target.
  static TCameraPoint Relative(D3DXVECTOR3 at, float dx, float dz, float distance, float height) {
    return TCameraPoint(at, 0, dx, dz, distance, height);
  }
  // The camera frame facing along +z (the same way as the unturned target) or -z.
  void Face(TCamera& camera, bool sameWay, D3DXVECTOR3 at = {0, 0, 0}) {
    D3DXMATRIX m;
    plat::D3DXMatrixRotationY(&m, sameWay ? 0.0f : std::numbers::pi_v<float>);
    camera.GetFrame()->SetMatrix(m);
    camera.GetFrame()->SetPosition(at);
  }
};

TEST_F(RailCameraTest, TwoRelativePointsBlendByTheirDistancesAndMoveATwentiethOfTheWay) {
  // Target at x -5: 10 from the first point, 20 from the second, t = 1/3.
  const std::vector<TCameraPoint> points = {Relative({-15, 0, 0}, 0, -1, 6, 3), Relative({15, 0, 0}, 0, -1, 12, 6)};
  struct Case {
    bool sameWay;
    float facing;
  };
  for (const Case c : {Case{true, 1.3f}, Case{false, 1.0f}}) {
    TRailCamera camera(scene.Get(), target.Get(), &view, points);
    target->SetPositionXYZ(-5, 0, 0);
    Face(camera, c.sameWay);
    camera.Follow();
    // Span 6 + (12 - 6) / 3 = 8, height 3 + 3 / 3 = 4, along -z.
    const D3DXVECTOR3 goal(-5, 4, -8 * c.facing);
    EXPECT_TRUE(Near(Position(*camera.GetFrame()), D3DXVECTOR3(goal.x * 0.05f, goal.y * 0.05f, goal.z * 0.05f)))
        << "facing " << c.facing;
    // Its Follow aims at the target raised by 1.0.
    const D3DXVECTOR3 toAim = Minus(D3DXVECTOR3(-5, 1, 0), Position(*camera.GetFrame()));
    const D3DXVECTOR3 z = Axis(*camera.GetFrame(), 3);
    EXPECT_NEAR(z.x * toAim.x + z.y * toAim.y + z.z * toAim.z, Length(toAim), 1e-3f);
  }
}

TEST_F(RailCameraTest, TheDirectionsAreBlendedThenMadeUnitLength) {
  const std::vector<TCameraPoint> points = {Relative({0, 0, 0}, 1, 0, 10, 0), Relative({20, 0, 0}, 0, 1, 10, 0)};
  TRailCamera camera(scene.Get(), target.Get(), &view, points);
  target->SetPositionXYZ(10, 0, 0);  // halfway: the direction is (1, 0, 1) made unit length
  Face(camera, false, D3DXVECTOR3(10, 0, 0));
  camera.Follow();
  const float along = 10 * std::sqrt(0.5f) * 0.05f;
  EXPECT_TRUE(Near(Position(*camera.GetFrame()), D3DXVECTOR3(10 + along, 0, along)));
}

TEST_F(RailCameraTest, AFixedPointBlendsCameraPositionsAndMovesAFiftiethOfTheWay) {
  const std::vector<TCameraPoint> points = {Relative({0, 0, 0}, 0, -1, 6, 3),
                                            TCameraPoint(D3DXVECTOR3(30, 0, 0), 0, D3DXVECTOR3(30, 50, 0))};
  TRailCamera camera(scene.Get(), target.Get(), &view, points);
  target->SetPositionXYZ(10, 0, 0);  // t = 10 / 30
  Face(camera, true);
  camera.Follow();
  // Between (10, 3, -6) and (30, 50, 0), a third of the way, unstretched.
  const D3DXVECTOR3 goal(10 + 20.0f / 3, 3 + 47.0f / 3, -6 + 6.0f / 3);
  EXPECT_TRUE(Near(Position(*camera.GetFrame()), D3DXVECTOR3(goal.x * 0.02f, goal.y * 0.02f, goal.z * 0.02f)));
}

TEST_F(RailCameraTest, TheTwoNearestPointsCountAndATieGoesToTheFirstListed) {
  // Two points 5 away (heights 2 and 4), one 7 away (height 100): t = 0.5 between the first two.
  const std::vector<TCameraPoint> points = {Relative({0, 0, 7}, 0, -1, 10, 100), Relative({5, 0, 0}, 0, -1, 10, 2),
                                            Relative({-5, 0, 0}, 0, -1, 10, 4)};
  TRailCamera camera(scene.Get(), target.Get(), &view, points);
  Face(camera, false);
  camera.Follow();
  EXPECT_NEAR(Position(*camera.GetFrame()).y, 3 * 0.05f, 1e-5f);
}

TEST_F(RailCameraTest, ATargetOnTwoCoincidentPointsTakesThemHalfAndHalf) {
  const std::vector<TCameraPoint> points = {Relative({0, 0, 0}, 0, -1, 10, 2), Relative({0, 0, 0}, 0, -1, 10, 4)};
  TRailCamera camera(scene.Get(), target.Get(), &view, points);
  Face(camera, false);
  camera.Follow();
  const D3DXVECTOR3 p = Position(*camera.GetFrame());
  EXPECT_TRUE(Near(p, D3DXVECTOR3(0, 3 * 0.05f, -10 * 0.05f)));
}

TEST_F(RailCameraTest, ItsApplyOnlyWritesTheView) {
  const std::vector<TCameraPoint> points = {Relative({0, 0, 0}, 0, -1, 6, 3), Relative({9, 0, 0}, 0, -1, 6, 3)};
  TRailCamera camera(scene.Get(), target.Get(), &view, points);
  camera.GetFrame()->SetPositionXYZ(0, 0, -5);  // looking along +z, the target 5 ahead and 2 up
  target->SetPositionXYZ(0, 2, 0);
  const D3DXMATRIX before = *camera.GetFrame()->GetMatrix();
  camera.Apply();
  EXPECT_EQ(std::memcmp(&before, camera.GetFrame()->GetMatrix(), sizeof before), 0);
  EXPECT_TRUE(Near(InView(D3DXVECTOR3(0, 2, 0)), D3DXVECTOR3(0, 2, 5)));
}

TEST_F(RailCameraTest, FewerThanTwoPointsAreRefused) {
  EXPECT_THROW(TRailCamera(scene.Get(), target.Get(), &view, {Relative({0, 0, 0}, 0, -1, 6, 3)}), my_error);
  EXPECT_THROW(TRailCamera(scene.Get(), target.Get(), &view, {}), my_error);
}

// ---- From the map ------------------------------------------------------------------------------

TEST_F(CameraTest, AMapBuildsTheCameraOfItsMode) {
  datakit::MapEntryWriter chase;
  chase.ChaseCamera(1.5f, 7.0f, 2.25f, "non");
  const TMapData chaseMap = Read(chase);
  TCountedPtr<TCamera> camera = CreateMapCamera(chaseMap, &view, scene.Get(), target.Get());
  auto* chaser = dynamic_cast<TChaseCamera*>(camera.Get());
  ASSERT_NE(chaser, nullptr);
  EXPECT_EQ(chaser->GetType(), 16u);
  EXPECT_FLOAT_EQ(chaser->GetDistance(), 7.0f);
  EXPECT_FLOAT_EQ(chaser->GetHeight(), 2.25f);
  EXPECT_EQ(chaser->GetParentFrame(), scene.Get());
  EXPECT_EQ(chaser->GetTargetFrame(), target.Get());
  EXPECT_EQ(chaser->GetView(), &view);

  datakit::MapEntryWriter rail;
  rail.RailCamera(0).CameraPoint({-15, 0, 0}, 0, -1, 6, 3, 0).FixedCameraPoint({15, 0, 0}, {15, 9, -9}, 0);
  camera = CreateMapCamera(Read(rail), &view, scene.Get(), target.Get());
  auto* railer = dynamic_cast<TRailCamera*>(camera.Get());
  ASSERT_NE(railer, nullptr);
  EXPECT_EQ(railer->GetType(), 32u);
  ASSERT_EQ(railer->GetPoints().size(), 2u);
  EXPECT_EQ(railer->GetPoints()[1].kind, 1u);

  for (uint32_t mode : {0u, 1u, 8u}) {
    datakit::MapEntryWriter other;
    if (mode == 1) other.CameraMode1({0, 1, 0});
    if (mode == 8) other.CameraMode8(1, {0, 1, 0});
    EXPECT_FALSE(CreateMapCamera(Read(other), &view, scene.Get(), target.Get())) << "mode " << mode;
  }
}

TEST_F(CameraTest, ARailMapWithOnePointIsRefusedNamingTheMap) {
  datakit::MapEntryWriter rail;
  rail.RailCamera(0).CameraPoint({-15, 0, 0}, 0, -1, 6, 3, 0);
  const TMapData map = Read(rail);
  try {
    CreateMapCamera(map, &view, scene.Get(), target.Get());
    FAIL() << "no error";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("t.pbms/m"), std::string::npos) << e.what();
  }
}

TEST_F(CameraTest, ACameraLeavesTheSceneGraphWithIt) {
  {
    TChaseCamera camera(scene.Get(), target.Get(), &view, 6, 2);
    EXPECT_EQ(scene->GetChildren().size(), 1u);
  }
  EXPECT_TRUE(scene->GetChildren().empty());
}

}  // namespace
