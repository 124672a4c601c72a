#include "game/effect/FragmentEffect.h"

#include "game/effect/ActorServices.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/FieldServices.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kNone = -2;

}  // namespace

TPieceEffect::TPieceEffect(const std::string& meshName, int32_t sound, uint32_t limit, uint32_t step, float speed,
                           float fallGravity, float fadeStep, uint32_t pieceMode, uint8_t alphaLook, uint16_t attack,
                           const D3DXVECTOR3& offset, const D3DXVECTOR3& scale)
    : TSmashEffect(meshName, limit, step, speed, fallGravity, fadeStep, pieceMode, alphaLook, scale),
      soundId(sound),
      attackKind(attack),
      attackOffset(offset) {}

TPieceEffect::TPieceEffect(const TPieceEffect& other)
    : TSmashEffect(other), soundId(other.soundId), attackKind(other.attackKind), attackOffset(other.attackOffset) {}

std::unique_ptr<TEffect> TPieceEffect::Clone() const { return std::unique_ptr<TEffect>(new TPieceEffect(*this)); }

void TPieceEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                        TEffectStage* newStage, const plat::D3DCOLORVALUE& newColour) {
  TSmashEffect::Init(newId, position, lookAt, parent, newStage, newColour);
  if (frame) frame->SetColor(colour.r, colour.g, colour.b, colour.a, true, false);
}

bool TPieceEffect::Update() {
  RunState();
  TEffectActor* target = nullptr;
  if (state != State::kFall) {
    target = stage ? stage->FindActor(targetId) : nullptr;
    if (target) {
      if (frame) frame->SetPosition(target->GetPosition());
    } else if (targetId != kNone) {
      // The target has gone: the piece breaks and strikes at once.
      time = waitLimit;
      Break();
    }
  }
  if (done) return IsAlive();
  if (time < waitLimit) {
    if (targetId == kNone || !target || target->IsStunned()) return IsAlive();
    time = waitLimit;
    Break();
  }
  Strike();
  return IsAlive();
}

void TPieceEffect::Strike() {
  done = 1;
  TEffectActor* owner = stage ? stage->FindActor(ownerId) : nullptr;
  if (!owner) return;
  if (attackKind != 0) {
    D3DXVECTOR3 at;
    if (frame) frame->GetWorldPosition(&at);
    owner->CreateAttackHit(attackKind, owner->GetSceneFrame(), effectmath::Plus(at, attackOffset));
  }
  owner->PlaySe(soundId);
}
