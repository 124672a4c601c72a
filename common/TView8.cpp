#include "common/TView8.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "common/TFrame8.h"
#include "platform/gfx/D3DXAngles.h"

using namespace plat;

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDegree = plat::D3DXToRadian(1.0f);

D3DXVECTOR3 Row(const D3DXMATRIX& m, int row) { return D3DXVECTOR3(m.m[row][0], m.m[row][1], m.m[row][2]); }

// v turned about the axis by the angle.
D3DXVECTOR3 Turned(const D3DXVECTOR3& v, const D3DXVECTOR3& axis, float angle) {
  D3DXMATRIX r;
  D3DXMatrixRotationAxis(&r, &axis, angle);
  D3DXVECTOR4 out;
  D3DXVec3Transform(&out, &v, &r);
  return D3DXVECTOR3(out.x, out.y, out.z);
}

bool SameBytes(const D3DXMATRIX& a, const D3DXMATRIX& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TView8::TView8() : nearDistance(0), farDistance(FLT_MAX) {
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&camera);
  D3DXMatrixIdentity(&projection);
  D3DXMatrixIdentity(&viewProjection);
}

void TView8::SetProjection(float nearD, float farD, float fovDegrees, int32_t width, int32_t height) {
  nearDistance = nearD;
  farDistance = farD;
  fieldOfView = fovDegrees * kDegree;
  sideAngle = fieldOfView * static_cast<float>(height) / static_cast<float>(width);
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, fieldOfView, static_cast<float>(width) / static_cast<float>(height), nearD, farD);
  if (SameBytes(p, projection)) return;
  projection = p;
  Rebuild();
}

bool TView8::SetViewFromFrame(const TFrame8& frame) {
  frame.GetWorldMatrix(&camera);
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &camera)) return false;
  if (!SameBytes(inverse, view)) {
    view = inverse;
    Rebuild();
  }
  return true;
}

void TView8::SetMatrices(const D3DMATRIX& newView, const D3DMATRIX& newProjection) {
  view = newView;
  projection = newProjection;
  if (!D3DXMatrixInverse(&camera, nullptr, &view)) D3DXMatrixIdentity(&camera);
  Rebuild();
}

void TView8::Rebuild() {
  D3DXMatrixMultiply(&viewProjection, &view, &projection);
  const D3DXVECTOR3 r = Row(camera, 0), u = Row(camera, 1), f = Row(camera, 2);
  axis = f;
  upper = Turned(u, r, -sideAngle);
  lower = Turned(u, r, sideAngle + kPi);
  left = Turned(r, u, kPi - fieldOfView);
  right = Turned(r, u, fieldOfView);
}

float TView8::GetFarExtent() const {
  // The two points at depth far that lie at the field of view on either side of the axis.
  D3DXVECTOR3 ends[2];
  const float angles[2] = {fieldOfView, kPi - fieldOfView};
  for (int i = 0; i < 2; ++i) {
    D3DXMATRIX r;
    D3DXMatrixRotationY(&r, angles[i]);
    const D3DXVECTOR3 forward(0, 0, 1);
    D3DXVec3TransformNormal(&ends[i], &forward, &r);
    D3DXVec3Scale(&ends[i], &ends[i], farDistance / ends[i].z);
  }
  D3DXVECTOR3 d;
  D3DXVec3Subtract(&d, &ends[0], &ends[1]);
  return D3DXVec3Length(&d);
}

bool TView8::IsSphereVisible(const float sphere[4]) const {
  return IsSphereVisible(sphere[0], sphere[1], sphere[2], sphere[3]);
}

bool TView8::IsSphereVisible(float x, float y, float z, float radius) const {
  const D3DXVECTOR3 d(x - camera._41, y - camera._42, z - camera._43);
  const float depth = D3DXVec3Dot(&d, &axis);
  if (depth < nearDistance - radius || depth > farDistance + radius) return false;
  for (const D3DXVECTOR3* n : {&left, &right, &upper, &lower}) {
    if (D3DXVec3Dot(&d, n) > radius) return false;
  }
  return true;
}
