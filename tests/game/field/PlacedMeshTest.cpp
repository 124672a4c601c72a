#include "game/field/PlacedMesh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/TVertexShader8.h"
#include "game/field/FieldFolders.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/MeshWriter.h"

namespace {

using plat::D3DXVECTOR3;

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u, v;
};

class PlacedMeshTest : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    SetVisualFolder("visual03/");
    // One triangle with distinct corners.
    datakit::MeshShape shape;
    shape.vertices = {{1, 0, 0}, {0, 2, 0}, {0, 0, 3}};
    shape.indices = {0, 1, 2};
    shape.parts = {0};
    datakit::MeshFile::FromShape("corner", shape, {datakit::MeshMaterial::Colored("stone", 0.5f, 0.5f, 0.5f)})
        .Msh()
        .Save(dir / "visual03/corner.msh");
  }
  void TearDown() override {
    SetVisualFolder("");
    MeshFixture::TearDown();
  }

  static TMeshPiece Piece(uint32_t mirrorAxis, uint32_t renderFlag, uint32_t shaderKind) {
    TMeshPiece piece;
    piece.matrix = ComposePieceMatrix(D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0),
                                      D3DXVECTOR3(1, 1, 2));
    piece.mirrorAxis = mirrorAxis;
    piece.renderFlag = renderFlag;
    piece.shaderKind = shaderKind;
    piece.meshName = "corner.msh";
    return piece;
  }
  static std::vector<Vertex> Vertices(TMesh8& mesh) {
    std::vector<Vertex> out(mesh.GetVertexCount());
    std::memcpy(out.data(), mesh.LockVerticesReadOnly(0), out.size() * sizeof(Vertex));
    mesh.UnlockVertices(0, false);
    return out;
  }
};

TEST_F(PlacedMeshTest, APieceIsMirroredThenPlacedByItsMatrix) {
  TMesh8 mesh = LoadCollisionPiece(Piece(1, 1, 2));
  const std::vector<Vertex> v = Vertices(mesh);
  ASSERT_EQ(v.size(), 3u);
  const float expected[3][3] = {{4, 0, 0}, {5, 2, 0}, {5, 0, 6}};  // x mirrored, z doubled, moved 5 on x
  for (int i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
    EXPECT_FLOAT_EQ(v[i].z, expected[i][2]) << i;
  }
  // The collision build takes the mesh as loaded: no render mode or shader of the record.
  EXPECT_NE(mesh.GetMaterial(0).GetRenderMode(), 1100);
  EXPECT_EQ(dynamic_cast<TVertexColorShader8*>(mesh.GetShader().Get()), nullptr);
}

TEST_F(PlacedMeshTest, AVisiblePieceTakesTheRenderModeAndShaderOfItsRecord) {
  EXPECT_EQ(LoadVisiblePiece(Piece(0, 1, 1)).GetMaterial(0).GetRenderMode(), 1100);
  EXPECT_NE(LoadVisiblePiece(Piece(0, 0, 1)).GetMaterial(0).GetRenderMode(), 1100);

  struct Case {
    uint32_t kind;
    bool (*is)(TShaderBase8*);
  };
  const Case cases[] = {
      {1, [](TShaderBase8* s) { return dynamic_cast<TConstColorShader8*>(s) != nullptr; }},
      {3, [](TShaderBase8* s) { return dynamic_cast<TConstColorShader8*>(s) != nullptr; }},
      {2, [](TShaderBase8* s) { return dynamic_cast<TVertexColorShader8*>(s) != nullptr; }},
      {4,
       [](TShaderBase8* s) {
         auto* m = dynamic_cast<TConstColorMorphShader8*>(s);
         return m && m->GetMorphKind() == 0x80000003u;
       }},
      {5,
       [](TShaderBase8* s) {
         auto* m = dynamic_cast<TVertexColorMorphShader8*>(s);
         return m && m->GetMorphKind() == 0x80000003u;
       }},
      {6, [](TShaderBase8* s) { return dynamic_cast<TVertexColorMorphShader8*>(s) != nullptr; }},
      // Other kinds keep the mesh's own shader: a still mesh's is the material-colour one.
      {0, [](TShaderBase8* s) { return dynamic_cast<TConstColorShader8*>(s) != nullptr; }},
      {7, [](TShaderBase8* s) { return dynamic_cast<TConstColorShader8*>(s) != nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TMesh8 mesh = LoadVisiblePiece(Piece(0, 0, c.kind));
    EXPECT_TRUE(c.is(mesh.GetShader().Get()));
  }
}

TEST_F(PlacedMeshTest, AMissingPieceMeshIsAnError) {
  TMeshPiece piece = Piece(0, 0, 1);
  piece.meshName = "none.msh";
  EXPECT_THROW(LoadVisiblePiece(piece), my_error);
}

}  // namespace
