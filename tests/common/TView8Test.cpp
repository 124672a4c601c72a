#include "common/TView8.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "common/TFrame8.h"
#include "tests/common/MathChecks.h"

namespace {

using namespace mathcheck;
using plat::D3DXMATRIX;

constexpr float kHalfPi = 1.5707963f;

TEST(View, ProjectionAngles) {
  TView8 view;
  EXPECT_EQ(view.GetFar(), FLT_MAX);
  EXPECT_TRUE(SameBytes(*view.GetProjection(), IdentityMatrix()));

  view.SetProjection(1, 1000, 45, 640, 480);
  EXPECT_NEAR(view.GetFieldOfView(), 0.785398f, 1e-6f);
  EXPECT_NEAR(view.GetSideAngle(), 0.589049f, 1e-6f);
  EXPECT_EQ(view.GetFar(), 1000);
  D3DXMATRIX expected;
  plat::D3DXMatrixPerspectiveFovLH(&expected, view.GetFieldOfView(), 640.0f / 480.0f, 1, 1000);
  EXPECT_TRUE(SameBytes(*view.GetProjection(), expected));
  EXPECT_NEAR(view.GetFarExtent(), 2 * 1000 * std::tan(0.785398f), 1e-2f);
}

TEST(View, ViewFollowsTheCameraFrame) {
  auto root = CreateNamedFrame("Root", Translation(0, 0, 5));
  auto camera = CreateNamedFrame("Camera", RotationY(0.5f) * Translation(1, 2, 3));
  root->AddChild(camera);
  TView8 view;
  view.SetProjection(1, 100, 60, 640, 480);
  ASSERT_TRUE(view.SetViewFromFrame(*camera));
  D3DXMATRIX world;
  camera->GetWorldMatrix(&world);
  EXPECT_TRUE(Near(world * *view.GetView(), IdentityMatrix()));
  EXPECT_TRUE(SameBytes(*view.GetViewProjection(), *view.GetView() * *view.GetProjection()));
}

TEST(View, MatricesGivenDirectlyPlaceTheCameraToo) {
  TView8 view;
  view.SetProjection(1, 100, 45, 640, 480);
  D3DXMATRIX cameraView;
  const D3DXMATRIX cameraWorld = Translation(0, 0, 20);
  plat::D3DXMatrixInverse(&cameraView, nullptr, &cameraWorld);
  view.SetMatrices(cameraView, *view.GetProjection());
  EXPECT_TRUE(view.IsSphereVisible(0, 0, 30, 1));
  EXPECT_FALSE(view.IsSphereVisible(0, 0, 10, 1));
  EXPECT_TRUE(SameBytes(*view.GetViewProjection(), cameraView * *view.GetProjection()));
}

struct SphereCase {
  const char* what;
  float x, y, z, r;
  bool visible;
};

// A camera at the origin looking along +x: near 1, far 100, 45° on 640x480.
TEST(View, SphereTest) {
  auto camera = CreateNamedFrame("Camera", RotationY(kHalfPi));
  TView8 view;
  view.SetProjection(1, 100, 45, 640, 480);
  ASSERT_TRUE(view.SetViewFromFrame(*camera));
  const float side = std::tan(0.785398f), up = std::tan(0.589049f);
  const SphereCase cases[] = {
      {"ahead", 50, 0, 0, 1, true},
      {"touching the near bound", 0.5f, 0, 0, 0.5f, true},
      {"short of the near bound", 0.49f, 0, 0, 0.5f, false},
      {"behind the camera", -5, 0, 0, 1, false},
      {"touching the far bound", 101, 0, 0, 1, true},
      {"past the far bound", 101.5f, 0, 0, 1, false},
      {"beside, inside the side plane", 10, 0, 10 * side + 1.41f, 1, true},
      {"beside, outside the side plane", 10, 0, 10 * side + 1.42f, 1, false},
      {"other side, outside", 10, 0, -10 * side - 1.42f, 1, false},
      {"above, inside", 10, 10 * up + 1.1f, 0, 1, true},
      {"above, outside", 10, 10 * up + 1.3f, 0, 1, false},
      {"below, outside", 10, -10 * up - 1.3f, 0, 1, false},
  };
  for (const SphereCase& c : cases) {
    const float sphere[4] = {c.x, c.y, c.z, c.r};
    EXPECT_EQ(view.IsSphereVisible(sphere), c.visible) << c.what;
  }
}

TEST(View, SingularCameraKeepsTheViewButMovesThePosition) {
  auto camera = CreateNamedFrame("Camera", IdentityMatrix());
  TView8 view;
  view.SetProjection(1, 100, 45, 640, 480);
  ASSERT_TRUE(view.SetViewFromFrame(*camera));
  EXPECT_TRUE(view.IsSphereVisible(0, 0, 10, 1));
  const D3DXMATRIX before = *view.GetView();

  camera->SetMatrix(Scaling(0, 0, 0) * Translation(0, 0, 20));
  EXPECT_FALSE(view.SetViewFromFrame(*camera));
  EXPECT_TRUE(SameBytes(*view.GetView(), before));
  EXPECT_FALSE(view.IsSphereVisible(0, 0, 10, 1)) << "now 10 behind the camera at z 20";
  EXPECT_TRUE(view.IsSphereVisible(0, 0, 30, 1));
}

}  // namespace
