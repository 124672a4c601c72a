#include "common/TRenderModeTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <numbers>

#include "common/TMesh8.h"
#include "tests/common/GraphicsFixture.h"
#include "tools/datakit/MeshShapes.h"

using namespace plat;

namespace {

// What a queued mesh was made with; meshes are told apart at draw time by their colour.
struct Piece {
  uint16_t order;
  D3DXVECTOR3 centre;
};

// Mesh n draws in red (n + 1) / 64, exact in a float.
float RedOf(size_t n) { return static_cast<float>(n + 1) / 64.0f; }

class RenderModeTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    TMesh8::SetFolder(dir.path() + "/");
    D3DXMatrixIdentity(&identity);
  }
  void TearDown() override {
    meshes.clear();
    TMesh8::SetFolder("");
    GraphicsFixture::TearDown();
  }
  // A real mesh: a unit square around the centre, one part of the draw order (needs the device).
  TMesh8* Make(uint16_t order, D3DXVECTOR3 centre) {
    const size_t n = meshes.size();
    datakit::MeshShape square = datakit::PlaneShape(1.0f, 1.0f);
    for (datakit::MeshVertex& v : square.vertices) {
      v.x += centre.x;
      v.y += centre.y;
      v.z += centre.z;
    }
    const std::string file = "piece" + std::to_string(n) + ".msh";
    datakit::MeshFile::FromShape(
        "piece", square, {datakit::MeshMaterial::Colored("partORDER" + std::to_string(order), RedOf(n), 0, 0)})
        .Msh()
        .Save(dir / file);
    meshes.push_back(TMesh8::Load(file));
    pieces.push_back({order, centre});
    return &meshes.back();
  }
  void Queue(const char* mode, TMesh8* mesh, uint32_t part = 0) {
    uint16_t code = 0;
    ASSERT_TRUE(TRenderModeTable::FindCode(mode, code)) << mode;
    TRenderModeTable::Find(code)->Add(identity, nullptr, part, mesh);
  }
  // The mesh each draw since the last ClearLog came from, by its colour.
  std::vector<size_t> DrawnMeshes() {
    std::vector<size_t> out;
    for (const RecordedDraw& d : Draws()) {
      const float red = d.Vertex(0).diffuse.x;
      out.push_back(static_cast<size_t>(std::lround(red * 64.0f)) - 1);
    }
    return out;
  }
  std::vector<std::pair<uint16_t, float>> DrawnKeys() {
    std::vector<std::pair<uint16_t, float>> keys;
    for (size_t n : DrawnMeshes()) keys.push_back({pieces.at(n).order, pieces.at(n).centre.z});
    return keys;
  }

  D3DXMATRIX identity;
  std::deque<TMesh8> meshes;
  std::vector<Piece> pieces;
};

TEST_F(RenderModeTest, AlphaDrawsNearestLastAndOpaqueNearestFirst) {
  StartDevice();
  TMesh8* a = Make(0, {0, 0, 5.0f});
  TMesh8* b = Make(0, {0, 0, 2.0f});
  TMesh8* c = Make(1, {0, 0, 0.0f});
  struct Case {
    const char* mode;
    std::vector<std::pair<uint16_t, float>> order;
  } cases[] = {
      {"ALPHA", {{0, 2.0f}, {0, 5.0f}, {1, 0.0f}}},
      {"OPAQUE", {{0, 5.0f}, {0, 2.0f}, {1, 0.0f}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    renderer->ClearLog();
    for (TMesh8* m : {c, a, b}) Queue(k.mode, m);
    TRenderModeTable::FlushAll();
    EXPECT_EQ(DrawnKeys(), k.order);
    uint16_t code;
    TRenderModeTable::FindCode(k.mode, code);
    auto* mode = static_cast<TRenderMode8*>(TRenderModeTable::Find(code));
    EXPECT_TRUE(mode->Queue().empty());
    EXPECT_GE(mode->Queue().capacity(), 3u) << "the queue keeps its storage";
  }
}

// Every code against its row: the names it is found by, the seven states in force while its
// items draw (with the device's fog on), and the sort of its queue.
TEST_F(RenderModeTest, EveryCodeDrawsWithTheStatesAndSortOfItsRow) {
  constexpr int kNoSort = -1;
  struct Row {
    uint16_t code;
    const char* name;
    int sort;
    DWORD zEnable, zWrite, alphaBlend, cull, fog, srcBlend, destBlend;
  } rows[] = {
      {0, "HIDE", kNoSort, 0, 0, 0, 0, 0, 0, 0},
      {1100, "ZDISOPAQUE", 1, 0, 0, 0, 3, 1, 2, 1},
      {1200, "OPAQUE", 1, 1, 1, 0, 3, 1, 2, 1},
      {1300, "OPAQUENOTCULL", 1, 1, 1, 0, 1, 1, 2, 1},
      {2000, "ALPHA", 0, 1, 1, 1, 3, 1, 5, 6},
      {2100, "ALPHANOTCULL", 0, 1, 1, 1, 1, 1, 5, 6},
      {2200, "ZWNALPHA", 0, 1, 0, 1, 3, 1, 5, 6},
      {2300, "ZWNALPHANOTCULL", 0, 1, 0, 1, 1, 0, 5, 6},
      {3000, "MUL", 0, 1, 0, 1, 1, 0, 1, 3},
      {4000, "ADD", 0, 1, 0, 1, 1, 0, 2, 2},
      {4100, "ZDISADD", 0, 0, 0, 1, 1, 0, 2, 2},
      {5000, "REND_DESTINVERSE", 0, 1, 0, 1, 1, 0, 10, 1},
  };
  StartDevice();
  TD3D8::Instance()->SetFog(true, 10.0f, 100.0f, 0xFF808080);
  TMesh8* nearer = Make(0, {0, 0, 2.0f});
  TMesh8* farther = Make(0, {0, 0, 5.0f});
  std::vector<uint16_t> codes;
  for (const Row& r : rows) codes.push_back(r.code);
  EXPECT_EQ(TRenderModeTable::Codes(), codes);
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(r.name);
    char alias[8];
    std::snprintf(alias, sizeof alias, "REND%02zu", i);
    for (const char* name : {r.name, static_cast<const char*>(alias)}) {
      uint16_t code = 1;
      EXPECT_TRUE(TRenderModeTable::FindCode(name, code)) << name;
      EXPECT_EQ(code, r.code) << name;
    }
    // Queued against the expected sort, so the flush has to reorder them.
    renderer->ClearLog();
    for (TMesh8* m : r.sort == 1 ? std::vector{nearer, farther} : std::vector{farther, nearer})
      TRenderModeTable::Find(r.code)->Add(identity, nullptr, 0, m);
    TRenderModeTable::FlushAll();
    if (r.sort == kNoSort) {
      EXPECT_TRUE(Draws().empty());
      continue;
    }
    const std::vector<size_t> nearerLast = {1, 0}, nearerFirst = {0, 1};
    EXPECT_EQ(DrawnMeshes(), r.sort == 1 ? nearerLast : nearerFirst);
    for (const RecordedDraw& d : Draws()) {
      const DWORD* s = d.state.renderStates;
      EXPECT_EQ(s[D3DRS_ZENABLE], r.zEnable);
      EXPECT_EQ(s[D3DRS_ZWRITEENABLE], r.zWrite);
      EXPECT_EQ(s[D3DRS_ALPHABLENDENABLE], r.alphaBlend);
      EXPECT_EQ(s[D3DRS_CULLMODE], r.cull);
      EXPECT_EQ(s[D3DRS_FOGENABLE], r.fog);
      EXPECT_EQ(s[D3DRS_SRCBLEND], r.srcBlend);
      EXPECT_EQ(s[D3DRS_DESTBLEND], r.destBlend);
    }
  }
}

TEST_F(RenderModeTest, ModesFlushInCodeOrderWithTheirStatesAndFog) {
  StartDevice();
  TD3D8::Instance()->SetFog(true, 10.0f, 100.0f, 0xFF808080);
  TMesh8* add = Make(0, {});
  TMesh8* alpha = Make(0, {});
  TMesh8* opaque = Make(0, {});
  Queue("ADD", add);
  Queue("ALPHA", alpha);
  Queue("ZDISOPAQUE", opaque);
  TRenderModeTable::FlushAll();
  EXPECT_EQ(DrawnMeshes(), (std::vector<size_t>{2, 1, 0}));
  ASSERT_EQ(Draws().size(), 3u);
  EXPECT_EQ(Draws()[0].state.renderStates[D3DRS_FOGENABLE], 1u) << "the mode's fog switch and the device's fog";
  EXPECT_EQ(Draws()[2].state.renderStates[D3DRS_FOGENABLE], 0u) << "ADD switches fog off";
}

TEST_F(RenderModeTest, OnlyModesWithItemsApplyTheirBlocks) {
  StartDevice();
  Queue("ADD", Make(0, {}));
  Device().SetRenderState(D3DRS_ALPHAREF, 9);
  TRenderModeTable::FlushAll();
  ASSERT_EQ(Draws().size(), 1u);
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
  // Before the device: every code draws as hidden.
  TRenderModeTable::Find(2000)->Add(identity, nullptr, 0, nullptr);
  StartDevice();
  TMesh8* m = Make(0, {});
  const std::vector<uint16_t> codes = TRenderModeTable::Codes();
  Queue("HIDE", m);
  for (uint16_t code : {1u, 1999u, 6000u, 65535u}) {
    TStateBlock8* mode = TRenderModeTable::Find(code);
    ASSERT_NE(mode, nullptr);
    mode->Add(identity, nullptr, 0, m);
  }
  EXPECT_EQ(TRenderModeTable::Codes(), codes) << "no entries for unknown codes";
  Device().SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
  TRenderModeTable::FlushAll();
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(RenderState(D3DRS_SRCBLEND), D3DBLEND_DESTALPHA);
}

TEST_F(RenderModeTest, DepthIsTheSphereCentreUnderTheMatrix) {
  StartDevice();
  TMesh8* m = Make(3, {1.0f, 2.0f, 4.0f});
  EXPECT_FLOAT_EQ(TDrawItem8(identity, nullptr, 0, m).depth, 4.0f);
  D3DXMATRIX moved;
  D3DXMatrixTranslation(&moved, 0, 0, 10.0f);
  EXPECT_FLOAT_EQ(TDrawItem8(moved, nullptr, 0, m).depth, 14.0f);
  D3DXMATRIX turned;
  D3DXMatrixRotationY(&turned, std::numbers::pi_v<float> / 2);  // (1, 2, 4) -> (4, 2, -1)
  TDrawItem8 item(turned, nullptr, 0, m);
  EXPECT_NEAR(item.depth, -1.0f, 1e-5);
  EXPECT_EQ(item.order, 3);
  EXPECT_EQ(item.part, 0u);
  // A part the mesh does not have keeps order 0 and draws nothing.
  TDrawItem8 missing(identity, nullptr, 7, m);
  EXPECT_EQ(missing.order, 0);
  EXPECT_EQ(missing.part, 7u);
  missing.Draw();
  EXPECT_TRUE(Draws().empty());
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
  TMesh8* m = Make(0, {});
  // The default block, twelve mode blocks and five blend blocks.
  EXPECT_EQ(Device().StateBlockCount(), 18u);
  const std::vector<uint16_t> codes = TRenderModeTable::Codes();

  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  renderer->FailReset(D3DERR_INVALIDCALL);
  EXPECT_FALSE(TD3D8::Instance()->CheckDevice());
  EXPECT_EQ(Device().StateBlockCount(), 0u);
  EXPECT_TRUE(TSprite8::BlendBlocks().empty());
  EXPECT_TRUE(TRenderModeTable::Codes().empty());
  TRenderModeTable::Find(1200)->Add(identity, nullptr, 0, m);  // hidden meanwhile

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
  EXPECT_EQ(Draws().size(), 1u);
  EXPECT_EQ(RenderState(D3DRS_ZWRITEENABLE), 1u);
  TTexture8::Purge(1);
}

}  // namespace
