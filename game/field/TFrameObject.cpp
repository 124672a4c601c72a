#include "game/field/TFrameObject.h"

#include "game/field/ObjectIds.h"
#include "platform/gfx/D3DXAngles.h"

using plat::D3DXVECTOR3;

namespace {

const D3DXVECTOR3 kUp(0, 1, 0);
constexpr float kHalfTurn = 3.14159265f;
constexpr float kTurnPerOffset = -10.0f * plat::D3DXToRadian(1.0f);  // radians per unit of sideways offset

D3DXVECTOR3 NegatedUnitAxis(const TFrame8& frame, int32_t axis) {
  D3DXVECTOR3 v;
  frame.GetAxis(&v, axis);
  plat::D3DXVec3Normalize(&v, &v);
  return D3DXVECTOR3(-v.x, -v.y, -v.z);
}

}  // namespace

TFrameObject::TFrameObject(uint32_t kind) : kind(kind), objectId(AllocateObjectId()) {}

TFrameObject::~TFrameObject() { FreeObjectId(objectId); }

D3DXVECTOR3 TFrameObject::GetPosition() const {
  D3DXVECTOR3 p;
  frame->GetPosition(&p);
  return p;
}

void TFrameObject::SetPosition(const D3DXVECTOR3& position) { frame->SetPosition(position); }

void TFrameObject::Move(float dx, float dy, float dz) { frame->AddPosition(dx, dy, dz); }

D3DXVECTOR3 TFrameObject::GetFront() const { return NegatedUnitAxis(*frame, 3); }

D3DXVECTOR3 TFrameObject::GetRight() const { return NegatedUnitAxis(*frame, 1); }

void TFrameObject::FaceObject(const TFrameObject* target, const TFrame8* reference, int32_t mode) {
  if (target) FaceFrame(target->GetFrame(), reference, mode);
}

// The half turn belongs to a successful aim only: without one it would just flip the object.
void TFrameObject::FaceFrame(const TFrame8* target, const TFrame8* reference, int32_t mode) {
  if (frame->Aim(reference ? reference : sceneFrame, target, mode)) frame->RotateAxis(kUp, kHalfTurn, true);
}

void TFrameObject::TurnTowardObject(const TFrameObject* target) {
  if (target) TurnToward(target->GetFrame());
}

void TFrameObject::TurnToward(const TFrame8* target) {
  if (!target) return;
  bool left = false;
  float offset = 0;
  if (!TargetSide(target, left, offset)) return FaceFrame(target, sceneFrame, 4);
  frame->RotateAxis(kUp, offset * kTurnPerOffset, true);
  bool leftAfter = false;
  if (!TargetSide(target, leftAfter, offset) || leftAfter != left) FaceFrame(target, sceneFrame, 4);
}

bool TFrameObject::TargetSide(const TFrame8* target, bool& left, float& offset) const {
  D3DXVECTOR3 t;
  if (!target->GetPositionRelativeTo(frame.Get(), &t)) return false;
  offset = t.x;
  left = t.x <= 0;
  return true;
}
