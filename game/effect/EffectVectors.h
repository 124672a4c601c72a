// Small vector sums of the game's effects, actors and enemies, in single precision.
#pragma once
#include "common/TFrame8.h"
#include "platform/gfx/D3DXMath.h"

namespace effectmath {

inline plat::D3DXVECTOR3 Plus(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b) {
  return plat::D3DXVECTOR3(a.x + b.x, a.y + b.y, a.z + b.z);
}

inline plat::D3DXVECTOR3 Minus(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b) {
  return plat::D3DXVECTOR3(a.x - b.x, a.y - b.y, a.z - b.z);
}

inline plat::D3DXVECTOR3 Times(const plat::D3DXVECTOR3& v, float s) {
  return plat::D3DXVECTOR3(v.x * s, v.y * s, v.z * s);
}

inline plat::D3DXVECTOR3 Normalised(const plat::D3DXVECTOR3& v) {
  plat::D3DXVECTOR3 out;
  plat::D3DXVec3Normalize(&out, &v);  // zero stays zero
  return out;
}

inline plat::D3DXVECTOR3 Cross(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b) {
  plat::D3DXVECTOR3 out;
  plat::D3DXVec3Cross(&out, &a, &b);
  return out;
}

inline float Distance(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b) {
  const plat::D3DXVECTOR3 d = Minus(a, b);
  return plat::D3DXVec3Length(&d);
}

// The world point at `offset` along the frame's world axes (side, up, forward) from its origin:
// where keys and spawn points given in an effect's own axes land.
inline plat::D3DXVECTOR3 PointInFrameAxes(const TFrame8& frame, const plat::D3DXVECTOR3& offset) {
  plat::D3DXVECTOR3 p, side, up, forward;
  frame.GetWorldPosition(&p);
  frame.GetWorldAxis(&side, 1);
  frame.GetWorldAxis(&up, 2);
  frame.GetWorldAxis(&forward, 3);
  return Plus(Plus(Plus(p, Times(side, offset.x)), Times(up, offset.y)), Times(forward, offset.z));
}

// The frame's third world axis: the look-at argument of follow-ups that continue along it.
inline plat::D3DXVECTOR3 WorldForward(const TFrame8& frame) {
  plat::D3DXVECTOR3 forward;
  return *frame.GetWorldAxis(&forward, 3);
}

}  // namespace effectmath
