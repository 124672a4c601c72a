#include "game/effect/TShotEffect.h"

#include "common/TFrame8.h"
#include "common/my_error.h"

namespace {

// -1 stays endless; anything else below 1 is a head that has no frame left to fly.
int32_t UsableLifetime(int32_t frames) { return frames < TShotEffect::kEndless ? 0 : frames; }

}  // namespace

TShotEffect::TShotEffect(const std::string& asset, int32_t frames, int32_t count, uint8_t hide)
    : TEffect(TCountedPtr<TFrame8>()), lifetime(UsableLifetime(frames)), drain(count), hidden(hide) {
  if (count < 1) throw MY_ERROR("a shot of " + asset + " needs at least one bullet", __LINE__);
  SetFrame(CreateNamedFrame("ShotRoot", IdentityMatrix()));
}

TShotEffect::TShotEffect(const TShotEffect& other)
    : TEffect(other), lifetime(other.lifetime), drain(other.drain), ended(other.ended), hidden(other.hidden) {}

void TShotEffect::SetMotion(TMoverHolder& source) { motion = source; }

void TShotEffect::SetLifetime(int32_t frames) { lifetime = UsableLifetime(frames); }

void TShotEffect::AttachHit(const TCountedPtr<TEffectHitVolume>&) {}

void TShotEffect::TakeViews(TEffectStage* stage) {
  view1 = stage ? stage->GetSceneFrame() : nullptr;
  view2 = stage ? stage->GetRootFrame() : nullptr;
}

bool TShotEffect::Update() {
  // Nothing the movers do moves the shot's frame or the views, so their matrices hold for the
  // whole update.
  struct Taken {
    TFrameSpace8& space;
    ~Taken() { space.Forget(); }
  } taken{bulletSpace};
  if (GetFrame()) bulletSpace.Take(*GetFrame(), view1, view2);
  MoveTrail();
  if (lifetime == kEndless) {
    MoveHead();
    return IsAlive();
  }
  if (!ended) {
    MoveHead();
    if (lifetime > 0) --lifetime;
    // The hit volume is asked only while the lifetime has not run out.
    if (lifetime == 0 || !HeadMayFly()) {
      ended = 1;
      OnHeadEnded();
      HideHead();
    }
    return IsAlive();
  }
  if (drain > 0) --drain;
  if (drain == 0) {
    OnDrained();
    return false;
  }
  return IsAlive();
}

TShotEffect* AsShot(TEffect* effect) { return dynamic_cast<TShotEffect*>(effect); }
