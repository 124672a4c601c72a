#include "tools/datakit/MeshShapes.h"

#include <cmath>
#include <utility>

namespace datakit {

namespace {

struct Vec {
  float x, y, z;
  Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
};

Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

MeshVertex At(const Vec& p, uint32_t color, float u, float v) { return {p.x, p.y, p.z, color, u, v}; }

// The quad p, p + u, p + v, p + u + v as two triangles facing `normal`. With corners a, b, c a
// triangle faces cross(b - a, c - a), so (p, p + v, p + u) faces cross(v, u).
void AddQuad(MeshShape& shape, Vec p, Vec u, Vec v, const Vec& normal, uint32_t color) {
  if (Dot(Cross(v, u), normal) < 0) std::swap(u, v);
  const auto base = static_cast<uint16_t>(shape.vertices.size());
  shape.vertices.push_back(At(p, color, 0, 0));
  shape.vertices.push_back(At(p + u, color, 1, 0));
  shape.vertices.push_back(At(p + v, color, 0, 1));
  shape.vertices.push_back(At(p + u + v, color, 1, 1));
  for (uint16_t i : {0, 2, 1, 1, 2, 3}) shape.indices.push_back(static_cast<uint16_t>(base + i));
  shape.parts.insert(shape.parts.end(), 2, 0);
}

}  // namespace

MeshShape BoxShape(float width, float height, float depth, uint32_t color) {
  const float x = width / 2, y = height / 2, z = depth / 2;
  MeshShape shape;
  AddQuad(shape, {-x, y, -z}, {width, 0, 0}, {0, 0, depth}, {0, 1, 0}, color);     // top
  AddQuad(shape, {-x, -y, -z}, {width, 0, 0}, {0, 0, depth}, {0, -1, 0}, color);   // bottom
  AddQuad(shape, {-x, -y, -z}, {width, 0, 0}, {0, height, 0}, {0, 0, -1}, color);  // front
  AddQuad(shape, {-x, -y, z}, {width, 0, 0}, {0, height, 0}, {0, 0, 1}, color);    // back
  AddQuad(shape, {-x, -y, -z}, {0, 0, depth}, {0, height, 0}, {-1, 0, 0}, color);  // left
  AddQuad(shape, {x, -y, -z}, {0, 0, depth}, {0, height, 0}, {1, 0, 0}, color);    // right
  return shape;
}

MeshShape PlaneShape(float width, float depth, uint32_t color) {
  MeshShape shape;
  AddQuad(shape, {-width / 2, 0, -depth / 2}, {width, 0, 0}, {0, 0, depth}, {0, 1, 0}, color);
  return shape;
}

MeshShape QuadStripShape(uint32_t segments, float length, float width, uint32_t color) {
  MeshShape shape;
  const float step = segments ? length / segments : 0;
  for (uint32_t i = 0; i <= segments; ++i) {
    const float x = -length / 2 + step * i, u = segments ? float(i) / segments : 0;
    shape.vertices.push_back(At({x, 0, -width / 2}, color, u, 0));
    shape.vertices.push_back(At({x, 0, width / 2}, color, u, 1));
  }
  for (uint32_t i = 0; i < segments; ++i) {
    const auto a = static_cast<uint16_t>(2 * i);  // a near, a + 1 far, a + 2 next near, a + 3 next far
    for (uint16_t k : {0, 1, 2, 2, 1, 3}) shape.indices.push_back(static_cast<uint16_t>(a + k));
    shape.parts.insert(shape.parts.end(), 2, 0);
  }
  return shape;
}

MeshShape RibbonShape(uint32_t quads, float baseX, float baseY, float baseZ, float tipX, float tipY, float tipZ,
                      uint32_t color) {
  MeshShape shape;
  const Vec ends[2] = {{baseX, baseY, baseZ}, {tipX, tipY, tipZ}};
  for (uint32_t j = 0; j < quads; ++j) {
    const float u0 = float(j) / quads, u1 = float(j + 1) / quads;
    // (along, across) of b(j), t(j), b(j+1), t(j), b(j+1), t(j+1).
    const float uv[6][2] = {{u0, 0}, {u0, 1}, {u1, 0}, {u0, 1}, {u1, 0}, {u1, 1}};
    for (const auto& c : uv) {
      shape.indices.push_back(static_cast<uint16_t>(shape.vertices.size()));
      shape.vertices.push_back(At(ends[c[1] != 0], color, c[0], c[1]));
    }
    shape.parts.insert(shape.parts.end(), 2, 0);
  }
  return shape;
}

MeshShape TrailRibbonShape(uint32_t quads, float parkedY, uint32_t color) {
  return RibbonShape(quads, 0, parkedY, 0, 0, parkedY, -1, color);
}

MeshShape ParticleQuadShape(float size, uint32_t color) {
  const float h = size / 2;
  MeshShape shape;
  shape.vertices = {At({h, -h, 0}, color, 1, 1), At({h, h, 0}, color, 1, 0), At({-h, h, 0}, color, 0, 0),
                    At({-h, -h, 0}, color, 0, 1)};
  shape.indices = {0, 2, 1, 0, 3, 2};
  shape.parts = {0, 0};
  return shape;
}

MeshShape BipyramidShape(float radius, float height, uint32_t sides, uint32_t color) {
  MeshShape shape;
  const float pi2 = 6.28318530718f;
  shape.vertices.push_back(At({0, height / 2, 0}, color, 0.5f, 0));
  shape.vertices.push_back(At({0, -height / 2, 0}, color, 0.5f, 1));
  for (uint32_t i = 0; i < sides; ++i) {
    const float angle = pi2 * i / sides, u = float(i) / sides;
    shape.vertices.push_back(At({radius * std::cos(angle), 0, radius * std::sin(angle)}, color, u, 0.5f));
  }
  for (uint32_t i = 0; i < sides; ++i) {
    const auto a = static_cast<uint16_t>(2 + i), b = static_cast<uint16_t>(2 + (i + 1) % sides);
    // Upper faces (apex, next, this) and lower faces (foot, this, next) face outward.
    for (uint16_t k : {uint16_t(0), b, a, uint16_t(1), a, b}) shape.indices.push_back(k);
    shape.parts.insert(shape.parts.end(), 2, 0);
  }
  return shape;
}

MeshShape SeparateTriangles(const MeshShape& shape) {
  MeshShape out;
  for (size_t t = 0; t < shape.indices.size() / 3; ++t) {
    for (int k = 0; k < 3; ++k) {
      out.indices.push_back(static_cast<uint16_t>(out.vertices.size()));
      out.vertices.push_back(shape.vertices[shape.indices[3 * t + k]]);
    }
    out.parts.push_back(shape.parts[t]);
  }
  return out;
}

MeshShape RingShape(float innerRadius, float outerRadius, uint32_t segments, uint32_t color) {
  MeshShape shape;
  const float pi2 = 6.28318530718f;
  for (uint32_t i = 0; i < segments; ++i) {
    const float angle = pi2 * i / segments, c = std::cos(angle), s = std::sin(angle), u = float(i) / segments;
    shape.vertices.push_back(At({innerRadius * c, 0, innerRadius * s}, color, u, 0));
    shape.vertices.push_back(At({outerRadius * c, 0, outerRadius * s}, color, u, 1));
  }
  for (uint32_t i = 0; i < segments; ++i) {
    const auto a = static_cast<uint16_t>(2 * i), b = static_cast<uint16_t>(2 * ((i + 1) % segments));
    // Inner and outer of this spoke with the inner of the next, then the rest of the quad.
    for (uint16_t k : {a, b, uint16_t(a + 1), uint16_t(a + 1), b, uint16_t(b + 1)}) shape.indices.push_back(k);
    shape.parts.insert(shape.parts.end(), 2, 0);
  }
  return shape;
}

MeshShape DiscShape(float radius, uint32_t segments, uint32_t color) {
  MeshShape shape;
  const float pi2 = 6.28318530718f;
  shape.vertices.push_back(At({0, 0, 0}, color, 0.5f, 0.5f));
  for (uint32_t i = 0; i < segments; ++i) {
    const float angle = pi2 * i / segments, c = std::cos(angle), s = std::sin(angle);
    shape.vertices.push_back(At({radius * c, 0, radius * s}, color, 0.5f + 0.5f * c, 0.5f + 0.5f * s));
  }
  for (uint32_t i = 0; i < segments; ++i) {
    // Centre, the next spoke, this spoke: clockwise seen from above.
    const auto a = static_cast<uint16_t>(1 + i), b = static_cast<uint16_t>(1 + (i + 1) % segments);
    for (uint16_t k : {uint16_t(0), b, a}) shape.indices.push_back(k);
    shape.parts.push_back(0);
  }
  return shape;
}

}  // namespace datakit
