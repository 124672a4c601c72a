#include "game/actor/ActorAttack.h"

#include <new>

#include "game/actor/TActor.h"
#include "game/effect/AttackMovers.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TRelayShot.h"
#include "game/effect/TShotEffect.h"
#include "game/effect/TThunderEffect.h"
#include "game/field/THitObject.h"
#include "game/field/TStageLinks.h"

using plat::D3DXVECTOR3;
using namespace effectmath;

namespace {

constexpr float kHandHeight = 1.2f;
constexpr float kHandReach = 0.8f;

// The thunder bolt's parts.
constexpr TEffectKind kThunder = 121;
constexpr TEffectKind kSparkles = 122;
constexpr float kSparklesRise = 0.3f;

constexpr int32_t kLongestFall = 1 << 24;

// The ribbon's key kind (the spray its points leave), its points and its keys.
constexpr TEffectKind kRibbonKeyKind = 54;
struct TRibbonPoint {
  float time;
  float x, y, z;
};
constexpr TRibbonPoint kRibbonPoints[] = {
    {2, 0, 0.2f, 0.3f}, {4, -0.5f, 0.1f, 0}, {6, 0.5f, 0.2f, 0}, {8, 0, 0.3f, 0.5f}};
constexpr float kRibbonKeys[][3] = {{0, 1, 0.5f}, {0.5f, 0.5f, 0.3f}, {-0.3f, 0.7f, 0.2f}};

D3DXVECTOR3 Vec(const std::array<float, 3>& v) { return D3DXVECTOR3(v[0], v[1], v[2]); }

}  // namespace

TAttackPoints AttackPointsOf(const TActor& actor) {
  TAttackPoints at;
  at.position = actor.GetPosition();
  at.body = actor.GetBodyCenter();
  at.front = actor.GetFront();
  at.right = actor.GetRight();
  const D3DXVECTOR3 raised(0, kHandHeight * actor.GetBodyHeight(), 0);
  at.hand = Plus(Plus(at.position, raised), Times(at.front, kHandReach));
  return at;
}

namespace attack {

TEffectStage* EffectStageOf(const TActor& actor) {
  TStageLinks* stage = actor.GetStage();
  return stage ? stage->GetEffectStage() : nullptr;
}

TCountedPtr<TEffect> Spawn(const TActor& actor, TEffectKind kind, const D3DXVECTOR3& at, const D3DXVECTOR3& look,
                           const plat::D3DCOLORVALUE& colour, const D3DXVECTOR3& scale) {
  TFrame8* scene = actor.GetSceneFrame();
  if (!scene) return TCountedPtr<TEffect>();
  return SpawnUnder(actor, *scene, kind, at, look, colour, scale);
}

TCountedPtr<TEffect> SpawnUnder(const TActor& actor, TFrame8& parent, TEffectKind kind, const D3DXVECTOR3& at,
                                const D3DXVECTOR3& look, const plat::D3DCOLORVALUE& colour,
                                const D3DXVECTOR3& scale) {
  TEffectManager* manager = actor.GetEffectManager();
  if (!manager) return TCountedPtr<TEffect>();
  return manager->Spawn(kind, at, look, parent, EffectStageOf(actor), colour, scale);
}

TCountedPtr<TEffect> StickPiece(const TActor& actor, TFrame8& parent, const TFrameObject& target, TEffectKind kind,
                                float size, uint32_t wait) {
  constexpr float kBeforeTheMiddle = 0.1f;
  D3DXVECTOR3 at = target.GetPosition();
  at.z -= kBeforeTheMiddle;
  const float s = size * actor.GetBodyHeight();
  TCountedPtr<TEffect> piece = SpawnUnder(actor, parent, kind, at, actor.GetFront(), kWhite, D3DXVECTOR3(s, s, s));
  if (!piece) return piece;
  piece->SetTargetId(static_cast<int32_t>(target.GetObjectId()));
  piece->SetOwnerId(static_cast<int32_t>(actor.GetObjectId()));
  piece->SetWaitLimit(wait);
  return piece;
}

void Life(TEffect* effect, int32_t ticks) {
  if (TShotEffect* shot = AsShot(effect)) shot->SetLifetime(ticks);
}

void Mover(TEffect* effect, TEffectMover* mover) {
  TMoverHolder holder(mover);
  if (TShotEffect* shot = AsShot(effect)) shot->SetMotion(holder);
}

TCountedPtr<THitObject> Hit(TActor& actor, uint32_t hitId, TFrame8* frame, const D3DXVECTOR3* at) {
  if (!frame) return TCountedPtr<THitObject>();
  return actor.CreateAttackHit(hitId, frame, at);
}

void HitOnShot(TActor& actor, TEffect* effect, uint32_t hitId) {
  TShotEffect* shot = AsShot(effect);
  if (!shot) return;
  TCountedPtr<THitObject> volume = Hit(actor, hitId, shot->GetHeadFrame());
  if (volume) shot->AttachHit(volume);
}

TCountedPtr<THitObject> HitOnEffect(TActor& actor, TEffect* effect, uint32_t hitId) {
  return effect ? Hit(actor, hitId, effect->GetFrame()) : TCountedPtr<THitObject>();
}

void Se(TActor& actor, int32_t soundId) { actor.PlaySe(soundId); }

void Heal(TActor& actor, int32_t amount) { actor.RecoverHp(amount); }

void Owner(const TActor& actor, TEffect* effect) {
  if (effect) effect->SetCasterId(static_cast<int32_t>(actor.GetObjectId()));
}

void Flash(const TActor& actor, const TAttackPoints& at, TEffectKind flash) {
  Spawn(actor, flash, at.hand, D3DXVECTOR3(0, 0, 1));
}

float Jitter(uint32_t r, float c) {
  return static_cast<float>(static_cast<int32_t>(r & 127) - 64) * c + ((r & 1) ? 1.0f : -1.0f);
}

D3DXVECTOR3 DrawJitter(float c) {
  const float x = Jitter(GenRand31(), c);
  const float z = Jitter(GenRand31(), c);
  return D3DXVECTOR3(x, 0, z);
}

D3DXVECTOR3 TurnedAboutUp(const D3DXVECTOR3& v, float angle) {
  plat::D3DXMATRIX turn;
  plat::D3DXMatrixRotationY(&turn, angle);
  D3DXVECTOR3 out;
  plat::D3DXVec3TransformNormal(&out, &v, &turn);
  return out;
}

TCountedPtr<TEffect> ThunderBolt(TActor& actor, const D3DXVECTOR3& at, const D3DXVECTOR3& look, uint32_t hitId) {
  TCountedPtr<TEffect> thunder = Spawn(actor, kThunder, at, look);
  if (!thunder || !thunder->GetFrame()) return thunder;
  auto* bolt = dynamic_cast<TThunderEffect*>(thunder.Get());
  TCountedPtr<THitObject> volume = HitOnEffect(actor, thunder.Get(), hitId);
  if (bolt && volume) bolt->SetWatchedEffect(volume);
  TCountedPtr<TEffect> sparkles =
      SpawnUnder(actor, *thunder->GetFrame(), kSparkles, Plus(at, D3DXVECTOR3(0, kSparklesRise, 0)), look);
  if (bolt) {
    if (sparkles) bolt->SetSparkles(sparkles);
    bolt->SetVelocity(D3DXVECTOR3(0, 0, 0));
  }
  return thunder;
}

void DecorateRibbon(TEffect* ribbon) {
  if (!ribbon) return;
  ribbon->SetOwnerId(kRibbonKeyKind);
  for (const TRibbonPoint& p : kRibbonPoints) ribbon->AddPoint(D3DXVECTOR3(p.x, p.y, p.z), p.time);
  for (const auto& key : kRibbonKeys)
    ribbon->AddKey(kRibbonKeyKind, D3DXVECTOR3(key[0], key[1], key[2]), D3DXVECTOR3(1, 1, 1), kWhite);
}

void RaiseRibbon(TActor& actor, TEffectKind kind, const D3DXVECTOR3& at, const D3DXVECTOR3& look, uint32_t hitId) {
  TCountedPtr<TEffect> ribbon = Spawn(actor, kind, at, look, kWhite, D3DXVECTOR3(2, 2, 2));
  Owner(actor, ribbon.Get());
  DecorateRibbon(ribbon.Get());
  Hit(actor, hitId, actor.GetSceneFrame(), &at);
}

THitVolumeValues MagicShotHit(int32_t element, float strength) {
  THitVolumeValues v;
  v.volumeKind = 2;  // hits until its hits or its frames run out
  v.hitsLeft = 1;
  v.rehitInterval = 10;
  v.hitFlags = hit_kind::kKind1 | hit_kind::kNoTurn | hit_kind::kMagic;
  v.paramB = element;
  v.paramC = 0;
  v.paramH = -1;
  v.cancelMask = 0;
  v.paramD = strength;
  v.radius = 0.7f;
  v.paramE = 1.0f;
  v.paramF = 120.0f;
  v.paramG = 0;
  v.landedValue = -1;
  return v;
}

}  // namespace attack

// --- the falling shot ---------------------------------------------------------------------------

const TFallingShotRow kRockShot{
    510,
    800,
    {{{603, {0, 0.3f, 0}, {0.6f, 1.0f, 0.6f}, {0.8f, 0.4f, 0.2f, 1.0f}},
      {904, {0, 0.3f, 0}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.7f, 0.1f, 1.0f}}}},
    -0.34906587f,
    0.5f,
    -0.1f,
    {0, 0.1f, 0},
    {200, 400, 200},
    attack::MagicShotHit(1, 1.0f),  // fire
    1,
};

void TActor::DropRockShot(const D3DXVECTOR3& offset, float height, float fallRate) {
  DropFallingShot(kRockShot, offset, height, fallRate);
}

void TActor::DropFallingShot(const TFallingShotRow& row, const D3DXVECTOR3& offset, float height, float fallRate) {
  const float fall = height / fallRate;
  // A rate that is not positive, or a height below the ground, makes no fall.
  if (!(fallRate > 0.0f) || !(fall >= 0.0f && fall < static_cast<float>(kLongestFall))) return;
  D3DXVECTOR3 p = GetPosition();
  p.y = groundHeight - row.lowering;
  TCountedPtr<TEffect> spawned = attack::Spawn(*this, row.shotKind, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  TShotEffect* shot = AsShot(spawned.Get());
  if (!shot) return;
  const auto ticks = static_cast<int32_t>(fall);
  if (auto* relay = dynamic_cast<TRelayShot*>(shot)) {
    for (const TFollowUpEntry& entry : row.followUps)
      relay->AddFollowUp(entry.kind, Vec(entry.offset), Vec(entry.scale), entry.colour);
  }

  // The fall line: up turned about the right vector, so that the shot comes down toward the front.
  const D3DXVECTOR3 right = GetRight();
  plat::D3DXMATRIX lean;
  plat::D3DXMatrixRotationAxis(&lean, &right, row.tilt);
  const D3DXVECTOR3 up(0, 1, 0);
  D3DXVECTOR3 line;
  plat::D3DXVec3TransformNormal(&line, &up, &lean);
  const D3DXVECTOR3 start(p.x + offset.x, p.y + height, p.z + offset.z);
  attack::Mover(shot, new (std::nothrow) TFallMover(fallRate, 0.0f, start, line));
  shot->SetLifetime(ticks);

  THitVolumeValues values = row.hit;
  values.framesLeft = static_cast<uint32_t>(ticks + static_cast<int32_t>(shot->GetBulletCount()) - 1);
  values.attackValue = static_cast<uint32_t>(int64_t{row.powerMultiplier} * GetParam2());
  TCountedPtr<THitObject> volume =
      THitObject::Create(GetObjectId(), *shot->GetHeadFrame(), D3DXVECTOR3(0, 0, 0), values);
  if (volume) {
    shot->AttachHit(volume);
    hits.push_back(volume);
  }

  TCountedPtr<TEffect> glow = attack::Spawn(*this, row.glowKind, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  attack::Life(glow.Get(), ticks);
  attack::Mover(glow.Get(), new (std::nothrow) TShakeFollowMover(shot->GetHeadFramePtr(), Times(line, row.glowAxis),
                                                                 Vec(row.glowOffset), Vec(row.glowJitter)));
}
