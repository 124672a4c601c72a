// Small checks on vectors and matrices of the graphics layer.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/TFrame8.h"
#include "platform/gfx/D3DXMath.h"

namespace mathcheck {

inline plat::D3DXVECTOR3 Vec(float x, float y, float z) { return plat::D3DXVECTOR3(x, y, z); }

inline plat::D3DXVECTOR3 Apply(const plat::D3DXMATRIX& m, const plat::D3DXVECTOR3& p) {
  plat::D3DXVECTOR3 out;
  return *plat::D3DXVec3TransformCoord(&out, &p, &m);
}

inline plat::D3DXVECTOR3 Row(const plat::D3DXMATRIX& m, int row) {
  return plat::D3DXVECTOR3(m.m[row][0], m.m[row][1], m.m[row][2]);
}

inline plat::D3DXMATRIX Translation(float x, float y, float z) {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixTranslation(&m, x, y, z);
}

inline plat::D3DXMATRIX RotationY(float angle) {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixRotationY(&m, angle);
}

inline plat::D3DXMATRIX Scaling(float x, float y, float z) {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixScaling(&m, x, y, z);
}

inline plat::D3DXMATRIX operator*(const plat::D3DXMATRIX& a, const plat::D3DXMATRIX& b) {
  plat::D3DXMATRIX m;
  return *plat::D3DXMatrixMultiply(&m, &a, &b);
}

inline ::testing::AssertionResult Near(const plat::D3DXVECTOR3& got, const plat::D3DXVECTOR3& want,
                                       float tolerance = 1e-5f) {
  if (std::abs(got.x - want.x) <= tolerance && std::abs(got.y - want.y) <= tolerance &&
      std::abs(got.z - want.z) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got.x << ", " << got.y << ", " << got.z << "), want ("
                                       << want.x << ", " << want.y << ", " << want.z << ")";
}

inline ::testing::AssertionResult Near(const plat::D3DXMATRIX& got, const plat::D3DXMATRIX& want,
                                       float tolerance = 1e-5f) {
  for (int i = 0; i < 16; ++i) {
    if (std::abs(got.m[i / 4][i % 4] - want.m[i / 4][i % 4]) > tolerance)
      return ::testing::AssertionFailure() << "entry " << i << ": got " << got.m[i / 4][i % 4] << ", want "
                                           << want.m[i / 4][i % 4];
  }
  return ::testing::AssertionSuccess();
}

inline bool SameBytes(const plat::D3DXMATRIX& a, const plat::D3DXMATRIX& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace mathcheck
