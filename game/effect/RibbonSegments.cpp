#include "game/effect/RibbonSegments.h"

#include "common/TMesh8.h"
#include "game/effect/EffectMeshChecks.h"

std::vector<TSegmentVertices> BuildSegmentTable(uint32_t vertexCount, int32_t segmentCount) {
  std::vector<TSegmentVertices> table(static_cast<size_t>(segmentCount));
  auto at = [](uint32_t v) { return static_cast<uint16_t>(v); };
  for (int32_t i = 0; i < segmentCount; ++i) {
    if (i == 0) {
      table[0] = {0, 0, 0, 1, 1, 3};
    } else if (i == segmentCount - 1) {
      const uint32_t n = vertexCount;
      table[i] = {at(n - 4), at(n - 4), at(n - 2), at(n - 1), at(n - 1), at(n - 1)};
    } else {
      const uint32_t k = 2 + 6 * static_cast<uint32_t>(i - 1);
      table[i] = {at(k), at(k + 2), at(k + 4), at(k + 3), at(k + 5), at(k + 7)};
    }
  }
  return table;
}

TRibbonSegments ReadRibbonSegments(const TMesh8& mesh, const std::string& name) {
  TRibbonSegments segments;
  segments.count = effectmesh::RequireRibbon(mesh, name);
  segments.table = BuildSegmentTable(mesh.GetVertexCount(), segments.count);
  return segments;
}

void RewriteIndicesInOrder(TMesh8& mesh) {
  const uint32_t count = 3u * mesh.GetTriangleCount();
  uint16_t* indices = mesh.LockIndices();
  if (!indices) return;
  for (uint32_t i = 0; i < count; ++i) indices[i] = static_cast<uint16_t>(i);
  mesh.UnlockIndices();
  // The fixed-function path draws from index lists copied out of the buffer.
  mesh.RebuildPartTable();
}
