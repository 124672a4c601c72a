// Checks of the meshes whose vertices effects write, beyond what the mesh loader checks (24-byte
// vertices, indices in range). A mesh that fails throws my_error naming its file, as the loader
// does, so a bad asset stops the prototype build instead of writing past the vertices.
#pragma once
#include <cstdint>
#include <string>

class TMesh8;

namespace effectmesh {

// A quad that texture cells are written into: at least four vertices. `name` is the path that
// was given to TMesh8::Load.
void RequireQuad(const TMesh8& mesh, const std::string& name);

// A ribbon of segments (triangles / 2 + 1 of them): at least two segments, and vertices for every
// index the segment table and the rewritten index buffer use (6 x (segments - 1), and three per
// triangle). Returns the segment count.
int32_t RequireRibbon(const TMesh8& mesh, const std::string& name);

}  // namespace effectmesh
