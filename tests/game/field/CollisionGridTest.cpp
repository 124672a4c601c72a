// The collision grid: triangles read from a mesh and classified, the grid's columns and rows, the
// cells that list each triangle, and the nine cells around a point.
#include <cfloat>
#include <cstring>

#include "common/TD3D8.h"
#include "common/my_error.h"
#include "tests/game/field/FieldFixture.h"

namespace {

using namespace fieldtest;
using namespace mathcheck;
using Indices = std::vector<uint16_t>;

class GridTest : public FieldFixture {
 protected:
  TCollisionGrid& Build(const datakit::MeshShape& shape, float sizeX, float sizeZ, float red = 0.0f) {
    TMesh8 mesh = CollisionMesh(shape, red);
    grid.BuildGrid(mesh, sizeX, sizeZ);
    return grid;
  }

  TCollisionGrid grid;
};

TEST_F(GridTest, ColumnsAndRowsFitTheMeshExtent) {
  struct Case {
    const char* what;
    float width, depth, sizeX, sizeZ;
    uint32_t columns, rows;
    float fittedSizeX, maxX, maxZ;
  } cases[] = {
      {"exactly four cells", 8, 4, 2, 2, 4, 2, 2, 8, 4},
      {"4.01 cells", 8.02f, 4, 2, 2, 5, 2, 2, 10, 4},
      {"a cell below 1 is one cell", 8, 4, 0.5f, 2, 1, 2, FLT_MAX, 8, 4},
      {"on both axes", 8, 4, 0.99f, 0, 1, 1, FLT_MAX, 8, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(datakit::PlaneShape(c.width, c.depth).Move(c.width / 2, 0, c.depth / 2), c.sizeX, c.sizeZ);
    EXPECT_EQ(grid.GetColumns(), c.columns);
    EXPECT_EQ(grid.GetRows(), c.rows);
    EXPECT_EQ(grid.GetCellCount(), c.columns * c.rows);
    EXPECT_EQ(grid.GetCellSizeX(), c.fittedSizeX);
    EXPECT_EQ(grid.GetRangeX().min, 0.0f);
    EXPECT_FLOAT_EQ(grid.GetRangeX().max, c.maxX);
    EXPECT_FLOAT_EQ(grid.GetRangeZ().max, c.maxZ);
  }
  EXPECT_EQ(grid.GetCellTriangles(0), (Indices{0, 1})) << "one cell holds everything";
}

TEST_F(GridTest, ACellListsTheTrianglesWithACornerInIt) {
  // Quads 2 m wide from x = 0 to 8 under cells 4 m wide: the corners at x = 4 lie on the line
  // between the two columns, so the middle quads are listed in both.
  Build(datakit::QuadStripShape(4, 8, 2).Move(4, 0, 1), 4, 4);
  ASSERT_EQ(grid.GetCellCount(), 2u);
  EXPECT_EQ(grid.GetCellTriangles(0), (Indices{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(grid.GetCellTriangles(1), (Indices{2, 3, 4, 5, 6, 7}));

  // One quad over three columns: the middle one holds none of its corners and lists nothing.
  Build(datakit::PlaneShape(6, 2).Move(3, 0, 1), 2, 2);
  ASSERT_EQ(grid.GetCellCount(), 3u);
  EXPECT_EQ(grid.GetCellTriangles(0), (Indices{0, 1}));
  EXPECT_EQ(grid.GetCellTriangles(1), Indices{});
  EXPECT_EQ(grid.GetCellTriangles(2), (Indices{0, 1}));
}

TEST_F(GridTest, TrianglesAreClassifiedBySlope) {
  struct Case {
    double degrees;
    uint32_t slopeClass;
  } cases[] = {{0, 1}, {30, 1}, {30.5, 2}, {60, 2}, {88.9, 2}, {89, 4}, {90, 4}, {90.9, 4}, {91, 8}, {180, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    Build(TiltedZ(datakit::PlaneShape(2, 2), c.degrees), 1, 1);
    ASSERT_EQ(grid.GetTriangleCount(), 2);
    for (uint32_t t = 0; t < 2; ++t) {
      EXPECT_EQ(grid.GetTriangle(t).slopeClass, c.slopeClass);
      EXPECT_NEAR(std::acos(grid.GetTriangle(t).normal.y) * 180 / 3.14159265, c.degrees, 1e-3)
          << "the normal follows the winding: floors are clockwise seen from above";
    }
  }
}

TEST_F(GridTest, TheDiffuseRedGivesTheSurfaceCode) {
  struct Case {
    float red;
    uint32_t code;
  } cases[] = {{0, 1},     {0.049f, 1}, {0.05f, 2}, {0.1f, 3},  {0.15f, 4}, {0.2f, 5},
               {0.25f, 6}, {0.3f, 7},   {0.349f, 7}, {0.35f, 0}, {0.9f, 0},  {-0.1f, 0}};
  for (const Case& c : cases) {
    Build(datakit::PlaneShape(2, 2), 1, 1, c.red);
    EXPECT_EQ(grid.GetTriangle(0).surfaceCode, c.code) << c.red;
  }
}

TEST_F(GridTest, TrianglesWithoutAreaAreLeftOut) {
  datakit::MeshShape shape = datakit::PlaneShape(2, 2);
  shape.vertices.push_back({0, 0, 0});
  shape.vertices.push_back({1, 1, 1});
  shape.vertices.push_back({2, 2, 2});
  shape.indices.insert(shape.indices.begin(), {4, 5, 6, 0, 0, 1});  // on one line; a point twice
  shape.parts.insert(shape.parts.end(), 2, 0);
  Build(shape, 0.5f, 0.5f);
  ASSERT_EQ(grid.GetTriangleCount(), 2);
  for (uint32_t t = 0; t < 2; ++t) EXPECT_EQ(grid.GetTriangle(t).normalLength, 1.0f);
  EXPECT_EQ(grid.GetCellTriangles(0), (Indices{0, 1}));
}

// A mesh of `triangles` copies of one floor triangle, made in memory: the mesh file format cannot
// count that many.
TMesh8 ManyTriangles(uint32_t triangles) {
  using namespace plat;
  const float corners[3][6] = {{0, 0, 0, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, {1, 0, 0, 0, 0, 0}};
  TMesh8Data::VertexBuffer vertices(TD3D8::Instance()->CreateVertexBuffer(3, 0x142, TD3D8::kDefaultPool, 0));
  BYTE* out = nullptr;
  vertices->Lock(0, 0, &out, 0);
  std::memcpy(out, corners, sizeof corners);
  vertices->Unlock();
  auto frames = MakeCounted<TMesh8Data::FrameArray>();
  frames->push_back(vertices);
  TCountedPtr<IDirect3DIndexBuffer8> indices(
      TD3D8::Instance()->CreateIndexBuffer(triangles, D3DFMT_INDEX16, TD3D8::kDefaultPool, 0));
  indices->Lock(0, 0, &out, 0);
  for (uint32_t i = 0; i < 3 * triangles; ++i) reinterpret_cast<uint16_t*>(out)[i] = static_cast<uint16_t>(i % 3);
  indices->Unlock();
  const std::vector<uint32_t> parts(triangles, 0);
  std::vector<TMaterial8> materials{TMaterial8("m", D3DMATERIAL8{}, TTexture8::Load("", D3DPOOL_MANAGED, 0))};
  return TMesh8("many", frames, 3, 1, indices, parts.data(), triangles, materials, 1,
                MakeCounted<TMesh8Data::ClipArray>(), 0);
}

TEST_F(GridTest, AMeshBeyond65535TrianglesIsRefused) {
  TMesh8 most = ManyTriangles(65535);
  grid.BuildGrid(most, 1, 1);
  EXPECT_EQ(grid.GetTriangleCount(), 65535);

  TMesh8 tooMany = ManyTriangles(65536);
  try {
    grid.BuildGrid(tooMany, 1, 1);
    FAIL() << "built";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("65536"), std::string::npos) << e.what();
  }
  TCollisionPart part;
  EXPECT_THROW(part.Build(tooMany), my_error);
}

TEST_F(GridTest, AGridFinerThanItsLimitIsRefused) {
  // 2000 x 2000 m in cells of 1 m: four million cells.
  EXPECT_THROW(Build(datakit::PlaneShape(2000, 2000), 1, 1), my_error);
  EXPECT_NO_THROW(Build(datakit::PlaneShape(2000, 2000), 10, 10));
  EXPECT_EQ(grid.GetCellCount(), 40000u);
}

TEST_F(GridTest, AGridWithoutExtentFindsNothing) {
  Build(Wall(1, 2, 2), 1, 1);  // flat along x: no columns
  EXPECT_EQ(grid.GetColumns(), 0u);
  EXPECT_EQ(grid.GetCellCount(), 0u);
  int32_t cells[9];
  grid.GetNeighbourCells(Vec(1, 0, 0), cells);
  for (int32_t c : cells) EXPECT_EQ(c, -1);
}

TEST_F(GridTest, TheNineCellsAroundAPointWrapAtTheSides) {
  // A 3 x 3 grid of 2 m tiles from (0, 0) to (6, 6); every cell lists triangles.
  datakit::MeshShape tiles;
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) tiles.Append(Floor(2, 1 + 2.0f * column, 0, 1 + 2.0f * row));
  Build(tiles, 2, 2);
  ASSERT_EQ(grid.GetCellCount(), 9u);
  struct Case {
    const char* what;
    D3DXVECTOR3 point;
    int32_t cells[9];
  } cases[] = {
      {"middle", Vec(3, 0, 3), {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"column 0 of row 1: its left is the end of row 0", Vec(1, 0, 3), {-1, 0, 1, 2, 3, 4, 5, 6, 7}},
      {"row 0", Vec(1, 0, 1), {-1, -1, -1, -1, 0, 1, 2, 3, 4}},
      {"less than a cell left of the grid is column 0", Vec(-0.5f, 0, 1), {-1, -1, -1, -1, 0, 1, 2, 3, 4}},
      {"last cell", Vec(5, 0, 5), {4, 5, 6, 7, 8, -1, -1, -1, -1}},
      {"far away", Vec(1000, 0, 1000), {-1, -1, -1, -1, -1, -1, -1, -1, -1}},
  };
  for (const Case& c : cases) {
    int32_t cells[9];
    grid.GetNeighbourCells(c.point, cells);
    EXPECT_EQ(std::vector<int32_t>(cells, cells + 9), std::vector<int32_t>(c.cells, c.cells + 9)) << c.what;
  }
}

}  // namespace
