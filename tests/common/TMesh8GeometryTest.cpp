#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/FitGridAxis.h"
#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"
#include "tools/datakit/MeshShapes.h"

using namespace testkit;
using plat::D3DXMATRIX;

namespace {

struct Vertex {
  float x, y, z;
  uint32_t color;
  float u, v;
};

class MeshGeometryTest : public MeshFixture {
 protected:
  static std::vector<Vertex> Vertices(const TMesh8& mesh, uint32_t frame = 0) {
    std::vector<Vertex> out(mesh.GetVertexCount());
    std::memcpy(out.data(), mesh.LockVerticesReadOnly(frame), out.size() * sizeof(Vertex));
    const_cast<TMesh8&>(mesh).UnlockVertices(frame, false);
    return out;
  }
  static std::vector<uint16_t> Indices(const TMesh8& mesh) {
    std::vector<uint16_t> out(3 * size_t(mesh.GetTriangleCount()));
    std::memcpy(out.data(), mesh.LockIndicesReadOnly(), out.size() * 2);
    const_cast<TMesh8&>(mesh).UnlockIndices();
    return out;
  }
  // Triangles given by their corners (x, y, z) and parts, each with its own three vertices.
  TMesh8 Triangles(const std::vector<std::array<float, 9>>& corners, const std::vector<uint32_t>& parts) {
    datakit::MeshShape shape;
    for (const auto& t : corners) {
      for (int k = 0; k < 3; ++k) {
        shape.indices.push_back(static_cast<uint16_t>(shape.vertices.size()));
        shape.vertices.push_back({t[3 * k], t[3 * k + 1], t[3 * k + 2], 0xFFFFFFFF, 0, 0});
      }
    }
    shape.parts = parts;
    return Save("tris.msh", datakit::MeshFile::FromShape("tris", shape,
                                                        {datakit::MeshMaterial::Colored("ground", 1, 1, 1),
                                                         datakit::MeshMaterial::Colored("rock", 0.5f, 0.5f, 0.5f)})
                                .Msh());
  }
};

bool SameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(Vertex)) == 0;
}

TEST_F(MeshGeometryTest, WriteLocksCopySharedGeometryAndLeaveTheSiblingAlone) {
  TMesh8 original = Save("strip.msh", StripMesh().Msh());
  const auto before = Vertices(original);
  TMesh8Data* shared = original.GetData();
  TMesh8 copy(original);
  ASSERT_EQ(shared->GetRefCount(), 2u);

  auto* v = static_cast<Vertex*>(copy.LockVertices(0));
  v[0].y = 9.0f;
  copy.UnlockVertices(0, true);
  EXPECT_NE(copy.GetData(), shared);
  EXPECT_EQ(original.GetData(), shared);
  EXPECT_EQ(shared->GetRefCount(), 1u);
  EXPECT_TRUE(SameVertices(Vertices(original), before));
  EXPECT_EQ(Vertices(copy)[0].y, 9.0f);
  EXPECT_TRUE(copy.GetData()->SharesPartTable(*shared));  // the part table stays shared

  // An owner alone writes in place.
  TMesh8Data* own = copy.GetData();
  copy.LockIndices()[0] = 1;
  copy.UnlockIndices();
  EXPECT_EQ(copy.GetData(), own);
  EXPECT_EQ(Indices(original)[0], 0);

  // Scale (1, 1, 1) still makes the geometry private and changes nothing else.
  TMesh8 third(original);
  third.Scale(1, 1, 1);
  EXPECT_NE(third.GetData(), original.GetData());
  EXPECT_TRUE(SameVertices(Vertices(third), before));
}

TEST_F(MeshGeometryTest, MirrorTwiceGivesBackVerticesAndIndices) {
  TMesh8 mesh = Save("box.msh", datakit::MeshFile::FromShape("box", datakit::BoxShape(1, 2, 3).Move(0.5f, 1, 2),
                                                             {datakit::MeshMaterial::Colored("m", 1, 1, 1)})
                                    .Msh());
  const auto vertices = Vertices(mesh);
  const auto indices = Indices(mesh);
  for (uint32_t axis : {1u, 2u, 3u}) {
    mesh.Mirror(axis);
    const auto once = Vertices(mesh);
    EXPECT_EQ(once[3].x, axis == 1 ? -vertices[3].x : vertices[3].x);
    EXPECT_EQ(once[3].y, axis == 2 ? -vertices[3].y : vertices[3].y);
    EXPECT_EQ(once[3].z, axis == 3 ? -vertices[3].z : vertices[3].z);
    EXPECT_EQ(Indices(mesh)[1], indices[2]);
    mesh.Mirror(axis);
    EXPECT_TRUE(SameVertices(Vertices(mesh), vertices)) << axis;
    EXPECT_EQ(Indices(mesh), indices) << axis;
  }
  mesh.Mirror(0);
  EXPECT_EQ(Indices(mesh), indices);
}

TEST_F(MeshGeometryTest, CloneHasPrivateGeometryAndMirrorsOnRequest) {
  TMesh8 mesh = Save("strip.msh", StripMesh().Msh());
  mesh.SetColor(0.25f, 0.5f, 0.75f, 1.0f, 0);
  TMesh8 clone = mesh;
  mesh.Clone(clone, 1);
  EXPECT_NE(clone.GetData(), mesh.GetData());
  EXPECT_EQ(mesh.GetData()->GetRefCount(), 1u);
  EXPECT_EQ(clone.GetMaterial(0).GetMaterial().Emissive.g, 0.5f);
  EXPECT_EQ(Vertices(clone)[0].x, -Vertices(mesh)[0].x);
}

TEST_F(MeshGeometryTest, BoundsFollowBakedTransformsAndTheQueryMatrix) {
  TMesh8 mesh = Save("box.msh", datakit::MeshFile::FromShape("box", datakit::BoxShape(2, 4, 6).Move(1, 2, 3),
                                                             {datakit::MeshMaterial::Colored("m", 1, 1, 1)})
                                    .Msh());
  D3DXMATRIX identity, moved;
  plat::D3DXMatrixIdentity(&identity);
  plat::D3DXMatrixTranslation(&moved, 10, 0, -1);
  TMeshBounds b;
  mesh.GetBoundingSphere(b, identity);
  EXPECT_FLOAT_EQ(b.x, 1);
  EXPECT_FLOAT_EQ(b.y, 2);
  EXPECT_FLOAT_EQ(b.z, 3);
  EXPECT_FLOAT_EQ(b.radius, std::sqrt(14.0f));
  EXPECT_FLOAT_EQ(b.halfRadius, std::sqrt(14.0f) / 2);
  mesh.GetBoundingSphere(b, moved);
  EXPECT_FLOAT_EQ(b.x, 11);
  EXPECT_FLOAT_EQ(b.z, 2);
  EXPECT_FLOAT_EQ(b.radius, std::sqrt(14.0f));

  TMesh8 sibling(mesh);
  mesh.Scale(2, 1, 1);
  mesh.GetBoundingSphere(b, identity);
  EXPECT_FLOAT_EQ(b.x, 2);
  EXPECT_FLOAT_EQ(b.radius, std::sqrt(4.0f + 4 + 9));
  mesh.Transform(moved);
  mesh.GetBoundingSphere(b, identity);
  EXPECT_FLOAT_EQ(b.x, 12);
  sibling.GetBoundingSphere(b, identity);
  EXPECT_FLOAT_EQ(b.x, 1);
}

TEST_F(MeshGeometryTest, MorphingMeshesBakeEveryFrame) {
  TMesh8 mesh = Save("walker.tob", MorphingStripMesh().Tob());
  mesh.SetMotionTime(1.5f);
  mesh.Scale(1, 3, 1);
  for (uint32_t f = 0; f < 3; ++f) EXPECT_FLOAT_EQ(Vertices(mesh, f)[0].y, 3.0f * f) << f;
  EXPECT_FLOAT_EQ(mesh.GetMotionTime(), 1.5f);
}

TEST_F(MeshGeometryTest, AssignmentKeepsGeometryAliveAndMovesTheCount) {
  TMesh8 a = Save("strip.msh", StripMesh().Msh());
  TMesh8Data* data = a.GetData();
  TMesh8& self = a;
  a = self;
  EXPECT_EQ(a.GetData(), data);
  EXPECT_EQ(data->GetRefCount(), 1u);
  EXPECT_EQ(a.GetTriangleCount(), 4);

  TMesh8 b = Save("walker.tob", MorphingStripMesh().Tob());
  b.SetMotion(1);
  b = a;
  EXPECT_EQ(b.GetData(), data);
  EXPECT_EQ(data->GetRefCount(), 2u);
  EXPECT_EQ(b.GetMotion(), 0u);
  EXPECT_EQ(b.GetName(), "strip");
}

TEST(FitGridAxisTest, CellCountsAndTheMovedMaximum) {
  const struct {
    TAxisRange range;
    float size;
    uint32_t count;
    float max, sizeAfter;
  } cases[] = {
      {{0, 10}, 3, 4, 12, 3},       {{0, 9}, 3, 3, 9, 3},         {{-2, 2}, 1, 4, 2, 1},
      {{0, 10}, 0.5f, 1, 10, FLT_MAX}, {{5, 5}, 2, 0, 5, 2},      {{5, 2}, 2, 0, 2, 2},
  };
  for (const auto& c : cases) {
    TAxisRange range = c.range;
    float size = c.size;
    EXPECT_EQ(FitGridAxis(range, size), c.count) << c.range.min << ".." << c.range.max << " / " << c.size;
    EXPECT_EQ(range.min, c.range.min);
    EXPECT_EQ(range.max, c.max);
    EXPECT_EQ(size, c.sizeAfter);
  }
}

// A 2 x 2 grid of unit cells over [0, 2] x [0, 2]: triangle 0 inside cell (0, 0), triangle 1 on
// the line x = 1 between the columns of row 1, triangle 2 touching the line z = 1 between the rows
// of column 1; cell (1, 1) gets nothing.
TEST_F(MeshGeometryTest, DivideGivesEdgeTrianglesToTheLowerCellAndDummiesToEmptyCells) {
  TMesh8 mesh = Triangles({{0, 0, 0, 0.8f, 0, 0.2f, 0.2f, 0, 0.8f},
                           {1, 0, 1.2f, 1, 1, 1.5f, 1, 0, 1.8f},
                           {1.5f, 0, 1, 2, 0, 2, 1.5f, 0, 1.5f}},
                          {0, 0, 1});
  TAxisRange x{}, z{};
  uint32_t columns = 0, rows = 0;
  TCountedPtr<TMesh8::Rows> grid;
  TMesh8::Divide(mesh, 1, 1, x, z, columns, rows, grid);
  EXPECT_EQ(columns, 2u);
  EXPECT_EQ(rows, 2u);
  EXPECT_EQ(x.min, 0);
  EXPECT_EQ(x.max, 2);
  EXPECT_EQ(z.max, 2);
  ASSERT_EQ(grid->size(), 2u);
  ASSERT_EQ((*grid)[0].size(), 2u);
  ASSERT_EQ((*grid)[1].size(), 2u);

  const TMesh8& first = (*grid)[0][0];
  EXPECT_EQ(first.GetName(), "divmsh");
  EXPECT_EQ(first.GetTriangleCount(), 1);
  EXPECT_EQ(first.GetVertexCount(), 3);
  EXPECT_FLOAT_EQ(Vertices(first)[1].x, 0.8f);

  const TMesh8& edge = (*grid)[1][0];
  EXPECT_EQ(edge.GetTriangleCount(), 1);
  for (const Vertex& v : Vertices(edge)) EXPECT_EQ(v.x, 1.0f);

  const TMesh8& corner = (*grid)[0][1];
  ASSERT_EQ(corner.GetTriangleCount(), 1);
  EXPECT_EQ(Vertices(corner)[0].z, 1.0f);
  ASSERT_EQ(corner.GetPartCount(), 1u);
  EXPECT_EQ(corner.GetMaterial(0).GetName(), "rock");

  const TMesh8& empty = (*grid)[1][1];
  EXPECT_EQ(empty.GetName(), "dmymsh");
  EXPECT_EQ(empty.GetTriangleCount(), 1);
  EXPECT_EQ(empty.GetMaterial(0).GetName(), "dmymat");
  EXPECT_EQ(empty.GetMaterial(0).GetRenderMode(), 0);  // never drawn
}

TEST_F(MeshGeometryTest, DivideSharesVerticesAndKeepsPartsPerCell) {
  // Two triangles sharing an edge, in different parts, both inside one cell.
  datakit::MeshShape quad = datakit::PlaneShape(1, 1);
  quad.parts = {1, 0};
  TMesh8 mesh = Save("quad.msh", datakit::MeshFile::FromShape("quad", quad,
                                                              {datakit::MeshMaterial::Colored("a", 1, 1, 1),
                                                               datakit::MeshMaterial::Colored("b", 1, 0, 0)})
                                     .Msh());
  TAxisRange x{}, z{};
  uint32_t columns = 0, rows = 0;
  TCountedPtr<TMesh8::Rows> grid;
  TMesh8::Divide(mesh, 0.5f, 0.5f, x, z, columns, rows, grid);  // below 1: one cell
  ASSERT_EQ(columns * rows, 1u);
  EXPECT_EQ(x.min, -0.5f);
  EXPECT_EQ(x.max, 0.5f);
  const TMesh8& cell = (*grid)[0][0];
  EXPECT_EQ(cell.GetVertexCount(), 4);
  EXPECT_EQ(cell.GetTriangleCount(), 2);
  ASSERT_EQ(cell.GetPartCount(), 2u);
  EXPECT_EQ(cell.GetMaterial(0).GetName(), "b");  // parts in the order they were first met
  EXPECT_EQ(cell.GetMaterial(1).GetName(), "a");
  EXPECT_EQ(Indices(cell), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3}));
}

TEST_F(MeshGeometryTest, DivideKeepsEveryTriangleOfAFlatMesh) {
  // Every x is 3: the x range is empty, yet the wall lands in one column.
  TMesh8 wall = Triangles({{3, 0, 0, 3, 1, 0, 3, 0, 5}, {3, 0, 5, 3, 1, 5, 3, 1, 0}}, {0, 0});
  TAxisRange x{}, z{};
  uint32_t columns = 0, rows = 0;
  TCountedPtr<TMesh8::Rows> grid;
  TMesh8::Divide(wall, 2, 2, x, z, columns, rows, grid);
  EXPECT_EQ(columns, 1u);
  EXPECT_EQ(rows, 3u);
  uint32_t total = 0;
  for (const auto& row : *grid)
    for (const TMesh8& cell : row)
      if (cell.GetName() == "divmsh") total += cell.GetTriangleCount();
  EXPECT_EQ(total, 2u);
}

}  // namespace
