// A triangle with its face plane, the base of collision triangles: setting the corners computes
// the unit normal and the distance once, then a derived class adds what it needs.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TTriangle8 {
 public:
  virtual ~TTriangle8() = 0;

  // The normal is (p0 - p1) x (p0 - p2) made unit length, so the winding decides its sign; three
  // corners on one line give a zero normal, distance 0 and normal length 0.
  void Set(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b, const plat::D3DXVECTOR3& c, uint32_t extra);

  plat::D3DXVECTOR3 p0, p1, p2;
  plat::D3DXVECTOR3 normal;
  float distance = 0;  // normal . q + distance = 0 on the plane
  float normalLength = 0;

 protected:
  // Called at the end of Set with its extra argument.
  virtual void OnSet(uint32_t extra) = 0;
};
