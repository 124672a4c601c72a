#include "game/field/THitObject.h"

#include <algorithm>

#include "common/TFrame8.h"
#include "game/field/TFieldActor.h"
#include "game/field/TStageLinks.h"

using plat::D3DXVECTOR3;

namespace {

constexpr float kHalfTurn = 3.14159274f;
constexpr int32_t kAimKeepUp = 4;

THitVolumeValues OnceEach(THitVolumeValues values) {
  values.rehitInterval = -1;
  return values;
}

}  // namespace

TCountedPtr<THitObject> THitObject::Create(uint32_t ownerId, TFrame8& parent, const D3DXVECTOR3& position,
                                           const THitVolumeValues& values) {
  switch (values.volumeKind) {
    case 0:
      return TCountedPtr<THitObject>(new TTimedHit(ownerId, parent, position, values));
    case 1:
      return TCountedPtr<THitObject>(new TMultiHit(ownerId, parent, position, values));
    case 2:
      return TCountedPtr<THitObject>(new TTimedMultiHit(ownerId, parent, position, values));
    default:
      return TCountedPtr<THitObject>();
  }
}

THitObject::THitObject(uint32_t ownerId, TFrame8& parent, const D3DXVECTOR3& position,
                       const THitVolumeValues& values)
    : frame(CreateNamedFrame("Hit", IdentityMatrix())), ownerId(ownerId), values(values) {
  parent.AddChild(frame);
  frame->SetPosition(position);
}

// A volume let go without End (its owner destroyed) takes its frame out of the scene all the same.
THitObject::~THitObject() { frame->Detach(); }

bool THitObject::Update() {
  TickRehitList();
  return state != kEnded;
}

void THitObject::CancelByMask(uint32_t mask) {
  if (mask & values.cancelMask) End();
}

void THitObject::End() {
  state = kEnded;
  frame->Detach();
}

void THitObject::TickRehitList() {
  for (TRehitEntry& entry : rehitList) entry.framesLeft -= entry.step;
  std::erase_if(rehitList, [](const TRehitEntry& entry) { return entry.framesLeft == 0; });
}

bool THitObject::IsInRange(const TFieldActor& target) const {
  D3DXVECTOR3 centre = target.GetPosition();
  centre.y += target.GetBodyHeight();
  D3DXVECTOR3 own;
  frame->GetWorldPosition(&own);
  D3DXVECTOR3 d;
  plat::D3DXVec3Subtract(&d, &centre, &own);
  return plat::D3DXVec3Length(&d) < target.GetBodyHeight() + values.radius;
}

bool THitObject::IsInRehitList(uint32_t targetId) const {
  return std::any_of(rehitList.begin(), rehitList.end(),
                     [targetId](const TRehitEntry& entry) { return entry.targetId == targetId; });
}

bool THitObject::MayHit(const TFieldActor& target) const {
  return !target.IsInvulnerable() && !IsInRehitList(target.GetObjectId()) && IsInRange(target);
}

void THitObject::Hit(TFieldActor& target) { target.ReceiveHit(*this); }

void THitObject::Remember(uint32_t targetId, uint32_t step, uint32_t framesLeft) {
  rehitList.push_back({targetId, step, framesLeft});
}

bool THitObject::TurnVictim(TStageLinks* stage, TFrame8& victimFrame, const TFrame8* reference, bool useHitFrame) {
  const TFrame8* source = frame.Get();
  if (!useHitFrame && stage)
    if (TFieldActor* owner = stage->FindActor(ownerId)) source = owner->GetFrame();
  D3DXVECTOR3 relative;
  if (!source->GetPositionRelativeTo(&victimFrame, &relative)) return true;
  const bool behind = relative.z < 0;
  victimFrame.Aim(reference, source, kAimKeepUp);
  if (behind) victimFrame.RotateAxis(D3DXVECTOR3(0, 1, 0), kHalfTurn, true);
  return behind;
}

// --- kind 1 --------------------------------------------------------------------------------------

TMultiHit::TMultiHit(uint32_t ownerId, TFrame8& parent, const D3DXVECTOR3& position, const THitVolumeValues& values)
    : THitObject(ownerId, parent, position, values), hitsLeft(values.hitsLeft) {}

void TMultiHit::Test(TFieldActor& target) {
  if (hitsLeft == 0 || !MayHit(target)) return;
  --hitsLeft;
  Hit(target);
  hasHit = 1;
  const int32_t interval = values.rehitInterval;
  Remember(target.GetObjectId(), interval == -1 ? 0 : 1, static_cast<uint32_t>(interval));
}

bool TMultiHit::Update() {
  if (hitsLeft == 0) return false;
  return THitObject::Update();
}

// --- kind 2 --------------------------------------------------------------------------------------

TTimedMultiHit::TTimedMultiHit(uint32_t ownerId, TFrame8& parent, const D3DXVECTOR3& position,
                               const THitVolumeValues& values)
    : TMultiHit(ownerId, parent, position, values), framesLeft(values.framesLeft) {}

bool TTimedMultiHit::Update() {
  --framesLeft;
  if (framesLeft == 0 || hitsLeft == 0) return false;
  return THitObject::Update();
}

// --- kind 0 --------------------------------------------------------------------------------------

TTimedHit::TTimedHit(uint32_t ownerId, TFrame8& parent, const D3DXVECTOR3& position, const THitVolumeValues& values)
    : THitObject(ownerId, parent, position, OnceEach(values)), framesLeft(values.framesLeft) {}

void TTimedHit::Test(TFieldActor& target) {
  if (!MayHit(target)) return;
  Hit(target);
  Remember(target.GetObjectId(), 0, static_cast<uint32_t>(-1));
}

bool TTimedHit::Update() {
  --framesLeft;
  if (framesLeft == 0) return false;
  return THitObject::Update();
}
