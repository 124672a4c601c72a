// Plain shapes for meshes of tests and the sample game. Every shape is centred on the origin, its
// triangles wound clockwise seen from outside (front-facing under the default culling) and all of
// part 0; texture coordinates run 0..1 across each face.
#pragma once
#include <cstdint>

#include "tools/datakit/MeshWriter.h"

namespace datakit {

// A box of width (x), height (y) and depth (z): six faces, 24 vertices, 12 triangles.
MeshShape BoxShape(float width, float height, float depth, uint32_t color = 0xFFFFFFFF);
// A flat rectangle in the x-z plane facing +y: 4 vertices, 2 triangles.
MeshShape PlaneShape(float width, float depth, uint32_t color = 0xFFFFFFFF);
// A row of `segments` quads along x in the x-z plane facing +y (a ribbon): 2 x (segments + 1)
// vertices, 2 x segments triangles.
MeshShape QuadStripShape(uint32_t segments, float length, float width, uint32_t color = 0xFFFFFFFF);
// A blade-trail ribbon of `quads` quads with six vertices each and no shared vertices: quad j
// holds b(j), t(j), b(j+1), t(j), b(j+1), t(j+1) of the base points b and tip points t, as the
// trail rewrites them. The ribbon starts folded onto one blade of length 1 from (0, parkedY, 0)
// along -z; u runs along the ribbon, v from base to tip.
MeshShape TrailRibbonShape(uint32_t quads, float parkedY, uint32_t color = 0xFFFFFFFF);
// A flat ring in the x-z plane facing +y between two radii: 2 x segments vertices, 2 x segments
// triangles.
MeshShape RingShape(float innerRadius, float outerRadius, uint32_t segments, uint32_t color = 0xFFFFFFFF);
// A flat disc in the x-z plane facing +y, a fan around its centre: segments + 1 vertices, segments
// triangles.
MeshShape DiscShape(float radius, uint32_t segments, uint32_t color = 0xFFFFFFFF);

}  // namespace datakit
