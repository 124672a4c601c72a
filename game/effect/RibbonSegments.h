// The ribbon meshes of the ray and the thunder bolts: quads of six vertices (b(j), t(j), b(j+1),
// t(j), b(j+1), t(j+1)) along a line of points, read as segments, one per point. A segment's first
// three vertices are the point's copies on one side of the ribbon, its last three those on the
// other side.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TMesh8;

using TSegmentVertices = std::array<uint16_t, 6>;

struct TRibbonSegments {
  int32_t count = 0;
  std::vector<TSegmentVertices> table;  // six vertex indices per segment
};

// Segment 0 is (0, 0, 0, 1, 1, 3); segment i of the middle is (k, k + 2, k + 4, k + 3, k + 5,
// k + 7) with k = 2 + 6 (i - 1); the last is (n - 4, n - 4, n - 2, n - 1, n - 1, n - 1) for n
// vertices. Needs at least two segments and 6 x (segments - 1) vertices.
std::vector<TSegmentVertices> BuildSegmentTable(uint32_t vertexCount, int32_t segmentCount);

// The ribbon of a loaded mesh: checked (my_error naming `name` when it cannot hold its segments),
// then its table.
TRibbonSegments ReadRibbonSegments(const TMesh8& mesh, const std::string& name);

// Rewrites the index buffer as 0, 1, 2, ... so that every triangle uses its own vertices.
void RewriteIndicesInOrder(TMesh8& mesh);
