#include "platform/gfx/D3DXMath.h"

#include <cmath>

namespace plat {

namespace {

D3DXMATRIX Rows(float a11, float a12, float a13, float a14, float a21, float a22, float a23, float a24,
                float a31, float a32, float a33, float a34, float a41, float a42, float a43, float a44) {
  D3DXMATRIX r;
  const float v[16] = {a11, a12, a13, a14, a21, a22, a23, a24, a31, a32, a33, a34, a41, a42, a43, a44};
  for (int i = 0; i < 16; ++i) r.m[i / 4][i % 4] = v[i];
  return r;
}

// The rows (or columns) left when one of the four is taken out.
constexpr int kKept[4][3] = {{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}};

// Every cofactor of m, in double so that near-singular matrices keep their digits until the final
// division. Each 3x3 minor is expanded along its first row; the 2x2 determinants of its other two
// rows are shared by the minors that leave out the same row. Unrolled, as it runs several times per
// moving frame and tick.
void Cofactors(const D3DXMATRIX& m, double out[4][4]) {
#pragma GCC unroll 4
  for (int r = 0; r < 4; ++r) {
    const int top = kKept[r][0], r1 = kKept[r][1], r2 = kKept[r][2];
    double pair[4][4];  // [a][b], a < b: the columns a and b of rows r1 and r2
#pragma GCC unroll 4
    for (int a = 0; a < 4; ++a)
#pragma GCC unroll 4
      for (int b = a + 1; b < 4; ++b)
        pair[a][b] = static_cast<double>(m.m[r1][a]) * m.m[r2][b] - static_cast<double>(m.m[r1][b]) * m.m[r2][a];
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c) {
      const int c0 = kKept[c][0], c1 = kKept[c][1], c2 = kKept[c][2];
      const double minor = static_cast<double>(m.m[top][c0]) * pair[c1][c2] -
                           static_cast<double>(m.m[top][c1]) * pair[c0][c2] +
                           static_cast<double>(m.m[top][c2]) * pair[c0][c1];
      out[r][c] = (r + c) % 2 == 0 ? minor : -minor;
    }
  }
}

// Expanded along the first row.
double DeterminantOf(const D3DXMATRIX& m, const double cofactors[4][4]) {
  double d = 0;
  for (int j = 0; j < 4; ++j) d += m.m[0][j] * cofactors[0][j];
  return d;
}

float QuatDot(const D3DXQUATERNION& a, const D3DXQUATERNION& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

// (x, y, z, w) x M.
D3DXVECTOR4 RowTimes(float x, float y, float z, float w, const D3DXMATRIX& m) {
  D3DXVECTOR4 r;
  r.x = x * m._11 + y * m._21 + z * m._31 + w * m._41;
  r.y = x * m._12 + y * m._22 + z * m._32 + w * m._42;
  r.z = x * m._13 + y * m._23 + z * m._33 + w * m._43;
  r.w = x * m._14 + y * m._24 + z * m._34 + w * m._44;
  return r;
}

}  // namespace

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
  *out = Rows(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return out;
}

bool D3DXMatrixIsIdentity(const D3DXMATRIX* m) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      if (m->m[i][j] != (i == j ? 1.0f : 0.0f)) return false;
    }
  }
  return true;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
  D3DXMATRIX r;  // out may alias a or b
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      r.m[i][j] = a->m[i][0] * b->m[0][j] + a->m[i][1] * b->m[1][j] + a->m[i][2] * b->m[2][j] +
                  a->m[i][3] * b->m[3][j];
    }
  }
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m) {
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) r.m[i][j] = m->m[j][i];
  }
  *out = r;
  return out;
}

float D3DXMatrixDeterminant(const D3DXMATRIX* m) {
  double cofactors[4][4];
  Cofactors(*m, cofactors);
  return static_cast<float>(DeterminantOf(*m, cofactors));
}

D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m) {
  double cofactors[4][4];
  Cofactors(*m, cofactors);
  const double det = DeterminantOf(*m, cofactors);
  const float reported = static_cast<float>(det);
  if (determinant) *determinant = reported;
  // The reported value decides, so a caller that tests it for 0 agrees with this result.
  if (reported == 0.0f) return nullptr;
  D3DXMATRIX r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) r.m[i][j] = static_cast<float>(cofactors[j][i] / det);
  }
  *out = r;
  return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
  *out = Rows(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z) {
  *out = Rows(x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = Rows(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = Rows(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  *out = Rows(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationAxis(D3DXMATRIX* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  const float c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  const float x = n.x, y = n.y, z = n.z;
  // v' = v cos + (n x v) sin + n (n . v)(1 - cos), written for row vectors.
  *out = Rows(t * x * x + c, t * x * y + s * z, t * x * z - s * y, 0,  //
              t * x * y - s * z, t * y * y + c, t * y * z + s * x, 0,  //
              t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0,  //
              0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationQuaternion(D3DXMATRIX* out, const D3DXQUATERNION* q) {
  const float x = q->x, y = q->y, z = q->z, w = q->w;
  *out = Rows(1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w), 0,  //
              2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w), 0,  //
              2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y), 0,  //
              0, 0, 0, 1);
  return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
  // Roll about z first, then pitch about x, then yaw about y.
  D3DXMATRIX rz, rx, ry;
  D3DXMatrixRotationZ(&rz, roll);
  D3DXMatrixRotationX(&rx, pitch);
  D3DXMatrixRotationY(&ry, yaw);
  D3DXMatrixMultiply(out, &rz, &rx);
  return D3DXMatrixMultiply(out, out, &ry);
}

D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zn, float zf) {
  const float ys = 1.0f / std::tan(fovY / 2);
  const float xs = ys / aspect;
  const float q = zf / (zf - zn);
  *out = Rows(xs, 0, 0, 0, 0, ys, 0, 0, 0, 0, q, 1, 0, 0, -zn * q, 0);
  return out;
}

D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up) {
  D3DXVECTOR3 zaxis, xaxis, yaxis;
  D3DXVec3Subtract(&zaxis, at, eye);
  D3DXVec3Normalize(&zaxis, &zaxis);
  D3DXVec3Cross(&xaxis, up, &zaxis);
  D3DXVec3Normalize(&xaxis, &xaxis);
  D3DXVec3Cross(&yaxis, &zaxis, &xaxis);
  *out = Rows(xaxis.x, yaxis.x, zaxis.x, 0, xaxis.y, yaxis.y, zaxis.y, 0, xaxis.z, yaxis.z, zaxis.z, 0,
              -D3DXVec3Dot(&xaxis, eye), -D3DXVec3Dot(&yaxis, eye), -D3DXVec3Dot(&zaxis, eye), 1);
  return out;
}

D3DXMATRIX* D3DXMatrixOrthoLH(D3DXMATRIX* out, float w, float h, float zn, float zf) {
  *out = Rows(2 / w, 0, 0, 0, 0, 2 / h, 0, 0, 0, 0, 1 / (zf - zn), 0, 0, 0, zn / (zn - zf), 1);
  return out;
}

D3DXQUATERNION* D3DXQuaternionIdentity(D3DXQUATERNION* out) {
  *out = D3DXQUATERNION{0, 0, 0, 1};
  return out;
}

D3DXQUATERNION* D3DXQuaternionNormalize(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
  const float len = std::sqrt(QuatDot(*q, *q));
  if (len == 0) {
    *out = D3DXQUATERNION{0, 0, 0, 0};
  } else {
    *out = D3DXQUATERNION{q->x / len, q->y / len, q->z / len, q->w / len};
  }
  return out;
}

D3DXQUATERNION* D3DXQuaternionConjugate(D3DXQUATERNION* out, const D3DXQUATERNION* q) {
  *out = D3DXQUATERNION{-q->x, -q->y, -q->z, q->w};
  return out;
}

D3DXQUATERNION* D3DXQuaternionMultiply(D3DXQUATERNION* out, const D3DXQUATERNION* a,
                                       const D3DXQUATERNION* b) {
  // The rotation of a followed by that of b, as with matrices: the Hamilton product b a.
  const D3DXQUATERNION p = *b, q = *a;
  *out = D3DXQUATERNION{p.w * q.x + p.x * q.w + p.y * q.z - p.z * q.y,
                        p.w * q.y - p.x * q.z + p.y * q.w + p.z * q.x,
                        p.w * q.z + p.x * q.y - p.y * q.x + p.z * q.w,
                        p.w * q.w - p.x * q.x - p.y * q.y - p.z * q.z};
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationAxis(D3DXQUATERNION* out, const D3DXVECTOR3* axis, float angle) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, axis);
  const float s = std::sin(angle / 2);
  *out = D3DXQUATERNION{n.x * s, n.y * s, n.z * s, std::cos(angle / 2)};
  return out;
}

D3DXQUATERNION* D3DXQuaternionRotationMatrix(D3DXQUATERNION* out, const D3DXMATRIX* m) {
  // Solve for the largest component first so that its square root is well away from zero.
  const float trace = m->_11 + m->_22 + m->_33;
  D3DXQUATERNION q;
  if (trace > 0) {
    const float s = std::sqrt(trace + 1) * 2;  // 4w
    q = D3DXQUATERNION{(m->_23 - m->_32) / s, (m->_31 - m->_13) / s, (m->_12 - m->_21) / s, s / 4};
  } else if (m->_11 >= m->_22 && m->_11 >= m->_33) {
    const float s = std::sqrt(1 + m->_11 - m->_22 - m->_33) * 2;  // 4x
    q = D3DXQUATERNION{s / 4, (m->_12 + m->_21) / s, (m->_13 + m->_31) / s, (m->_23 - m->_32) / s};
  } else if (m->_22 >= m->_33) {
    const float s = std::sqrt(1 + m->_22 - m->_11 - m->_33) * 2;  // 4y
    q = D3DXQUATERNION{(m->_12 + m->_21) / s, s / 4, (m->_23 + m->_32) / s, (m->_31 - m->_13) / s};
  } else {
    const float s = std::sqrt(1 + m->_33 - m->_11 - m->_22) * 2;  // 4z
    q = D3DXQUATERNION{(m->_13 + m->_31) / s, (m->_23 + m->_32) / s, s / 4, (m->_12 - m->_21) / s};
  }
  *out = q;
  return out;
}

D3DXQUATERNION* D3DXQuaternionSlerp(D3DXQUATERNION* out, const D3DXQUATERNION* a, const D3DXQUATERNION* b,
                                    float t) {
  D3DXQUATERNION to = *b;
  float cosom = QuatDot(*a, to);
  if (cosom < 0) {  // q and -q are the same rotation; take the one on the shorter arc
    cosom = -cosom;
    to = D3DXQUATERNION{-to.x, -to.y, -to.z, -to.w};
  }
  float wa = 1 - t, wb = t;
  if (cosom < 0.9999f) {
    const float omega = std::acos(cosom);
    const float sinom = std::sin(omega);
    wa = std::sin((1 - t) * omega) / sinom;
    wb = std::sin(t * omega) / sinom;
  }
  *out = D3DXQUATERNION{wa * a->x + wb * to.x, wa * a->y + wb * to.y, wa * a->z + wb * to.z,
                        wa * a->w + wb * to.w};
  return out;
}

float D3DXVec3Length(const D3DXVECTOR3* v) { return std::sqrt(D3DXVec3LengthSq(v)); }

float D3DXVec3LengthSq(const D3DXVECTOR3* v) { return v->x * v->x + v->y * v->y + v->z * v->z; }

float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b) { return a->x * b->x + a->y * b->y + a->z * b->z; }

D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  *out = D3DXVECTOR3(a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x);
  return out;
}

D3DXVECTOR3* D3DXVec3Add(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  *out = D3DXVECTOR3(a->x + b->x, a->y + b->y, a->z + b->z);
  return out;
}

D3DXVECTOR3* D3DXVec3Subtract(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
  *out = D3DXVECTOR3(a->x - b->x, a->y - b->y, a->z - b->z);
  return out;
}

D3DXVECTOR3* D3DXVec3Scale(D3DXVECTOR3* out, const D3DXVECTOR3* v, float s) {
  *out = D3DXVECTOR3(v->x * s, v->y * s, v->z * s);
  return out;
}

D3DXVECTOR3* D3DXVec3Lerp(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b, float t) {
  *out = D3DXVECTOR3(a->x + t * (b->x - a->x), a->y + t * (b->y - a->y), a->z + t * (b->z - a->z));
  return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v) {
  const float len = D3DXVec3Length(v);
  if (len == 0) {
    *out = D3DXVECTOR3(0, 0, 0);
  } else {
    *out = D3DXVECTOR3(v->x / len, v->y / len, v->z / len);
  }
  return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 r = RowTimes(v->x, v->y, v->z, 1, *m);
  if (r.w == 0) {  // a point at infinity: keep the direction rather than make infinities
    *out = D3DXVECTOR3(r.x, r.y, r.z);
  } else {
    *out = D3DXVECTOR3(r.x / r.w, r.y / r.w, r.z / r.w);
  }
  return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  const D3DXVECTOR4 r = RowTimes(v->x, v->y, v->z, 0, *m);
  *out = D3DXVECTOR3(r.x, r.y, r.z);
  return out;
}

D3DXVECTOR4* D3DXVec3Transform(D3DXVECTOR4* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
  *out = RowTimes(v->x, v->y, v->z, 1, *m);
  return out;
}

D3DXVECTOR4* D3DXVec4Transform(D3DXVECTOR4* out, const D3DXVECTOR4* v, const D3DXMATRIX* m) {
  *out = RowTimes(v->x, v->y, v->z, v->w, *m);
  return out;
}

uint32_t D3DXGetFVFVertexSize(uint32_t fvf) {
  // Flexible-vertex-format bits: the position kind, then optional parts, then texture sets whose
  // float counts sit two bits apiece from bit 16 (0 -> 2, 1 -> 3, 2 -> 4, 3 -> 1).
  constexpr uint32_t kPositionMask = 0x00e, kNormal = 0x010, kPointSize = 0x020, kDiffuse = 0x040,
                     kSpecular = 0x080, kTexCountMask = 0xf00;
  constexpr uint32_t kTexCountShift = 8, kTexSizeShift = 16;
  uint32_t size = 0;
  switch (fvf & kPositionMask) {
    case 0x002: size = 12; break;  // xyz
    case 0x004: size = 16; break;  // xyz + rhw
    case 0x006: size = 16; break;  // xyz + 1 blend weight
    case 0x008: size = 20; break;
    case 0x00a: size = 24; break;
    case 0x00c: size = 28; break;
    case 0x00e: size = 32; break;  // xyz + 5 blend weights
    default: break;
  }
  if (fvf & kNormal) size += 12;
  if (fvf & kPointSize) size += 4;
  if (fvf & kDiffuse) size += 4;
  if (fvf & kSpecular) size += 4;
  uint32_t sets = (fvf & kTexCountMask) >> kTexCountShift;
  if (sets > 8) sets = 8;
  static constexpr uint32_t kFloats[4] = {2, 3, 4, 1};
  for (uint32_t i = 0; i < sets; ++i) size += 4 * kFloats[(fvf >> (kTexSizeShift + 2 * i)) & 3];
  return size;
}

}  // namespace plat
