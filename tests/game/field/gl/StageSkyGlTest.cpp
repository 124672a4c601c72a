// A small map drawn by the OpenGL renderer as the stage builds it: its projection and fog, the
// chase camera settled behind the start point, the sample sky dome and a ground of 10-unit tiles
// out to 200 in every direction, once on a device with vertex shaders and once without. The
// ground runs from its own colour near the camera into the fog colour far away; the sky shows its
// own colour where the dome is nearer than its fog start.
#include <algorithm>
#include <cmath>

#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TVertexShader8.h"
#include "common/TView8.h"
#include "game/field/FieldFolders.h"
#include "game/field/TCamera.h"
#include "game/field/TMapData.h"
#include "game/field/TMeshAreaManager.h"
#include "game/field/TSky.h"
#include "tests/common/gl/GameGlFixture.h"
#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleMeshes.h"

namespace gltest {
namespace {

constexpr D3DCOLOR kClear = 0xFF000000, kFog = 0xFF8098B0, kGround = 0xFF508040;
constexpr D3DCOLOR kSky = 0xFF6080C0;  // the sample dome's vertex colour
constexpr float kFogStart = 20, kFogEnd = 80;

// Untextured parts take the diffuse colour as both arguments of the stage's modulation: each
// channel times itself.
Rgba Seen(D3DCOLOR c) { return Of(c) * Of(c); }

using StageSkyGl = GameGlFixture;

void WriteMap(const std::string& dir) {
  datakit::MeshShape ground;
  for (int j = 0; j < 40; ++j)
    for (int i = 0; i < 40; ++i)
      ground.Append(datakit::PlaneShape(10, 10, kGround).Move(-195.0f + 10 * i, 0, -195.0f + 10 * j));
  datakit::MeshFile::FromShape("ground", ground, {datakit::MeshMaterial::Colored("ground", 1, 1, 1)})
      .Msh()
      .Save(dir + "/map03/plain.msh");
  datakit::WriteSampleMeshes(dir + "/");

  datakit::MapHeaderRow header;
  header.kind = 1;
  header.baseName = "plain.msh";
  header.cellWidth = header.cellDepth = 1000;  // one mesh-area cell
  datakit::MapEntryWriter entry;
  entry.Header(header)
      .View(0.1f, 200, 45)
      .Fog(kFogStart, kFogEnd, kFog)
      .Sky("sky00", {0.01f, 0, 0, 0, 0, 0, 0})
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -16})
      .ChaseCamera(0, 6, 2.5f, "non");
  datakit::MapDataWriter().Entry("plain", entry).Save(dir + "/scr/t.pbms");
}

// Where the ray through the pixel's centre meets the ground, in view space; false above the
// horizon.
bool GroundUnder(const TView8& view, int x, int y, D3DXVECTOR3& eye) {
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, view.GetViewProjection())) return false;
  const float nx = (x + 0.5f) / 320.0f - 1.0f, ny = 1.0f - (y + 0.5f) / 240.0f;
  D3DXVECTOR3 a, b;
  const D3DXVECTOR3 nearPoint(nx, ny, 0.0f), farPoint(nx, ny, 1.0f);
  D3DXVec3TransformCoord(&a, &nearPoint, &inverse);
  D3DXVec3TransformCoord(&b, &farPoint, &inverse);
  if (b.y >= a.y) return false;
  const float t = a.y / (a.y - b.y);
  const D3DXVECTOR3 hit(a.x + (b.x - a.x) * t, 0.0f, a.z + (b.z - a.z) * t);
  D3DXVec3TransformCoord(&eye, &hit, view.GetView());
  return true;
}

TEST_P(StageSkyGl, TheGroundFadesIntoTheFogAndTheSkyShowsItsColourNearerThanItsFogStart) {
  WriteMap(dir.path());
  SetScriptFolder(dir.path() + "/scr/");
  SetMapFolder("map03/");
  TVertexShader8::Register(new TSky);  // as start-up does

  // The stage load's steps for the view, the fog, the camera, the sky and the mesh areas.
  const TMapData map("t.pbms/plain");
  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCountedPtr<TFrame8> target = CreateNamedFrame("CameraTarget", IdentityMatrix());
  TView8 view;
  view.SetProjection(map.GetView().nearClip, map.GetView().farClip, map.GetView().fieldOfView, 640, 480);
  TD3D8::Instance()->SetFog(true, map.GetFog().start, map.GetFog().end, map.GetFog().color);
  TCountedPtr<TCamera> camera = CreateMapCamera(map, &view, scene.Get(), target.Get());
  ASSERT_TRUE(camera);
  CreateMapSky(*camera, map);
  TMeshAreaManager areas;
  areas.Load(GetMapFolder() + map.GetHeader().baseName, map.GetHeader().cellWidth, map.GetHeader().cellDepth,
             scene.Get(), "TMeshAreaManager");
  map.BuildMeshAreas(areas);
  camera->Reset(map.GetMapStart().camera, map.GetMapStart().position, 100);
  areas.Update(map.GetMapStart().position);
  const float skyNear = camera->GetSky()->GetFogNear();
  ASSERT_LT(skyNear, camera->GetSky()->GetFogFar());

  ASSERT_EQ(TD3D8::Clear(kClear, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr), D3D_OK);
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  scene->Draw(view, IdentityMatrix());
  TRenderModeTable::FlushAll();
  ASSERT_EQ(TD3D8::EndScene(), D3D_OK);
  const Picture shot = Shot();

  // The ground: its fog worked out from the depth under each pixel, from its own colour at the
  // bottom to the fog colour past the fog end. Fog is worked out per vertex, 10 apart, so pixels
  // whose tile reaches across the fog start or end are left out.
  int fullyFogged = 0, clear = 0, between = 0;
  for (int y = 100; y < 480; y += 10)
    for (int x : {40, 320, 600}) {
      D3DXVECTOR3 eye;
      ASSERT_TRUE(GroundUnder(view, x, y, eye)) << x << ", " << y;
      if (std::fabs(eye.z - kFogStart) < 12 || std::fabs(eye.z - kFogEnd) < 12) continue;
      const double f = std::clamp((kFogEnd - eye.z) / (kFogEnd - kFogStart), 0.0f, 1.0f);
      fullyFogged += f == 0.0;
      clear += f == 1.0;
      between += f > 0.0 && f < 1.0;
      EXPECT_TRUE(Near(shot.At(x, y), Fogged(Seen(kGround), Of(kFog), f), 3)) << x << ", " << y << ": fog " << f;
    }
  EXPECT_GT(fullyFogged, 0) << "some ground lies past the fog end";
  EXPECT_GT(clear, 0) << "some ground lies before the fog start";
  EXPECT_GT(between, 0) << "some ground lies in the fog";

  // The sky overhead, where the dome comes nearer than its fog start: its own colour, unfogged.
  for (int x : {320, 600})
    for (int y : {5, 15}) EXPECT_TRUE(Near(shot.At(x, y), Seen(kSky), 3)) << "sky at " << x << ", " << y;
  EXPECT_FALSE(Near(shot.At(320, 5), Of(kFog), 20)) << "the sky's own colour is not the fog's";
}

INSTANTIATE_TEST_SUITE_P(Device, StageSkyGl, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
  return std::string(info.param ? "VertexShader" : "FixedFunction");
});

}  // namespace
}  // namespace gltest
