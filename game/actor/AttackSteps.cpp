#include "game/actor/AttackSteps.h"

#include "game/actor/TActor.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"

using plat::D3DXVECTOR3;
using namespace effectmath;

namespace attack {

D3DXVECTOR3 AlongOf(const TAttackContext& c, const Place& p) {
  return Times(TurnedAboutUp(c.at.front, p.angle), p.ahead);
}

D3DXVECTOR3 Where(const TAttackContext& c, const Place& p) {
  const D3DXVECTOR3& base = p.anchor == Anchor::kBody ? c.at.body : c.at.position;
  return Plus(Plus(Plus(base, AlongOf(c, p)), Times(c.at.right, p.right)), D3DXVECTOR3(0, p.up, 0));
}

namespace {

constexpr float kQuarterTurn = 1.5707964f;

D3DXVECTOR3 LookOf(const TAttackContext& c, const Step& step) {
  switch (step.look) {
    case Look::kFront: return c.at.front;
    case Look::kRight: return c.at.right;
    case Look::kUp: return D3DXVECTOR3(0, 1, 0);
    case Look::kAlong: return AlongOf(c, step.at);
    case Look::kRandomZ: return D3DXVECTOR3(0, 0, static_cast<float>(GenRand()));
    case Look::kRandom3: {
      const float g1 = static_cast<float>(GenRand());
      const float g2 = static_cast<float>(GenRand());
      const float g3 = static_cast<float>(GenRand());
      return D3DXVECTOR3(g3, g2, g1);
    }
    case Look::kAhead: break;
  }
  return D3DXVECTOR3(0, 0, 1);
}

void SpinFrame(const TAttackContext& c, Spin spin, TEffect* effect) {
  if (spin == Spin::kNone) return;
  TFrame8* frame = effect ? effect->GetFrame() : nullptr;
  const bool tilted = spin == Spin::kTiltedAboutUp || spin == Spin::kQuarterAboutR;
  if (tilted && frame) frame->RotateAxis(c.at.right, kQuarterTurn, true);
  if (spin == Spin::kQuarterAboutR) return;
  const float angle = static_cast<float>(GenRand());
  if (frame) frame->RotateAxis(D3DXVECTOR3(0, 1, 0), angle, true);
}

TCountedPtr<TEffect> RunStep(const TAttackContext& c, const Step& step, TEffect* previous) {
  const D3DXVECTOR3 look = LookOf(c, step);
  TCountedPtr<TEffect> effect = Spawn(c.actor, step.kind, Where(c, step.at), look, step.colour, Vec(step.scale));
  if (step.owner) Owner(c.actor, effect.Get());
  SpinFrame(c, step.spin, effect.Get());
  switch (step.hitOn) {
    case HitOn::kWorld: {
      const D3DXVECTOR3 at = Where(c, step.hitAt);
      Hit(c.actor, step.hitId, c.actor.GetSceneFrame(), &at);
      break;
    }
    case HitOn::kThisEffect: HitOnEffect(c.actor, effect.Get(), step.hitId); break;
    case HitOn::kPreviousEffect: HitOnEffect(c.actor, previous, step.hitId); break;
    case HitOn::kNone: break;
  }
  return effect;
}

}  // namespace

void RunEffects(const TAttackContext& c, const EffectsRow& row) {
  TCountedPtr<TEffect> previous;
  for (const Step& step : row.steps) previous = RunStep(c, step, previous.Get());
  if (row.flash) Flash(c.actor, c.at, row.flash);
  if (row.heal) Heal(c.actor, row.heal);
  if (row.shake) {
    TAttackInfo shake{};
    shake.shakeLevel = row.shake;
    c.actor.ShakeCamera(shake);
  }
  if (row.se) Se(c.actor, row.se);
}

}  // namespace attack
