#include "game/effect/TEffectMover.h"

#include "game/effect/MtRandomState.h"
#include "game/effect/TBullet.h"

using plat::D3DXVECTOR3;

namespace {

D3DXVECTOR3 Plus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return D3DXVECTOR3(a.x + b.x, a.y + b.y, a.z + b.z); }

}  // namespace

TEffectMover::~TEffectMover() = default;

void TEffectMover::Follow(TBullet& bullet, const TBullet& ahead) { bullet.SetPosition(ahead.GetPosition()); }

TMoverHolder::~TMoverHolder() {
  if (owns) delete mover;
}

TMoverHolder& TMoverHolder::operator=(TMoverHolder& source) {
  if (&source == this) return *this;
  if (source.mover != mover) {
    if (owns) delete mover;
    owns = source.owns;
  } else if (source.owns) {
    owns = true;
  }
  source.owns = false;
  mover = source.mover;
  return *this;
}

int32_t DrawJitter() { return static_cast<int32_t>((GenRand() >> 1) & 127) - 64; }

TFallMover::TFallMover(float startSpeed, float accel, const D3DXVECTOR3& start, const D3DXVECTOR3& along)
    : speed(startSpeed), acceleration(accel), position(start) {
  plat::D3DXVec3Normalize(&direction, &along);
}

void TFallMover::Step(TBullet& bullet, TFrame8*, TFrame8*) {
  speed += acceleration;
  position = D3DXVECTOR3(position.x - direction.x * speed, position.y - direction.y * speed,
                         position.z - direction.z * speed);
  bullet.GetFrame()->SetPosition(position);
}

TSpinFollowMover::TSpinFollowMover(TFrame8* frame, const D3DXVECTOR3& at, const D3DXVECTOR3& trailOffset)
    : point(at), offset(trailOffset), reference(frame) {}

void TSpinFollowMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

void TSpinFollowMover::Step(TBullet& bullet, TFrame8*, TFrame8*) { PlaceAt(bullet, point); }

void TSpinFollowMover::Follow(TBullet& bullet, const TBullet& ahead) {
  bullet.SetPosition(Plus(ahead.GetPosition(), offset));
}

void TSpinFollowMover::PlaceAt(TBullet& bullet, const D3DXVECTOR3& at) const {
  bullet.GetFrame()->SetPositionRelativeTo(reference, at);
}

TShakeMover::TShakeMover(TFrame8* frame, const D3DXVECTOR3& at, const D3DXVECTOR3& trailOffset,
                         const D3DXVECTOR3& scale)
    : TSpinFollowMover(frame, at, trailOffset), jitterScale(scale) {}

void TShakeMover::Step(TBullet& bullet, TFrame8*, TFrame8*) {
  // One draw per axis, x first.
  const float jx = static_cast<float>(DrawJitter());
  const float jy = static_cast<float>(DrawJitter());
  const float jz = static_cast<float>(DrawJitter());
  PlaceAt(bullet, D3DXVECTOR3(point.x + jx / jitterScale.x, point.y + jy / jitterScale.y, point.z + jz / jitterScale.z));
}

THoldingShakeMover::THoldingShakeMover(const TCountedPtr<TFrame8>& frame, const D3DXVECTOR3& at,
                                       const D3DXVECTOR3& trailOffset, const D3DXVECTOR3& scale)
    : TShakeMover(frame.Get(), at, trailOffset, scale), held(frame) {}
