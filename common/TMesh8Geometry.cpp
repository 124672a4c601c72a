// Geometry operations of TMesh8: copy-on-write locks, bounds, baked transforms, the part table and
// the division into grid cells.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "common/my_error.h"

using namespace plat;

namespace {

constexpr uint32_t kMaxGridCells = 65536;

uint32_t VertexSize(const TMesh8& mesh) { return D3DXGetFVFVertexSize(mesh.GetVertexFormat()); }

D3DXVECTOR3 PositionAt(const uint8_t* vertices, uint32_t stride, uint32_t k) {
  D3DXVECTOR3 p;
  std::memcpy(&p.x, vertices + size_t(stride) * k, 12);
  return p;
}

TMesh8Data::VertexBuffer NewFrame(uint32_t vertexCount, uint32_t format, const std::vector<uint8_t>& bytes) {
  TMesh8Data::VertexBuffer buffer(TD3D8::Instance()->CreateVertexBuffer(vertexCount, format, TD3D8::kDefaultPool, 0));
  BYTE* out = nullptr;
  if (!buffer || buffer->Lock(0, 0, &out, 0) != D3D_OK)
    throw my_error("the device refused a mesh's vertex buffer", __FILE__, __LINE__);
  std::memcpy(out, bytes.data(), std::min<size_t>(bytes.size(), buffer->Length()));
  buffer->Unlock();
  return buffer;
}

TCountedPtr<IDirect3DIndexBuffer8> NewIndices(const std::vector<uint16_t>& indices) {
  const uint32_t triangles = static_cast<uint32_t>(indices.size() / 3);
  TCountedPtr<IDirect3DIndexBuffer8> buffer(
      TD3D8::Instance()->CreateIndexBuffer(triangles, D3DFMT_INDEX16, TD3D8::kDefaultPool, 0));
  BYTE* out = nullptr;
  if (!buffer || buffer->Lock(0, 0, &out, 0) != D3D_OK)
    throw my_error("the device refused a mesh's index buffer", __FILE__, __LINE__);
  std::memcpy(out, indices.data(), indices.size() * 2);
  buffer->Unlock();
  return buffer;
}

// The first of `count` cells of `size` from `min` whose closed interval holds p; -1 when none.
int64_t FirstCellOf(float p, float min, float size, uint32_t count) {
  if (!(p >= min)) return -1;
  const double estimate = std::floor((double(p) - min) / size);
  const int64_t from = std::clamp<int64_t>(estimate > double(count) ? count : int64_t(estimate) - 1, 0, count - 1);
  for (int64_t cell = from; cell < count && cell <= from + 2; ++cell) {
    const float low = min + static_cast<float>(cell) * size;
    if (p >= low && p <= low + size) return cell;
  }
  return -1;
}

}  // namespace

void TMesh8::MakeUnique() {
  if (data->GetRefCount() <= 1) return;
  TMesh8Data* copy = TMesh8Data::Copy(*data);
  data->Release();
  data = copy;
}

void* TMesh8::LockVertices(uint32_t frame) {
  MakeUnique();
  data->MarkDirty(TMesh8::kAllParts);
  IDirect3DVertexBuffer8* buffer = data->GetVertexBuffer(frame);
  BYTE* bytes = nullptr;
  return buffer && buffer->Lock(0, 0, &bytes, 0) == D3D_OK ? bytes : nullptr;
}

void TMesh8::UnlockVertices(uint32_t frame, bool recompute) {
  if (IDirect3DVertexBuffer8* buffer = data->GetVertexBuffer(frame)) buffer->Unlock();
  if (recompute) UpdateBounds();
}

const void* TMesh8::LockVerticesReadOnly(uint32_t frame) const {
  IDirect3DVertexBuffer8* buffer = data->GetVertexBuffer(frame);
  BYTE* bytes = nullptr;
  return buffer && buffer->Lock(0, 0, &bytes, D3DLOCK_READONLY) == D3D_OK ? bytes : nullptr;
}

uint16_t* TMesh8::LockIndices() {
  MakeUnique();
  data->MarkDirty(TMesh8::kAllParts);
  BYTE* bytes = nullptr;
  IDirect3DIndexBuffer8* buffer = data->GetIndexBuffer();
  return buffer && buffer->Lock(0, 0, &bytes, 0) == D3D_OK ? reinterpret_cast<uint16_t*>(bytes) : nullptr;
}

void TMesh8::UnlockIndices() {
  if (IDirect3DIndexBuffer8* buffer = data->GetIndexBuffer()) buffer->Unlock();
}

const uint16_t* TMesh8::LockIndicesReadOnly() const {
  BYTE* bytes = nullptr;
  IDirect3DIndexBuffer8* buffer = data->GetIndexBuffer();
  return buffer && buffer->Lock(0, 0, &bytes, D3DLOCK_READONLY) == D3D_OK ? reinterpret_cast<uint16_t*>(bytes)
                                                                            : nullptr;
}

void TMesh8::UpdateBounds() {
  const auto* vertices = static_cast<const uint8_t*>(LockVerticesReadOnly(0));
  if (!vertices) return;
  const uint32_t stride = VertexSize(*this), count = data->GetVertexCount();
  D3DXVECTOR3 low(FLT_MAX, FLT_MAX, FLT_MAX), high(-FLT_MAX, -FLT_MAX, -FLT_MAX);
  for (uint32_t k = 0; k < count; ++k) {
    const D3DXVECTOR3 p = PositionAt(vertices, stride, k);
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  TMeshBounds& b = data->Bounds();
  b.x = (low.x + high.x) * 0.5f;
  b.y = (low.y + high.y) * 0.5f;
  b.z = (low.z + high.z) * 0.5f;
  float largest = 0.0f;
  for (uint32_t k = 0; k < count; ++k) {
    const D3DXVECTOR3 p = PositionAt(vertices, stride, k);
    const float dx = p.x - b.x, dy = p.y - b.y, dz = p.z - b.z;
    largest = std::max(largest, dx * dx + dy * dy + dz * dz);
  }
  b.radius = std::sqrt(largest);
  b.halfRadius = b.radius * 0.5f;
  UnlockVertices(0, false);
}

void TMesh8::RebuildPartTable() {
  const uint32_t triangles = data->GetTriangleCount();
  const std::vector<uint32_t> parts = data->GetPartTable().PartIndices(triangles);
  const uint16_t* indices = LockIndicesReadOnly();
  std::vector<uint16_t> copy(3 * size_t(triangles), 0);
  if (indices) std::memcpy(copy.data(), indices, copy.size() * 2);
  UnlockIndices();
  data->SetPartTable(MakeCounted<TMeshPartTable>(copy.data(), parts.data(), triangles,
                                                 data->GetPartTable().GetPartCount(),
                                                 !TD3D8::Instance()->UseVertexShader()));
  data->MarkDirty(TMesh8::kAllParts);
}

void TMesh8::BakePositions(const D3DXMATRIX& matrix) {
  const uint32_t stride = VertexSize(*this), count = data->GetVertexCount();
  data->MarkDirty(TMesh8::kAllParts);
  for (uint32_t f = 0; f < data->GetFrameCount(); ++f) {
    auto* vertices = static_cast<uint8_t*>(LockVertices(f));
    if (!vertices) continue;
    for (uint32_t k = 0; k < count; ++k) {
      const D3DXVECTOR3 p = PositionAt(vertices, stride, k);
      D3DXVECTOR3 moved;
      D3DXVec3TransformCoord(&moved, &p, &matrix);
      std::memcpy(vertices + size_t(stride) * k, &moved.x, 12);
    }
    UnlockVertices(f, true);
  }
}

void TMesh8::AfterGeometryChange() {
  if (data->GetFrameCount() > 1)
    SetMotionTime(time);
  else
    UpdateBounds();
}

void TMesh8::Scale(float x, float y, float z) {
  MakeUnique();
  if (x == 1.0f && y == 1.0f && z == 1.0f) return;
  D3DXMATRIX scaling;
  D3DXMatrixScaling(&scaling, x, y, z);
  BakePositions(scaling);
  AfterGeometryChange();
}

void TMesh8::Transform(const D3DMATRIX& matrix) {
  MakeUnique();
  const D3DXMATRIX m(matrix);
  if (D3DXMatrixIsIdentity(&m)) return;
  BakePositions(m);
  AfterGeometryChange();
}

void TMesh8::Mirror(uint32_t axis) {
  MakeUnique();
  if (axis < 1 || axis > 3) return;
  const uint32_t stride = VertexSize(*this), count = data->GetVertexCount();
  for (uint32_t f = 0; f < data->GetFrameCount(); ++f) {
    auto* vertices = static_cast<uint8_t*>(LockVertices(f));
    if (!vertices) continue;
    for (uint32_t k = 0; k < count; ++k) {
      float* coordinate = reinterpret_cast<float*>(vertices + size_t(stride) * k) + (axis - 1);
      *coordinate = -*coordinate;
    }
    UnlockVertices(f, true);
  }
  if (uint16_t* indices = LockIndices()) {
    for (uint32_t t = 0; t < data->GetTriangleCount(); ++t) std::swap(indices[3 * t + 1], indices[3 * t + 2]);
    UnlockIndices();
  }
  AfterGeometryChange();
}

TMesh8 TMesh8::CreateDummy(uint32_t vertexFormat) {
  auto frames = MakeCounted<TMesh8Data::FrameArray>();
  frames->push_back(NewFrame(3, vertexFormat, std::vector<uint8_t>(3 * size_t(D3DXGetFVFVertexSize(vertexFormat)))));
  const uint32_t part = 0;
  std::vector<TMaterial8> materials{TMaterial8("dmymat", D3DMATERIAL8{}, TTexture8::Load("", D3DPOOL_MANAGED, 0))};
  return TMesh8("dmymsh", frames, 3, 1, NewIndices({0, 1, 2}), &part, 1, materials, 1,
                MakeCounted<TMesh8Data::ClipArray>(), 0);
}

TMesh8 TMesh8::CreateSubMesh(const std::vector<uint16_t>& triangles, const std::vector<uint32_t>& triangleParts,
                             const uint16_t* indices, const uint8_t* vertices) const {
  if (triangles.empty()) return CreateDummy(GetVertexFormat());
  const uint32_t stride = VertexSize(*this);
  std::vector<uint32_t> usedParts, partIndices;
  std::vector<TMaterial8> subMaterials;
  std::vector<int32_t> newIndexOf(data->GetVertexCount(), -1);
  std::vector<uint8_t> subVertices;
  std::vector<uint16_t> subIndices;
  for (uint16_t t : triangles) {
    const uint32_t part = triangleParts[t];
    auto found = std::find(usedParts.begin(), usedParts.end(), part);
    if (found == usedParts.end()) {
      usedParts.push_back(part);
      subMaterials.push_back(materials.at(part));
      found = usedParts.end() - 1;
    }
    partIndices.push_back(static_cast<uint32_t>(found - usedParts.begin()));
    for (uint32_t k = 0; k < 3; ++k) {
      const uint16_t old = indices[3 * t + k];
      if (newIndexOf[old] < 0) {
        newIndexOf[old] = static_cast<int32_t>(subVertices.size() / stride);
        subVertices.insert(subVertices.end(), vertices + size_t(stride) * old, vertices + size_t(stride) * (old + 1));
      }
      subIndices.push_back(static_cast<uint16_t>(newIndexOf[old]));
    }
  }
  const uint32_t vertexCount = static_cast<uint32_t>(subVertices.size() / stride);
  auto frames = MakeCounted<TMesh8Data::FrameArray>();
  frames->push_back(NewFrame(vertexCount, GetVertexFormat(), subVertices));
  return TMesh8("divmsh", frames, vertexCount, 1, NewIndices(subIndices), partIndices.data(),
                static_cast<uint32_t>(triangles.size()), subMaterials, static_cast<uint32_t>(subMaterials.size()),
                MakeCounted<TMesh8Data::ClipArray>(), 0);
}

void TMesh8::Divide(TMesh8& mesh, float cellSizeX, float cellSizeZ, TAxisRange& xRange, TAxisRange& zRange,
                    uint32_t& columns, uint32_t& rows, TCountedPtr<Rows>& out) {
  const uint32_t stride = VertexSize(mesh), vertexCount = mesh.data->GetVertexCount();
  const uint32_t triangleCount = mesh.data->GetTriangleCount();
  std::vector<uint8_t> vertices(size_t(stride) * vertexCount, 0);
  std::vector<uint16_t> indices(3 * size_t(triangleCount), 0);
  if (const void* bytes = mesh.LockVerticesReadOnly(0)) {
    std::memcpy(vertices.data(), bytes, vertices.size());
    mesh.UnlockVertices(0, false);
  }
  if (const uint16_t* bytes = mesh.LockIndicesReadOnly()) {
    std::memcpy(indices.data(), bytes, indices.size() * 2);
    mesh.UnlockIndices();
  }
  // Triangles whose indices were rewritten past the vertices are left out.
  auto usable = [&](uint32_t t) {
    return indices[3 * t] < vertexCount && indices[3 * t + 1] < vertexCount && indices[3 * t + 2] < vertexCount;
  };
  auto position = [&](uint32_t t, uint32_t k) { return PositionAt(vertices.data(), stride, indices[3 * t + k]); };

  xRange = {FLT_MAX, -FLT_MAX};
  zRange = {FLT_MAX, -FLT_MAX};
  for (uint32_t t = 0; t < triangleCount; ++t) {
    if (!usable(t)) continue;
    for (uint32_t k = 0; k < 3; ++k) {
      const D3DXVECTOR3 p = position(t, k);
      xRange = {std::min(xRange.min, p.x), std::max(xRange.max, p.x)};
      zRange = {std::min(zRange.min, p.z), std::max(zRange.max, p.z)};
    }
  }
  columns = FitGridAxis(xRange, cellSizeX);
  rows = FitGridAxis(zRange, cellSizeZ);
  // A flat extent still gets its one cell, so no triangle is lost.
  if (columns == 0 && xRange.min <= xRange.max) xRange.max = xRange.min + cellSizeX, columns = 1;
  if (rows == 0 && zRange.min <= zRange.max) zRange.max = zRange.min + cellSizeZ, rows = 1;
  if (uint64_t(columns) * rows > kMaxGridCells)
    throw my_error("mesh " + mesh.name + " would divide into more than 65536 cells", __FILE__, __LINE__);

  std::vector<std::vector<uint16_t>> cells(size_t(columns) * rows);
  for (uint32_t t = 0; t < triangleCount; ++t) {
    if (!usable(t)) continue;
    int64_t best = -1;
    for (uint32_t k = 0; k < 3; ++k) {
      const D3DXVECTOR3 p = position(t, k);
      const int64_t row = FirstCellOf(p.z, zRange.min, cellSizeZ, rows);
      const int64_t column = FirstCellOf(p.x, xRange.min, cellSizeX, columns);
      if (row < 0 || column < 0) continue;
      const int64_t cell = row * columns + column;
      if (best < 0 || cell < best) best = cell;
    }
    if (best >= 0) cells[best].push_back(static_cast<uint16_t>(t));
  }

  const std::vector<uint32_t> triangleParts = mesh.data->GetPartTable().PartIndices(triangleCount);
  out = MakeCounted<Rows>();
  out->reserve(rows);
  for (uint32_t r = 0; r < rows; ++r) {
    std::vector<TMesh8>& row = out->emplace_back();
    row.reserve(columns);
    for (uint32_t c = 0; c < columns; ++c)
      row.push_back(mesh.CreateSubMesh(cells[size_t(r) * columns + c], triangleParts, indices.data(),
                                       vertices.data()));
  }
}
