#include "game/enemy/TEnemy.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>

#include "common/TD3D8.h"
#include "common/Truncate.h"
#include "common/TView8.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/effect/EffectVectors.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TShotEffect.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/FieldHud.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapItem.h"
#include "game/field/TStage.h"

using effectmath::Distance;
using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

// The bar's part of its sheet; the fill moves the right edge.
constexpr float kBarLeft = 0.375f;
constexpr float kBarWidth = 0.234375f;
constexpr float kBarTop = 0.75f;
constexpr float kBarBottom = 0.875f;
constexpr float kBarLength = 60.0f;  // at a full gauge, in 640x480 units
constexpr float kBarHeight = 4.0f;
constexpr float kBarInset = 2.0f;

constexpr int32_t kPerMillion = 1000000;
constexpr TEffectKind kStealSpark = 104;
constexpr TEffectKind kStealFlash = 105;
constexpr int32_t kStealSound = 217;
constexpr float kHealRadius = 10000.0f;
constexpr uint32_t kHealCapacity = 10;
constexpr int32_t kHealAmount = 600;
constexpr int32_t kHealSound = 503;
constexpr TEffectKind kHealEffects[] = {906, 107, 103, 5};
constexpr TEffectKind kHealLiftedEffect = 107;  // lies just above the ground
constexpr float kHealLift = 0.01f;
constexpr plat::D3DCOLORVALUE kWhite{1, 1, 1, 1};

TActorStats StatsOf(const TEnemyRecord& r) {
  TActorStats s;
  s.acceptsKind20 = r.ActorFlagA;
  s.acceptsKind4And16 = r.ActorFlagB;
  s.acceptsKind8 = r.ActorFlagC;
  s.maxHp = r.MaxHp;
  s.hp = r.Hp;
  s.maxSp = r.MaxPoints;
  s.sp = r.Points;
  s.params = r.Param;
  s.elements = r.Element;
  return s;
}

// A roll per million: a draw of the stream against the probability scaled to a million, in single
// precision as the game computes (0.7 is then 700000 where double makes it 699999).
bool Roll(float probability) {
  return static_cast<int64_t>(GenRand() % kPerMillion) < TruncateToInt(probability * static_cast<float>(kPerMillion));
}

int32_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

}  // namespace

// --- life ----------------------------------------------------------------------------------------

TEnemy::TEnemy(const TEnemyRecord& r, uint8_t flag, const TEnemyClass& cls)
    : TActor(r.Id, r.Height, r.ShadowSize, r.ObjectFlagA, r.ObjectFlagB, r.Gravity, StatsOf(r), r.ModelName),
      enemyClass(&cls),
      aiTableFlag(flag),
      baseLevel(static_cast<int32_t>(r.Level)),
      level(baseLevel),
      rewardFactor(std::bit_cast<float>(r.LevelSpare)),
      valueA(static_cast<int32_t>(r.ValueA)),
      valueB(static_cast<int32_t>(r.ValueB)),
      valueABase(valueA),
      valueBBase(valueB),
      paramBase(r.Param),
      maxHpBase(r.MaxHp),
      maxPointsBase(r.MaxPoints),
      growthA(static_cast<int32_t>(r.GrowthA)),
      growthB(static_cast<int32_t>(r.GrowthB)),
      paramGrowth(r.ParamGrowth),
      hpGrowth(r.HpGrowth),
      extraValue(r.ExtraValue),
      dropMoney(r.DropMoney),
      dropItem2(static_cast<int32_t>(r.DropItem2)),
      dropItem1(static_cast<int32_t>(r.DropItem1)),
      dropChance2(r.DropChance2),
      dropChance1(r.DropChance1),
      homeRadius(FLT_MAX),
      gaugeFrame(LoadSprite("sprite.ptx/guage08", plat::D3DPOOL_MANAGED, 0)),
      gaugeBar(LoadSprite("sprite.ptx/bar00", plat::D3DPOOL_MANAGED, 0)),
      sounds(r.SoundName) {}

TEnemy::TEnemy(const TEnemy& s)
    : TActor(s),
      enemyClass(s.enemyClass),
      aiTableFlag(s.aiTableFlag),
      baseLevel(s.level),
      level(s.level),
      rewardFactor(s.rewardFactor),
      valueA(s.valueA),
      valueB(s.valueB),
      valueABase(s.valueA),
      valueBBase(s.valueB),
      paramBase(s.params),
      maxHpBase(s.maxHp),
      maxPointsBase(s.maxSp),
      growthA(s.growthA),
      growthB(s.growthB),
      paramGrowth(s.paramGrowth),
      hpGrowth(s.hpGrowth),
      extraValue(s.extraValue),
      dropMoney(s.dropMoney),
      dropItem2(s.dropItem2),
      dropItem1(s.dropItem1),
      dropChance2(s.dropChance2),
      dropChance1(s.dropChance1),
      homeRadius(s.homeRadius),
      homePoint(s.homePoint),
      gaugeFrame(s.gaugeFrame),
      gaugeBar(s.gaugeBar),
      alive(s.alive),
      stolen(s.stolen),
      sounds(s.sounds),
      modeHandler(s.modeHandler) {}

TEnemy::~TEnemy() = default;

void TEnemy::Appear(TStage& onStage, const D3DXVECTOR3& position, const D3DXVECTOR3& direction, float radius,
                    bool skipEntrance) {
  fieldStage = &onStage;
  Attach(&onStage);
  SetPosition(position);
  if (direction.x == 0 && direction.y == 0 && direction.z == 0) {
    if (TFieldActor* player = PlayerBody()) FaceObject(player, nullptr, 4);
  } else {
    // The model's front is its frame's -z.
    const D3DXVECTOR3 back(-direction.x, 0, -direction.z);
    D3DXVECTOR3 unit;
    if (plat::D3DXVec3Length(&back) > 0) frame->LookAt(*plat::D3DXVec3Normalize(&unit, &back), D3DXVECTOR3(0, 1, 0));
  }
  homeRadius = radius;
  homePoint = position;
  gaugeTimer = 0;
  const float right = kBarLeft + kBarWidth;
  const float us[4] = {kBarLeft, right, kBarLeft, right};
  const float vs[4] = {kBarTop, kBarTop, kBarBottom, kBarBottom};
  for (int i = 0; i < 4; ++i) {
    gaugeBar.vertices[i].u = us[i];
    gaugeBar.vertices[i].v = vs[i];
  }
  view = onStage.GetScene().GetView();
  alive = 1;
  SetMode(skipEntrance ? enemy_mode::kStand : enemy_mode::kEntrance);
}

void TEnemy::SetLevel(int32_t offset) {
  const int32_t l = Wrap32(int64_t{baseLevel} + offset);
  // Single precision, each step rounded to float, as the game computes.
  const auto g = static_cast<float>(int64_t{l} + 20), fl = static_cast<float>(l);
  level = l;
  valueA = Wrap32(int64_t{growthA} * l + valueABase);
  valueB = Wrap32(int64_t{growthB} * l + valueBBase);
  const int32_t h = TruncateToInt(static_cast<float>(hpGrowth) * 0.001f * g * fl + static_cast<float>(maxHpBase));
  for (size_t k = 0; k < params.size(); ++k)
    params[k] = Wrap32(
        2 * int64_t{TruncateToInt(static_cast<float>(paramGrowth[k]) * 0.001f * g * fl + static_cast<float>(paramBase[k]))});
  maxHp = std::min(h, kMaxHp);
  // HP never starts above its maximum, which the cap may have lowered.
  hp = std::min(h, maxHp);
}

bool TEnemy::IsOutOfRange() {
  if (mode == enemy_mode::kEntrance || GetKind() >= 10000 || !manager) return false;
  const TFieldActor* player = PlayerBody();
  return player && Distance(player->GetPosition(), GetPosition()) > manager->GetSpawnRange();
}

bool TEnemy::IsAwayFromHome() const { return Distance(GetPosition(), homePoint) > homeRadius; }

// --- the actor's slots ---------------------------------------------------------------------------

void TEnemy::PlaySe(int32_t id) { sounds.PlaySe(id); }

void TEnemy::PlayVoice(int32_t id) {
  if (voiceTimer > 0) return;
  voiceTimer = sounds.PlayVoice(id);
}

void TEnemy::ReceiveHit(THitObject& hit) {
  const THitTaking& taking = enemyClass->hit;
  TActor::ReceiveHit(hit);
  if (taking.steals) RollSteal(hit.GetLandedValue());
  if (TPlayerChar* player = PlayerChar()) player->ShowEnemyPanel(*this);
  gaugeTimer = kGaugeFrames;
  if (taking.setsAiTimer) aiTimer = taking.aiTimer;
}

bool TEnemy::TurnToHit(THitObject& hit, bool noTurn) {
  if (enemyClass->hit.turns) return TActor::TurnToHit(hit, noTurn);
  const D3DXMATRIX kept = *frame->GetMatrix();
  const bool fromFront = TActor::TurnToHit(hit, noTurn);
  frame->SetMatrix(kept);
  return fromFront;
}

void TEnemy::GetHitParams(const THitRecord& def, THitParams& out) {
  switch (def.attachPoint) {
    case 1: out.parent = GetLeftWeaponFrame(); break;
    case 2: out.parent = GetRightWeaponFrame(); break;
    default: out.parent = GetFrame(); break;
  }
  out.position = D3DXVECTOR3(def.position[0], def.position[1], def.position[2]);
  out.radius = def.radius;
  out.attackValue = static_cast<uint32_t>((def.hitFlags & hit_kind::kMagic) ? GetParam2() : GetParam0());
  out.element = def.paramB;
  out.soundLevel = -1;
}

void TEnemy::Attack(const TAttackInfo& info) {
  TActor::Attack(info);
  if (info.attackKind == kGroupHealAttack) GroupHeal();
}

void TEnemy::TakeDamage(int32_t damage) {
  TActor::TakeDamage(damage);
  if (TPlayerChar* player = PlayerChar()) player->KeepBestCombo(*this);
}

void TEnemy::Reset() {
  TActor::Reset();
  SetMode(enemy_mode::kStand);
  Think();
}

// --- what the player character reads ----------------------------------------------------------

std::array<uint32_t, 2> TEnemy::GetRewardValues() const {
  return {static_cast<uint32_t>(valueB), static_cast<uint32_t>(valueABase)};
}

std::array<int32_t, 4> TEnemy::GetComboRecords() const { return {comboDamage, comboHits, specialHits, normalHits}; }

// --- effects, the steal and the heal ---------------------------------------------------------------

void TEnemy::Spawn(TEffectKind kind, const D3DXVECTOR3& at, const plat::D3DCOLORVALUE& colour,
                   const D3DXVECTOR3& scale) {
  if (!effectManager || !sceneFrame) return;
  D3DXVECTOR3 look;
  frame->GetAxis(&look, 3);
  effectManager->Spawn(kind, at, look, *sceneFrame, stage ? stage->GetEffectStage() : nullptr, colour, scale);
}

void TEnemy::Spawn(TEffectKind kind, const D3DXVECTOR3& at) { Spawn(kind, at, kWhite, D3DXVECTOR3(1, 1, 1)); }

TCountedPtr<TEffect> TEnemy::SpawnAura(const TAura& aura, const TCountedPtr<TFrame8>& on) {
  if (!effectManager || !sceneFrame || !on) return TCountedPtr<TEffect>();
  TCountedPtr<TEffect> effect =
      effectManager->Spawn(aura.kind, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0), *sceneFrame,
                           stage ? stage->GetEffectStage() : nullptr, kWhite, D3DXVECTOR3(1, 1, 1));
  if (TShotEffect* shot = AsShot(effect.Get())) {
    shot->SetLifetime(TShotEffect::kEndless);
    shot->SetMotion(TMoverHolder(new THoldingShakeMover(on, aura.point, aura.offset, aura.jitterScale)));
  }
  return effect;
}

void TEnemy::RollSteal(int32_t value) {
  if (stolen || (value != kStealValue && value != kBetterStealValue)) return;
  float factor = value == kStealValue ? 1.0f : 1.2f;
  if (comboHits == 7)
    factor *= 3.0f;
  else if (comboHits >= 10)
    factor *= 2.0f;

  if (dropItem2 != 0 && Roll(factor * dropChance2)) {
    if (dropItem2 != -1) TakeStolen(dropItem2, -1);
    return;
  }
  if (dropMoney == 0 || (GenRand() & 1) == 0) return;
  const int32_t limit = TruncateToInt(static_cast<float>(dropMoney) * 0.1f);
  if (limit <= 0) return;
  const auto amount = static_cast<int32_t>(GenRand() % static_cast<uint32_t>(limit));
  if (amount != 0) TakeStolen(-1, amount);
}

void TEnemy::TakeStolen(int32_t item, int32_t money) {
  stolen = 1;
  if (item != -1) dropItem2 = 0;
  D3DXVECTOR3 at = GetPosition();
  at.y += bodyHeight;
  Spawn(kStealSpark, at, plat::D3DCOLORVALUE{1.0f, 0.2f, 0.3f, 1.0f}, D3DXVECTOR3(1.5f, 1.5f, 1.5f));
  Spawn(kStealFlash, at);
  if (TFieldActor* player = PlayerBody()) player->PlaySe(kStealSound);
  TGameData* data = TGameData::Instance();
  TFieldHud* hud = fieldStage ? fieldStage->GetScene().GetHud() : nullptr;
  if (item != -1) {
    if (data) data->AddItem(static_cast<uint32_t>(item), 1);
    if (hud) hud->PushStolenItem(static_cast<uint32_t>(item));
  } else {
    if (data) data->AddGold(static_cast<uint32_t>(money));
    if (hud) hud->PushStolenMoney(static_cast<uint32_t>(money));
  }
}

void TEnemy::GroupHeal() {
  if (!manager) return;
  int32_t handles[kHealCapacity];
  manager->FindInRadius(GetBodyCenter(), kHealRadius, handles, kHealCapacity);
  for (int32_t handle : handles) {
    if (handle == -1) break;
    TCountedPtr<TEnemy> other = manager->GetEnemy(static_cast<uint32_t>(handle));
    if (!other) continue;
    const D3DXVECTOR3 at = other->GetPosition();
    const D3DXVECTOR3 lifted(at.x, at.y + kHealLift, at.z);
    for (TEffectKind kind : kHealEffects) other->Spawn(kind, kind == kHealLiftedEffect ? lifted : at);
    other->RecoverHp(kHealAmount);
    other->PlaySe(kHealSound);
  }
}

// --- death and the drop -----------------------------------------------------------------------------

void TEnemy::CountDeath() {
  LoseHp(1);
  if (hp <= kDeathHp && voiceTimer == 0 && alive) Die();
}

void TEnemy::Die() {
  TAttackInfo death;
  death.attackKind = kDeathAttack;
  Attack(death);
  alive = 0;
  Drop();
  if (TPlayerChar* player = PlayerChar()) player->GainFromDefeat(*this);
}

void TEnemy::Drop() {
  int32_t item = 0;
  if (dropItem1 != 0 && Roll(dropChance1))
    item = dropItem1;
  else if (dropItem2 != 0 && Roll(dropChance2))
    item = dropItem2;
  if (item == -1 || !fieldStage) return;
  if (item != 0) {
    fieldStage->AddMapObject(CreateDroppedItem(*fieldStage, item, -1, GetPosition()));
    return;
  }
  if (dropMoney == 0 || (GenRand() & 1) == 0) return;
  const uint32_t cut = GenRand() % 30;
  const uint32_t extra = GenRand() % 10;
  const int32_t amount = TruncateToInt(static_cast<float>(dropMoney) * (1.0f - static_cast<float>(cut) * 0.01f) +
                                      static_cast<float>(extra) + 1.0f);
  fieldStage->AddMapObject(CreateDroppedItem(*fieldStage, -1, amount, GetPosition()));
}

// --- the gauge ---------------------------------------------------------------------------------------

void TEnemy::DrawGauge() {
  if (--gaugeTimer <= 0 || !alive) {
    gaugeTimer = 0;
    return;
  }
  if (!view) return;
  D3DXMATRIX world;
  frame->GetWorldMatrix(&world);
  TMeshBounds bounds;
  model->GetBoundingSphere(bounds, world);
  if (!view->IsSphereVisible(bounds.x, bounds.y, bounds.z, bounds.radius)) return;
  const D3DXVECTOR3 centre(bounds.x, bounds.y, bounds.z);
  plat::D3DXVECTOR4 p;
  plat::D3DXVec3Transform(&p, &centre, view->GetViewProjection());
  if (p.w == 0) return;
  TD3D8* device = TD3D8::Instance();
  const float width = device->GetWidth() ? static_cast<float>(device->GetWidth()) : 640.0f;
  const float height = device->GetHeight() ? static_cast<float>(device->GetHeight()) : 480.0f;
  const float x = width * 0.5f * (p.x / p.w + 1);
  const float y = height * 0.5f * (1 - p.y / p.w);

  TSprite8::SetBlendMode(1);
  // A maximum of 0 fills nothing rather than dividing by it.
  float fill = maxHp > 0 ? static_cast<float>(hp) / static_cast<float>(maxHp) : 0.0f;
  if (fill < 0) fill = 0;
  gaugeBar.vertices[1].u = gaugeBar.vertices[3].u = kBarLeft + kBarWidth * fill;
  const float sx = TSprite8::ScaleX(), sy = TSprite8::ScaleY();
  gaugeFrame.Draw(x, y, static_cast<float>(gaugeFrame.width) * sx, static_cast<float>(gaugeFrame.height) * sy, true);
  gaugeBar.Draw(x + kBarInset * sx, y + kBarInset * sy, kBarLength * fill * sx, kBarHeight * sy, true);
}
