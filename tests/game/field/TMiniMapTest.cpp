// The minimap on the recording device: the arrow's angle, the cut-out's texture coordinates and
// what is drawn where, with the sample game's sprite pack and minimap pictures.
#include "game/field/TMiniMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/field/TFrameObject.h"
#include "tests/common/GraphicsFixture.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

constexpr float kPi = std::numbers::pi_v<float>;

// A player stand-in: a frame whose front (its -z axis) points along `front`.
class Walker : public TFrameObject {
 public:
  Walker(D3DXVECTOR3 position, D3DXVECTOR3 front) : TFrameObject(0) {
    D3DXMATRIX m;
    plat::D3DXMatrixRotationY(&m, std::atan2(-front.x, -front.z));
    frame = CreateNamedFrame("walker", m);
    frame->SetPosition(position);
  }
  void Update() override {}
};

class MiniMapTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    datakit::SampleMiniMapPack().Save(dir / "data/ptx03/minimap.ptx");
    SetDataFolder(dir.path() + "/data/tbl03/");
    datakit::WriteSampleGameTables(GetDataFolder());
    LoadGameTables();
    TGameData::Instance()->NewGame();
    StartDevice();
  }
  void TearDown() override {
    FreeGameTables();
    SetDataFolder("");
    GraphicsFixture::TearDown();
  }
};

TEST_F(MiniMapTest, TheArrowTurnsWithThePlayersFacing) {
  TMiniMap map;
  struct Case {
    const char* what;
    D3DXVECTOR3 front;
    float angle;
  };
  const Case cases[] = {
      {"+z", {0, 0, 1}, 0.0f},          {"-z: the negative half turn", {0, 0, -1}, -kPi},
      {"-x", {-1, 0, 0}, -kPi / 2},     {"+x", {1, 0, 0}, kPi / 2},
      {"+x +z", {1, 0, 1}, kPi / 4},    {"-x -z", {-1, 0, -1}, -3 * kPi / 4},
  };
  for (const Case& c : cases) {
    map.Update(Walker(D3DXVECTOR3(0, 0, 0), c.front));
    EXPECT_NEAR(map.GetAngle(), c.angle, 1e-5f) << c.what;
  }
}

TEST_F(MiniMapTest, TheCutOutIsCentredOnThePlayer) {
  TMiniMap map;
  map.Load("field");
  struct Case {
    D3DXVECTOR3 at;
    float u, v;
  };
  // x from -256 to 256 runs left to right, z from 256 to -256 top to bottom; height plays no part.
  const Case cases[] = {{{0, 7, 0}, 0.5f, 0.5f}, {{100, 0, -50}, 356.0f / 512, 306.0f / 512},
                        {{-256, 0, 256}, 0, 0}};
  for (const Case& c : cases) {
    map.Update(Walker(c.at, D3DXVECTOR3(0, 0, 1)));
    const TSpriteVertex* v = map.GetPicture().vertices;
    const float du = 0.19921875f, dv = 0.13671875f;
    const float want[4][2] = {{c.u - du, c.v - dv}, {c.u + du, c.v - dv}, {c.u - du, c.v + dv}, {c.u + du, c.v + dv}};
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(v[i].u, want[i][0]) << c.at.x << ", corner " << i;
      EXPECT_FLOAT_EQ(v[i].v, want[i][1]) << c.at.x << ", corner " << i;
    }
  }
}

TEST_F(MiniMapTest, TheFrameThePictureAddedOnAndTheTurnedArrowAreDrawnInTheirPlaces) {
  TMiniMap map;
  map.Load("field");
  map.Update(Walker(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(-1, 0, 0)));  // a quarter turn to the left
  renderer->ClearLog();
  map.Draw(408, 312);
  ASSERT_EQ(Draws().size(), 3u);

  const plat::RecordedDraw& frame = Draws()[0];
  EXPECT_EQ(frame.textures[0].name, "sprite.ptx/window21");
  EXPECT_EQ(frame.state.renderStates[plat::D3DRS_DESTBLEND], static_cast<uint32_t>(plat::D3DBLEND_INVSRCALPHA));
  EXPECT_FLOAT_EQ(frame.Vertex(0).position.x, 407.5f);
  EXPECT_FLOAT_EQ(frame.Vertex(0).position.y, 311.5f);

  const plat::RecordedDraw& picture = Draws()[1];
  EXPECT_EQ(picture.textures[0].name, "minimap.ptx/field");
  EXPECT_EQ(picture.state.renderStates[plat::D3DRS_SRCBLEND], static_cast<uint32_t>(plat::D3DBLEND_ONE));
  EXPECT_EQ(picture.state.renderStates[plat::D3DRS_DESTBLEND], static_cast<uint32_t>(plat::D3DBLEND_ONE));
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (size_t i = 0; i < picture.IndexCount(); ++i) {
    const plat::ResolvedVertex& v = picture.Vertex(i);
    minX = std::min(minX, v.position.x), maxX = std::max(maxX, v.position.x);
    minY = std::min(minY, v.position.y), maxY = std::max(maxY, v.position.y);
    EXPECT_NEAR(v.texcoord[0].x, v.position.x < 500 ? 0.5f - 0.19921875f : 0.5f + 0.19921875f, 1e-6f);
  }
  EXPECT_FLOAT_EQ(minX, 417.5f);
  EXPECT_FLOAT_EQ(maxX, 621.5f);
  EXPECT_FLOAT_EQ(minY, 321.5f);
  EXPECT_FLOAT_EQ(maxY, 461.5f);

  // The arrow's 16 pixels about (520, 392), its top edge turned to the left.
  const plat::RecordedDraw& arrow = Draws()[2];
  EXPECT_EQ(arrow.textures[0].name, "sprite.ptx/cursor05");
  EXPECT_EQ(arrow.state.renderStates[plat::D3DRS_DESTBLEND], static_cast<uint32_t>(plat::D3DBLEND_INVSRCALPHA));
  const float want[4][2] = {{512, 400}, {512, 384}, {528, 400}, {528, 384}};  // top-left, top-right, ...
  for (size_t i = 0; i < arrow.IndexCount(); ++i) {
    const plat::ResolvedVertex& v = arrow.Vertex(i);
    const uint32_t corner = arrow.vertexNumbers[i];
    EXPECT_NEAR(v.position.x, want[corner][0], 1e-3f) << corner;
    EXPECT_NEAR(v.position.y, want[corner][1], 1e-3f) << corner;
  }
}

TEST_F(MiniMapTest, MinimapModeZeroDrawsNothingAtAll) {
  TMiniMap map;
  map.Load("town");
  map.Update(Walker(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1)));
  TGameData::Instance()->SetMiniMapMode(0);
  renderer->ClearLog();
  map.Draw(408, 312);
  EXPECT_TRUE(Draws().empty());

  FreeGameTables();  // no game at all
  map.Draw(408, 312);
  EXPECT_TRUE(Draws().empty());
}

TEST_F(MiniMapTest, AMapWithoutAPictureShowsTheFrameAndTheArrowOnly) {
  TMiniMap map;
  map.Load("");
  map.Update(Walker(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1)));
  renderer->ClearLog();
  map.Draw(408, 312);
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[0].textures[0].name, "sprite.ptx/window21");
  EXPECT_EQ(Draws()[1].textures[0].name, "sprite.ptx/cursor05");
}

}  // namespace
