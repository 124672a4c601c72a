// Checks of the meshes whose vertices effects write, beyond what the mesh loader checks (24-byte
// vertices, indices in range), and the one writer of a quad's texture cell. A mesh that fails a
// check throws my_error naming its file, as the loader does, so a bad asset stops the prototype
// build instead of writing past the vertices.
#pragma once
#include <array>
#include <cstdint>
#include <string>

class TMesh8;

namespace effectmesh {

// A quad that texture cells are written into (particles and the bullets of shots): at least four
// vertices. `name` is the path that was given to TMesh8::Load.
void RequireQuad(const TMesh8& mesh, const std::string& name);

// A ribbon of segments (triangles / 2 + 1 of them): at least two segments, and vertices for every
// index the segment table and the rewritten index buffer use (6 x (segments - 1), and three per
// triangle). Returns the segment count.
int32_t RequireRibbon(const TMesh8& mesh, const std::string& name);

// One vertex's texture coordinates.
struct TQuadUv {
  float u, v;
};

// Writes the texture coordinates of vertices 0 to 3 of morph frame 0, in vertex order; the bounds
// are not recomputed. Meant for a mesh that passed RequireQuad: one of fewer vertices, or whose
// vertices carry no texture coordinates, is left as it is.
void SetQuadTexCoords(TMesh8& mesh, const std::array<TQuadUv, 4>& uv);

}  // namespace effectmesh
