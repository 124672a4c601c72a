#include "game/effect/AttackMovers.h"

#include <cmath>

#include "game/effect/EffectVectors.h"
#include "game/effect/TBullet.h"
#include "platform/gfx/D3DXAngles.h"

using effectmath::Cross;
using effectmath::Normalised;
using plat::D3DXVECTOR3;

namespace {

constexpr float kRadiansPerDegree = plat::D3DXToRadian(1.0f);

}  // namespace

TLineMover::TLineMover(const D3DXVECTOR3& start, const D3DXVECTOR3& direction, float speed, float acceleration)
    : TFallMover(speed, acceleration, start, direction) {}

void TLineMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

void TBezierTurningSeekMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

TShakeFollowMover::TShakeFollowMover(const TCountedPtr<TFrame8>& followed, const D3DXVECTOR3& axis,
                                     const D3DXVECTOR3& offset, const D3DXVECTOR3& jitterScale)
    : THoldingShakeMover(followed, axis, offset, jitterScale) {}

TBezierPlainMover::TBezierPlainMover(float stepSize, const D3DXVECTOR3& bend, const D3DXVECTOR3& start,
                                     const D3DXVECTOR3& end)
    : TBezierMover(stepSize, bend, start, end) {}

D3DXVECTOR3 ChordBendPoint(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& bend) {
  using namespace effectmath;
  const D3DXVECTOR3 up(0, 1, 0);
  const D3DXVECTOR3 f = Normalised(Minus(end, start));
  const D3DXVECTOR3 side = Cross(up, f);
  const D3DXVECTOR3 w = Normalised(side);
  const D3DXVECTOR3 v = Normalised(Cross(f, side));
  return Plus(Plus(Plus(start, Times(w, bend.x)), Times(v, bend.y)), Times(f, bend.z));
}

TBezierSeekMover::TBezierSeekMover(float stepSize, float homingStart, float heightOffset, const D3DXVECTOR3& bend,
                                   const D3DXVECTOR3& start, uint32_t targetId, TEffectStage* stage)
    : TBezierHomingMover(stepSize, homingStart, heightOffset, bend, start, targetId, stage) {
  points[1] = points[2] = ChordBendPoint(points[0], points[3], bend);
}

TOrbitMover::TOrbitMover(const D3DXVECTOR3& centrePoint, float startAngle, float startRadius, float degreesPerStep,
                         float growthPerStep, float radiusLimit, const D3DXVECTOR3& trailOffset)
    : centre(centrePoint),
      growth(growthPerStep),
      radius(startRadius),
      angularSpeed(degreesPerStep * kRadiansPerDegree),
      angle(startAngle),
      limit(radiusLimit),
      offset(trailOffset) {}

void TOrbitMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

D3DXVECTOR3 TOrbitMover::Advance() {
  angle += angularSpeed;
  radius += growth;
  if (radius > limit) radius = limit;
  return D3DXVECTOR3(std::sin(angle) * radius + centre.x, centre.y, std::cos(angle) * radius + centre.z);
}

void TOrbitMover::Step(TBullet& bullet, TFrame8*, TFrame8*) { bullet.GetFrame()->SetPosition(Advance()); }

TOrbitFollowMover::TOrbitFollowMover(const D3DXVECTOR3& centreOffset, float startAngle, float startRadius,
                                     float degreesPerStep, float growthPerStep, float radiusLimit,
                                     const TCountedPtr<TFrame8>& followedFrame, const D3DXVECTOR3& trailOffset)
    : TOrbitMover(centreOffset, startAngle, startRadius, degreesPerStep, growthPerStep, radiusLimit, trailOffset),
      followed(followedFrame) {}

void TOrbitFollowMover::Step(TBullet& bullet, TFrame8*, TFrame8*) {
  D3DXVECTOR3 at = Advance();
  if (followed) {
    D3DXVECTOR3 base;
    followed->GetWorldPosition(&base);
    at = effectmath::Plus(at, base);
  }
  bullet.GetFrame()->SetWorldPosition(at);
}

void TOrbitFollowMover::Follow(TBullet& bullet, const TBullet& ahead) {
  bullet.SetPosition(effectmath::Plus(ahead.GetPosition(), offset));
}
