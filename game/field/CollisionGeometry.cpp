#include "game/field/CollisionGeometry.h"

#include <cfloat>

using plat::D3DXVECTOR3;
using namespace vec3;

D3DXVECTOR3 ProjectAlongDirection(const D3DXVECTOR3& p, const D3DXVECTOR3& direction, const D3DXVECTOR3& n, float d) {
  const float t = -(Dot(p, n) + d) / Dot(direction, n);
  return Add(p, Mul(direction, t));
}

D3DXVECTOR3 ClosestPointOnLine(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 u = Unit(Sub(b, a));
  return Add(a, Mul(u, Dot(u, p) - Dot(u, a)));
}

namespace {

// The point of segment a-b nearest to p: the line's nearest point, or the nearer end when that
// lies outside the segment.
D3DXVECTOR3 ClosestPointOnEdge(const D3DXVECTOR3& p, const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 x = ClosestPointOnLine(p, a, b);
  if (!Differ(x, a) || !Differ(x, b)) return x;
  if (Dot(Sub(a, x), Sub(b, x)) <= 0) return x;
  return Length(Sub(a, x)) < Length(Sub(b, x)) ? a : b;
}

}  // namespace

D3DXVECTOR3 ClosestPointOnTriangleBorder(const D3DXVECTOR3& p, const D3DXVECTOR3& p0, const D3DXVECTOR3& p1,
                                         const D3DXVECTOR3& p2, float& distance) {
  distance = FLT_MAX;
  D3DXVECTOR3 best;
  const D3DXVECTOR3* edges[3][2] = {{&p0, &p1}, {&p1, &p2}, {&p2, &p0}};
  for (const auto& edge : edges) {
    const D3DXVECTOR3 x = ClosestPointOnEdge(p, *edge[0], *edge[1]);
    const float dist = Length(Sub(p, x));
    if (dist < distance) {
      distance = dist;
      best = x;
    }
  }
  return best;
}
