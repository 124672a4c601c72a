#include "common/TSprite8.h"

#include <gtest/gtest.h>

#include <numbers>

#include "tests/common/GraphicsFixture.h"

using namespace plat;

namespace {

class SpriteTest : public GraphicsFixture {
 protected:
  void TearDown() override {
    TSprite8::SetBlendMode(1);
    TTexture8::Purge(1);
    GraphicsFixture::TearDown();
  }
  // The four corners of the last draw, in vertex order (top-left, top-right, bottom-left, bottom-right).
  std::vector<std::pair<float, float>> LastCorners() {
    if (Draws().empty()) {
      ADD_FAILURE() << "nothing drawn";
      return {};
    }
    const RecordedDraw& d = Draws().back();
    EXPECT_EQ(d.type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(d.primitiveCount, 2u);
    EXPECT_EQ(d.vertexShader, TSprite8::kVertexFormat);
    EXPECT_EQ(d.vertexNumbers, (std::vector<uint32_t>{0, 1, 2, 1, 3, 2}));
    std::vector<std::pair<float, float>> corners(4);
    for (size_t i = 0; i < d.IndexCount(); ++i)
      corners[d.vertexNumbers[i]] = {d.Vertex(i).position.x, d.Vertex(i).position.y};
    return corners;
  }
  using Corners = std::vector<std::pair<float, float>>;
};

TEST_F(SpriteTest, CornersCarryTheScaleAndTheHalfPixelShift) {
  struct Case {
    UINT width, height;
    bool noScale;
    Corners corners;
  } cases[] = {
      {640, 480, false, {{9.5f, 19.5f}, {73.5f, 19.5f}, {9.5f, 51.5f}, {73.5f, 51.5f}}},
      {1280, 960, false, {{19.5f, 39.5f}, {147.5f, 39.5f}, {19.5f, 103.5f}, {147.5f, 103.5f}}},
      {1280, 960, true, {{9.5f, 19.5f}, {73.5f, 19.5f}, {9.5f, 51.5f}, {73.5f, 51.5f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " noScale " << c.noScale);
    StartDevice(c.width, c.height);
    TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
    renderer->ClearLog();
    s.Draw(10, 20, 64, 32, c.noScale);
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(LastCorners(), c.corners);
    EXPECT_EQ(Draws().back().textures[0].name, "sprite.ptx/window21");
    TTexture8::Purge(1);
    TD3D8::Instance()->Cleanup();
  }
}

TEST_F(SpriteTest, DrawAtUsesThePicturesSizeAndTheDefaultVertices) {
  StartDevice();
  TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  EXPECT_EQ(s.width, 128u);
  EXPECT_EQ(s.height, 64u);
  s.DrawAt(0, 0, false);
  EXPECT_EQ(LastCorners(), (Corners{{-0.5f, -0.5f}, {127.5f, -0.5f}, {-0.5f, 63.5f}, {127.5f, 63.5f}}));
  const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.vertices[i].diffuse, 0xFFFFFFFFu);
    EXPECT_EQ(s.vertices[i].specular, 0xFFFFFFFFu);
    EXPECT_EQ(s.vertices[i].u, uv[i][0]);
    EXPECT_EQ(s.vertices[i].v, uv[i][1]);
    EXPECT_EQ(s.vertices[i].rhw, 1.0f);
  }
}

TEST_F(SpriteTest, TransformedDrawsHaveNoShiftAndNeedNoTexture) {
  StartDevice(1280, 960);
  TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  s.DrawTransformed(10, 20, 64, 32, identity, true);
  EXPECT_EQ(LastCorners(), (Corners{{10, 20}, {74, 20}, {10, 52}, {74, 52}}));
  s.DrawTransformed(10, 20, 64, 32, identity, false);
  EXPECT_EQ(LastCorners(), (Corners{{20, 40}, {148, 40}, {20, 104}, {148, 104}}));

  // A quarter turn about z turns the corners about the quad's centre (42, 36).
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, std::numbers::pi_v<float> / 2);
  s.DrawTransformed(10, 20, 64, 32, turn, true);
  const Corners expected = {{58, 4}, {58, 68}, {26, 4}, {26, 68}};
  Corners got = LastCorners();
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(got[i].first, expected[i].first, 1e-4) << i;
    EXPECT_NEAR(got[i].second, expected[i].second, 1e-4) << i;
  }

  // Without a texture: Draw and DrawAt draw nothing, DrawTransformed draws its vertex colours.
  TSprite8 missing = LoadSprite("sprite.ptx/nothing", D3DPOOL_MANAGED, 0);
  EXPECT_EQ(missing.width, 0u);
  renderer->ClearLog();
  missing.Draw(0, 0, 10, 10, false);
  missing.DrawAt(0, 0, false);
  EXPECT_TRUE(Draws().empty());
  missing.DrawTransformed(0, 0, 10, 10, identity, false);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].textures[0].id, 0u);
  EXPECT_EQ(Draws()[0].state.stageStates[0][D3DTSS_COLORARG1], D3DTA_DIFFUSE);
}

TEST_F(SpriteTest, SkipModeSuppressesEvery2DDraw) {
  StartDevice();
  TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  auto drawAll = [&] {
    s.Draw(0, 0, 8, 8, false);
    s.DrawAt(0, 0, false);
    s.DrawTransformed(0, 0, 8, 8, identity, false);
    s.DrawRect(0, 0, 8, 8, false);
  };
  renderer->ClearLog();
  TSprite8::SetBlendMode(TSprite8::kSkipMode);
  const DWORD blendBefore = RenderState(D3DRS_SRCBLEND);
  drawAll();
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), blendBefore) << "skipping changes no state";
  TSprite8::SetBlendMode(1);
  drawAll();
  EXPECT_EQ(Draws().size(), 4u);
}

TEST_F(SpriteTest, BlendModesApplyTheirRecordedBlocks) {
  StartDevice();
  ASSERT_EQ(TSprite8::BlendBlocks().size(), 5u);
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA) << "mode 1 after recording";
  struct Case {
    int mode;
    DWORD src, dest, enable;
  } cases[] = {{0, D3DBLEND_ONE, D3DBLEND_ZERO, 0},
               {1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 1},
               {2, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 1},
               {3, D3DBLEND_ONE, D3DBLEND_ONE, 1},
               {4, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    // States a 3D pass leaves behind, which every block puts right.
    Device().SetRenderState(D3DRS_ZENABLE, 1);
    Device().SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    Device().SetRenderState(D3DRS_ALPHAREF, 7);
    Device().SetVertexShader(0x112);
    TSprite8::SetBlendMode(c.mode);
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), c.src);
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), c.dest);
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), c.enable);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_ZWRITEENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), D3DCULL_NONE);
    EXPECT_EQ(RenderState(D3DRS_FOGENABLE), 0u);
    EXPECT_EQ(RenderState(D3DRS_ALPHAREF), 0x42u) << "the device defaults come first";
    EXPECT_EQ(State().vertexShader, TSprite8::kVertexFormat);
    EXPECT_EQ(State().stageStates[0][D3DTSS_ADDRESSU], D3DTADDRESS_CLAMP);
    EXPECT_EQ(State().stageStates[0][D3DTSS_ADDRESSV], D3DTADDRESS_CLAMP);
    EXPECT_EQ(State().stageStates[0][D3DTSS_MAGFILTER], D3DTEXF_LINEAR);
    EXPECT_EQ(State().stageStates[0][D3DTSS_MINFILTER], D3DTEXF_LINEAR);
    EXPECT_EQ(State().stageStates[0][D3DTSS_MIPFILTER], D3DTEXF_NONE);
  }
}

TEST_F(SpriteTest, AModeNeverRecordedAppliesNothingButEndsSkipping) {
  StartDevice();
  TSprite8::SetBlendMode(3);
  TSprite8::SetBlendMode(TSprite8::kSkipMode);
  Device().SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
  TSprite8::SetBlendMode(9);
  EXPECT_FALSE(TSprite8::IsSkipping());
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_DESTALPHA);
  EXPECT_EQ(TSprite8::BlendBlocks().size(), 5u) << "no entry for the unknown mode";

  TSprite8::ReleaseBlendStates();
  EXPECT_TRUE(TSprite8::BlendBlocks().empty());
  TSprite8::SetBlendMode(1);
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_DESTALPHA) << "released blocks are not applied";
}

TEST_F(SpriteTest, ColoursReachTheVertices) {
  StartDevice();
  TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  s.SetColor(0x80FFFFFF, -1);
  s.SetColor(0xFF00FF00, 2);
  s.SetColor(0xFF0000FF, 4);   // no such vertex
  s.SetColor(0xFF0000FF, -2);
  s.Draw(0, 0, 8, 8, false);
  const RecordedDraw& d = Draws().back();
  for (size_t i = 0; i < d.IndexCount(); ++i) {
    const ShaderFloat4& c = d.Vertex(i).diffuse;
    if (d.vertexNumbers[i] == 2) {
      EXPECT_FLOAT_EQ(c.x, 0.0f);
      EXPECT_FLOAT_EQ(c.w, 1.0f);
    } else {
      EXPECT_FLOAT_EQ(c.x, 1.0f);
      EXPECT_NEAR(c.w, 128 / 255.0f, 1e-6) << "half transparent";
    }
  }
  EXPECT_EQ(d.state.renderStates[D3DRS_SRCBLEND], D3DBLEND_SRCALPHA);
}

TEST_F(SpriteTest, FloatColoursAreScaledTruncatedAndPackedAsArgb) {
  TSprite8 s;
  s.SetColorF(0.9f, 0.9f, 0.9f, 1.0f, -1);
  for (const TSpriteVertex& v : s.vertices) EXPECT_EQ(v.diffuse, 0xFFE5E5E5u);
  s.SetColorF(1.0f, 0.5f, 0.0f, 0.25f, 1);
  EXPECT_EQ(s.vertices[1].diffuse, 0x3FFF7F00u);
  s.SetColorF(2.0f, -1.0f, 0.0f, 1.0f, 0);  // outside 0..1: held at the ends
  EXPECT_EQ(s.vertices[0].diffuse, 0xFFFF0000u);
  s.SetColorF(0.0f, 0.0f, 0.0f, 0.0f, 4);  // no such vertex
  EXPECT_EQ(s.vertices[3].diffuse, 0xFFE5E5E5u);
}

TEST_F(SpriteTest, RectanglesDrawWithoutTextureKeepingTheStageArguments) {
  StartDevice();
  TSprite8 s = LoadSprite("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  s.Draw(0, 0, 8, 8, false);  // leaves the stage on TEXTURE
  s.SetColor(0xFF000000, -1);
  s.DrawRect(0, 0, 640, 480, false);
  const RecordedDraw& d = Draws().back();
  EXPECT_EQ(d.textures[0].id, 0u);
  EXPECT_EQ(d.state.stageStates[0][D3DTSS_COLORARG1], D3DTA_TEXTURE);
  EXPECT_EQ(LastCorners(), (Corners{{-0.5f, -0.5f}, {639.5f, -0.5f}, {-0.5f, 479.5f}, {639.5f, 479.5f}}));
}

TEST_F(SpriteTest, CopiesShareTheTexture) {
  StartDevice();
  TSprite8 a = LoadSprite("sprite.ptx/cursor", D3DPOOL_MANAGED, 0);
  {
    TSprite8 b = a;
    EXPECT_EQ(b.texture.GetTexture().Get(), a.texture.GetTexture().Get());
    EXPECT_EQ(a.texture.GetTexture().GetCount(), 3);
    EXPECT_EQ(b.width, 16u);
  }
  EXPECT_EQ(a.texture.GetTexture().GetCount(), 2);
}

}  // namespace
