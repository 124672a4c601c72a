// The math types of the graphics layer: 32-bit floats, row vectors (p' = p x M), left-handed;
// the translation is the fourth row and A x B applies A first.
#pragma once
#include <cstdint>

namespace plat {

struct D3DVECTOR {
  float x, y, z;
};

struct D3DMATRIX {
  union {
    struct {
      float _11, _12, _13, _14;
      float _21, _22, _23, _24;
      float _31, _32, _33, _34;
      float _41, _42, _43, _44;
    };
    float m[4][4];
  };
};

struct D3DXVECTOR2 {
  float x = 0, y = 0;
};

struct D3DXVECTOR3 : D3DVECTOR {
  D3DXVECTOR3() : D3DVECTOR{0, 0, 0} {}
  D3DXVECTOR3(float ax, float ay, float az) : D3DVECTOR{ax, ay, az} {}
  D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
};

struct D3DXVECTOR4 {
  float x = 0, y = 0, z = 0, w = 0;
};

struct D3DXQUATERNION {
  float x = 0, y = 0, z = 0, w = 1;
};

struct D3DXMATRIX : D3DMATRIX {
  D3DXMATRIX() : D3DMATRIX{} {}
  D3DXMATRIX(const D3DMATRIX& m) : D3DMATRIX(m) {}
};

}  // namespace plat
