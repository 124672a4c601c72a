#include "game/effect/TChainModelEffect.h"

#include "game/effect/ActorServices.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TEffectManager.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kNoOwner = -2;
const plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};
const D3DXVECTOR3 kUnitScale(1, 1, 1);

}  // namespace

const TChainHook TChainModelEffect::kEdgeHook{{{1.0f, 4.0f}}, 504, 505, TChainHook::FollowUp::kCopyMatrix};
const TChainHook TChainModelEffect::kIceHook{
    {{1.0f, 1.5f}, {2.0f, 2.5f}, {3.0f, 3.5f}, {4.0f, 4.5f}}, 504, 504, TChainHook::FollowUp::kAlongForward};
const TChainHook TChainModelEffect::kFangHook{{{1.0f, 1.5f}}, 506, 506, TChainHook::FollowUp::kAlongForward};

TChainModelEffect::TChainModelEffect(const TModelLook& modelLook, const std::string& asset, const TModelTimes& times,
                                     const TChainHook& chainHook, TEffectKind followUp)
    : TModelEffect(modelLook, asset, times), followUpKind(followUp), hook(&chainHook) {}

TChainModelEffect::TChainModelEffect(const TChainModelEffect& other)
    : TModelEffect(other), followUpKind(other.followUpKind), hook(other.hook) {}

void TChainModelEffect::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                             TEffectStage* newStage, const plat::D3DCOLORVALUE& newColour) {
  TModelEffect::Init(newId, position, lookAt, parent, newStage, newColour);
  stage = newStage;
  manager = stage ? stage->GetEffectManager() : nullptr;
  soundLatch = 0;
}

void TChainModelEffect::OnTick() {
  TEffectActor* owner = stage ? stage->FindActor(ownerId) : nullptr;
  PlayWindowSound(owner);
  RunHookStep();
  if (!IsAlive()) SpawnFollowUp(owner);
}

void TChainModelEffect::PlayWindowSound(TEffectActor* owner) {
  bool inside = false;
  for (const TChainHook::Window& w : hook->windows) inside = inside || (w.from < time && time < w.to);
  if (!inside) {
    soundLatch = 0;
    return;
  }
  if (soundLatch) return;
  soundLatch = 1;
  if (owner) owner->PlaySe(hook->windowSound);
}

TCountedPtr<TEffect> TChainModelEffect::SpawnHere(TEffectKind kind, const D3DXVECTOR3& position,
                                                  const D3DXVECTOR3& lookAt) {
  TFrame8* parent = frame ? frame->GetParent() : nullptr;
  if (!manager || !parent) return TCountedPtr<TEffect>();
  return manager->Spawn(kind, position, lookAt, *parent, stage, kWhite, kUnitScale);
}

void TChainModelEffect::SpawnFollowUp(TEffectActor* owner) {
  if (frame) {
    D3DXVECTOR3 at;
    frame->GetWorldPosition(&at);
    const bool copyPose = hook->followUp == TChainHook::FollowUp::kCopyMatrix;
    const D3DXVECTOR3 lookAt = copyPose ? D3DXVECTOR3(0, 0, 1) : effectmath::WorldForward(*frame);
    TCountedPtr<TEffect> followUp = SpawnHere(followUpKind, at, lookAt);
    if (followUp) {
      followUp->SetOwnerId(owner ? ownerId : kNoOwner);
      if (copyPose && followUp->GetFrame()) followUp->GetFrame()->SetMatrix(*frame->GetMatrix());
      HandOver(*followUp);
    }
  }
  if (owner) owner->PlaySe(hook->deathSound);
}

void TChainModelEffect::RunHookStep() {}

void TChainModelEffect::HandOver(TEffect&) {}

TEdgeChainEffect::TEdgeChainEffect(const std::string& asset, TEffectKind followUp)
    : TChainModelEffect(kAlpha, asset, TModelTimes::InHold(20.0f, 3.0f, 29.0f, 0.4f), kEdgeHook, followUp) {}

std::unique_ptr<TEffect> TEdgeChainEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TEdgeChainEffect(*this));
}

TIceChainEffect::TIceChainEffect(const std::string& asset, TEffectKind followUp)
    : TChainModelEffect(kAdditive, asset, TModelTimes::InHold(2.0f, 0.2f, 5.0f, 0.2f), kIceHook, followUp) {}

TIceChainEffect::TIceChainEffect(const std::string& asset, TEffectKind followUp, int32_t)
    : TChainModelEffect(kAdditive, asset, TModelTimes::InHold(1.0f, 0.1f, 2.0f, 0.1f), kIceHook, followUp) {}

std::unique_ptr<TEffect> TIceChainEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TIceChainEffect(*this));
}

TFangChainEffect::TFangChainEffect(const std::string& asset, TEffectKind followUp)
    : TChainModelEffect(kAlpha, asset, TModelTimes::InHold(2.0f, 0.3f, 11.0f, 0.3f), kFangHook, followUp) {}

std::unique_ptr<TEffect> TFangChainEffect::Clone() const {
  return std::unique_ptr<TEffect>(new TFangChainEffect(*this));
}

void TFangChainEffect::AddPoint(const D3DXVECTOR3& position, float pointTime) {
  points.push_back(SpawnPoint{position, pointTime});
}

void TFangChainEffect::AddKey(TEffectKind kind, const D3DXVECTOR3& position, const D3DXVECTOR3& scale,
                              const plat::D3DCOLORVALUE& keyColour) {
  keys.push_back(TEffectKey{kind, position, scale, keyColour});
}

void TFangChainEffect::RunHookStep() {
  if (keyKind == -1 || nextPoint >= points.size() || !(points[nextPoint].time < time) || !frame) return;
  const SpawnPoint& point = points[nextPoint];
  SpawnHere(keyKind, effectmath::PointInFrameAxes(*frame, point.position), effectmath::WorldForward(*frame));
  ++nextPoint;
}

void TFangChainEffect::HandOver(TEffect& followUp) {
  for (const TEffectKey& key : keys) followUp.AddKey(key.kind, key.position, key.scale, key.colour);
}
