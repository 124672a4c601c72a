// Collision geometry: a set of classified triangles read from a mesh, either sorted into a grid of
// cells over the x-z plane (the stage's ground, walls and ceilings) or kept whole with a bounding
// circle (the parts placed on the map). The queries resolve a sphere against them and find the
// ground under a point.
#pragma once
#include <cfloat>
#include <cstdint>
#include <vector>

#include "common/FitGridAxis.h"
#include "common/TCountedPtr.h"
#include "common/TMesh8.h"
#include "game/field/TCollisionTriangle.h"
#include "platform/gfx/D3DXMath.h"

// What a sphere query reports. A grid query starts from these defaults; part queries add to what
// the grid found.
struct TCollisionResult {
  float groundLevel = FLT_MAX;
  uint8_t groundBelow = 0;
  uint8_t wallHit = 0;
  uint8_t onGround = 0;
  uint8_t ceilingHit = 0;
  plat::D3DXVECTOR3 groundNormal{0, 1, 0};
  uint32_t surfaceCode = 0;
};

struct TGroundResult {
  uint8_t found = 0;
  float height = FLT_MAX;
  plat::D3DXVECTOR3 normal{0, 1, 0};
};

class TCollisionShape {
 public:
  static constexpr uint32_t kMaxTriangles = 0xFFFF;  // cells list triangles by 16-bit index

  virtual ~TCollisionShape() = 0;
  // The triangles of the mesh's first pose, classified; triangles without area and those whose
  // indices run past the vertices are left out. More than kMaxTriangles throws my_error.
  virtual void Build(TMesh8& mesh);

  uint16_t GetTriangleCount() const { return static_cast<uint16_t>(triangles->size()); }
  const TCollisionTriangle& GetTriangle(uint32_t index) const { return (*triangles)[index]; }

 protected:
  TCountedPtr<std::vector<TCollisionTriangle>> triangles{new std::vector<TCollisionTriangle>};
};

struct TGridCell {
  uint32_t count = 0;
  uint32_t first = 0;  // into the grid's cell lists
};

class TCollisionGrid : public TCollisionShape {
 public:
  // Cells beyond this make a grid too fine for its mesh; such a grid is refused.
  static constexpr uint64_t kMaxCells = 1u << 20;

  ~TCollisionGrid() override;

  // Lists each triangle in every cell whose rectangle (edges included) holds one of its corners.
  // A cell size below 1 gives one cell on that axis. A mesh without triangles, or flat along an
  // axis, gives no cells and the queries find nothing.
  void BuildGrid(TMesh8& mesh, float cellSizeX, float cellSizeZ);

  // The cell under the point and its eight neighbours, row above first; -1 for a cell outside the
  // cell range or without triangles. Columns are not checked, so at the grid's sides the
  // neighbours come from the far end of the next or previous row.
  void GetNeighbourCells(const plat::D3DXVECTOR3& point, int32_t out[9]) const;

  // The sphere of the radius standing on position (its lowest point), moved out of the triangles
  // of the nine cells and onto the ground; position receives the new lowest point.
  void CollideSphere(plat::D3DXVECTOR3& position, float radius, TCollisionResult& result) const;
  // The highest ground at or below the point among the nine cells' floors and slopes.
  void FindGround(const plat::D3DXVECTOR3& point, TGroundResult& result) const;

  uint32_t GetColumns() const { return columns; }
  uint32_t GetRows() const { return rows; }
  uint32_t GetCellCount() const { return cellCount; }
  float GetCellSizeX() const { return cellSizeX; }
  float GetCellSizeZ() const { return cellSizeZ; }
  // The grid's edges: min as the mesh has it, max moved to the last cell's edge.
  const TAxisRange& GetRangeX() const { return rangeX; }
  const TAxisRange& GetRangeZ() const { return rangeZ; }
  // The triangle indices of a cell, ascending.
  std::vector<uint16_t> GetCellTriangles(uint32_t cell) const;

 private:
  void GetBounds();
  void FillCells();

  uint32_t columns = 0;
  uint32_t rows = 0;
  uint32_t cellCount = 0;
  float cellSizeX = 0;
  float cellSizeZ = 0;
  TAxisRange rangeX{FLT_MAX, -FLT_MAX};
  TAxisRange rangeZ{FLT_MAX, -FLT_MAX};
  std::vector<TGridCell> cells;
  std::vector<uint16_t> cellLists;
};

class TCollisionPart : public TCollisionShape {
 public:
  ~TCollisionPart() override;
  // The triangles and the mesh's bounding sphere, in the mesh's own coordinates.
  void Build(TMesh8& mesh) override;

  // As the grid's queries over every triangle of the part, adding to the results given; a part
  // whose bounding circle the sphere (or the point) cannot reach is skipped.
  void CollideSphere(plat::D3DXVECTOR3& position, float radius, TCollisionResult& result) const;
  void FindGround(const plat::D3DXVECTOR3& point, TGroundResult& result) const;

  const TMeshBounds& GetBounds() const { return bounds; }

 private:
  float HorizontalDistance(const plat::D3DXVECTOR3& point) const;

  TMeshBounds bounds;
};
