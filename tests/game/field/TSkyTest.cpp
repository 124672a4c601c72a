// The sky dome on the recording device, on the vertex-shader path and on the fixed-function path:
// how the camera builds and places it, its fog range, its texture scroll, and what its draws leave
// on the device and in the draw log.
#include "game/field/TSky.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/TView8.h"
#include "game/field/FieldFolders.h"
#include "game/field/TCamera.h"
#include "game/field/TMapData.h"
#include "game/shell/ViewScale.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/PictureKit.h"
#include "tools/datakit/SampleMeshes.h"

namespace {

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

constexpr uint32_t kFogColour = 0xFF8098B0, kSkyFog = 0xFF405060;

::testing::AssertionResult Near(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tolerance = 1e-3f) {
  if (std::fabs(got.x - want.x) <= tolerance && std::fabs(got.y - want.y) <= tolerance &&
      std::fabs(got.z - want.z) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << ", " << got.z << "), want ("
                                       << want.x << ", " << want.y << ", " << want.z << ")";
}

float Length(const D3DXVECTOR3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
float Saturate(float f) { return std::clamp(f, 0.0f, 1.0f); }

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u, v;
};

// The parameter: whether the device offers vertex shaders. The mesh folder holds the sample
// meshes (the two sky domes among them); start-up's default sky is registered.
class SkyTest : public testkit::MeshFixture, public ::testing::WithParamInterface<bool> {
 protected:
  SkyTest() : MeshFixture(GetParam()) {}

  void SetUp() override {
    MeshFixture::SetUp();
    datakit::WriteSampleMeshes(dir.path() + "/");
    TVertexShader8::Register(new TSky);
    view.SetProjection(0.1f, 200.0f, 45.0f, 640, 480);
    TD3D8::Instance()->SetFog(true, 20.0f, 80.0f, kFogColour);
  }
  void TearDown() override {
    SetViewScale(1.0f);
    MeshFixture::TearDown();
  }

  // The camera frame at `at`, its z axis pitched down by `down` radians, and the view from it.
  void Place(TCamera& camera, D3DXVECTOR3 at, float down = 0.0f) {
    D3DXMATRIX m;
    plat::D3DXMatrixRotationX(&m, down);
    camera.GetFrame()->SetMatrix(m);
    camera.GetFrame()->SetPosition(at);
    view.SetViewFromFrame(*camera.GetFrame());
  }
  D3DXVECTOR3 Position(const TFrame8& frame) {
    D3DXVECTOR3 p;
    frame.GetPosition(&p);
    return p;
  }
  TMesh8& Dome(TCamera& camera) { return camera.GetSkyFrame()->GetMeshes().at(0); }
  // The dome's vertices where the sky frame puts them.
  std::vector<D3DXVECTOR3> DomeInWorld(TCamera& camera) {
    TMesh8& dome = Dome(camera);
    std::vector<Vertex> raw(dome.GetVertexCount());
    std::memcpy(raw.data(), dome.LockVerticesReadOnly(0), raw.size() * sizeof(Vertex));
    dome.UnlockVertices(0, false);
    D3DXMATRIX world;
    camera.GetSkyFrame()->GetWorldMatrix(&world);
    std::vector<D3DXVECTOR3> out;
    for (const Vertex& v : raw) {
      D3DXVECTOR3 p(v.x, v.y, v.z), placed;
      plat::D3DXVec3TransformCoord(&placed, &p, &world);
      out.push_back(placed);
    }
    return out;
  }
  // Draws the scene graph as the field scene does; the last draw is the dome's.
  const plat::RecordedDraw& DrawScene() {
    renderer->ClearLog();
    TD3D8::BeginScene();
    scene->Draw(view, IdentityMatrix());
    TRenderModeTable::FlushAll();
    TD3D8::EndScene();
    EXPECT_FALSE(renderer->Draws().empty());
    return renderer->Draws().back();
  }
  plat::ShaderFloat4 Constant(uint32_t reg) {
    plat::ShaderFloat4 c;
    Device().GetVertexShaderConstant(reg, &c, 1);
    return c;
  }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCountedPtr<TFrame8> target = CreateNamedFrame("CameraTarget", IdentityMatrix());
  TView8 view;
};

TEST_P(SkyTest, AFogRangeWhoseNearIsNotBelowItsFarMeansPracticallyNoFog) {
  TSky sky;
  struct Case {
    float nearDistance, farDistance, wantNear, wantFar;
  };
  const Case cases[] = {{10, 20, 10, 20}, {-5, 0, -5, 0}, {20, 20, 100000, 110000}, {30, 10, 100000, 110000},
                        {0, 0, 100000, 110000}};
  for (const Case& c : cases) {
    sky.SetFogRange(c.nearDistance, c.farDistance);
    EXPECT_FLOAT_EQ(sky.GetFogNear(), c.wantNear) << c.nearDistance << " to " << c.farDistance;
    EXPECT_FLOAT_EQ(sky.GetFogFar(), c.wantFar) << c.nearDistance << " to " << c.farDistance;
  }
  EXPECT_FLOAT_EQ(TSky(1, 1, 0, 0, 30, 10, 0).GetFogNear(), 100000.0f) << "the constructor sets the range too";
}

TEST_P(SkyTest, TheCameraBuildsTheDomeWithTheViewFactorApplied) {
  datakit::PtxWriter().Add("cloud", datakit::SolidPicture(0, 8, 8, {200, 200, 255})).Save(dir / "ptx/sky.ptx");
  TTexture8::SetFolder(dir.path() + "/ptx/");
  SetViewScale(0.8f);  // k = 1 - 0.2 x 0.5 = 0.9
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.CreateSky(30, 4, 30, 10, kSkyFog, 0.01f, 0.02f, 0.001f, -0.002f, "sky.ptx/cloud");
  TTexture8::SetFolder("");

  TFrame8* frame = camera.GetSkyFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetName(), "SkyFrame");
  EXPECT_EQ(frame->GetParent(), scene.Get());
  ASSERT_EQ(frame->GetMeshes().size(), 1u);
  TMesh8& dome = Dome(camera);
  EXPECT_EQ(dome.GetName(), "Sky");
  for (uint32_t part = 0; part < dome.GetPartCount(); ++part) {
    EXPECT_EQ(dome.GetMaterial(part).GetRenderMode(), 1100);
    EXPECT_EQ(dome.GetMaterial(part).GetDrawOrder(), 0);
    EXPECT_EQ(dome.GetMaterial(part).GetTexture().GetName(), "sky.ptx/cloud");
  }
  TSky* sky = camera.GetSky();
  ASSERT_NE(sky, nullptr);
  EXPECT_EQ(dome.GetShader().Get(), sky);
  EXPECT_FLOAT_EQ(sky->GetScaleU(), 0.009f);
  EXPECT_FLOAT_EQ(sky->GetScaleV(), 0.018f);
  EXPECT_FLOAT_EQ(sky->GetScrollU(), 0.001f) << "the scroll speeds are not scaled";
  EXPECT_FLOAT_EQ(sky->GetScrollV(), -0.002f);
  EXPECT_EQ(sky->GetFogColour(), kSkyFog);

  // The unit dome is stretched to the view's far width across and that width x 3/4 deep.
  float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
  std::vector<Vertex> raw(dome.GetVertexCount());
  std::memcpy(raw.data(), dome.LockVerticesReadOnly(0), raw.size() * sizeof(Vertex));
  dome.UnlockVertices(0, false);
  for (const Vertex& v : raw) {
    minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
    minZ = std::min(minZ, v.z), maxZ = std::max(maxZ, v.z);
  }
  EXPECT_NEAR(maxX - minX, view.GetFarExtent(), 1e-2f);
  EXPECT_NEAR(maxZ - minZ, view.GetFarExtent() * 0.75f, 1e-2f);

  // Level at height 10: the dome lies 80 ahead (the fog end is nearer than the far distance),
  // moved by the scaled offsets, its fog from 0.9 x 30 before its distance to 0.9 x 10 before it.
  Place(camera, D3DXVECTOR3(0, 10, 0));
  camera.UpdateSky();
  const D3DXVECTOR3 s(27, 13.6f, 80);
  EXPECT_TRUE(Near(Position(*frame), s));
  const float d = Length(D3DXVECTOR3(27, 3.6f, 80));
  EXPECT_NEAR(sky->GetFogNear(), d - 27, 1e-3f);
  EXPECT_NEAR(sky->GetFogFar(), d - 9, 1e-3f);
  D3DXVECTOR3 facing;
  frame->GetAxis(&facing, 3);
  EXPECT_TRUE(Near(facing, D3DXVECTOR3(-27 / d, -3.6f / d, -80 / d))) << "the dome faces the camera";
}

TEST_P(SkyTest, TheDomeStaysOnTheHorizonWhenTheCameraLooksDown) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.CreateSky(0, 0, 30, 0, kSkyFog, 1, 1, 0, 0, "");
  const float down = std::asin(0.6f);  // z axis (0, -0.6, 0.8), up axis (0, 0.8, 0.6)
  struct Case {
    const char* what;
    D3DXVECTOR3 at;
    float pitch;
    D3DXVECTOR3 want;
  };
  const Case cases[] = {
      {"level: straight ahead", {0, 10, 0}, 0, {0, 10, 80}},
      {"down, the point above 0", {0, 50, 0}, down, {0, 2, 64}},
      {"down, the point exactly at 0: moved by nothing", {0, 48, 0}, down, {0, 0, 64}},
      // (0, -38, 64) along the up axis by 38 / 0.8 onto height 0.
      {"down, the point below 0: onto the horizon", {0, 10, 0}, down, {0, 0, 92.5f}},
  };
  for (const Case& c : cases) {
    Place(camera, c.at, c.pitch);
    camera.UpdateSky();
    EXPECT_TRUE(Near(Position(*camera.GetSkyFrame()), c.want)) << c.what;
    const float d = Length(D3DXVECTOR3(c.want.x - c.at.x, c.want.y - c.at.y, c.want.z - c.at.z));
    EXPECT_NEAR(camera.GetSky()->GetFogNear(), d - 30, 1e-3f) << c.what;
    EXPECT_NEAR(camera.GetSky()->GetFogFar(), d, 1e-3f) << c.what;
  }

  // Straight down, the up axis lies level and cannot reach the horizon: the dome drops onto it.
  const float down90[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 10, 0, 1};
  camera.GetFrame()->SetMatrix(down90);
  camera.UpdateSky();
  EXPECT_TRUE(Near(Position(*camera.GetSkyFrame()), D3DXVECTOR3(0, 0, 0)));
  EXPECT_NEAR(camera.GetSky()->GetFogFar(), 10, 1e-3f);
}

TEST_P(SkyTest, TheNearerOfTheFarDistanceAndTheFogEndPlacesTheDome) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.CreateSky(0, 0, 30, 0, kSkyFog, 1, 1, 0, 0, "");
  struct Case {
    bool fog;
    float fogEnd, far, want;
  };
  // Without fog the stage stores 100 to 200, and 200 still limits a farther view.
  const Case cases[] = {{false, 200, 500, 200}, {true, 300, 150, 150}, {true, 80, 200, 80}};
  for (const Case& c : cases) {
    TD3D8::Instance()->SetFog(c.fog, 100, c.fogEnd, kFogColour);
    view.SetProjection(0.1f, c.far, 45.0f, 640, 480);
    Place(camera, D3DXVECTOR3(0, 10, 0));
    camera.UpdateSky();
    EXPECT_TRUE(Near(Position(*camera.GetSkyFrame()), D3DXVECTOR3(0, 10, c.want))) << c.fogEnd << ", " << c.far;
  }
}

TEST_P(SkyTest, TheTextureOffsetsScrollOncePerDrawAndWrap) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.CreateSky(0, 0, 30, 0, kSkyFog, 1, 1, 0.3f, -0.4f, "");
  Place(camera, D3DXVECTOR3(0, 10, 0));
  camera.UpdateSky();
  const float wantU[] = {0.3f, 0.6f, 0.9f, 0.0f, 0.3f};
  const float wantV[] = {1.0f, 0.6f, 0.2f, 1.0f, 0.6f};
  for (int i = 0; i < 5; ++i) {
    DrawScene();
    EXPECT_NEAR(camera.GetSky()->GetOffsetU(), wantU[i], 1e-5f) << "draw " << i + 1;
    EXPECT_NEAR(camera.GetSky()->GetOffsetV(), wantV[i], 1e-5f) << "draw " << i + 1;
  }
  // A part past the mesh's draws nothing and moves nothing.
  camera.GetSky()->Draw(1, Dome(camera), &view, IdentityMatrix());
  EXPECT_NEAR(camera.GetSky()->GetOffsetU(), 0.3f, 1e-5f);
}

// Each drawn vertex carries the texture coordinates of its world x and z and the fog of its depth
// in the dome's range, on either path; the device's own fog settings are back afterwards.
TEST_P(SkyTest, TheDomeIsDrawnInItsOwnFogWithWorldTextureCoordinates) {
  TCamera camera(16, scene.Get(), target.Get(), &view);
  camera.CreateSky(30, 0, 30, 0, kSkyFog, 0.01f, 0.02f, 0.25f, 0.5f, "");
  Place(camera, D3DXVECTOR3(0, 3, -6), 0.2f);
  camera.UpdateSky();
  const float fogNear = camera.GetSky()->GetFogNear(), fogFar = camera.GetSky()->GetFogFar();
  ASSERT_LT(fogNear, fogFar);

  const plat::RecordedDraw& draw = DrawScene();
  const std::vector<D3DXVECTOR3> world = DomeInWorld(camera);
  ASSERT_EQ(draw.primitiveCount, Dome(camera).GetTriangleCount());
  int fogged = 0, clear = 0;
  for (size_t i = 0; i < draw.IndexCount(); ++i) {
    const D3DXVECTOR3& w = world.at(draw.vertexNumbers[i]);
    const plat::ResolvedVertex& v = draw.Vertex(i);
    EXPECT_NEAR(v.texcoord[0].x, w.x * 0.01f + 0.25f, 1e-3f) << i;
    EXPECT_NEAR(v.texcoord[0].y, w.z * 0.02f + 0.5f, 1e-3f) << i;
    D3DXVECTOR3 eye;
    plat::D3DXVec3TransformCoord(&eye, &w, view.GetView());
    const float want = Saturate((fogFar - eye.z) / (fogFar - fogNear));
    EXPECT_NEAR(Saturate(v.fog), want, 1e-3f) << i;
    fogged += want == 0.0f;
    clear += want == 1.0f;
  }
  EXPECT_GT(fogged, 0) << "part of the dome lies past its fog end";
  EXPECT_GT(clear, 0) << "part of the dome lies before its fog start";
  EXPECT_EQ(draw.state.renderStates[plat::D3DRS_FOGENABLE], 1u);
  EXPECT_EQ(draw.state.renderStates[plat::D3DRS_FOGCOLOR], kSkyFog);

  if (GetParam()) {
    EXPECT_EQ(draw.vertexShader, TSky::GetHandle());
    const plat::ShaderFloat4 c8 = Constant(8), c9 = Constant(9);
    EXPECT_FLOAT_EQ(c8.x, fogFar / (fogFar - fogNear));
    EXPECT_FLOAT_EQ(c8.y, 1 / (fogFar - fogNear));
    EXPECT_EQ(c8.z, 0.0f);
    EXPECT_EQ(c8.w, 0.0f);
    EXPECT_FLOAT_EQ(c9.x, 0.01f);
    EXPECT_FLOAT_EQ(c9.y, 0.02f);
    EXPECT_FLOAT_EQ(c9.z, 0.25f);
    EXPECT_FLOAT_EQ(c9.w, 0.5f);
  } else {
    EXPECT_EQ(draw.vertexShader, 0x142u);
    EXPECT_EQ(std::bit_cast<float>(draw.state.renderStates[plat::D3DRS_FOGSTART]), fogNear);
    EXPECT_EQ(std::bit_cast<float>(draw.state.renderStates[plat::D3DRS_FOGEND]), fogFar);
    EXPECT_EQ(draw.state.renderStates[plat::D3DRS_FOGVERTEXMODE], static_cast<uint32_t>(plat::D3DFOG_LINEAR));
  }

  bool enable;
  float start, end;
  uint32_t colour;
  TD3D8::Instance()->GetFog(enable, start, end, colour);
  EXPECT_TRUE(enable);
  EXPECT_EQ(start, 20.0f);
  EXPECT_EQ(end, 80.0f);
  EXPECT_EQ(colour, kFogColour);
}

TEST_P(SkyTest, StartUpsDefaultSkyKeepsTheSharedShaderWithTheDevice) {
  if (!GetParam()) {
    EXPECT_EQ(TSky::GetHandle(), 0u) << "no shader without vertex-shader support";
    return;
  }
  ASSERT_NE(TSky::GetHandle(), 0u);
  EXPECT_NE(Device().FindVertexShader(TSky::GetHandle()), nullptr);
  ReleaseShaderHandles();
  EXPECT_EQ(TSky::GetHandle(), 0u);
  RecreateShaderHandles();
  ASSERT_NE(TSky::GetHandle(), 0u);
  EXPECT_NE(Device().FindVertexShader(TSky::GetHandle()), nullptr);
  EXPECT_STREQ(TSky::GetSource(),
               "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\ndp4 r7.x, v0, c10\ndp4 r7.z, v0, c12\n"
               "mov oD0, v1\nmad oT0.xy, r7.xz, c9.xy, c9.zw\nmad oFog.x, -r8.z, c8.y, c8.x\n");
}

TEST_P(SkyTest, AMapsSkyTakesItsScaleScrollsAndFogColour) {
  SetScriptFolder(dir.path() + "/scr/");
  datakit::MapEntryWriter fogged, plain, none;
  fogged.Fog(20, 80, kFogColour).Sky("sky00", {0.03f, 0.004f, 5, 6, 7, 8, 0.006f});
  plain.Sky("sky00", {0.03f, 0.004f, 5, 6, 7, 8, 0.006f});
  datakit::MapDataWriter().Entry("fogged", fogged).Entry("plain", plain).Entry("none", none).Save(dir / "scr/m.pbms");

  {
    TCamera camera(16, scene.Get(), target.Get(), &view);
    CreateMapSky(camera, TMapData("m.pbms/fogged"));
    TSky* sky = camera.GetSky();
    ASSERT_NE(sky, nullptr);
    EXPECT_FLOAT_EQ(sky->GetScaleU(), 0.03f);
    EXPECT_FLOAT_EQ(sky->GetScaleV(), 0.03f);
    EXPECT_FLOAT_EQ(sky->GetScrollU(), 0.004f);
    EXPECT_FLOAT_EQ(sky->GetScrollV(), 0.006f);
    EXPECT_EQ(sky->GetFogColour(), kFogColour);
    // The dome sits 30 to the side and is fogged from 30 before its distance to its distance.
    Place(camera, D3DXVECTOR3(0, 10, 0));
    camera.UpdateSky();
    EXPECT_TRUE(Near(Position(*camera.GetSkyFrame()), D3DXVECTOR3(30, 10, 80)));
    const float d = Length(D3DXVECTOR3(30, 0, 80));
    EXPECT_NEAR(sky->GetFogNear(), d - 30, 1e-3f);
    EXPECT_NEAR(sky->GetFogFar(), d, 1e-3f);
  }
  {
    TCamera camera(16, scene.Get(), target.Get(), &view);
    CreateMapSky(camera, TMapData("m.pbms/plain"));
    ASSERT_NE(camera.GetSky(), nullptr);
    EXPECT_EQ(camera.GetSky()->GetFogColour(), 0xFFFFFFFFu) << "white without fog";
  }
  TCamera camera(16, scene.Get(), target.Get(), &view);
  CreateMapSky(camera, TMapData("m.pbms/none"));
  EXPECT_EQ(camera.GetSky(), nullptr);
  EXPECT_EQ(camera.GetSkyFrame(), nullptr);
  SetScriptFolder("");
}

TEST_P(SkyTest, AMissingDomeMeshIsAnError) {
  TMesh8::SetFolder(dir.path() + "/nothing/");
  TCamera camera(16, scene.Get(), target.Get(), &view);
  EXPECT_THROW(camera.CreateSky(0, 0, 30, 0, kSkyFog, 1, 1, 0, 0, ""), my_error);
  EXPECT_THROW(TSky(), my_error);
}

INSTANTIATE_TEST_SUITE_P(Device, SkyTest, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
  return std::string(info.param ? "VertexShader" : "FixedFunction");
});

}  // namespace
