// Small vector geometry of the collision queries: points, lines and triangles with their planes.
#pragma once
#include <cmath>

#include "platform/gfx/D3DXMath.h"

namespace vec3 {

using V = plat::D3DXVECTOR3;

inline V Add(const V& a, const V& b) { return V(a.x + b.x, a.y + b.y, a.z + b.z); }
inline V Sub(const V& a, const V& b) { return V(a.x - b.x, a.y - b.y, a.z - b.z); }
inline V Mul(const V& a, float s) { return V(a.x * s, a.y * s, a.z * s); }
inline float Dot(const V& a, const V& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline V Cross(const V& a, const V& b) {
  return V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline float Length(const V& a) { return std::sqrt(Dot(a, a)); }
// Zero stays zero.
inline V Unit(const V& a) {
  V out;
  return *plat::D3DXVec3Normalize(&out, &a);
}
inline bool Differ(const V& a, const V& b) { return a.x != b.x || a.y != b.y || a.z != b.z; }

}  // namespace vec3

// p moved along the direction onto the plane n . q + d = 0.
plat::D3DXVECTOR3 ProjectAlongDirection(const plat::D3DXVECTOR3& p, const plat::D3DXVECTOR3& direction,
                                        const plat::D3DXVECTOR3& n, float d);
// The point of the infinite line through a and b nearest to p.
plat::D3DXVECTOR3 ClosestPointOnLine(const plat::D3DXVECTOR3& p, const plat::D3DXVECTOR3& a,
                                     const plat::D3DXVECTOR3& b);
// Whether r, taken to lie in the triangle's plane, is inside the triangle or on an edge; n is the
// triangle's normal, which fixes the winding.
inline bool IsPointInTriangle(const plat::D3DXVECTOR3& r, const plat::D3DXVECTOR3& p0, const plat::D3DXVECTOR3& p1,
                              const plat::D3DXVECTOR3& p2, const plat::D3DXVECTOR3& n) {
  using namespace vec3;
  return Dot(Cross(Sub(p1, p0), Sub(r, p1)), n) >= 0 && Dot(Cross(Sub(p2, p1), Sub(r, p2)), n) >= 0 &&
         Dot(Cross(Sub(p0, p2), Sub(r, p0)), n) >= 0;
}
// The point of the triangle's three edges nearest to p, and its distance; on a tie the earlier
// edge of (p0, p1), (p1, p2), (p2, p0) wins.
plat::D3DXVECTOR3 ClosestPointOnTriangleBorder(const plat::D3DXVECTOR3& p, const plat::D3DXVECTOR3& p0,
                                               const plat::D3DXVECTOR3& p1, const plat::D3DXVECTOR3& p2,
                                               float& distance);
