#include "game/effect/TBezierMover.h"

#include "game/effect/ActorServices.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TBullet.h"

using effectmath::Cross;
using effectmath::Normalised;
using plat::D3DXVECTOR3;

namespace {

constexpr float kHealAbove = 0.98f;

D3DXVECTOR3 Raised(const D3DXVECTOR3& p, float height) { return D3DXVECTOR3(p.x, p.y + height, p.z); }

}  // namespace

D3DXVECTOR3 BendPoint(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& bend) {
  const D3DXVECTOR3 up(0, 1, 0);
  const D3DXVECTOR3 d = Normalised(D3DXVECTOR3(end.x - start.x, end.y - start.y, end.z - start.z));
  const D3DXVECTOR3 side = Normalised(Cross(up, d));
  const D3DXVECTOR3 forward = Normalised(Cross(side, up));
  return D3DXVECTOR3(start.x + side.x * bend.x + forward.x * bend.z, start.y + side.y * bend.x + bend.y + forward.y * bend.z,
                     start.z + side.z * bend.x + forward.z * bend.z);
}

TBezierMover::TBezierMover(float stepSize, const D3DXVECTOR3& bend, const D3DXVECTOR3& start, const D3DXVECTOR3& end)
    : step(stepSize) {
  points[0] = start;
  SetEnd(end, bend);
}

void TBezierMover::SetEnd(const D3DXVECTOR3& end, const D3DXVECTOR3& bend) {
  points[3] = end;
  points[1] = points[2] = BendPoint(points[0], end, bend);
}

D3DXVECTOR3 TBezierMover::PointAt(float u) const {
  const float c = u * u * u;
  const float b = u * u - c;
  const float a = u - 2 * b - c;
  const float d = 1 - u - 2 * a - b;
  const float w[4] = {d, 3 * a, 3 * b, c};
  D3DXVECTOR3 p(0, 0, 0);
  for (int i = 0; i < 4; ++i) {
    p.x += w[i] * points[i].x;
    p.y += w[i] * points[i].y;
    p.z += w[i] * points[i].z;
  }
  return p;
}

void TBezierMover::Step(TBullet& bullet, TFrame8*, TFrame8*) {
  t += step;
  bullet.GetFrame()->SetPosition(PointAt(t));
}

TBezierPathMover::TBezierPathMover(float stepSize, const D3DXVECTOR3& bend, const D3DXVECTOR3& start,
                                   const D3DXVECTOR3& end)
    : TBezierMover(stepSize, bend, start, end) {}

void TBezierPathMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

TBezierHomingMover::TBezierHomingMover(float stepSize, float limit, float offset, const D3DXVECTOR3& bend,
                                       const D3DXVECTOR3& start, uint32_t target, TEffectStage* onStage)
    : TBezierMover(stepSize, bend, start, D3DXVECTOR3(0, 0, 0)),
      stage(onStage),
      targetId(target),
      homingLimit(limit),
      heightOffset(offset) {
  const TEffectActor* found = FindTarget();
  SetEnd(found ? Raised(found->GetPosition(), found->GetHeight()) : start, bend);
}

TEffectActor* TBezierHomingMover::FindTarget() const {
  return stage ? stage->FindActor(static_cast<int32_t>(targetId)) : nullptr;
}

void TBezierHomingMover::Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) { bullet.FaceView(view1, view2); }

void TBezierHomingMover::Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) {
  if (t < homingLimit) {
    if (const TEffectActor* found = FindTarget()) points[3] = Raised(found->GetPosition(), heightOffset);
  }
  TBezierMover::Step(bullet, view1, view2);
}

TBezierHealMover::TBezierHealMover(float stepSize, float limit, float offset, const D3DXVECTOR3& bend,
                                   const D3DXVECTOR3& start, uint32_t target, TEffectStage* onStage, uint32_t amount)
    : TBezierHomingMover(stepSize, limit, offset, bend, start, target, onStage), healAmount(amount) {}

void TBezierHealMover::Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) {
  TBezierHomingMover::Step(bullet, view1, view2);
  if (t > kHealAbove) {
    if (TEffectActor* found = FindTarget()) found->RecoverHp(static_cast<int32_t>(healAmount));
  }
}
