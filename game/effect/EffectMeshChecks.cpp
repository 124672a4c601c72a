#include "game/effect/EffectMeshChecks.h"

#include "common/TMesh8.h"
#include "common/my_error.h"

namespace effectmesh {

namespace {

[[noreturn]] void Refuse(const std::string& name, const std::string& what) {
  throw my_error(TMesh8::GetFolder() + name + ": unusable effect mesh (" + what + ")", __FILE__, __LINE__);
}

}  // namespace

void RequireQuad(const TMesh8& mesh, const std::string& name) {
  if (mesh.GetVertexCount() < 4) Refuse(name, "fewer than 4 vertices for a quad");
}

int32_t RequireRibbon(const TMesh8& mesh, const std::string& name) {
  const uint32_t triangles = mesh.GetTriangleCount(), vertices = mesh.GetVertexCount();
  const int32_t segments = static_cast<int32_t>(triangles / 2 + 1);
  if (segments < 2) Refuse(name, "fewer than 2 ribbon segments");
  if (vertices < 6u * static_cast<uint32_t>(segments - 1) || vertices < 3u * triangles)
    Refuse(name, "too few vertices for its ribbon segments");
  return segments;
}

}  // namespace effectmesh
