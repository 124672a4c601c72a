#include "common/TFrameSpace8.h"

#include <cfloat>
#include <cmath>

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kAimAtView = 12;
// How far a frame's axes may stray from unit length and right angles and still count as rigid.
constexpr float kRigidTolerance = 1e-4f;

D3DXVECTOR3 Row(const D3DXMATRIX& m, int row) { return D3DXVECTOR3(m.m[row][0], m.m[row][1], m.m[row][2]); }
float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 out;
  return *plat::D3DXVec3Cross(&out, &a, &b);
}
// Normalises v; false when it comes out shorter than epsilon, as the frame's own aim decides.
bool Normalise(D3DXVECTOR3& v) {
  plat::D3DXVec3Normalize(&v, &v);
  return plat::D3DXVec3Length(&v) >= FLT_EPSILON;
}

}  // namespace

void TFrameSpace8::Take(const TFrame8& parent, const TFrame8* reference, const TFrame8* target) {
  parent_ = &parent;
  parent.GetWorldMatrix(&world_);
  invertible_ = plat::D3DXMatrixInverse(&inverse_, nullptr, &world_) != nullptr;
  reference_ = reference;
  target_ = target;
  D3DXMATRIX m;
  if (target) {
    const D3DXVECTOR3 origin = Row(*target->GetWorldMatrix(&m), 3);
    plat::D3DXVec3TransformCoord(&targetHere_, &origin, &inverse_);
  }
  if (reference) {
    const D3DXVECTOR3 up = Row(*reference->GetWorldMatrix(&m), 1);
    plat::D3DXVec3TransformNormal(&up_, &up, &inverse_);
    upUsable_ = Normalise(up_);
  }
}

D3DXVECTOR3 TFrameSpace8::WorldPosition(const TFrame8& frame) const {
  D3DXVECTOR3 p;
  if (!Serves(frame)) return *frame.GetWorldPosition(&p);
  const D3DXVECTOR3 local = Row(*frame.GetMatrix(), 3);
  return *plat::D3DXVec3TransformCoord(&p, &local, &world_);
}

void TFrameSpace8::SetWorldPosition(TFrame8& frame, const D3DXVECTOR3& point) const {
  if (!IsRigid(frame)) {
    frame.SetWorldPosition(point);
    return;
  }
  if (!invertible_) return;  // as the frame's own conversion fails
  D3DXVECTOR3 local;
  plat::D3DXVec3TransformCoord(&local, &point, &inverse_);
  frame.SetPosition(local);
}

bool TFrameSpace8::IsRigid(const TFrame8& frame) const {
  if (!Serves(frame)) return false;
  const D3DXMATRIX& m = *frame.GetMatrix();
  if (m._14 != 0 || m._24 != 0 || m._34 != 0 || m._44 != 1) return false;
  const D3DXVECTOR3 x = Row(m, 0), y = Row(m, 1), z = Row(m, 2);
  auto near = [](float value, float want) { return std::fabs(value - want) < kRigidTolerance; };
  return near(Dot(x, x), 1) && near(Dot(y, y), 1) && near(Dot(z, z), 1) && near(Dot(x, y), 0) &&
         near(Dot(y, z), 0) && near(Dot(z, x), 0) && Dot(Cross(x, y), z) > 0;
}

// The frame's aim of mode 12 worked in the parent's axes: for a rigid frame the turn it gives is
// the frame's own, whose rows it writes directly.
void TFrameSpace8::AimAtView(TFrame8& frame, const TFrame8* reference, const TFrame8* target) const {
  if (!reference || !target || reference != reference_ || target != target_ || !invertible_ || !IsRigid(frame)) {
    frame.Aim(reference, target, kAimAtView);
    return;
  }
  const D3DXVECTOR3 at = Row(*frame.GetMatrix(), 3);
  // A world point as seen from the frame, in the parent's axes.
  auto fromHere = [&](const D3DXVECTOR3& point) {
    D3DXVECTOR3 p;
    plat::D3DXVec3TransformCoord(&p, &point, &inverse_);
    return D3DXVECTOR3(p.x - at.x, p.y - at.y, p.z - at.z);
  };
  D3DXVECTOR3 z(targetHere_.x - at.x, targetHere_.y - at.y, targetHere_.z - at.z);
  if (!Normalise(z)) z = fromHere(D3DXVECTOR3(0, 0, 1));
  D3DXVECTOR3 y = upUsable_ ? up_ : fromHere(D3DXVECTOR3(0, 1, 0));
  // An up hint along the target line gives no basis: take a world side point instead.
  const float d = Dot(y, z);
  if (d >= 1 - FLT_EPSILON && d <= 1 + FLT_EPSILON) {
    y = fromHere(D3DXVECTOR3(1, 0, 0));
  } else if (d >= -1 - FLT_EPSILON && d <= -1 + FLT_EPSILON) {
    y = fromHere(D3DXVECTOR3(-1, 0, 0));
  }
  if (Dot(y, y) <= FLT_EPSILON) return;
  D3DXVECTOR3 x = Cross(y, z);
  if (!Normalise(x)) return;
  y = Cross(z, x);
  if (!Normalise(y)) return;
  D3DXMATRIX m = *frame.GetMatrix();
  const D3DXVECTOR3* rows[3] = {&x, &y, &z};
  for (int i = 0; i < 3; ++i) {
    m.m[i][0] = rows[i]->x;
    m.m[i][1] = rows[i]->y;
    m.m[i][2] = rows[i]->z;
  }
  frame.SetMatrix(m);
}
