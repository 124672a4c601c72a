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
// A ribbon of `quads` quads with six vertices each and no shared vertices: quad j holds b(j),
// t(j), b(j+1), t(j), b(j+1), t(j+1) of the base points b and tip points t, as the blade trail,
// the ray and the thunder bolts rewrite them. Every base point starts at `base` and every tip
// point at `tip`; u runs along the ribbon, v from base to tip.
MeshShape RibbonShape(uint32_t quads, float baseX, float baseY, float baseZ, float tipX, float tipY, float tipZ,
                      uint32_t color = 0xFFFFFFFF);
// The blade-trail ribbon: folded onto one blade of length 1 from (0, parkedY, 0) along -z.
MeshShape TrailRibbonShape(uint32_t quads, float parkedY, uint32_t color = 0xFFFFFFFF);
// The flat particle quad, `size` wide, upright in the x-y plane and facing -z: vertex k holds the
// texture corner the particle sheet writes into it, (1, 1), (1, 0), (0, 0), (0, 1) in that order
// (u along +x, v down).
MeshShape ParticleQuadShape(float size, uint32_t color = 0xFFFFFFFF);
// A double pyramid (a crystal) around the y axis: `sides` faces up to an apex at +height / 2 and
// as many down to one at -height / 2; 2 + sides vertices, 2 x sides triangles.
MeshShape BipyramidShape(float radius, float height, uint32_t sides, uint32_t color = 0xFFFFFFFF);
// The shape with every triangle on vertices of its own, as debris that breaks into its triangles
// needs: 3 vertices per triangle.
MeshShape SeparateTriangles(const MeshShape& shape);
// A flat ring in the x-z plane facing +y between two radii: 2 x segments vertices, 2 x segments
// triangles.
MeshShape RingShape(float innerRadius, float outerRadius, uint32_t segments, uint32_t color = 0xFFFFFFFF);
// A flat disc in the x-z plane facing +y, a fan around its centre: segments + 1 vertices, segments
// triangles.
MeshShape DiscShape(float radius, uint32_t segments, uint32_t color = 0xFFFFFFFF);

}  // namespace datakit
