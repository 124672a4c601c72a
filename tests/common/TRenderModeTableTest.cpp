#include "common/TRenderModeTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <numbers>

#include "common/TMesh8.h"
#include "common/TVertexShader8.h"
#include "tests/common/GraphicsFixture.h"
#include "tests/common/MeshSamples.h"
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
  // The meshes drawn since the last ClearLog, in drawing order, told apart by colour: each of its
  // own draw or one after another inside a batch.
  std::vector<size_t> DrawnMeshes() {
    std::vector<size_t> out;
    for (const RecordedDraw& d : Draws()) {
      const size_t before = out.size();
      for (size_t i = 0; i < d.IndexCount(); i += 3) {
        const auto n = static_cast<size_t>(std::lround(d.Vertex(i).diffuse.x * 64.0f)) - 1;
        if (out.size() == before || out.back() != n) out.push_back(n);
      }
    }
    return out;
  }
  std::vector<std::pair<uint16_t, float>> DrawnKeys() {
    std::vector<std::pair<uint16_t, float>> keys;
    for (size_t n : DrawnMeshes()) keys.push_back({pieces.at(n).order, pieces.at(n).centre.z});
    return keys;
  }

  // The vertices of every index the draws since the last ClearLog drew, in order.
  std::vector<ResolvedVertex> DrawnVertices() {
    std::vector<ResolvedVertex> out;
    for (const RecordedDraw& d : Draws())
      for (size_t i = 0; i < d.IndexCount(); ++i) out.push_back(d.Vertex(i));
    return out;
  }
  // Queues the parts in the mode, each under its matrix, flushes, and expects them drawn as one
  // batch whose vertices are, one part after another in queue order, what each part draws alone.
  struct Placed {
    TMesh8* mesh;
    uint32_t part;
    D3DXMATRIX matrix;
  };
  void ExpectOneBatchAsAlone(const char* mode, const std::vector<Placed>& parts) {
    uint16_t code = 0;
    ASSERT_TRUE(TRenderModeTable::FindCode(mode, code));
    std::vector<ResolvedVertex> alone;
    for (const Placed& p : parts) {
      renderer->ClearLog();
      TRenderModeTable::Find(code)->Add(p.matrix, nullptr, p.part, p.mesh);
      TRenderModeTable::FlushAll();
      ASSERT_FALSE(Draws().empty());  // a draw per run of the part's triangles
      for (const RecordedDraw& d : Draws())
        EXPECT_NE(d.vertexShader, BatchShaderHandle()) << "one part draws as it always did";
      const std::vector<ResolvedVertex> own = DrawnVertices();
      alone.insert(alone.end(), own.begin(), own.end());
    }
    renderer->ClearLog();
    for (const Placed& p : parts) TRenderModeTable::Find(code)->Add(p.matrix, nullptr, p.part, p.mesh);
    TRenderModeTable::FlushAll();
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0].vertexShader, BatchShaderHandle());
    const std::vector<ResolvedVertex> batched = DrawnVertices();
    ASSERT_EQ(batched.size(), alone.size());
    for (size_t i = 0; i < batched.size(); ++i) {
      SCOPED_TRACE(i);
      const ResolvedVertex &b = batched[i], &a = alone[i];
      EXPECT_NEAR(b.position.x, a.position.x, 1e-5f);
      EXPECT_NEAR(b.position.y, a.position.y, 1e-5f);
      EXPECT_NEAR(b.position.z, a.position.z, 1e-5f);
      EXPECT_NEAR(b.fog, a.fog, 1e-5f);
      EXPECT_FLOAT_EQ(b.diffuse.x, a.diffuse.x);
      EXPECT_FLOAT_EQ(b.diffuse.y, a.diffuse.y);
      EXPECT_FLOAT_EQ(b.diffuse.z, a.diffuse.z);
      EXPECT_FLOAT_EQ(b.diffuse.w, a.diffuse.w);
      EXPECT_FLOAT_EQ(b.texcoord[0].x, a.texcoord[0].x);
      EXPECT_FLOAT_EQ(b.texcoord[0].y, a.texcoord[0].y);
    }
  }
  static D3DXMATRIX Moved(float x, float y, float z) {
    D3DXMATRIX m;
    return *D3DXMatrixTranslation(&m, x, y, z);
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

// Neighbours in a queue that draw alike (one view, one texture, programs of the set) become one
// draw: each part's vertices moved by its own matrix and coloured as its program colours them, in
// the queue's sorted order.
TEST_F(RenderModeTest, AlikeNeighboursDrawAsOneBatchOfTheirOwnVertices) {
  StartDevice();
  TD3D8::Instance()->SetFog(true, 1.0f, 30.0f, 0xFF808080);
  TMesh8* a = Make(0, {0, 0, 1.0f});
  TMesh8* b = Make(0, {1, 0, 2.0f});
  TMesh8* c = Make(0, {2, 0, 3.0f});
  D3DXMATRIX turned;
  D3DXMatrixRotationY(&turned, 0.5f);
  turned._41 = 3.0f;
  // Queued in ALPHA's sort (depth ascending), which the batch keeps.
  ExpectOneBatchAsAlone("ALPHA", {{a, 0, identity}, {b, 0, turned}, {c, 0, Moved(0, 1, 4)}});
  EXPECT_EQ(DrawnMeshes(), (std::vector<size_t>{0, 1, 2}));

  // The morphing programs blend the two frames on the CPU as they would on the device: the
  // material colour, the vertex colour and their product.
  testkit::MorphingStripMesh().Tob().Save(dir / "walker.tob");
  std::deque<TMesh8> walkers;
  const TCountedPtr<TShaderBase8> programs[] = {
      TCountedPtr<TShaderBase8>(new TConstColorMorphShader8(0x80000003u)),
      TCountedPtr<TShaderBase8>(new TVertexColorMorphShader8(0x80000001u)),
      TCountedPtr<TShaderBase8>(new TMorphShader8(true, true))};
  std::vector<Placed> parts;
  for (const auto& program : programs) {
    TMesh8& w = walkers.emplace_back(TMesh8::Load("walker.tob"));
    w.SetShader(program);
    w.SetMotion(0);
    w.SetMotionTime(0.25f + 0.5f * static_cast<float>(walkers.size()));
    parts.push_back({&w, 0, Moved(0, 0, 10.0f - static_cast<float>(walkers.size()))});
  }
  ExpectOneBatchAsAlone("OPAQUE", parts);
}

// A texture that changes, a program outside the set or another mode ends a batch; the drawing
// order stays. Only where the order cannot show (ADD: light added, no depth written) do the parts
// that draw alike gather, each group where its first part stands.
TEST_F(RenderModeTest, ATextureOrModeChangeSplitsTheBatchAndOnlyAddedLightRegroups) {
  StartDevice();
  TMesh8* a = Make(0, {0, 0, 1.0f});
  TMesh8* b = Make(0, {0, 0, 2.0f});
  TMesh8* c = Make(0, {0, 0, 3.0f});
  TMesh8* d = Make(0, {0, 0, 4.0f});
  b->GetMaterialForUpdate(0).SetTexture(TTexture8::Load("sprite.ptx/word", D3DPOOL_MANAGED, 0));
  struct Case {
    const char* mode;
    std::vector<size_t> meshes;
    std::vector<std::string> textures;  // per draw
  } cases[] = {
      {"ALPHA", {0, 1, 2, 3}, {"", "sprite.ptx/word", ""}},
      {"ZWNALPHA", {0, 1, 2, 3}, {"", "sprite.ptx/word", ""}},
      {"ADD", {0, 2, 3, 1}, {"", "sprite.ptx/word"}},
      {"ZDISADD", {0, 2, 3, 1}, {"", "sprite.ptx/word"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mode);
    renderer->ClearLog();
    for (TMesh8* m : {d, c, b, a}) Queue(k.mode, m);
    TRenderModeTable::FlushAll();
    EXPECT_EQ(DrawnMeshes(), k.meshes);
    std::vector<std::string> textures;
    for (const RecordedDraw& draw : Draws()) textures.push_back(draw.textures[0].name);
    EXPECT_EQ(textures, k.textures);
  }

  // Another mode's states: two draws, each with its own.
  renderer->ClearLog();
  Queue("ALPHA", a);
  Queue("ZWNALPHA", c);
  TRenderModeTable::FlushAll();
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[0].state.renderStates[D3DRS_ZWRITEENABLE], 1u);
  EXPECT_EQ(Draws()[1].state.renderStates[D3DRS_ZWRITEENABLE], 0u);

  // A program of the game's own is drawn by itself, between the batches around it.
  class OwnProgram : public TShaderBase8 {
   public:
    void Draw(uint32_t, TMesh8&, TView8*, const D3DMATRIX&) override { ++draws; }
    void Create() override {}
    void Release() override {}
    int draws = 0;
  };
  auto* own = new OwnProgram;
  const TCountedPtr<TShaderBase8> keep(own);
  TMesh8 plain = *c;
  plain.SetShader(keep);
  renderer->ClearLog();
  TRenderModeTable::Find(2000)->Add(Moved(0, 0, 10), nullptr, 0, d);
  TRenderModeTable::Find(2000)->Add(Moved(0, 0, 0), nullptr, 0, a);
  TRenderModeTable::Find(2000)->Add(Moved(0, 0, 5), nullptr, 0, &plain);
  TRenderModeTable::Find(2000)->Add(Moved(0, 0, 0), nullptr, 0, c);
  TRenderModeTable::FlushAll();
  EXPECT_EQ(own->draws, 1);
  EXPECT_EQ(DrawnMeshes(), (std::vector<size_t>{0, 2, 3}));
  EXPECT_EQ(Draws().size(), 2u) << "a and c in one batch before the game's own, d after it";
}
