#include "common/TTriangle8.h"

using namespace plat;

TTriangle8::~TTriangle8() = default;

void TTriangle8::Set(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c, uint32_t extra) {
  p0 = a;
  p1 = b;
  p2 = c;
  D3DXVECTOR3 d1, d2;
  D3DXVec3Subtract(&d1, &p0, &p1);
  D3DXVec3Subtract(&d2, &p0, &p2);
  D3DXVec3Cross(&normal, &d1, &d2);
  D3DXVec3Normalize(&normal, &normal);
  distance = -D3DXVec3Dot(&normal, &p0);
  normalLength = D3DXVec3Length(&normal);
  OnSet(extra);
}
