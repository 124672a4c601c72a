#include "game/field/TCollisionShape.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "common/my_error.h"
#include "game/field/CollisionGeometry.h"

using plat::D3DXVECTOR3;
using namespace vec3;

namespace {

// A ground level above this counts as none yet, so a part's floor replaces the grid's "nothing".
constexpr float kNoGroundYet = 100000.0f;
// How far past its bounding radius a part still answers a ground query.
constexpr float kGroundReach = 1.0f;

D3DXVECTOR3 Corner(const uint8_t* vertices, uint32_t stride, uint16_t index) {
  float xyz[3];
  std::memcpy(xyz, vertices + size_t(index) * stride, sizeof xyz);
  return D3DXVECTOR3(xyz[0], xyz[1], xyz[2]);
}

// The plane point straight below p, when p is over the triangle, that point is not above p and p
// is nearer to the plane than `best`; e is p's distance from the plane.
bool GroundUnder(const TCollisionTriangle& t, const D3DXVECTOR3& p, float best, float& e, D3DXVECTOR3& ground) {
  const float s = Dot(t.normal, p) + t.distance;
  e = std::fabs(s);  // normals are unit length: triangles without one are never built
  if (e >= best) return false;
  ground = D3DXVECTOR3(p.x, p.y - s / t.normal.y, p.z);
  return ground.y <= p.y && IsPointInTriangle(ground, t.p0, t.p1, t.p2, t.normal);
}

// One triangle against the sphere of centre c: a floor or slope lifts it onto its plane, a wall or
// ceiling pushes it out to the front of its face or away from the nearest edge.
void ResolveSphere(const TCollisionTriangle& t, D3DXVECTOR3& c, float radius, float& best, TCollisionResult& r) {
  if (t.IsGround()) {
    float e;
    D3DXVECTOR3 ground;
    if (!GroundUnder(t, c, best, e, ground)) return;
    if (r.groundLevel < ground.y || r.groundLevel > kNoGroundYet) {
      r.groundLevel = ground.y;
      r.surfaceCode = t.surfaceCode;
    }
    r.groundBelow = 1;
    r.groundNormal = t.normal;
    best = e;
    if (c.y - ground.y < radius) {
      c.y = ground.y + radius;
      r.onGround = 1;
    }
    return;
  }
  const float s = Dot(t.normal, c) + t.distance;
  if (std::fabs(s) >= radius) return;
  uint8_t& flag = t.slopeClass == TCollisionTriangle::kWall ? r.wallHit : r.ceilingHit;
  const D3DXVECTOR3 foot = Sub(c, Mul(t.normal, s / Dot(t.normal, t.normal)));
  if (IsPointInTriangle(foot, t.p0, t.p1, t.p2, t.normal)) {
    c = Add(foot, Mul(t.normal, radius));
    flag = 1;
    return;
  }
  float distance;
  const D3DXVECTOR3 edge = ClosestPointOnTriangleBorder(c, t.p0, t.p1, t.p2, distance);
  const D3DXVECTOR3 away = Sub(c, edge);
  if (Length(away) < radius && Dot(away, t.normal) > 0) {
    c = Add(edge, Mul(Unit(away), radius));
    flag = 1;
  }
}

void FindGroundOn(const TCollisionTriangle& t, const D3DXVECTOR3& p, float& best, TGroundResult& r) {
  if (!t.IsGround()) return;
  float e;
  D3DXVECTOR3 ground;
  if (!GroundUnder(t, p, best, e, ground)) return;
  if (r.height < ground.y || r.height > kNoGroundYet) r.height = ground.y;
  r.found = 1;
  r.normal = t.normal;
  best = e;
}

// The quotient truncated toward zero, held inside int32 for points far off the grid.
int64_t TruncateCell(double quotient) {
  if (!(quotient > -2147483648.0)) return std::numeric_limits<int32_t>::min();
  if (!(quotient < 2147483647.0)) return std::numeric_limits<int32_t>::max();
  return static_cast<int64_t>(quotient);
}

// Edges of the cells along an axis, stepped as the cells are: edge k is min + size added k times.
std::vector<float> CellEdges(float min, float size, uint32_t cells) {
  std::vector<float> edges(size_t(cells) + 1);
  float edge = min;
  for (float& e : edges) {
    e = edge;
    edge += size;
  }
  return edges;
}

// The cells k (first..last) along an axis with edges[k] <= v <= edges[k + 1]; false when none.
bool CellSpan(const std::vector<float>& edges, float v, uint32_t& first, uint32_t& last) {
  if (!(v >= edges.front() && v <= edges.back())) return false;
  first = static_cast<uint32_t>(std::lower_bound(edges.begin() + 1, edges.end(), v) - (edges.begin() + 1));
  last = static_cast<uint32_t>(std::upper_bound(edges.begin(), edges.end() - 1, v) - edges.begin()) - 1;
  return first <= last;
}

}  // namespace

// --- TCollisionShape ---

TCollisionShape::~TCollisionShape() = default;

void TCollisionShape::Build(TMesh8& mesh) {
  const uint32_t count = mesh.GetData()->GetTriangleCount();
  if (count > kMaxTriangles)
    throw my_error(mesh.GetName() + ": a collision mesh holds at most 65535 triangles, this one " +
                       std::to_string(count),
                   __FILE__, __LINE__);
  triangles.Reset(new std::vector<TCollisionTriangle>);
  triangles->reserve(count);
  const uint16_t* indices = mesh.LockIndicesReadOnly();
  const auto* vertices = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(0));
  if (indices && vertices) {
    const uint32_t stride = plat::D3DXGetFVFVertexSize(mesh.GetVertexFormat());
    const uint32_t vertexCount = mesh.GetData()->GetVertexCount();
    for (uint32_t i = 0; i < count; ++i) {
      const uint16_t* k = indices + 3 * size_t(i);
      if (k[0] >= vertexCount || k[1] >= vertexCount || k[2] >= vertexCount) continue;
      TCollisionTriangle t;
      t.Set(Corner(vertices, stride, k[0]), Corner(vertices, stride, k[1]), Corner(vertices, stride, k[2]),
            TCollisionTriangle::SurfaceCodeOf(mesh.GetMaterialOfFace(i)));
      // The queries measure distances along the normal, so a face without one cannot collide.
      if (t.normalLength != 0) triangles->push_back(t);
    }
  }
  if (indices) mesh.UnlockIndices();
  if (vertices) mesh.UnlockVertices(0, false);
}

// --- TCollisionGrid ---

TCollisionGrid::~TCollisionGrid() = default;

void TCollisionGrid::BuildGrid(TMesh8& mesh, float sizeX, float sizeZ) {
  Build(mesh);
  GetBounds();
  columns = FitGridAxis(rangeX, sizeX);
  rows = FitGridAxis(rangeZ, sizeZ);
  cellSizeX = sizeX;
  cellSizeZ = sizeZ;
  const uint64_t count = uint64_t(columns) * rows;
  if (count > kMaxCells)
    throw my_error(mesh.GetName() + ": the collision grid would have " + std::to_string(count) +
                       " cells; its cell size is too small for its extent",
                   __FILE__, __LINE__);
  cellCount = static_cast<uint32_t>(count);
  FillCells();
}

void TCollisionGrid::GetBounds() {
  rangeX = {FLT_MAX, -FLT_MAX};
  rangeZ = {FLT_MAX, -FLT_MAX};
  for (const TCollisionTriangle& t : *triangles) {
    for (const D3DXVECTOR3* p : {&t.p0, &t.p1, &t.p2}) {
      rangeX = {std::min(rangeX.min, p->x), std::max(rangeX.max, p->x)};
      rangeZ = {std::min(rangeZ.min, p->z), std::max(rangeZ.max, p->z)};
    }
  }
}

void TCollisionGrid::FillCells() {
  std::vector<std::vector<uint16_t>> lists(cellCount);
  if (cellCount != 0) {
    const std::vector<float> edgesX = CellEdges(rangeX.min, cellSizeX, columns);
    const std::vector<float> edgesZ = CellEdges(rangeZ.min, cellSizeZ, rows);
    for (uint32_t i = 0; i < triangles->size(); ++i) {
      const TCollisionTriangle& t = (*triangles)[i];
      for (const D3DXVECTOR3* p : {&t.p0, &t.p1, &t.p2}) {
        uint32_t c0, c1, r0, r1;
        if (!CellSpan(edgesX, p->x, c0, c1) || !CellSpan(edgesZ, p->z, r0, r1)) continue;
        for (uint32_t r = r0; r <= r1; ++r)
          for (uint32_t c = c0; c <= c1; ++c) {
            std::vector<uint16_t>& list = lists[size_t(r) * columns + c];
            if (list.empty() || list.back() != i) list.push_back(static_cast<uint16_t>(i));
          }
      }
    }
  }
  cells.assign(cellCount, TGridCell{});
  cellLists.clear();
  for (uint32_t c = 0; c < cellCount; ++c) {
    cells[c] = {static_cast<uint32_t>(lists[c].size()), static_cast<uint32_t>(cellLists.size())};
    cellLists.insert(cellLists.end(), lists[c].begin(), lists[c].end());
  }
}

std::vector<uint16_t> TCollisionGrid::GetCellTriangles(uint32_t cell) const {
  if (cell >= cellCount) return {};
  const TGridCell& c = cells[cell];
  return std::vector<uint16_t>(cellLists.begin() + c.first, cellLists.begin() + c.first + c.count);
}

void TCollisionGrid::GetNeighbourCells(const D3DXVECTOR3& point, int32_t out[9]) const {
  const int64_t column = TruncateCell((double(point.x) - rangeX.min) / cellSizeX);
  const int64_t row = TruncateCell(static_cast<float>((double(point.z) - rangeZ.min) / cellSizeZ));
  const int64_t c = row * columns + column, w = columns;
  const int64_t around[9] = {c - w - 1, c - w, c - w + 1, c - 1, c, c + 1, c + w - 1, c + w, c + w + 1};
  for (int k = 0; k < 9; ++k) {
    const int64_t cell = around[k];
    out[k] = cell >= 0 && cell < cellCount && cells[size_t(cell)].count != 0 ? static_cast<int32_t>(cell) : -1;
  }
}

void TCollisionGrid::CollideSphere(D3DXVECTOR3& position, float radius, TCollisionResult& result) const {
  result = TCollisionResult{};
  int32_t near[9];
  GetNeighbourCells(position, near);
  D3DXVECTOR3 c(position.x, position.y + radius, position.z);
  float best = FLT_MAX;
  for (int32_t cell : near) {
    if (cell < 0) continue;
    const TGridCell& g = cells[size_t(cell)];
    for (uint32_t k = 0; k < g.count; ++k) ResolveSphere((*triangles)[cellLists[g.first + k]], c, radius, best, result);
  }
  position = D3DXVECTOR3(c.x, c.y - radius, c.z);
}

void TCollisionGrid::FindGround(const D3DXVECTOR3& point, TGroundResult& result) const {
  result = TGroundResult{};
  int32_t near[9];
  GetNeighbourCells(point, near);
  float best = FLT_MAX;
  for (int32_t cell : near) {
    if (cell < 0) continue;
    const TGridCell& g = cells[size_t(cell)];
    for (uint32_t k = 0; k < g.count; ++k) FindGroundOn((*triangles)[cellLists[g.first + k]], point, best, result);
  }
}

// --- TCollisionPart ---

TCollisionPart::~TCollisionPart() = default;

void TCollisionPart::Build(TMesh8& mesh) {
  plat::D3DXMATRIX identity;
  plat::D3DXMatrixIdentity(&identity);
  mesh.GetBoundingSphere(bounds, identity);
  TCollisionShape::Build(mesh);
}

float TCollisionPart::HorizontalDistance(const D3DXVECTOR3& point) const {
  const float dx = point.x - bounds.x, dz = point.z - bounds.z;
  return std::sqrt(dx * dx + dz * dz);
}

void TCollisionPart::CollideSphere(D3DXVECTOR3& position, float radius, TCollisionResult& result) const {
  if (HorizontalDistance(position) > radius + bounds.radius) return;
  D3DXVECTOR3 c(position.x, position.y + radius, position.z);
  float best = FLT_MAX;
  for (const TCollisionTriangle& t : *triangles) ResolveSphere(t, c, radius, best, result);
  position = D3DXVECTOR3(c.x, c.y - radius, c.z);
}

void TCollisionPart::FindGround(const D3DXVECTOR3& point, TGroundResult& result) const {
  if (HorizontalDistance(point) > bounds.radius + kGroundReach) return;
  float best = FLT_MAX;
  for (const TCollisionTriangle& t : *triangles) FindGroundOn(t, point, best, result);
}
