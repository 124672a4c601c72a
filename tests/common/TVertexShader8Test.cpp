// The vertex-shader path: the shader set and its handles, the constants and streams of the draws.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "common/TView8.h"
#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"

using namespace testkit;
using plat::D3DXMATRIX;

namespace {

class VertexShaderTest : public MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    plat::D3DXMatrixTranslation(&world, 1, 2, 3);
    D3DXMATRIX viewMatrix, projection;
    plat::D3DXMatrixRotationY(&viewMatrix, 0.5f);
    viewMatrix._43 = 5;
    plat::D3DXMatrixPerspectiveFovLH(&projection, 0.785398f, 4.0f / 3.0f, 1, 100);
    view.SetMatrices(viewMatrix, projection);
  }
  void Draw(TMesh8& mesh, uint32_t part) {
    TD3D8::BeginScene();
    mesh.DrawPart(world, &view, part);
    TD3D8::EndScene();
  }
  plat::ShaderFloat4 Constant(uint32_t reg) {
    plat::ShaderFloat4 c;
    Device().GetVertexShaderConstant(reg, &c, 1);
    return c;
  }
  // Four morph frames lifted by 0, 10, 20 and 30; the clip shows them in the order 0, 1, 3, 2.
  TMesh8 FourFrames() {
    datakit::MeshFile file = StripMesh();
    for (float lift : {10.0f, 20.0f, 30.0f}) {
      auto frame = file.frames[0];
      for (auto& v : frame) v.y += lift;
      file.frames.push_back(frame);
    }
    file.clips = {{"turn", {0, 1, 3, 2}, {1, 1, 1, 1}}};
    return Save("four.tob", file.Tob());
  }

  D3DXMATRIX world;
  TView8 view;
};

TEST_F(VertexShaderTest, TheSetRegistersFifteenVariantsEachWithItsOwnHandle) {
  EXPECT_EQ(RegisteredShaderCount(), 15u);
  std::set<uint32_t> handles;
  for (uint32_t row = 0; row < 15; ++row) {
    EXPECT_NE(*ShaderSetCell(row), 0u) << row;
    EXPECT_NE(Device().FindVertexShader(*ShaderSetCell(row)), nullptr) << row;
    handles.insert(*ShaderSetCell(row));
  }
  EXPECT_EQ(handles.size(), 15u);
  EXPECT_STREQ(ShaderSetSource(0),
               "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmov oD0, v1\nmov oT0.xy, v2\n"
               "mad oFog.x, -r8.z, c8.y, c8.x\n");
  // Row 12: the product, both blended (kind 0x80000003).
  EXPECT_STREQ(ShaderSetSource(11),
               "vs.1.0\nmul r0, v0, c9.x\nmad r0, v1, c9.y, r0\nm4x4 oPos, r0, c0\ndp4 r8.z, r0, c6\n"
               "mul r1, v2, c9.x\nmad r3, v3, c9.y, r1\nmul oD0, r3, c10\n"
               "mul r2, v4, c9.x\nmad oT0.xy, v5, c9.y, r2\nmad oFog.x, -r8.z, c8.y, c8.x\n");
  // Row 9: material colour, texture coordinates not blended (kind 0x80000001).
  EXPECT_NE(std::string(ShaderSetSource(8)).find("mov oD0, c10\nmov oT0.xy, v4.xy\n"), std::string::npos);

  TVertexColorMorphShader8 kind2(0x80000002);
  EXPECT_EQ(kind2.GetHandleCell(), ShaderSetCell(5));
  EXPECT_EQ(kind2.GetSingleFrameCell(), ShaderSetCell(0));
  TMorphShader8 plain(false, false);
  EXPECT_EQ(plain.GetMorphKind(), 0x80000000u);
  EXPECT_EQ(plain.GetHandleCell(), ShaderSetCell(14));
  EXPECT_EQ(plain.GetSingleFrameCell(), ShaderSetCell(2));
}

TEST_F(VertexShaderTest, HandlesGoBeforeAResetAndComeBackAfterIt) {
  uint32_t before[15];
  for (uint32_t row = 0; row < 15; ++row) before[row] = *ShaderSetCell(row);
  const uint32_t batchBefore = BatchShaderHandle();
  EXPECT_NE(batchBefore, 0u);
  renderer->SetCooperativeLevel(plat::D3DERR_DEVICENOTRESET);
  EXPECT_FALSE(TD3D8::Instance()->CheckDevice());
  // The old ones were deleted, new ones made: the set's fifteen and the batch program.
  EXPECT_EQ(Device().VertexShaderCount(), 16u);
  for (uint32_t row = 0; row < 15; ++row) {
    EXPECT_NE(*ShaderSetCell(row), 0u);
    EXPECT_NE(*ShaderSetCell(row), before[row]);
  }
  EXPECT_NE(BatchShaderHandle(), 0u);
  EXPECT_NE(BatchShaderHandle(), batchBefore);
  ReleaseShaderSet();
  EXPECT_EQ(RegisteredShaderCount(), 0u);
  EXPECT_EQ(Device().VertexShaderCount(), 0u);
  for (uint32_t row = 0; row < 15; ++row) EXPECT_EQ(*ShaderSetCell(row), 0u);
  EXPECT_EQ(BatchShaderHandle(), 0u);
}

// A shader object of the game's own, registered like the sky.
class OwnShader : public TShaderBase8 {
 public:
  explicit OwnShader(int* log) : log_(log) {}
  ~OwnShader() override { *log_ += 100; }
  void Draw(uint32_t, TMesh8&, TView8*, const plat::D3DMATRIX&) override {}
  void Create() override { *log_ += 1; }
  void Release() override { *log_ += 10; }

 private:
  int* log_;
};

TEST_F(VertexShaderTest, RegisteredObjectsAreCreatedReleasedAndOwnedByTheList) {
  int log = 0;
  TVertexShader8::Register(new OwnShader(&log));
  EXPECT_EQ(log, 1);
  EXPECT_EQ(RegisteredShaderCount(), 16u);
  ReleaseShaderHandles();
  RecreateShaderHandles();
  EXPECT_EQ(log, 12);
  ReleaseShaderSet();
  EXPECT_EQ(log, 122);
}

TEST_F(VertexShaderTest, SingleFrameDrawSetsTransposedMatricesAndTheMaterialColour) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());
  mesh.SetColor(1.0f, 0.5f, 0.25f, 0.75f, 0);
  Draw(mesh, 0);

  D3DXMATRIX wvp, wv, expected;
  plat::D3DXMatrixMultiply(&wvp, &world, view.GetViewProjection());
  plat::D3DXMatrixMultiply(&wv, &world, view.GetView());
  for (uint32_t r = 0; r < 4; ++r) {
    const plat::ShaderFloat4 row = Constant(r), rowView = Constant(4 + r);
    for (uint32_t c = 0; c < 4; ++c) {
      EXPECT_FLOAT_EQ((&row.x)[c], wvp.m[c][r]) << r << c;
      EXPECT_FLOAT_EQ((&rowView.x)[c], wv.m[c][r]) << r << c;
    }
  }
  const plat::ShaderFloat4 color = Constant(10);
  EXPECT_EQ(color.x, 1.0f);
  EXPECT_EQ(color.y, 0.5f);
  EXPECT_EQ(color.z, 0.25f);
  EXPECT_EQ(color.w, 0.75f);

  ASSERT_EQ(renderer->Draws().size(), 2u);  // two runs of part 0
  const plat::RecordedDraw& draw = renderer->Draws()[0];
  EXPECT_EQ(draw.vertexShader, *ShaderSetCell(1));  // the default shader: material colour
  EXPECT_EQ(draw.vertexNumbers, (std::vector<uint32_t>{0, 1, 2, 2, 1, 3}));
  EXPECT_EQ(renderer->Draws()[1].vertexNumbers, (std::vector<uint32_t>{4, 3, 5}));
  EXPECT_FLOAT_EQ(draw.Vertex(0).diffuse.y, 0.5f);
  // The vertex (-1, 0, -0.5) placed by the program as by the matrices.
  plat::D3DXVECTOR4 clip;
  const plat::D3DXVECTOR3 corner(-1, 0, -0.5f);
  plat::D3DXVec3Transform(&clip, &corner, &wvp);
  EXPECT_NEAR(draw.Vertex(0).position.x, clip.x, 1e-4);
  EXPECT_NEAR(draw.Vertex(0).position.w, clip.w, 1e-4);
}

TEST_F(VertexShaderTest, ColourRulesOfTheSingleFramePrograms) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());  // vertex colour 0xFF102030
  mesh.SetColor(0.5f, 0.5f, 0.5f, 1.0f, 0);
  mesh.SetShader(TCountedPtr<TShaderBase8>(new TVertexColorShader8));
  Draw(mesh, 0);
  EXPECT_FLOAT_EQ(renderer->Draws().back().Vertex(0).diffuse.x, 0x10 / 255.0f);
  mesh.SetShader(TCountedPtr<TShaderBase8>(new TModulateColorShader8));
  Draw(mesh, 0);
  EXPECT_FLOAT_EQ(renderer->Draws().back().Vertex(0).diffuse.x, 0x10 / 255.0f * 0.5f);
  EXPECT_EQ(renderer->Draws().back().vertexShader, *ShaderSetCell(2));
}

TEST_F(VertexShaderTest, MorphDrawWeighsTwoFramesOrFallsBackToOne) {
  TMesh8 mesh = FourFrames();
  const TMesh8Data& data = *mesh.GetData();

  mesh.SetMotionTime(2.25f);  // clip frames 2 and 3: morph frames 3 and 2
  Draw(mesh, 0);
  const plat::ShaderFloat4 weights = Constant(9);
  EXPECT_FLOAT_EQ(weights.x, 0.75f);
  EXPECT_FLOAT_EQ(weights.y, 0.25f);
  EXPECT_EQ(weights.z, 0.0f);
  const plat::RecordedDraw& blended = renderer->Draws().back();
  EXPECT_EQ(blended.vertexShader, *ShaderSetCell(7));  // the default: material colour, kind 3
  plat::IDirect3DVertexBuffer8* stream = nullptr;
  plat::UINT stride = 0;
  Device().GetStreamSource(0, &stream, &stride);
  EXPECT_EQ(stream, data.GetVertexBuffer(3));
  EXPECT_EQ(stride, 24u);
  if (stream) stream->Release();
  Device().GetStreamSource(1, &stream, &stride);
  EXPECT_EQ(stream, data.GetVertexBuffer(2));
  if (stream) stream->Release();
  // y of the strip's first vertex: 0.75 x 30 + 0.25 x 20 in object space, then placed.
  D3DXMATRIX wvp;
  plat::D3DXMatrixMultiply(&wvp, &world, view.GetViewProjection());
  plat::D3DXVECTOR4 clip;
  const plat::D3DXVECTOR3 corner(-1, 27.5f, -0.5f);
  plat::D3DXVec3Transform(&clip, &corner, &wvp);
  EXPECT_NEAR(blended.Vertex(0).position.y, clip.y, 1e-3);

  mesh.SetMotionTime(3.5f);  // no clip frame 4: frame 3 twice, the one-frame program
  Draw(mesh, 0);
  EXPECT_EQ(renderer->Draws().back().vertexShader, *ShaderSetCell(1));
  Device().GetStreamSource(0, &stream, &stride);
  EXPECT_EQ(stream, data.GetVertexBuffer(2));  // map[3]
  if (stream) stream->Release();
}

TEST_F(VertexShaderTest, DefaultShadersAndPartsWithoutTriangles) {
  TMesh8 still = Save("strip.msh", StripMesh().Msh());
  TMesh8 morphing = FourFrames();
  EXPECT_NE(dynamic_cast<TConstColorShader8*>(still.GetShader().Get()), nullptr);
  auto* morph = dynamic_cast<TConstColorMorphShader8*>(morphing.GetShader().Get());
  ASSERT_NE(morph, nullptr);
  EXPECT_EQ(morph->GetMorphKind(), 0x80000003u);
  EXPECT_EQ(RegisteredShaderCount(), 15u);  // mesh shaders are not registered

  datakit::MeshFile file = StripMesh();
  file.materials.push_back(datakit::MeshMaterial::Colored("unused", 1, 1, 1));
  TMesh8 spare = Save("spare.msh", file.Msh());
  Draw(spare, 2);
  Draw(spare, 7);
  EXPECT_TRUE(renderer->Draws().empty());
}

}  // namespace
