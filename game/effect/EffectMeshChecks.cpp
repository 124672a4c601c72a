#include "game/effect/EffectMeshChecks.h"

#include <cstring>

#include "common/TMesh8.h"
#include "common/my_error.h"
#include "platform/gfx/D3D8Types.h"
#include "platform/gfx/D3DXMath.h"

namespace effectmesh {

namespace {

constexpr uint32_t kQuadVertices = 4;

[[noreturn]] void Refuse(const std::string& name, const std::string& what) {
  throw my_error(TMesh8::GetFolder() + name + ": unusable effect mesh (" + what + ")", __FILE__, __LINE__);
}

// Bytes of texture coordinate set 0, or 0 when there is none: the sets close every vertex.
uint32_t FirstTexCoordOffset(uint32_t format, uint32_t stride) {
  const uint32_t sets = (format & plat::D3DFVF_TEXCOUNT_MASK) >> plat::D3DFVF_TEXCOUNT_SHIFT;
  if (sets == 0) return 0;
  static constexpr uint32_t kFloatsOfCode[4] = {2, 3, 4, 1};
  uint32_t setBytes = 0;
  for (uint32_t set = 0; set < sets; ++set) setBytes += 4 * kFloatsOfCode[plat::D3DFVF_TEXCOORDSIZE_CODE(format, set)];
  // Set 0 has to hold (u, v).
  if (kFloatsOfCode[plat::D3DFVF_TEXCOORDSIZE_CODE(format, 0)] < 2 || setBytes > stride) return 0;
  return stride - setBytes;
}

}  // namespace

void RequireQuad(const TMesh8& mesh, const std::string& name) {
  if (mesh.GetVertexCount() < kQuadVertices) Refuse(name, "fewer than 4 vertices for a quad");
}

int32_t RequireRibbon(const TMesh8& mesh, const std::string& name) {
  const uint32_t triangles = mesh.GetTriangleCount(), vertices = mesh.GetVertexCount();
  const int32_t segments = static_cast<int32_t>(triangles / 2 + 1);
  if (segments < 2) Refuse(name, "fewer than 2 ribbon segments");
  if (vertices < 6u * static_cast<uint32_t>(segments - 1) || vertices < 3u * triangles)
    Refuse(name, "too few vertices for its ribbon segments");
  return segments;
}

void SetQuadTexCoords(TMesh8& mesh, const std::array<TQuadUv, 4>& uv) {
  if (mesh.GetVertexCount() < kQuadVertices) return;
  const uint32_t format = mesh.GetVertexFormat(), stride = plat::D3DXGetFVFVertexSize(format);
  const uint32_t offset = FirstTexCoordOffset(format, stride);
  if (offset == 0) return;
  auto* vertices = static_cast<uint8_t*>(mesh.LockVertices(0));
  if (!vertices) return;
  for (uint32_t k = 0; k < kQuadVertices; ++k) std::memcpy(vertices + size_t(stride) * k + offset, &uv[k], 8);
  mesh.UnlockVertices(0, false);
}

}  // namespace effectmesh
