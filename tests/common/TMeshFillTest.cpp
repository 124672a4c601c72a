// The fixed-function path: the scratch buffer that copies and CPU morph blends fill, and draws
// from it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "common/TMeshFill.h"
#include "common/TView8.h"
#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"

using namespace testkit;

namespace {

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u, v;
};

class MeshFillTest : public FixedFunctionFixture {
 protected:
  static Vertex ScratchVertex(const TMesh8& mesh, uint32_t k) {
    Vertex v;
    std::memcpy(&v, mesh.GetData()->GetScratchBuffer()->Bytes() + 24 * size_t(k), 24);
    return v;
  }
  static void PokeScratch(const TMesh8& mesh, uint32_t k, uint32_t color) {
    auto* bytes = const_cast<uint8_t*>(mesh.GetData()->GetScratchBuffer()->Bytes());
    std::memcpy(bytes + 24 * size_t(k) + 12, &color, 4);
  }
  // Draws one part and returns the colour of its first drawn vertex, packed ARGB.
  uint32_t DrawnColor(TMesh8& mesh, uint32_t part) {
    plat::D3DXMATRIX world;
    plat::D3DXMatrixIdentity(&world);
    const size_t before = renderer->Draws().size();
    TD3D8::BeginScene();
    mesh.DrawPart(world, &view, part);
    TD3D8::EndScene();
    if (renderer->Draws().size() == before) return 0;
    const plat::ShaderFloat4& c = renderer->Draws()[before].Vertex(0).diffuse;  // the first run
    auto byte = [](float f) { return static_cast<uint32_t>(f * 255.0f + 0.5f); };
    return byte(c.w) << 24 | byte(c.x) << 16 | byte(c.y) << 8 | byte(c.z);
  }
  // The walker with morph frame 0 black and transparent at u = 0, frame 1 white at u = 1, frame 2
  // grey; clip 0 walks 0, 1, 2, clip 1 ("still") maps 1, 1, 2.
  TMesh8 Walker() {
    datakit::MeshFile file = MorphingStripMesh();
    const uint32_t colors[3] = {0x00000000, 0xFFFFFFFF, 0x80808080};
    for (int f = 0; f < 3; ++f)
      for (auto& v : file.frames[f]) v.color = colors[f], v.u = float(f);
    file.clips[1] = {"still", {1, 1, 2}, {1, 1, 1}};
    return Save("walker.tob", file.Tob());
  }

  TView8 view;
};

TEST_F(MeshFillTest, StaticCopiesApplyTheirColourRules) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());  // vertex colour 0xFF102030
  const struct {
    const char* what;
    TShaderBase8* shader;
    uint32_t color;
  } cases[] = {
      {"material colour", new TConstColorShader8, 0xFFFF7F3F},
      {"vertex colour", new TVertexColorShader8, 0xFF102030},
      // 0x10 x 256 >> 8, 0x20 x 128 >> 8, 0x30 x 64 >> 8, alpha 0xFF x 256 >> 8
      {"product", new TModulateColorShader8, 0xFF10100C},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    mesh.SetShader(TCountedPtr<TShaderBase8>(c.shader));
    mesh.SetColor(1.0f, 0.5f, 0.25f, 1.0f, 0);
    EXPECT_EQ(DrawnColor(mesh, 0), c.color);
    EXPECT_EQ(ScratchVertex(mesh, 0).color, c.color);
    EXPECT_EQ(ScratchVertex(mesh, 0).u, 0.0f);
    EXPECT_EQ(ScratchVertex(mesh, 5).x, 1.0f);
  }
  mesh.SetColor(1.0f, 0.5f, 0.5f, 1.0f, 0);
  mesh.SetShader(TCountedPtr<TShaderBase8>(new TConstColorShader8));
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFFFF7F7Fu);
}

TEST_F(MeshFillTest, ACleanPartIsNotCopiedAgainUntilItsMaterialChanges) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());
  mesh.SetColor(1, 0, 0, 1, 0);
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFFFF0000u);
  PokeScratch(mesh, 0, 0xFF00FF00);
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFF00FF00u);  // the dirty byte was clear: no copy
  mesh.SetRenderMode(2000, 0);                   // not a colour change
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFF00FF00u);
  mesh.GetMaterialForUpdate(0);
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFFFF0000u);
  PokeScratch(mesh, 0, 0xFF00FF00);
  mesh.SetAlpha(1.0f, 0xFFFFFFFF);
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFFFF0000u);
}

// Copies share one geometry and so one scratch buffer; each still draws its own colours.
TEST_F(MeshFillTest, CopiesWithDifferentColoursDrawTheirOwn) {
  TMesh8 red = Save("strip.msh", StripMesh().Msh());
  red.SetColor(1, 0, 0, 1, 0xFFFFFFFF);
  TMesh8 blue(red);
  blue.SetColor(0, 0, 1, 1, 0xFFFFFFFF);
  TMesh8 faint(red);
  faint.SetAlpha(0.5f, 0);
  ASSERT_EQ(red.GetData(), blue.GetData());
  EXPECT_EQ(DrawnColor(red, 0), 0xFFFF0000u);
  EXPECT_EQ(DrawnColor(blue, 0), 0xFF0000FFu);
  EXPECT_EQ(DrawnColor(red, 0), 0xFFFF0000u);
  EXPECT_EQ(DrawnColor(faint, 0), 0x7FFF0000u);
  EXPECT_EQ(DrawnColor(red, 0), 0xFFFF0000u);

  TMesh8 clone = red;
  red.Clone(clone, 0);
  clone.SetColor(0, 1, 0, 1, 0);
  EXPECT_EQ(DrawnColor(clone, 0), 0xFF00FF00u);
  EXPECT_EQ(DrawnColor(red, 0), 0xFFFF0000u);
}

TEST_F(MeshFillTest, CopiesAtDifferentMotionTimesDrawTheirOwnBlend) {
  TMesh8 early = Walker();
  early.SetShader(TCountedPtr<TShaderBase8>(new TVertexColorMorphShader8(0x80000003)));
  TMesh8 late(early);
  early.SetMotionTime(0.5f);
  late.SetMotionTime(1.5f);
  plat::D3DXMATRIX world;
  plat::D3DXMatrixIdentity(&world);
  auto drawnY = [&](TMesh8& mesh) {
    TD3D8::BeginScene();
    mesh.DrawPart(world, &view, 0);
    TD3D8::EndScene();
    return renderer->Draws().back().Vertex(0).position.y;
  };
  EXPECT_FLOAT_EQ(drawnY(early), 0.5f);
  EXPECT_FLOAT_EQ(drawnY(late), 1.5f);
  EXPECT_FLOAT_EQ(drawnY(early), 0.5f);
  EXPECT_FLOAT_EQ(drawnY(late), 1.5f);
}

TEST_F(MeshFillTest, MorphBlendWeighsPositionsColoursAndTextureCoordinates) {
  TMesh8 mesh = Walker();
  mesh.SetColor(0.5f, 1.0f, 1.0f, 1.0f, 0xFFFFFFFF);
  const struct {
    const char* what;
    void (*blend)(uint32_t, TMesh8&, uint32_t);
    uint32_t kind;
    float time;
    float y, u;
    uint32_t color;
  } cases[] = {
      {"A: both blended at w 0.5", DrawMorphMeshA, 0x80000003, 0.5f, 0.5f, 0.5f, 0x7F7F7F7F},
      {"A: colour of frame a, uv of a", DrawMorphMeshA, 0x80000000, 0.5f, 0.5f, 0.0f, 0x00000000},
      {"A: uv blended only", DrawMorphMeshA, 0x80000002, 0.25f, 0.25f, 0.25f, 0x00000000},
      {"A: t = 0 copies frame 0", DrawMorphMeshA, 0x80000003, 0.0f, 0.0f, 0.0f, 0x00000000},
      {"A: the last frame is copied", DrawMorphMeshA, 0x80000003, 2.0f, 2.0f, 2.0f, 0x80808080},
      {"B: the material colour", DrawMorphMeshB, 0x80000003, 0.5f, 0.5f, 0.5f, 0xFF7FFFFF},
      {"C: blended colour x material", DrawMorphMeshC, 0x80000003, 0.5f, 0.5f, 0.5f, 0x7F3F7F7F},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    mesh.SetMotionTime(c.time);
    c.blend(0, mesh, c.kind);
    const Vertex v = ScratchVertex(mesh, 0);
    EXPECT_FLOAT_EQ(v.y, c.y);
    EXPECT_FLOAT_EQ(v.u, c.u);
    EXPECT_EQ(v.color, c.color);
    mesh.SetMotionTime(1.0f);  // a different pair before the next case
    DrawMorphMeshA(0, mesh, 0x80000003);
  }
}

TEST_F(MeshFillTest, MorphBlendRefillsOnlyWhatMovedOrChanged) {
  TMesh8 mesh = Walker();
  mesh.SetMotionTime(0.5f);
  DrawMorphMeshA(0, mesh, 0x80000003);
  EXPECT_EQ(ScratchVertex(mesh, 0).color, 0x7F7F7F7Fu);
  PokeScratch(mesh, 0, 0x12345678);
  DrawMorphMeshA(0, mesh, 0x80000003);
  EXPECT_EQ(ScratchVertex(mesh, 0).color, 0x12345678u);  // same pair, clean part: nothing written
  mesh.SetColor(1, 1, 1, 1, 0);
  DrawMorphMeshA(0, mesh, 0x80000003);
  EXPECT_EQ(ScratchVertex(mesh, 0).color, 0x7F7F7F7Fu);

  // Neighbouring clip frames on one morph frame draw it unblended at any weight.
  mesh.SetMotion(1);
  mesh.SetMotionTime(0.5f);
  DrawMorphMeshA(0, mesh, 0x80000003);
  EXPECT_FLOAT_EQ(ScratchVertex(mesh, 0).y, 1.0f);
  EXPECT_EQ(ScratchVertex(mesh, 0).color, 0xFFFFFFFFu);

  // A kind outside the four writes nothing.
  mesh.SetMotion(0);
  mesh.SetMotionTime(0.5f);
  PokeScratch(mesh, 0, 0x12345678);
  DrawMorphMeshA(0, mesh, 0x12);
  EXPECT_EQ(ScratchVertex(mesh, 0).color, 0x12345678u);
}

// After the indices are rewritten the fixed-function copies follow the old triangles until the
// part table is rebuilt.
TEST_F(MeshFillTest, RebuiltPartTableMakesCopiesFollowNewIndices) {
  datakit::MeshShape shape = datakit::PlaneShape(1, 1);
  shape.Append(datakit::PlaneShape(1, 1).Move(2, 0, 0), 1);  // part 1 on vertices 4..7
  TMesh8 mesh = Save("two.msh", datakit::MeshFile::FromShape("two", shape,
                                                             {datakit::MeshMaterial::Colored("a", 1, 0, 0),
                                                              datakit::MeshMaterial::Colored("b", 0, 0, 1)})
                                    .Msh());
  EXPECT_EQ(DrawnColor(mesh, 1), 0xFF0000FFu);
  uint16_t* indices = mesh.LockIndices();
  for (int i = 0; i < 6; ++i) indices[i] = static_cast<uint16_t>(indices[i] + 4);  // part 0 onto part 1's
  mesh.UnlockIndices();
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFF0000FFu);  // old lists: vertices 4..7 still hold part 1's fill
  mesh.RebuildPartTable();
  EXPECT_EQ(DrawnColor(mesh, 0), 0xFFFF0000u);
  EXPECT_EQ(mesh.GetData()->GetPartTable().GetIndexList(0).front(), 4u);
}

TEST_F(MeshFillTest, FixedFunctionDrawsSetTransformsAndTheScratchStream) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());
  plat::D3DXMATRIX world, viewMatrix, projection;
  plat::D3DXMatrixTranslation(&world, 1, 2, 3);
  plat::D3DXMatrixTranslation(&viewMatrix, 0, 0, 5);
  plat::D3DXMatrixPerspectiveFovLH(&projection, 0.785398f, 4.0f / 3.0f, 1, 100);
  view.SetMatrices(viewMatrix, projection);
  TD3D8::BeginScene();
  mesh.DrawPart(world, &view, 0);
  TD3D8::EndScene();
  ASSERT_EQ(renderer->Draws().size(), 2u);  // part 0's two runs
  const plat::RecordedDraw& draw = renderer->Draws()[0];
  EXPECT_EQ(draw.vertexShader, 0x142u);
  EXPECT_EQ(std::memcmp(&draw.state.world[0], &world, sizeof world), 0);
  EXPECT_EQ(std::memcmp(&draw.state.view, &viewMatrix, sizeof world), 0);
  EXPECT_EQ(std::memcmp(&draw.state.projection, &projection, sizeof world), 0);
  EXPECT_EQ(draw.primitiveCount, 2u);
  EXPECT_EQ(renderer->Draws()[1].primitiveCount, 1u);
  EXPECT_EQ(renderer->Draws()[1].vertexNumbers, (std::vector<uint32_t>{4, 3, 5}));
  // Without shader support no handle exists.
  for (uint32_t row = 0; row < 15; ++row) EXPECT_EQ(*ShaderSetCell(row), 0u) << row;
  EXPECT_EQ(RegisteredShaderCount(), 15u);
}

}  // namespace
