#include "common/TRenderModeTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

#include "tests/common/GraphicsFixture.h"

using namespace plat;

namespace {

// Stand-in meshes: one draw order for every part and a sphere centre; drawing notes the mesh, the
// part and the blend states in force.
struct FakeMesh {
  uint16_t order;
  D3DXVECTOR3 centre;
};
struct DrawnPart {
  const FakeMesh* mesh;
  uint32_t part;
  DWORD srcBlend, zEnable, fogEnable;
  float matrix43;
};
std::vector<DrawnPart> g_drawn;

TMesh8* AsMesh(FakeMesh& m) { return reinterpret_cast<TMesh8*>(&m); }
const FakeMesh& Fake(const TMesh8& m) { return reinterpret_cast<const FakeMesh&>(m); }

class RenderModeTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    saved = TDrawItem8::GetMeshPartCalls();
    TMeshPartCalls calls;
    calls.drawOrder = [](const TMesh8& m, uint32_t) { return Fake(m).order; };
    calls.sphereCentre = [](const TMesh8& m) { return Fake(m).centre; };
    calls.drawPart = [](TMesh8& m, uint32_t part, const D3DMATRIX& world, TView8*) {
      const DeviceState& s = TD3D8::GetDevice()->State();
      g_drawn.push_back({&Fake(m), part, s.renderStates[D3DRS_SRCBLEND], s.renderStates[D3DRS_ZENABLE],
                         s.renderStates[D3DRS_FOGENABLE], world._43});
    };
    TDrawItem8::SetMeshPartCalls(calls);
    g_drawn.clear();
    D3DXMatrixIdentity(&identity);
  }
  void TearDown() override {
    TDrawItem8::SetMeshPartCalls(saved);
    GraphicsFixture::TearDown();
  }
  void Queue(const char* mode, FakeMesh& mesh, uint32_t part = 0) {
    uint16_t code = 0;
    ASSERT_TRUE(TRenderModeTable::FindCode(mode, code)) << mode;
    TRenderModeTable::Find(code)->Add(identity, nullptr, part, AsMesh(mesh));
  }
  std::vector<std::pair<uint16_t, float>> DrawnKeys() {
    std::vector<std::pair<uint16_t, float>> keys;
    for (const DrawnPart& d : g_drawn) keys.push_back({d.mesh->order, d.mesh->centre.z});
    return keys;
  }

  TMeshPartCalls saved;
  D3DXMATRIX identity;
};

TEST_F(RenderModeTest, AlphaDrawsNearestLastAndOpaqueNearestFirst) {
  StartDevice();
  FakeMesh a{0, {0, 0, 5.0f}}, b{0, {0, 0, 2.0f}}, c{1, {0, 0, 0.0f}};
  struct Case {
    const char* mode;
    std::vector<std::pair<uint16_t, float>> order;
  } cases[] = {
      {"ALPHA", {{0, 2.0f}, {0, 5.0f}, {1, 0.0f}}},
      {"OPAQUE", {{0, 5.0f}, {0, 2.0f}, {1, 0.0f}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    g_drawn.clear();
    for (FakeMesh* m : {&c, &a, &b}) Queue(k.mode, *m);
    TRenderModeTable::FlushAll();
    EXPECT_EQ(DrawnKeys(), k.order);
    uint16_t code;
    TRenderModeTable::FindCode(k.mode, code);
    auto* mode = static_cast<TRenderMode8*>(TRenderModeTable::Find(code));
    EXPECT_TRUE(mode->Queue().empty());
    EXPECT_GE(mode->Queue().capacity(), 3u) << "the queue keeps its storage";
  }
}

TEST_F(RenderModeTest, ModesFlushInCodeOrderWithTheirStatesAndFog) {
  StartDevice();
  TD3D8::Instance()->SetFog(true, 10.0f, 100.0f, 0xFF808080);
  FakeMesh add{0, {}}, opaque{0, {}}, alpha{0, {}};
  Queue("ADD", add);
  Queue("ALPHA", alpha);
  Queue("ZDISOPAQUE", opaque);
  TRenderModeTable::FlushAll();
  ASSERT_EQ(g_drawn.size(), 3u);
  EXPECT_EQ(g_drawn[0].mesh, &opaque);
  EXPECT_EQ(g_drawn[0].srcBlend, D3DBLEND_ONE);
  EXPECT_EQ(g_drawn[0].zEnable, 0u);
  EXPECT_EQ(g_drawn[0].fogEnable, 1u) << "the mode's fog switch and the device's fog";
  EXPECT_EQ(g_drawn[1].mesh, &alpha);
  EXPECT_EQ(g_drawn[1].srcBlend, D3DBLEND_SRCALPHA);
  EXPECT_EQ(g_drawn[2].mesh, &add);
  EXPECT_EQ(g_drawn[2].zEnable, 1u);
  EXPECT_EQ(g_drawn[2].fogEnable, 0u) << "ADD switches fog off";
}

TEST_F(RenderModeTest, OnlyModesWithItemsApplyTheirBlocks) {
  StartDevice();
  FakeMesh add{0, {}};
  Queue("ADD", add);
  Device().SetRenderState(D3DRS_ALPHAREF, 9);
  TRenderModeTable::FlushAll();
  ASSERT_EQ(g_drawn.size(), 1u);
  // Later modes (4100 turns z off, 5000 blends INVDESTCOLOR) would have left their states.
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_ONE);
  EXPECT_EQ(RenderState(D3DRS_DESTBLEND), D3DBLEND_ONE);
  EXPECT_EQ(RenderState(D3DRS_ZENABLE), 1u);
  EXPECT_EQ(RenderState(D3DRS_ALPHAREF), 0x42u) << "blocks start from the device defaults";

  // With every queue empty a flush changes nothing.
  Device().SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
  const DeviceState before = State();
  TRenderModeTable::FlushAll();
  EXPECT_EQ(std::memcmp(before.renderStates, State().renderStates, sizeof before.renderStates), 0);
}

TEST_F(RenderModeTest, HiddenAndUnknownCodesNeverDraw) {
  FakeMesh m{0, {}};
  // Before the device: every code draws as hidden.
  TRenderModeTable::Find(2000)->Add(identity, nullptr, 0, AsMesh(m));
  StartDevice();
  const std::vector<uint16_t> codes = TRenderModeTable::Codes();
  Queue("HIDE", m);
  for (uint16_t code : {1u, 1999u, 6000u, 65535u}) {
    TStateBlock8* mode = TRenderModeTable::Find(code);
    ASSERT_NE(mode, nullptr);
    mode->Add(identity, nullptr, 0, AsMesh(m));
  }
  EXPECT_EQ(TRenderModeTable::Codes(), codes) << "no entries for unknown codes";
  Device().SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
  TRenderModeTable::FlushAll();
  EXPECT_TRUE(g_drawn.empty());
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_DESTALPHA);
}

TEST_F(RenderModeTest, DepthIsTheSphereCentreUnderTheMatrix) {
  FakeMesh m{3, {1.0f, 2.0f, 4.0f}};
  EXPECT_FLOAT_EQ(TDrawItem8(identity, nullptr, 0, AsMesh(m)).depth, 4.0f);
  D3DXMATRIX moved;
  D3DXMatrixTranslation(&moved, 0, 0, 10.0f);
  EXPECT_FLOAT_EQ(TDrawItem8(moved, nullptr, 0, AsMesh(m)).depth, 14.0f);
  D3DXMATRIX turned;
  D3DXMatrixRotationY(&turned, std::numbers::pi_v<float> / 2);  // (1, 2, 4) -> (4, 2, -1)
  TDrawItem8 item(turned, nullptr, 7, AsMesh(m));
  EXPECT_NEAR(item.depth, -1.0f, 1e-5);
  EXPECT_EQ(item.order, 3);
  EXPECT_EQ(item.part, 7u);
}

TEST_F(RenderModeTest, TheTableHoldsTwelveCodesAndTwentyFiveNames) {
  StartDevice();
  const std::vector<uint16_t> codes = {0, 1100, 1200, 1300, 2000, 2100, 2200, 2300, 3000, 4000, 4100, 5000};
  EXPECT_EQ(TRenderModeTable::Codes(), codes);
  EXPECT_EQ(TRenderModeTable::NameCount(), 25u);
  struct Name {
    const char* name;
    uint16_t code;
  } names[] = {{"HIDE", 0},     {"REND00", 0},       {"ZDISOPAQUE", 1100}, {"REND01", 1100},
               {"REND04", 2000}, {"DEFAULT", 2000},  {"ZWNALPHANOTCULL", 2300},
               {"REND11", 5000}, {"REND_DESTINVERSE", 5000}, {"MUL", 3000}};
  for (const Name& n : names) {
    uint16_t code = 1;
    EXPECT_TRUE(TRenderModeTable::FindCode(n.name, code)) << n.name;
    EXPECT_EQ(code, n.code) << n.name;
  }
  uint16_t code;
  EXPECT_FALSE(TRenderModeTable::FindCode("REND12", code));
}

// The device's reset order, on the real pieces: blocks released, then recorded anew.
TEST_F(RenderModeTest, AResetRebuildsModesAndBlendBlocksAndKeepsTextures) {
  StartDevice();
  TTexture8 kept = TTexture8::Load("sprite.ptx/window21", D3DPOOL_MANAGED, 0);
  // The default block, twelve mode blocks and five blend blocks.
  EXPECT_EQ(Device().StateBlockCount(), 18u);
  const std::vector<uint16_t> codes = TRenderModeTable::Codes();

  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  renderer->FailReset(D3DERR_INVALIDCALL);
  EXPECT_FALSE(TD3D8::Instance()->CheckDevice());
  EXPECT_EQ(Device().StateBlockCount(), 0u);
  EXPECT_TRUE(TSprite8::BlendBlocks().empty());
  EXPECT_TRUE(TRenderModeTable::Codes().empty());
  FakeMesh m{0, {}};
  TRenderModeTable::Find(1200)->Add(identity, nullptr, 0, AsMesh(m));  // hidden meanwhile

  EXPECT_FALSE(TD3D8::Instance()->CheckDevice());  // resets; this frame is skipped
  EXPECT_TRUE(TD3D8::Instance()->CheckDevice());
  EXPECT_EQ(Device().StateBlockCount(), 18u);
  EXPECT_EQ(TRenderModeTable::Codes(), codes);
  EXPECT_EQ(TRenderModeTable::NameCount(), 25u);
  EXPECT_EQ(TSprite8::BlendBlocks().size(), 5u);
  EXPECT_NE(TRenderModeTable::Find(1200)->GetBlock(), TStateBlock8::kNoBlock);
  EXPECT_EQ(TTexture8::Find("sprite.ptx/window21")->GetTexture().Get(), kept.GetTexture().Get());

  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  Queue("OPAQUE", m);
  TRenderModeTable::FlushAll();
  EXPECT_EQ(g_drawn.size(), 1u);
  EXPECT_EQ(RenderState(D3DRS_ZWRITEENABLE), 1u);
  TTexture8::Purge(1);
}

}  // namespace
