#include <gtest/gtest.h>

#include <cmath>

#include "tools/datakit/MeshShapes.h"

namespace {

struct V {
  float x, y, z;
};

V Corner(const datakit::MeshShape& s, size_t i) {
  const datakit::MeshVertex& v = s.vertices[s.indices[i]];
  return {v.x, v.y, v.z};
}

// The face normal of triangle t under the device's clockwise-front rule: cross(b - a, c - a).
V Normal(const datakit::MeshShape& s, uint32_t t) {
  const V a = Corner(s, 3 * t), b = Corner(s, 3 * t + 1), c = Corner(s, 3 * t + 2);
  const V u{b.x - a.x, b.y - a.y, b.z - a.z}, w{c.x - a.x, c.y - a.y, c.z - a.z};
  return {u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
}

TEST(MeshShapesTest, BoxFacesPointOutward) {
  const datakit::MeshShape box = datakit::BoxShape(2, 4, 6, 0xFF123456);
  ASSERT_EQ(box.vertices.size(), 24u);
  ASSERT_EQ(box.TriangleCount(), 12u);
  ASSERT_EQ(box.parts.size(), 12u);
  for (uint32_t t = 0; t < box.TriangleCount(); ++t) {
    const V n = Normal(box, t);
    const V a = Corner(box, 3 * t), b = Corner(box, 3 * t + 1), c = Corner(box, 3 * t + 2);
    const V centre{(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
    EXPECT_GT(n.x * centre.x + n.y * centre.y + n.z * centre.z, 0.0f) << t;
  }
  for (const auto& v : box.vertices) {
    EXPECT_EQ(std::abs(v.x), 1.0f);
    EXPECT_EQ(std::abs(v.z), 3.0f);
    EXPECT_EQ(v.color, 0xFF123456u);
  }
}

TEST(MeshShapesTest, FlatShapesFaceUpAndCoverTheirExtent) {
  const struct {
    const char* what;
    datakit::MeshShape shape;
    size_t vertices, triangles;
  } cases[] = {
      {"plane", datakit::PlaneShape(2, 3), 4, 2},
      {"strip", datakit::QuadStripShape(5, 10, 1), 12, 10},
      {"ring", datakit::RingShape(1, 2, 8), 16, 16},
      {"disc", datakit::DiscShape(1, 8), 9, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.shape.vertices.size(), c.vertices);
    ASSERT_EQ(c.shape.TriangleCount(), c.triangles);
    EXPECT_EQ(c.shape.parts.size(), c.triangles);
    for (uint32_t t = 0; t < c.shape.TriangleCount(); ++t) {
      const V n = Normal(c.shape, t);
      EXPECT_GT(n.y, 0.0f) << t;
      EXPECT_NEAR(n.x, 0.0f, 1e-5);
      EXPECT_NEAR(n.z, 0.0f, 1e-5);
    }
    for (uint16_t i : c.shape.indices) EXPECT_LT(i, c.shape.vertices.size());
  }
  const datakit::MeshShape strip = datakit::QuadStripShape(5, 10, 1);
  EXPECT_EQ(strip.vertices.front().x, -5.0f);
  EXPECT_EQ(strip.vertices.back().x, 5.0f);
  EXPECT_EQ(strip.vertices.back().u, 1.0f);
}

TEST(MeshShapesTest, AppendOffsetsIndicesAndParts) {
  datakit::MeshShape two = datakit::PlaneShape(1, 1);
  two.Append(datakit::PlaneShape(1, 1).Move(3, 0, 0), 2);
  ASSERT_EQ(two.vertices.size(), 8u);
  EXPECT_EQ(two.indices[6], two.indices[0] + 4);
  EXPECT_EQ(two.parts, (std::vector<uint32_t>{0, 0, 2, 2}));
  EXPECT_EQ(two.vertices[4].x, 2.5f);
}

TEST(MeshShapesTest, TheParticleQuadHoldsTheSheetCornersInOrderAndFacesMinusZ) {
  const datakit::MeshShape quad = datakit::ParticleQuadShape(2);
  ASSERT_EQ(quad.vertices.size(), 4u);
  const float uv[4][2] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(quad.vertices[k].u, uv[k][0]) << k;
    EXPECT_EQ(quad.vertices[k].v, uv[k][1]) << k;
    // u runs along +x and v down the quad.
    EXPECT_EQ(quad.vertices[k].x, uv[k][0] * 2 - 1) << k;
    EXPECT_EQ(quad.vertices[k].y, 1 - uv[k][1] * 2) << k;
  }
  for (uint32_t t = 0; t < quad.TriangleCount(); ++t) EXPECT_LT(Normal(quad, t).z, 0.0f) << t;
}

TEST(MeshShapesTest, ARibbonHoldsSixVerticesAQuadFromBaseToTip) {
  const datakit::MeshShape ribbon = datakit::RibbonShape(3, 0, 1, 0, 0, 2, 0);
  ASSERT_EQ(ribbon.vertices.size(), 18u);
  ASSERT_EQ(ribbon.TriangleCount(), 6u);
  for (uint16_t i = 0; i < 18; ++i) EXPECT_EQ(ribbon.indices[i], i);
  // b(j), t(j), b(j+1), t(j), b(j+1), t(j+1): v tells base (0) from tip (1), u the point along.
  const float across[6] = {0, 1, 0, 1, 0, 1}, along[6] = {0, 0, 1, 0, 1, 1};
  for (uint32_t j = 0; j < 3; ++j)
    for (uint32_t k = 0; k < 6; ++k) {
      const datakit::MeshVertex& v = ribbon.vertices[6 * j + k];
      EXPECT_EQ(v.v, across[k]);
      EXPECT_FLOAT_EQ(v.u, (j + along[k]) / 3.0f);
      EXPECT_EQ(v.y, across[k] ? 2.0f : 1.0f);
    }
  const datakit::MeshShape trail = datakit::TrailRibbonShape(2, -5);
  EXPECT_EQ(trail.vertices[1].z, -1.0f);
  EXPECT_EQ(trail.vertices[1].y, -5.0f);
}

TEST(MeshShapesTest, ACrystalFacesOutwardAndBreaksIntoTrianglesOfTheirOwn) {
  const datakit::MeshShape crystal = datakit::BipyramidShape(1, 2, 6);
  ASSERT_EQ(crystal.vertices.size(), 8u);
  ASSERT_EQ(crystal.TriangleCount(), 12u);
  for (uint32_t t = 0; t < crystal.TriangleCount(); ++t) {
    const V n = Normal(crystal, t);
    const V a = Corner(crystal, 3 * t), b = Corner(crystal, 3 * t + 1), c = Corner(crystal, 3 * t + 2);
    EXPECT_GT(n.x * (a.x + b.x + c.x) + n.y * (a.y + b.y + c.y) + n.z * (a.z + b.z + c.z), 0.0f) << t;
  }
  const datakit::MeshShape pieces = datakit::SeparateTriangles(crystal);
  ASSERT_EQ(pieces.vertices.size(), 36u);
  EXPECT_EQ(pieces.parts, crystal.parts);
  for (uint32_t i = 0; i < 36; ++i) {
    EXPECT_EQ(pieces.indices[i], i);
    const V was = Corner(crystal, i), is = Corner(pieces, i);
    EXPECT_EQ(was.x, is.x);
    EXPECT_EQ(was.y, is.y);
    EXPECT_EQ(was.z, is.z);
  }
}

}  // namespace
