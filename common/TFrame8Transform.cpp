// Moving, turning and aiming frames, and converting between a frame's space and the world.
#include <cfloat>

#include "common/TFrame8.h"

using namespace plat;

namespace {

constexpr float kEpsilon = FLT_EPSILON;

D3DXVECTOR3 Row(const D3DXMATRIX& m, int32_t row) {
  return D3DXVECTOR3(m.m[row][0], m.m[row][1], m.m[row][2]);
}

bool IsAxis(int32_t axis) { return axis >= 1 && axis <= 3; }

// Normalises v; false when it comes out shorter than epsilon (a zero or unusable direction).
bool Normalise(D3DXVECTOR3& v) {
  D3DXVec3Normalize(&v, &v);
  return D3DXVec3Length(&v) >= kEpsilon;
}

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 out;
  return *D3DXVec3Cross(&out, &a, &b);
}

D3DXVECTOR3 Negated(const D3DXVECTOR3& v) { return D3DXVECTOR3(-v.x, -v.y, -v.z); }

void ClearTranslation(D3DXMATRIX& m) { m._41 = m._42 = m._43 = 0; }

// The frame's world matrix in the space of the given inverse world matrix, as GetRelativeMatrix
// gives it; false when that space is singular (null).
bool RelativeMatrix(const TFrame8& frame, const D3DXMATRIX* inverse, D3DXMATRIX* out) {
  if (!inverse) return false;
  D3DXMATRIX world;
  frame.GetWorldMatrix(&world);
  D3DXMatrixMultiply(out, &world, inverse);
  return true;
}

// A world point in the space of the given inverse world matrix, as WorldToLocal gives it.
bool ToLocal(const D3DXMATRIX* inverse, D3DXVECTOR3& out, const D3DXVECTOR3& point) {
  if (!inverse) return false;
  D3DXVec3TransformCoord(&out, &point, inverse);
  return true;
}

}  // namespace

// --- moving --------------------------------------------------------------------------------------

void TFrame8::MultiplyMatrix(const D3DXMATRIX& m, bool pre) {
  if (pre) {
    D3DXMatrixMultiply(&local, &m, &local);
  } else {
    D3DXMatrixMultiply(&local, &local, &m);
  }
}

void TFrame8::Translate(float x, float y, float z, bool pre) {
  D3DXMATRIX t;
  MultiplyMatrix(*D3DXMatrixTranslation(&t, x, y, z), pre);
}

void TFrame8::RotateAxis(const D3DXVECTOR3& axis, float angle, bool pre) {
  D3DXMATRIX r;
  MultiplyMatrix(*D3DXMatrixRotationAxis(&r, &axis, angle), pre);
}

void TFrame8::Scale(float x, float y, float z, bool pre) {
  D3DXMATRIX s;
  MultiplyMatrix(*D3DXMatrixScaling(&s, x, y, z), pre);
}

D3DXVECTOR3* TFrame8::GetPosition(D3DXVECTOR3* out) const {
  *out = Row(local, 3);
  return out;
}

void TFrame8::SetPosition(const D3DXVECTOR3& v) { SetPositionXYZ(v.x, v.y, v.z); }

void TFrame8::SetPositionXYZ(float x, float y, float z) {
  local._41 = x;
  local._42 = y;
  local._43 = z;
}

void TFrame8::AddPosition(float x, float y, float z) {
  local._41 += x;
  local._42 += y;
  local._43 += z;
}

D3DXVECTOR3* TFrame8::GetAxis(D3DXVECTOR3* out, int32_t axis) const {
  *out = IsAxis(axis) ? Row(local, axis - 1) : D3DXVECTOR3(0, 0, 0);
  return out;
}

D3DXVECTOR3* TFrame8::GetWorldAxis(D3DXVECTOR3* out, int32_t axis) const {
  D3DXMATRIX world;
  GetWorldMatrix(&world);
  *out = IsAxis(axis) ? Row(world, axis - 1) : D3DXVECTOR3(0, 0, 0);
  return out;
}

D3DXVECTOR3* TFrame8::GetWorldPosition(D3DXVECTOR3* out) const {
  D3DXMATRIX world;
  GetWorldMatrix(&world);
  *out = Row(world, 3);
  return out;
}

// --- spaces --------------------------------------------------------------------------------------

bool TFrame8::GetInverseWorldMatrix(D3DXMATRIX* out, bool withTranslation) const {
  D3DXMATRIX world;
  GetWorldMatrix(&world);
  if (!withTranslation) ClearTranslation(world);
  if (D3DXMatrixInverse(out, nullptr, &world)) return true;
  D3DXMatrixIdentity(out);
  return false;
}

bool TFrame8::GetRelativeMatrix(const TFrame8* other, D3DXMATRIX* out) const {
  D3DXMATRIX world;
  GetWorldMatrix(&world);
  if (!other) {
    *out = world;
    return true;
  }
  D3DXMATRIX inverse;
  if (!other->GetInverseWorldMatrix(&inverse, true)) return false;
  D3DXMatrixMultiply(out, &world, &inverse);
  return true;
}

bool TFrame8::GetPositionRelativeTo(const TFrame8* other, D3DXVECTOR3* out) const {
  D3DXMATRIX m;
  if (!GetRelativeMatrix(other, &m)) return false;
  *out = Row(m, 3);
  return true;
}

bool TFrame8::GetAxisRelativeTo(const TFrame8* other, D3DXVECTOR3* out, int32_t axis) const {
  D3DXMATRIX m;
  if (!GetRelativeMatrix(other, &m)) return false;
  if (IsAxis(axis)) *out = Row(m, axis - 1);
  return true;
}

bool TFrame8::WorldToLocal(D3DXVECTOR3* out, const D3DXVECTOR3& point, bool withTranslation) const {
  D3DXMATRIX inverse;
  if (!GetInverseWorldMatrix(&inverse, withTranslation)) return false;
  D3DXVec3TransformCoord(out, &point, &inverse);
  return true;
}

bool TFrame8::SetPositionRelativeTo(const TFrame8* other, const D3DXVECTOR3& point) {
  D3DXVECTOR3 p = point;
  if (other) {
    D3DXMATRIX world;
    other->GetWorldMatrix(&world);
    D3DXVec3TransformCoord(&p, &point, &world);
  }
  D3DXVECTOR3 q;
  if (!WorldToLocal(&q, p, true)) return false;
  Translate(q.x, q.y, q.z, true);
  return true;
}

bool TFrame8::SetWorldPosition(const D3DXVECTOR3& point) { return SetPositionRelativeTo(nullptr, point); }

// --- turning -------------------------------------------------------------------------------------

void TFrame8::ApplyRows(const D3DXVECTOR3& x, const D3DXVECTOR3& y, const D3DXVECTOR3& z) {
  D3DXMATRIX r;
  D3DXMatrixIdentity(&r);
  const D3DXVECTOR3* rows[3] = {&x, &y, &z};
  for (int i = 0; i < 3; ++i) {
    r.m[i][0] = rows[i]->x;
    r.m[i][1] = rows[i]->y;
    r.m[i][2] = rows[i]->z;
  }
  MultiplyMatrix(r, true);
}

// Forward and up are unit vectors in the frame's own space.
bool TFrame8::ApplyBasis(const D3DXVECTOR3& forward, const D3DXVECTOR3& up) {
  D3DXVECTOR3 x = Cross(up, forward);
  if (!Normalise(x)) return false;
  D3DXVECTOR3 y = Cross(forward, x);
  if (!Normalise(y)) return false;
  ApplyRows(x, y, forward);
  return true;
}

bool TFrame8::LookAt(const D3DXVECTOR3& direction, const D3DXVECTOR3& up) {
  return LookAtRelativeTo(nullptr, direction, up);
}

bool TFrame8::LookAtRelativeTo(const TFrame8* reference, const D3DXVECTOR3& direction, const D3DXVECTOR3& up) {
  D3DXVECTOR3 f = direction, u = up;
  if (reference) {
    D3DXMATRIX turn;
    reference->GetWorldMatrix(&turn);
    ClearTranslation(turn);
    D3DXVec3TransformCoord(&f, &direction, &turn);
    D3DXVec3TransformCoord(&u, &up, &turn);
  }
  D3DXMATRIX inverse;
  if (!GetInverseWorldMatrix(&inverse, false)) return false;
  D3DXVec3TransformCoord(&u, &u, &inverse);
  D3DXVec3TransformCoord(&f, &f, &inverse);
  if (!Normalise(u) || !Normalise(f)) return false;
  return ApplyBasis(f, u);
}

bool TFrame8::Aim(const TFrame8* reference, const TFrame8* target, int32_t mode) {
  if (!target) return false;
  if (mode == 8) {
    D3DXVECTOR3 p;
    if (!GetPositionRelativeTo(target, &p)) return false;
    return LookAtRelativeTo(reference, D3DXVECTOR3(0, 0, p.z < 0 ? 1.0f : -1.0f), D3DXVECTOR3(0, 1, 0));
  }
  D3DXMATRIX inverse;
  const D3DXMATRIX* space = GetInverseWorldMatrix(&inverse, true) ? &inverse : nullptr;
  D3DXVECTOR3 z;
  D3DXMATRIX m;
  const bool found = RelativeMatrix(*target, space, &m);
  if (found) z = Row(m, 3);
  return AimAlong(reference, found, z, mode, space);
}

bool TFrame8::AimAtPoint(const TFrame8* reference, const D3DXVECTOR3& point, int32_t mode) {
  if (mode == 8) {
    D3DXVECTOR3 own;
    GetWorldPosition(&own);
    return LookAtRelativeTo(reference, D3DXVECTOR3(0, 0, point.z > own.z ? 1.0f : -1.0f), D3DXVECTOR3(0, 1, 0));
  }
  D3DXMATRIX inverse;
  const D3DXMATRIX* space = GetInverseWorldMatrix(&inverse, true) ? &inverse : nullptr;
  D3DXVECTOR3 z;
  const bool found = ToLocal(space, z, point);
  return AimAlong(reference, found, z, mode, space);
}

// z is the target in this frame's space when haveTarget is true. The frame does not move until the
// end, so its inverse world matrix serves every conversion.
bool TFrame8::AimAlong(const TFrame8* reference, bool haveTarget, D3DXVECTOR3 z, int32_t mode,
                       const D3DXMATRIX* inverse) {
  const bool keepX = (mode & 1) != 0;
  if (!reference || !(keepX || mode == 4 || mode == 12)) return false;
  // Fallbacks name world points, taken into this frame's space as points.
  auto worldPoint = [inverse](D3DXVECTOR3& out, float x, float y, float zz) {
    return ToLocal(inverse, out, D3DXVECTOR3(x, y, zz));
  };
  if (!haveTarget || !Normalise(z)) {
    if (!worldPoint(z, 0, 0, 1)) return false;
  }

  D3DXVECTOR3 x, y;
  if (keepX) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    const bool related = RelativeMatrix(*reference, inverse, &m);
    x = Row(m, 0);
    if (!related || !Normalise(x)) {
      if (!worldPoint(x, 1, 0, 0)) return false;
    }
    y = Cross(z, x);
    if (!Normalise(y)) return false;
    z = Cross(x, y);
    if (!Normalise(z)) return false;
    D3DXVECTOR3 referenceZ = Row(m, 2);
    D3DXVec3Normalize(&referenceZ, &referenceZ);
    if (mode == 3 && D3DXVec3Dot(&z, &referenceZ) < 0) {  // roll by pi to stay on the reference's side
      x = Negated(x);
      y = Negated(y);
    }
  } else {
    y = D3DXVECTOR3(0, 1, 0);
    D3DXMATRIX m;
    const bool related = RelativeMatrix(*reference, inverse, &m);
    if (related) y = Row(m, 1);
    const bool usable = related && Normalise(y);
    // Mode 12 keeps (0, 1, 0) when the reference cannot be related at all.
    if (!usable && (related || mode == 4)) {
      if (!worldPoint(y, 0, 1, 0)) return false;
    }
    if (mode == 4) {
      x = Cross(y, z);
      if (!Normalise(x)) return false;
      z = Cross(x, y);
      if (!Normalise(z)) return false;
    } else {
      // An up hint along the target line gives no basis: take a world side point instead.
      const float d = D3DXVec3Dot(&y, &z);
      if (d >= 1 - kEpsilon && d <= 1 + kEpsilon) {
        if (!worldPoint(y, 1, 0, 0)) return false;
      } else if (d >= -1 - kEpsilon && d <= -1 + kEpsilon) {
        if (!worldPoint(y, -1, 0, 0)) return false;
      }
      if (D3DXVec3LengthSq(&y) <= kEpsilon) return false;
      x = Cross(y, z);
      if (!Normalise(x)) return false;
      y = Cross(z, x);
      if (!Normalise(y)) return false;
    }
  }
  ApplyRows(x, y, z);
  return true;
}
