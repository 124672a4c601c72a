// The enemy's movement modes and the hit reactions that move it between them.
#include <cstdint>

#include "common/TMesh8.h"
#include "game/actor/TPlayerChar.h"
#include "game/effect/MtRandomState.h"
#include "game/enemy/TEnemy.h"
#include "game/enemy/TEnemyManager.h"

namespace {

constexpr int32_t kReactionLoops = 4;     // plays of the stun motion, or ticks of other reactions
constexpr int32_t kFrozenStunTicks = 400;
constexpr float kKillSlide = 120.0f;      // how a killing light blow slides
constexpr float kStunnedAgainSlide = 120.0f;
constexpr float kLaunchGravity = -0.002f;
constexpr float kDrift = 0.8f;
constexpr int32_t kKnockDownTypes = hit_kind::kKnockDown32 | hit_kind::kKnockDown64;
// Getting up, the enemy is see-through and cannot be hit for a while.
constexpr int32_t kGetUpFadeMin = 30;
constexpr uint32_t kGetUpFadeSpread = 60;

}  // namespace

const TEnemy::TModeRow TEnemy::kModes[enemy_mode::kCount] = {
    {0, &TEnemy::LoopMotion},  {1, &TEnemy::LoopMotion}, {2, &TEnemy::LoopMotion}, {3, &TEnemy::LoopMotion},
    {4, &TEnemy::LoopMotion},  {5, &TEnemy::Reel},       {6, &TEnemy::Reel},       {7, &TEnemy::KnockDown},
    {8, &TEnemy::KnockDown},   {9, &TEnemy::LieDown},    {10, &TEnemy::LieDown},   {11, &TEnemy::Rise},
    {12, &TEnemy::Fall},       {13, &TEnemy::Land},      {14, &TEnemy::Stun},      {15, &TEnemy::Enter},
    {16, &TEnemy::Act},
};

void TEnemy::SetMode(int32_t newMode) {
  if (newMode < 0 || newMode >= enemy_mode::kCount) return;
  TActor::SetMode(newMode);
  modeHandler = kModes[newMode].handler;
  model->SetMotion(kModes[newMode].motion);
}

// --- mode handlers ---------------------------------------------------------------------------------

void TEnemy::LoopMotion() { model->AdvanceMotion(true, 1.0f); }

void TEnemy::Slide(float sign) {
  if (airHitScale == 0) return;
  const TMotionClip8* clip = model->GetData()->GetClip(model->GetMotion());
  if (!clip || clip->frameCount == 0) return;
  const float last = static_cast<float>(clip->frameCount - 1);
  const float time = model->GetMotionTime();
  if (time < last) frame->Translate(0, 0, sign * (last - time) / airHitScale * motionRate, true);
}

void TEnemy::Drift() {
  if (airHitScale != 0) frame->Translate(0, 0, kDrift / airHitScale, true);
}

void TEnemy::Reel() {
  Slide(mode == enemy_mode::kReelFromFront ? 1.0f : -1.0f);
  if (!model->AdvanceMotion(false, motionRate)) Reset();
}

void TEnemy::KnockDown() {
  const bool fromFront = mode == enemy_mode::kDownFromFront;
  Slide(fromFront ? 1.0f : -1.0f);
  if (model->AdvanceMotion(false, 1.0f)) return;
  motionRate = 1.0f;
  SetMode(fromFront ? enemy_mode::kLying : enemy_mode::kLyingTurned);
}

void TEnemy::LieDown() {
  if (hp <= 0) return CountDeath();
  if (model->AdvanceMotion(false, 1.0f)) return;
  Reset();
  StartBlink(1, kGetUpFadeMin + static_cast<int32_t>(GenRand() % kGetUpFadeSpread));
}

void TEnemy::Rise() {
  Drift();
  model->AdvanceMotion(false, 1.0f);
  if (velocity.y <= 0) SetMode(enemy_mode::kFalling);
}

void TEnemy::Fall() {
  Drift();
  model->AdvanceMotion(false, 1.0f);
  if (landed) SetMode(enemy_mode::kLanding);
}

void TEnemy::Land() {
  if (model->AdvanceMotion(false, 1.0f)) return;
  motionRate = 1.0f;
  SetMode(enemy_mode::kLying);
}

void TEnemy::Stun() {
  // Frozen, the motion stands still and the count is in ticks; else in plays of the motion.
  if (!countFrames && model->AdvanceMotion(true, 1.0f)) return;
  if (--reactionCount <= 0) Reset();
}

void TEnemy::Enter() {
  if (!model->AdvanceMotion(false, 1.0f)) SetMode(enemy_mode::kStand);
}

void TEnemy::Act() { RunActionHandler(); }

void TEnemy::RunHandler(TEnemyHandler handler) {
  if (handler) (this->*handler)();
}

void TEnemy::RunAttack() {
  if (model->AdvanceMotion(false, 1.0f)) return;
  SetMode(enemy_mode::kStand);
  aiTimer = enemyClass->decision.afterAttack.Draw();
  Think();
}

// --- hit reactions -----------------------------------------------------------------------------------

void TEnemy::TakeHit(int32_t hitKind, int32_t type, uint32_t element, int32_t damage) {
  if (TPlayerChar* player = PlayerChar(); player && manager) player->SetEnemyHandle(manager->GetEnemy(GetObjectId()));
  ShowHitEffects(hitKind, type, static_cast<int32_t>(element));
  TakeDamage(damage);
}

void TEnemy::BeginReaction(int32_t hitKind, int32_t type, uint32_t element, int32_t damage) {
  TakeHit(hitKind, type, element, damage);
  reactionCount = kReactionLoops;
}

bool TEnemy::TakeWhileDying(int32_t hitKind, int32_t type, uint32_t element, int32_t damage) {
  if (hp > 0 || mainState == enemy_state::kNormal || Juggles(hitKind)) return false;
  TakeHit(hitKind, type, element, damage);
  return true;
}

bool TEnemy::Juggles(int32_t hitKind) const {
  return enemyClass->reactions == TReactionRule::kEveryKind &&
         (hitKind == hit_kind::kLaunch || hitKind == hit_kind::kBlowAway);
}

bool TEnemy::TakeUnmoved(int32_t hitKind, int32_t type, uint32_t element, int32_t damage, bool fromFront) {
  if (enemyClass->reactions != TReactionRule::kKillingBlowOnly) return false;
  const TKillingBlow& fall = enemyClass->killingBlow;
  TakeHit(hitKind, type, element, damage);
  const bool killed = hp == 0;
  if (killed) {
    if (fall.restartsCounter) {
      reactionCount = kReactionLoops;
      motionRate = 1.0f;
    }
    airHitScale = kKillSlide;
    mainState = enemy_state::kDown;
    KnockDownFacing(fromFront || !fall.fallsBySide);
  }
  if (fall.slideEveryHit) airHitScale = kKillSlide;
  return true;
}

bool TEnemy::Resists(int32_t power, float slide, bool heavyBlow) {
  if (mainState < 11 || mainState == enemy_state::kStunned || mainState < power) return false;
  // A knocked-down enemy just lies on; a launched one is kept up in the air.
  if (mainState == enemy_state::kLaunched) {
    if (heavyBlow)
      ScaleAndRestart(slide);
    else
      AirHitStep();
  }
  return true;
}

void TEnemy::KnockDownFacing(bool fromFront) {
  SetMode(fromFront ? enemy_mode::kDownFromFront : enemy_mode::kDownFromBehind);
}

void TEnemy::ReelOrKnockDown(int32_t lightType, float lightSlide, int32_t type, int32_t power, bool fromFront,
                             float rate, float slide) {
  if (type == 0 && hp == 0) {  // the killing blow knocks down
    type = lightType;
    slide = lightSlide;
    rate = 1.0f;
  }
  if (Resists(power, slide, false)) return;
  airHitScale = slide;
  motionRate = rate;
  if (type & kKnockDownTypes) {
    mainState = enemy_state::kDown;
    KnockDownFacing(fromFront);
  } else {
    mainState = enemy_state::kReeling;
    SetMode(fromFront ? enemy_mode::kReelFromFront : enemy_mode::kReelFromBehind);
  }
}

void TEnemy::OnHitKind1(uint32_t element, int32_t, int32_t type, int32_t power, bool fromFront, float rate,
                        float slide, int32_t damage) {
  if (TakeWhileDying(hit_kind::kKind1, type, element, damage)) return;
  if (TakeUnmoved(hit_kind::kKind1, type, element, damage, fromFront)) return;
  BeginReaction(hit_kind::kKind1, type, element, damage);
  ReelOrKnockDown(hit_kind::kKnockDown64, kKillSlide, type, power, fromFront, rate, slide);
}

void TEnemy::OnHitKind2(uint32_t element, int32_t, int32_t type, int32_t power, bool fromFront, float rate,
                        float slide, int32_t damage) {
  if (TakeWhileDying(hit_kind::kKind2, type, element, damage)) return;
  if (TakeUnmoved(hit_kind::kKind2, type, element, damage, fromFront)) return;
  BeginReaction(hit_kind::kKind2, type, element, damage);
  // A slide divisor of 0: the killing blow knocks it down where it stands.
  ReelOrKnockDown(hit_kind::kKnockDown32, 0.0f, type, power, fromFront, rate, slide);
}

void TEnemy::OnHitKind4(uint32_t element, int32_t, int32_t type, int32_t, bool fromFront, float, float slide,
                        float launchSpeed, int32_t damage) {
  if (TakeWhileDying(hit_kind::kLaunch, type, element, damage)) return;
  if (TakeUnmoved(hit_kind::kLaunch, type, element, damage, fromFront)) return;
  BeginReaction(hit_kind::kLaunch, type, element, damage);
  if (mainState < enemy_state::kLaunched) {
    airHitScale = slide;
    motionRate = 1.0f;
    gravity = kLaunchGravity;
    SetVelocityY(launchSpeed);
    mainState = enemy_state::kLaunched;
    SetMode(enemy_mode::kRising);
  } else if (mainState == enemy_state::kLaunched) {
    AirHitStep();
  }
}

void TEnemy::OnHitKind8(uint32_t element, int32_t, int32_t type, int32_t power, bool freeze, bool fromFront,
                        float rate, float slide, int32_t damage) {
  if (TakeWhileDying(hit_kind::kStun, type, element, damage)) return;
  if (TakeUnmoved(hit_kind::kStun, type, element, damage, fromFront)) return;
  BeginReaction(hit_kind::kStun, type, element, damage);
  // A killing stun falls as a killing light blow does, whatever knock it carries: stunned at 0 HP,
  // the enemy would stand up again and fight on. The hit is taken once.
  if (hp == 0)
    return ReelOrKnockDown(hit_kind::kKnockDown64, kKillSlide, type, power, fromFront, rate, slide);
  reactionCount = freeze ? kFrozenStunTicks : kReactionLoops;
  if (mainState == enemy_state::kStunned) {
    airHitScale = kStunnedAgainSlide;
    mainState = enemy_state::kDown;
    KnockDownFacing(fromFront);
  } else if (mainState == enemy_state::kNormal || mainState < power) {
    countFrames = freeze ? 1 : 0;
    motionRate = 1.0f;
    mainState = enemy_state::kStunned;
    SetMode(enemy_mode::kStunned);
  } else if (mainState == enemy_state::kLaunched) {
    AirHitStep();
  }
}

void TEnemy::OnHitKind16(uint32_t element, int32_t, int32_t type, int32_t power, bool fromFront, float rate,
                         float slide, int32_t damage) {
  if (TakeWhileDying(hit_kind::kBlowAway, type, element, damage)) return;
  if (TakeUnmoved(hit_kind::kBlowAway, type, element, damage, fromFront)) return;
  BeginReaction(hit_kind::kBlowAway, type, element, damage);
  if (mainState == enemy_state::kLaunched) return ScaleAndRestart(slide);
  if (Resists(power, slide, true)) return;
  airHitScale = slide;
  motionRate = rate;
  mainState = enemy_state::kBlownAway;
  KnockDownFacing(fromFront);
}
