#include "game/actor/TActor.h"

#include <algorithm>
#include <bit>
#include <iterator>

#include "common/Truncate.h"
#include "game/effect/MtRandomState.h"
#include "game/effect/TEffectManager.h"
#include "game/field/TCamera.h"
#include "game/field/TStageLinks.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kAimKeepUp = 4;
constexpr float kBlinkLow = 0.1f;
constexpr float kBlinkHigh = 0.6f;
constexpr float kBlinkStep = 0.05f;
constexpr float kBlinkEndSlack = 1e-4f;
constexpr int32_t kMaxComboDamage = 9999;
constexpr int32_t kMaxHitCount = 99;
constexpr int32_t kUncountedDamage = 100000;  // a blow this heavy is not added to the combo damage
constexpr int32_t kHeavySoundStep = 5;
constexpr int32_t kOverheadEffectBase = 20;

// Sums in 64 bits and wraps like the 32-bit counters the values are.
int32_t Wrap32(int64_t v) { return static_cast<int32_t>(v); }

// The sounds of a hit by its sound level: the first, and a second one after it (0: none). A hit
// of kind 4, 8 or 16 alone plays the heavy sound, 5 ids further.
struct THitSounds {
  int32_t first;
  int32_t second;
};
constexpr THitSounds kHitSounds[] = {
    {102, 0}, {100, 0}, {104, 0}, {103, 101}, {103, 101}, {101, 0},
    {101, 0}, {101, 0}, {102, 0}, {104, 0},   {102, 0},   {103, 0},
};
constexpr int32_t kUnleveledSound = 111;  // sound level -1
constexpr int32_t kUnleveledDefenceSound = 112;

constexpr TCameraShake kCameraShakes[] = {
    {4, 2, 0.025f, 7}, {4, 2, 0.05f, 7}, {4, 2, 0.075f, 7}, {4, 2, 0.1f, 7}, {20, 2, 0.15f, 7},
};

// What a hit shows by the kind of its reaction (one of the row's kinds): the sparks always, or
// only for a knock-down; the burst.
struct THitShow {
  int32_t kinds;
  bool sparksAlways;
  bool burst;
};
constexpr THitShow kHitShows[] = {
    {hit_kind::kKind1 | hit_kind::kKind2, false, false},
    {hit_kind::kLaunch, true, false},
    {hit_kind::kStun | hit_kind::kBlowAway, true, true},
};
constexpr TEffectKind kHitFlash = 100;
constexpr TEffectKind kHitBurst = 101;
constexpr TEffectKind kHitSpark = 104;
constexpr plat::D3DCOLORVALUE kHitBlue{0.6f, 0.6f, 0.9f, 1.0f};
constexpr plat::D3DCOLORVALUE kWhiteColour{1, 1, 1, 1};

// Three draws of the random stream, in order, as unsigned numbers: never below 0.
D3DXVECTOR3 RandomDirection() {
  const float x = static_cast<float>(GenRand());
  const float y = static_cast<float>(GenRand());
  const float z = static_cast<float>(GenRand());
  return D3DXVECTOR3(x, y, z);
}

}  // namespace

const TCameraShake* CameraShakeOf(uint32_t level) {
  return level >= 1 && level <= std::size(kCameraShakes) ? &kCameraShakes[level - 1] : nullptr;
}

int32_t HitKindScale(int32_t kind) {
  if (kind & hit_kind::kBlowAway) return 1000000;
  if (kind & hit_kind::kLaunch) return 100000;
  if (kind & hit_kind::kStun) return 100;
  if (kind & (hit_kind::kKnockDown32 | hit_kind::kKnockDown64)) return 1000;
  return 10;
}

// --- life ----------------------------------------------------------------------------------------

TActor::TActor(uint32_t kind, float bodyHeight, float shadowSize, uint8_t shadowVisible, uint8_t pushable,
               float gravity, const TActorStats& stats, const std::string& name)
    : TFieldActor(kind, bodyHeight, shadowSize, shadowVisible, pushable, gravity, name),
      pattern(name + ".pat"),
      weaponState(name + ".wpm"),
      acceptsKind20(stats.acceptsKind20),
      acceptsKind4And16(stats.acceptsKind4And16),
      acceptsKind8(stats.acceptsKind8),
      maxHp(stats.maxHp),
      hp(stats.hp),
      maxSp(stats.maxSp),
      sp(stats.sp),
      params(stats.params),
      elements(stats.elements) {
  CreateWeaponFrames(name);
}

TActor::TActor(const TActor& source)
    : TFieldActor(source),
      TEffectActor(),
      pattern(source.GetFrame()->GetName() + ".pat"),
      weaponState(source.GetFrame()->GetName() + ".wpm"),
      acceptsKind20(source.acceptsKind20),
      acceptsKind4And16(source.acceptsKind4And16),
      acceptsKind8(source.acceptsKind8),
      maxHp(source.maxHp),
      hp(source.hp),
      maxSp(source.maxSp),
      sp(source.sp),
      params(source.params),
      elements(source.elements) {
  CreateWeaponFrames(source.GetFrame()->GetName());
}

TActor::~TActor() = default;

void TActor::CreateWeaponFrames(const std::string& name) {
  leftWeaponFrame = CreateNamedFrame(name + "LWpn", IdentityMatrix());
  rightWeaponFrame = CreateNamedFrame(name + "RWpn", IdentityMatrix());
  for (const TCountedPtr<TFrame8>* weapon : {&leftWeaponFrame, &rightWeaponFrame}) {
    (*weapon)->SetVisible(false);
    frame->AddChild(*weapon);
  }
}

void TActor::Detach() {
  TFieldActor::Detach();
  latchHit = latchAttack = latchBlink = latchSe = latchVoice = latchShake = 0;
  for (const TCountedPtr<THitObject>& volume : hits) volume->End();
  hits.clear();
}

void TActor::Reset() {
  gravity = defaultGravity;
  comboDamage = comboHits = specialHits = normalHits = 0;
  mainState = 1;
  motionRate = 1.0f;
  countFrames = 0;
  stunMark = 0;
}

// --- per tick ------------------------------------------------------------------------------------

void TActor::PostUpdate() {
  UpdateWeaponFrames();
  airHitDoneThisTick = 0;
  UpdateHits();
  UpdateBlink();
  voiceTimer = std::max(voiceTimer - 1, 0);
}

void TActor::UpdateWeaponFrames() {
  const uint32_t motion = model->GetMotion();
  const float time = model->GetMotionTime();
  D3DXMATRIX m;
  leftWeaponFrame->SetMatrix(*weaponState.GetLeftMatrix(&m, motion, time));
  rightWeaponFrame->SetMatrix(*weaponState.GetRightMatrix(&m, motion, time));
}

void TActor::UpdateHits() {
  for (auto it = hits.begin(); it != hits.end();) {
    if ((*it)->Update()) {
      ++it;
      continue;
    }
    (*it)->End();
    it = hits.erase(it);
  }
}

void TActor::TestHits(TFieldActor& other) {
  if (other.GetObjectId() == GetObjectId()) return;
  // A landing hit may make or end volumes of this actor; the walk goes over those it started with.
  const std::list<TCountedPtr<THitObject>> live = hits;
  for (const TCountedPtr<THitObject>& volume : live) volume->Test(other);
}

void TActor::RunPatternEvents() {
  struct TPatternEvent {
    uint8_t TActor::*latch;
    bool (*carries)(const TAttackInfo&);
    void (TActor::*run)(const TAttackInfo&);
  };
  static constexpr TPatternEvent kEvents[] = {
      {&TActor::latchHit, [](const TAttackInfo& i) { return i.hitId != 0; }, &TActor::StartPatternHit},
      {&TActor::latchAttack, [](const TAttackInfo& i) { return i.attackKind != 0; }, &TActor::Attack},
      {&TActor::latchSe, [](const TAttackInfo& i) { return i.seId != 0; }, &TActor::PlayPatternSe},
      {&TActor::latchVoice, [](const TAttackInfo& i) { return i.voiceId != 0; }, &TActor::PlayPatternVoice},
      {&TActor::latchShake, [](const TAttackInfo& i) { return i.shakeLevel != 0; }, &TActor::ShakeCamera},
  };

  const TAttackInfo& info = *pattern.GetInfo(model->GetMotion(), model->GetMotionTime());
  for (const TPatternEvent& event : kEvents) {
    uint8_t& latch = this->*event.latch;
    if (!event.carries(info)) {
      latch = 0;
    } else if (!latch) {
      latch = 1;
      (this->*event.run)(info);
    }
  }

  if (info.blink) {
    if (!latchBlink) {
      latchBlink = 1;
      StartBlink(1, kBlinkUntilStopped);
    }
  } else if (latchBlink) {
    // A blink started otherwise runs its own course.
    if (blinkTimer == kBlinkUntilStopped) EndBlink();
    latchBlink = 0;
  }

  const float scale = PatternDisplacementScale();
  frame->Translate(info.displacement[0] * scale, info.displacement[1] * scale, info.displacement[2] * scale, true);
}

void TActor::StartPatternHit(const TAttackInfo& info) {
  const THitRecord& def = *THitTable::Find(info.hitId);
  THitParams p;
  GetHitParams(def, p);
  if (p.parent) Keep(THitObject::Create(GetObjectId(), *p.parent, p.position, PatternHitValues(def, p)));
}

void TActor::ShakeCamera(const TAttackInfo& info) {
  const TCameraShake* shake = CameraShakeOf(info.shakeLevel);
  if (shake && camera) camera->StartShake(shake->count, shake->period, shake->amplitude, shake->axes);
}

// --- hits ----------------------------------------------------------------------------------------

void TActor::Keep(const TCountedPtr<THitObject>& volume) {
  if (volume) hits.push_back(volume);
}

TCountedPtr<THitObject> TActor::CreateAttackHit(uint32_t attackCode, TFrame8* parent, const D3DXVECTOR3* position) {
  const THitRecord& def = *THitTable::Find(attackCode & 0xFFFFu);
  THitParams p;
  GetHitParams(def, p);
  if (parent) p.parent = parent;
  if (position) p.position = *position;
  if (!p.parent) return TCountedPtr<THitObject>();
  TCountedPtr<THitObject> volume = THitObject::Create(GetObjectId(), *p.parent, p.position, AttackHitValues(def, p));
  Keep(volume);
  return volume;
}

void TActor::CreateAttackHit(uint32_t attackCode, TFrame8* parent, const D3DXVECTOR3& position) {
  CreateAttackHit(attackCode, parent, &position);
}

void TActor::ReceiveHit(THitObject& hit) {
  TFieldActor* attacker = stage ? stage->FindActor(hit.GetOwnerId()) : nullptr;
  if (attacker && !(hit.GetValues().hitFlags & hit_kind::kNoTurn) && attacker->FacesTargetOnHit())
    attacker->FaceObject(this, nullptr, kAimKeepUp);

  TDamageResult r;
  CalcDamage(hit, r);
  const int32_t scale = HitKindScale(r.kind);
  const bool facing = TurnToHit(hit, r.noTurn);
  switch (r.kind) {
    case hit_kind::kKind1:
      OnHitKind1(r.element, r.soundLevel, r.status, scale, facing, r.p1, r.p2, r.damage);
      break;
    case hit_kind::kKind2:
      OnHitKind2(r.element, r.soundLevel, r.status, scale, facing, r.p1, r.p2, r.damage);
      break;
    case hit_kind::kLaunch:
      OnHitKind4(r.element, r.soundLevel, r.status, scale, facing, r.p1, r.p2, r.p3, r.damage);
      break;
    case hit_kind::kStun:
      OnHitKind8(r.element, r.soundLevel, r.status, scale, r.longStun, facing, r.p1, r.p2, r.damage);
      break;
    case hit_kind::kBlowAway:
      OnHitKind16(r.element, r.soundLevel, r.status, scale, facing, r.p1, r.p2, r.damage);
      break;
    default:
      break;
  }

  if (attacker) {
    if (mainState == kSpecialState) FaceObject(attacker, nullptr, kAimKeepUp);
    attacker->OnHitLanded(*this, hit.GetLandedValue(), r.damage, hit.HasHit());
  }
  PlayHitSound(r.damage, r.kind, r.soundLevel, r.defenceBit);
}

bool TActor::TurnToHit(THitObject& hit, bool noTurn) { return hit.TurnVictim(stage, *frame, sceneFrame, noTurn); }

float TActor::ElementFactor(uint32_t element) {
  switch (element) {
    case 1: return GetElement0();
    case 2: return GetElement1();
    case 3: return GetElement2();
    case 4: return GetElement3();
    case 5: return GetElement4();
    case 6: return GetElement5();
    default: return 1.0f;
  }
}

void TActor::CalcDamage(const THitObject& hit, TDamageResult& out) {
  using namespace hit_kind;
  const THitDamageInputs in = hit.GetDamageInputs();
  int32_t kind = in.kindBits & ~kSignBit;
  out.element = in.element;
  out.soundLevel = in.soundLevel;
  out.p1 = in.p1;
  out.p2 = in.p2;
  out.p3 = in.p3;

  // What a refused kind would have needed, should another kind still use it.
  if (!acceptsKind20 && (kind & (kKnockDown32 | kKnockDown64)) && out.p2 <= 0) out.p2 = 120.0f;
  if (!acceptsKind4And16) {
    if ((kind & kLaunch) && out.p3 <= 0) out.p3 = 0.05f;
    if ((kind & kBlowAway) && out.p2 <= 0) out.p2 = 120.0f;
  }
  if (!acceptsKind20) kind &= ~kKnockDown32;
  if (!acceptsKind4And16) kind &= ~(kLaunch | kBlowAway);
  if (!acceptsKind8) kind &= ~kStun;
  if (stunMark && (kind & (kStun | kLongStun))) kind = (kind & ~kStun) | kKnockDown64;

  out.defenceBit = (kind & kMagic) != 0;
  const int32_t defence = out.defenceBit ? GetParam3() : GetParam1();
  // Single precision, each step rounded to float, as the game computes.
  const auto power = static_cast<float>(in.power);
  int32_t damage = TruncateToInt((power - static_cast<float>(defence)) + power * 0.1f);
  damage = TruncateToInt(in.multiplier * static_cast<float>(damage));

  out.status = kind & (kKnockDown32 | kKnockDown64);
  out.noTurn = (kind & kNoTurn) != 0;
  out.longStun = (kind & kLongStun) != 0;
  kind &= ~(kKnockDown32 | kKnockDown64 | kNoTurn | kMagic | kLongStun);
  if (kind & (kLaunch | kStun | kBlowAway)) kind &= kLaunch | kStun | kBlowAway;
  out.kind = kind;

  if (out.element >= 1 && out.element <= 6) {
    damage = TruncateToInt(ElementFactor(out.element) * static_cast<float>(damage));
  } else if (out.element >= kFirstPairCode && out.element < kFirstPairCode + kElementPairs.size()) {
    const auto& pair = kElementPairs[out.element - kFirstPairCode];
    damage = TruncateToInt((ElementFactor(pair[0]) + ElementFactor(pair[1])) * static_cast<float>(damage) * 0.5f);
  }
  out.damage = std::max(damage, 0);
}

void TActor::TakeDamage(int32_t damage) {
  hp = Wrap32(std::min<int64_t>(hp, std::max<int64_t>(int64_t{hp} - damage, 0)));
  if (damage < kUncountedDamage) comboDamage = Wrap32(std::min<int64_t>(int64_t{comboDamage} + damage, kMaxComboDamage));
  comboHits = std::min(comboHits + 1, kMaxHitCount);
  if (mainState >= kSpecialState)
    specialHits = std::min(specialHits + 1, kMaxHitCount);
  else
    normalHits = std::min(normalHits + 1, kMaxHitCount);
  maxComboDamage = std::max(maxComboDamage, comboDamage);
  maxComboHits = std::max(maxComboHits, comboHits);
  maxSpecialHits = std::max(maxSpecialHits, specialHits);
  maxNormalHits = std::max(maxNormalHits, normalHits);
}

void TActor::PlayHitSound(int32_t, int32_t kind, int32_t level, bool defenceBit) {
  if (level == -1) return PlaySe(defenceBit ? kUnleveledDefenceSound : kUnleveledSound);
  if (level < 0 || level >= static_cast<int32_t>(std::size(kHitSounds))) return;
  const bool heavy = kind == hit_kind::kLaunch || kind == hit_kind::kStun || kind == hit_kind::kBlowAway;
  const int32_t h = heavy ? kHeavySoundStep : 0;
  const THitSounds& sounds = kHitSounds[level];
  PlaySe(sounds.first + h);
  if (sounds.second) PlaySe(sounds.second + h);
}

// --- blinking and the air --------------------------------------------------------------------------

void TActor::StartBlink(uint8_t withAlpha, int32_t ticks) {
  blinkTimer = ticks;
  blinkFalling = 0;
  if (!withAlpha) return;
  model->SetRenderMode(kModelRenderMode, TMesh8::kAllParts);
  blinkAlpha = kBlinkLow;
  model->SetAlpha(blinkAlpha, TMesh8::kAllParts);
}

void TActor::UpdateBlink() {
  if (blinkTimer != 0 && blinkTimer != kBlinkUntilStopped && --blinkTimer <= 0) return EndBlink();
  if (blinkTimer == 0) return;
  blinkAlpha += blinkFalling ? -kBlinkStep : kBlinkStep;
  // Steps of 0.05 in float land a hair off the ends; a turn there keeps the swing within them.
  if (blinkAlpha >= kBlinkHigh - kBlinkEndSlack || blinkAlpha <= kBlinkLow + kBlinkEndSlack)
    blinkFalling = !blinkFalling;
  model->SetAlpha(blinkAlpha, TMesh8::kAllParts);
}

void TActor::EndBlink() {
  model->SetAlpha(1.0f, TMesh8::kAllParts);
  model->SetRenderMode(kModelRenderMode, TMesh8::kAllParts);
  blinkTimer = 0;
  blinkFalling = 0;
}

bool TActor::AirHitStep() {
  const float f = static_cast<float>(specialHits + 1) / 3.0f;
  if (!airHitDoneThisTick) {
    airHitDoneThisTick = 1;
    motionRate = 1.0f;
    float lift = 0.02f / f;
    if (specialHits >= 50) lift *= 0.2f;
    if (lift > velocity.y) velocity.y = lift;
  }
  return model->RewindMotion(4.0f / f);
}

void TActor::ScaleAndRestart(float value) {
  airHitScale = 0.12f * value;
  AirHitStep();
}

// --- points and places -----------------------------------------------------------------------------

int32_t TActor::RecoverHp(int32_t amount) {
  hp = Wrap32(std::min<int64_t>(int64_t{hp} + std::max(amount, 1), maxHp));
  return maxHp;
}

void TActor::RecoverMp(int32_t amount) { sp = Wrap32(std::min<int64_t>(int64_t{sp} + std::max(amount, 1), maxSp)); }

void TActor::LoseHp(int32_t amount) { hp = Wrap32(int64_t{hp} - std::max(amount, 1)); }

void TActor::LoseMp(int32_t amount) { sp = Wrap32(int64_t{sp} - std::max(amount, 1)); }

D3DXVECTOR3 TActor::GetBodyCenter() const {
  D3DXVECTOR3 p = GetPosition();
  p.y += bodyHeight;
  return p;
}

void TActor::ShowOverheadEffect(int32_t code) {
  if (!effectManager || !sceneFrame) return;
  D3DXVECTOR3 at = GetPosition();
  at.y += 1.2f * bodyHeight;
  D3DXVECTOR3 look;
  frame->GetAxis(&look, 3);
  TEffectStage* context = stage ? stage->GetEffectStage() : nullptr;
  const auto spawn = [&](TEffectKind kind) {
    effectManager->Spawn(kind, at, look, *sceneFrame, context, plat::D3DCOLORVALUE{1, 1, 1, 1}, D3DXVECTOR3(1, 1, 1));
  };
  if (code >= 0 && code <= 6) {
    spawn(code + kOverheadEffectBase);
  } else if (code >= static_cast<int32_t>(kFirstPairCode) &&
             code < static_cast<int32_t>(kFirstPairCode + kElementPairs.size())) {
    for (uint32_t element : kElementPairs[code - kFirstPairCode]) spawn(static_cast<TEffectKind>(element));
  }
}

void TActor::ShowHitEffects(int32_t hitKind, int32_t knockFlags, int32_t overheadKind) {
  const THitShow* show = nullptr;
  for (const THitShow& row : kHitShows)
    if (std::has_single_bit(static_cast<uint32_t>(hitKind)) && (row.kinds & hitKind)) show = &row;
  if (!show || !effectManager || !sceneFrame) return;
  ShowOverheadEffect(overheadKind);
  D3DXVECTOR3 at = GetPosition();
  at.y += 1.2f * bodyHeight;
  D3DXVECTOR3 look;
  frame->GetAxis(&look, 3);
  TEffectStage* context = stage ? stage->GetEffectStage() : nullptr;
  effectManager->Spawn(kHitFlash, at, look, *sceneFrame, context, kHitBlue, D3DXVECTOR3(2.5f, 2.5f, 2.5f));
  if (show->sparksAlways || (knockFlags & (hit_kind::kKnockDown32 | hit_kind::kKnockDown64))) {
    for (int spark = 0; spark < 2; ++spark)
      effectManager->Spawn(kHitSpark, at, RandomDirection(), *sceneFrame, context, kWhiteColour,
                           D3DXVECTOR3(1.5f, 1.5f, 1.5f));
  }
  if (show->burst) {
    D3DXVECTOR3 direction = RandomDirection();
    plat::D3DXVec3Normalize(&direction, &direction);
    effectManager->Spawn(kHitBurst, at, direction, *sceneFrame, context, kHitBlue, D3DXVECTOR3(6, 6, 6));
  }
}
