// What the effects that show cells of a texture sheet on the flat particle quad (particles and the
// bullets of shots) need of that quad: it has the four vertices they write, in morph frame 0.
#pragma once
#include <array>
#include <string>

#include "common/TMesh8.h"

// One vertex's texture coordinates.
struct TQuadUv {
  float u, v;
};

// A mesh of fewer than four vertices throws my_error naming the file it was loaded from.
void RequireQuad(const TMesh8& mesh, const std::string& file);

// Writes the texture coordinates of vertices 0 to 3 of morph frame 0, in vertex order; the bounds
// are not recomputed. Meant for a mesh that passed RequireQuad: one of fewer vertices, or whose
// vertices carry no texture coordinates, is left as it is.
void SetQuadTexCoords(TMesh8& mesh, const std::array<TQuadUv, 4>& uv);
