#include "platform/gfx/D3DXMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace plat;

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kTol = 1e-5f;

D3DXVECTOR3 Coord(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 r;
  D3DXVec3TransformCoord(&r, &v, &m);
  return r;
}

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want, float tol = kTol) {
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
  EXPECT_NEAR(got.z, want.z, tol);
}

void ExpectNear(const D3DXMATRIX& got, const D3DXMATRIX& want, float tol = kTol) {
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) EXPECT_NEAR(got.m[i][j], want.m[i][j], tol) << "row " << i << " col " << j;
  }
}

D3DXMATRIX Mul(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  D3DXMATRIX r;
  D3DXMatrixMultiply(&r, &a, &b);
  return r;
}

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

D3DXMATRIX Scaling(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, x, y, z);
  return m;
}

D3DXMATRIX RotY(float a) {
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, a);
  return m;
}

D3DXMATRIX FromQuat(const D3DXQUATERNION& q) {
  D3DXMATRIX m;
  D3DXMatrixRotationQuaternion(&m, &q);
  return m;
}

D3DXQUATERNION QuatAxis(D3DXVECTOR3 axis, float angle) {
  D3DXQUATERNION q;
  D3DXQuaternionRotationAxis(&q, &axis, angle);
  return q;
}

TEST(D3DXMath, RotationsAreLeftHandedForRowVectors) {
  struct Case {
    D3DXMATRIX* (*rotate)(D3DXMATRIX*, float);
    D3DXVECTOR3 from, to;
  } cases[] = {
      {D3DXMatrixRotationY, {0, 0, 1}, {1, 0, 0}},
      {D3DXMatrixRotationY, {1, 0, 0}, {0, 0, -1}},
      {D3DXMatrixRotationX, {0, 1, 0}, {0, 0, 1}},
      {D3DXMatrixRotationZ, {1, 0, 0}, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    D3DXMATRIX m;
    c.rotate(&m, kPi / 2);
    ExpectNear(Coord(c.from, m), c.to);
  }
  // The y rotation written out: cos on the diagonal, -sin in _13.
  const D3DXMATRIX m = RotY(kPi / 6);
  EXPECT_NEAR(m._11, 0.8660254f, kTol);
  EXPECT_NEAR(m._13, -0.5f, kTol);
  EXPECT_NEAR(m._31, 0.5f, kTol);
  EXPECT_EQ(m._44, 1.0f);
}

TEST(D3DXMath, TranslationSitsInTheFourthRowAndProductsApplyTheLeftFactorFirst) {
  const D3DXMATRIX t = Translation(1, 2, 3);
  EXPECT_EQ(t._41, 1.0f);
  EXPECT_EQ(t._42, 2.0f);
  EXPECT_EQ(t._43, 3.0f);
  EXPECT_EQ(t._14, 0.0f);

  const D3DXMATRIX s = Scaling(2, 2, 2);
  // Scale, then move: (1,0,0) -> (2,0,0) -> (3,2,3).  Move, then scale: (2,2,3) -> (4,4,6).
  ExpectNear(Coord({1, 0, 0}, Mul(s, t)), {3, 2, 3});
  ExpectNear(Coord({1, 0, 0}, Mul(t, s)), {4, 4, 6});

  // The product may be written over either factor.
  D3DXMATRIX a = s;
  D3DXMatrixMultiply(&a, &a, &t);
  ExpectNear(a, Mul(s, t));

  D3DXVECTOR3 n;
  const D3DXVECTOR3 v(1, 0, 0);
  D3DXMATRIX st = Mul(s, t);
  D3DXVec3TransformNormal(&n, &v, &st);
  ExpectNear(n, {2, 0, 0});  // a direction does not move

  D3DXMATRIX id, tr;
  D3DXMatrixIdentity(&id);
  EXPECT_TRUE(D3DXMatrixIsIdentity(&id));
  EXPECT_FALSE(D3DXMatrixIsIdentity(&t));
  D3DXMatrixTranspose(&tr, &t);
  EXPECT_EQ(tr._14, 1.0f);
  EXPECT_EQ(tr._34, 3.0f);
}

TEST(D3DXMath, RotationAboutAnAxisNormalisesTheAxis) {
  // The falling rock's axis: up turned by -20 degrees about the right vector (x).
  D3DXMATRIX m;
  const D3DXVECTOR3 right(2, 0, 0);
  D3DXMatrixRotationAxis(&m, &right, -0.34906587f);
  ExpectNear(Coord({0, 1, 0}, m), {0, 0.9396926f, -0.3420201f});

  // About y it is the y rotation; about an oblique axis it turns x, y, z round in a cycle.
  const D3DXVECTOR3 y(0, 5, 0), diag(1, 1, 1);
  D3DXMatrixRotationAxis(&m, &y, 0.7f);
  ExpectNear(m, RotY(0.7f));
  D3DXMatrixRotationAxis(&m, &diag, 2 * kPi / 3);
  ExpectNear(Coord({1, 0, 0}, m), {0, 1, 0});
  ExpectNear(Coord({0, 1, 0}, m), {0, 0, 1});
}

TEST(D3DXMath, QuaternionsAgreeWithMatrices) {
  const D3DXVECTOR3 axes[] = {{0, 1, 0}, {1, 0, 0}, {0.3f, -0.5f, 0.8f}};
  const float angles[] = {0.4f, -1.3f, 2.9f};
  for (const D3DXVECTOR3& axis : axes) {
    for (float angle : angles) {
      D3DXMATRIX want;
      D3DXMatrixRotationAxis(&want, &axis, angle);
      const D3DXQUATERNION q = QuatAxis(axis, angle);
      ExpectNear(FromQuat(q), want);
      // Back from the matrix: the same rotation (q or -q).
      D3DXQUATERNION back;
      D3DXQuaternionRotationMatrix(&back, &want);
      ExpectNear(FromQuat(back), want);
    }
  }
  // Multiply keeps the matrix order: a first, then b.
  const D3DXQUATERNION a = QuatAxis({1, 0, 0}, 0.5f), b = QuatAxis({0, 1, 0}, 1.1f);
  D3DXQUATERNION ab;
  D3DXQuaternionMultiply(&ab, &a, &b);
  ExpectNear(FromQuat(ab), Mul(FromQuat(a), FromQuat(b)));
  // The conjugate of a unit quaternion undoes it.
  D3DXQUATERNION inv, none;
  D3DXQuaternionConjugate(&inv, &a);
  D3DXQuaternionMultiply(&none, &a, &inv);
  EXPECT_NEAR(none.w, 1.0f, kTol);
}

TEST(D3DXMath, InverseFailsOnlyWhenTheDeterminantIsZero) {
  D3DXMATRIX rot, tiny;
  const D3DXVECTOR3 axis(1, 2, 3);
  D3DXMatrixRotationAxis(&rot, &axis, 1.0f);
  tiny = Scaling(1e-3f, 1e-3f, 1e-3f);  // determinant 1e-9: small, not singular
  struct Case {
    D3DXMATRIX m;
    float det;
  } invertible[] = {
      {Mul(Scaling(2, 3, 4), Translation(1, 2, 3)), 24},
      {Mul(rot, Translation(-5, 0, 7)), 1},
      {tiny, 1e-9f},
  };
  for (const Case& c : invertible) {
    D3DXMATRIX inv, id;
    float det = 0;
    ASSERT_EQ(D3DXMatrixInverse(&inv, &det, &c.m), &inv);
    EXPECT_NEAR(det, c.det, c.det * 1e-5f);
    EXPECT_NEAR(D3DXMatrixDeterminant(&c.m), c.det, c.det * 1e-5f);
    D3DXMatrixIdentity(&id);
    ExpectNear(Mul(c.m, inv), id, 1e-4f);
  }
  // Hand-computed: the inverse of "scale by 2, then move by (1,2,3)" moves back, then halves.
  D3DXMATRIX inv;
  const D3DXMATRIX st = Mul(Scaling(2, 2, 2), Translation(1, 2, 3));
  D3DXMatrixInverse(&inv, nullptr, &st);
  ExpectNear(inv, Mul(Translation(-1, -2, -3), Scaling(0.5f, 0.5f, 0.5f)));

  D3DXMATRIX dup;  // the third row twice the first
  const float rows[16] = {1, 2, 3, 0, 0, 1, 4, 0, 2, 4, 6, 0, 5, 6, 0, 1};
  for (int i = 0; i < 16; ++i) dup.m[i / 4][i % 4] = rows[i];
  const D3DXMATRIX singular[] = {Scaling(1, 0, 1), dup, D3DXMATRIX{}};
  for (const D3DXMATRIX& m : singular) {
    D3DXMATRIX out = Translation(9, 9, 9);
    float det = 1;
    EXPECT_EQ(D3DXMatrixInverse(&out, &det, &m), nullptr);
    EXPECT_EQ(det, 0.0f);
    ExpectNear(out, Translation(9, 9, 9), 0);  // untouched
  }
}

TEST(D3DXMath, SlerpTakesTheShorterArc) {
  const D3DXQUATERNION id = QuatAxis({0, 1, 0}, 0);
  // 350 degrees about y is -10 degrees; its quaternion has w = cos 175 < 0.
  const D3DXQUATERNION far = QuatAxis({0, 1, 0}, 350 * kPi / 180);
  ASSERT_LT(far.w, 0);
  D3DXQUATERNION q;
  D3DXQuaternionSlerp(&q, &id, &far, 0.5f);
  ExpectNear(FromQuat(q), RotY(-5 * kPi / 180));

  // A quaternion and its negation are one rotation: halfway is the half angle, not a detour.
  D3DXQUATERNION neg = QuatAxis({0, 1, 0}, kPi / 2);
  neg = {-neg.x, -neg.y, -neg.z, -neg.w};
  D3DXQuaternionSlerp(&q, &id, &neg, 0.5f);
  ExpectNear(FromQuat(q), RotY(kPi / 4));

  // Ends and a point along an ordinary arc.
  const D3DXQUATERNION a = QuatAxis({1, 0, 0}, 0.2f), b = QuatAxis({1, 0, 0}, 1.4f);
  D3DXMATRIX want;
  D3DXQuaternionSlerp(&q, &a, &b, 0);
  ExpectNear(FromQuat(q), FromQuat(a));
  D3DXQuaternionSlerp(&q, &a, &b, 1);
  ExpectNear(FromQuat(q), FromQuat(b));
  D3DXQuaternionSlerp(&q, &a, &b, 0.25f);
  D3DXMatrixRotationX(&want, 0.5f);
  ExpectNear(FromQuat(q), want);
  // Nearly equal rotations still give a unit result.
  const D3DXQUATERNION c = QuatAxis({1, 0, 0}, 0.2001f);
  D3DXQuaternionSlerp(&q, &a, &c, 0.5f);
  EXPECT_NEAR(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w, 1.0f, kTol);
}

TEST(D3DXMath, VectorOperations) {
  D3DXVECTOR3 out(7, 7, 7);
  const D3DXVECTOR3 zero, v(3, 4, 0), x(1, 0, 0), y(0, 1, 0);
  D3DXVec3Normalize(&out, &zero);
  ExpectNear(out, {0, 0, 0}, 0);
  D3DXVec3Normalize(&out, &v);
  ExpectNear(out, {0.6f, 0.8f, 0});
  EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 5);
  EXPECT_FLOAT_EQ(D3DXVec3LengthSq(&v), 25);
  EXPECT_FLOAT_EQ(D3DXVec3Dot(&v, &x), 3);
  D3DXVec3Cross(&out, &x, &y);
  ExpectNear(out, {0, 0, 1}, 0);
  D3DXVec3Lerp(&out, &x, &v, 0.5f);
  ExpectNear(out, {2, 2, 0}, 0);
  D3DXVec3Subtract(&out, &v, &x);
  D3DXVec3Scale(&out, &out, 2);
  D3DXVec3Add(&out, &out, &y);
  ExpectNear(out, {4, 9, 0}, 0);

  D3DXVECTOR4 h;
  const D3DXVECTOR4 dir{1, 0, 0, 0};
  const D3DXMATRIX t = Translation(1, 2, 3);
  D3DXVec3Transform(&h, &x, &t);
  EXPECT_EQ(h.x, 2.0f);
  EXPECT_EQ(h.w, 1.0f);
  D3DXVec4Transform(&h, &dir, &t);
  EXPECT_EQ(h.x, 1.0f);
  EXPECT_EQ(h.y, 0.0f);
}

TEST(D3DXMath, ViewAndProjectionMatrices) {
  // 90 degrees, square, near 1, far 101: the near plane maps to depth 0 and the far one to 1,
  // and a point on the frustum's edge to x = y = 1 after the divide by w.
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, kPi / 2, 1, 1, 101);
  EXPECT_NEAR(p._11, 1, kTol);
  EXPECT_NEAR(p._33, 1.01f, kTol);
  EXPECT_EQ(p._34, 1.0f);
  EXPECT_NEAR(p._43, -1.01f, kTol);
  EXPECT_EQ(p._44, 0.0f);
  ExpectNear(Coord({1, 1, 1}, p), {1, 1, 0});
  ExpectNear(Coord({-101, 50.5f, 101}, p), {-1, 0.5f, 1});
  D3DXMatrixPerspectiveFovLH(&p, kPi / 2, 2, 1, 101);
  ExpectNear(Coord({2, 1, 1}, p), {1, 1, 0});

  D3DXMATRIX o;
  D3DXMatrixOrthoLH(&o, 640, 480, 0, 10);
  ExpectNear(Coord({320, -240, 10}, o), {1, -1, 1});

  // A camera at (0, 0, -5) looking at the origin sees it 5 ahead; one up and rotated yaw agree.
  D3DXMATRIX view;
  const D3DXVECTOR3 eye(0, 0, -5), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectNear(Coord({0, 0, 0}, view), {0, 0, 5});
  ExpectNear(Coord({1, 2, -5}, view), {1, 2, 0});

  D3DXMATRIX ypr, rz, rx;
  D3DXMatrixRotationYawPitchRoll(&ypr, 0.3f, 0.2f, 0.1f);
  D3DXMatrixRotationZ(&rz, 0.1f);
  D3DXMatrixRotationX(&rx, 0.2f);
  ExpectNear(ypr, Mul(Mul(rz, rx), RotY(0.3f)));  // roll, then pitch, then yaw
}

TEST(D3DXMath, FlexibleVertexFormatSizes) {
  struct Case {
    uint32_t fvf, size;
  } cases[] = {
      {0x142, 24},                       // position, diffuse, one pair: the meshes' format
      {0x002, 12},                       // position only
      {0x112, 32},                       // position, normal, one pair
      {0x044, 20},                       // transformed position, diffuse
      {0x1c4, 32},                       // transformed, diffuse, specular, one pair
      {0x00e | 0x020, 36},               // five blend weights and a point size
      {0x202 | (1u << 16) | (3u << 18), 28},  // two sets: three floats, then one
      {0x802 | (2u << 30), 12 + 7 * 8 + 16},  // eight sets, the last of four floats
      {0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(D3DXGetFVFVertexSize(c.fvf), c.size) << std::hex << c.fvf;
}

}  // namespace
