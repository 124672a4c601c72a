// What an enemy's hit does to the player character by the kind of its reaction: the hit shown,
// the damage taken, and the flinch, knock-down, throw or stun that follows when the hit is
// stronger than what the character is already going through.
#include "game/actor/TPlayerChar.h"

namespace {

constexpr int32_t kKnockDowns = hit_kind::kKnockDown32 | hit_kind::kKnockDown64;
// Main states: the strength of the reaction under way.
constexpr uint32_t kFlinchState = 10, kStunState = 100, kDownState = 1000;
constexpr uint32_t kThrownState = 100000, kBlownAwayState = 1000000;
constexpr float kFallSlide = 120.0f;  // the divisor of a killing blow's fall and of a stun broken
constexpr int32_t kReactionLoops = 4;
constexpr int32_t kLongStunTicks = 400;
constexpr float kThrowGravity = -0.002f;
constexpr int32_t kFlinchBackMode = 7, kFlinchForwardMode = 8, kDownBackMode = 9, kDownForwardMode = 10;
constexpr int32_t kBlownUpMode = 13, kStunnedMode = 16;

}  // namespace

bool TPlayerChar::IsInterruptedBy(int32_t strength) const {
  const auto state = static_cast<uint32_t>(mainState);
  return state <= kFlinchState || state == kStunState || state < static_cast<uint32_t>(strength);
}

void TPlayerChar::KnockDown(bool front) { SetMode(front ? kDownBackMode : kDownForwardMode); }

void TPlayerChar::FlinchOrKnockDown(int32_t killFlags, int32_t knockFlags, int32_t strength, bool front, float rate,
                                    float divisor) {
  if (knockFlags == 0 && hp == 0) {
    knockFlags = killFlags;
    divisor = kFallSlide;
    rate = 1.0f;
  }
  if (IsInterruptedBy(strength)) {
    airHitScale = divisor;
    motionRate = rate;
    if (knockFlags & kKnockDowns) {
      mainState = static_cast<int32_t>(kDownState);
      KnockDown(front);
    } else {
      mainState = static_cast<int32_t>(kFlinchState);
      SetMode(front ? kFlinchBackMode : kFlinchForwardMode);
    }
  } else if (static_cast<uint32_t>(mainState) == kThrownState) {
    AirHitStep();
  }
}

void TPlayerChar::OnHitKind1(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front,
                             float rate, float divisor, int32_t damage) {
  ShowHitKind1Effects(damage, static_cast<uint32_t>(knockFlags), static_cast<int32_t>(overhead), b);
  TakeDamage(damage);
  reactionCount = kReactionLoops;
  FlinchOrKnockDown(hit_kind::kKnockDown64, knockFlags, strength, front, rate, divisor);
}

void TPlayerChar::OnHitKind2(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front,
                             float rate, float divisor, int32_t damage) {
  ShowHitKind2Effects(damage, static_cast<uint32_t>(knockFlags), static_cast<int32_t>(overhead), b);
  TakeDamage(damage);
  reactionCount = kReactionLoops;
  FlinchOrKnockDown(hit_kind::kKnockDown32, knockFlags, strength, front, rate, divisor);
}

void TPlayerChar::OnHitKind4(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t, bool, float, float divisor,
                             float speed, int32_t damage) {
  ShowHitKind4Effects(damage, static_cast<uint32_t>(knockFlags), static_cast<int32_t>(overhead), b);
  TakeDamage(damage);
  reactionCount = kReactionLoops;
  const auto state = static_cast<uint32_t>(mainState);
  if (state < kThrownState) {
    airHitScale = divisor;
    motionRate = 1.0f;
    gravity = kThrowGravity;
    SetVelocityY(speed);
    mainState = static_cast<int32_t>(kThrownState);
    SetMode(kBlownUpMode);
  } else if (state == kThrownState) {
    // Already in the air: kept up, not thrown again.
    AirHitStep();
  }
}

void TPlayerChar::OnHitKind8(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool longStun,
                             bool front, float rate, float divisor, int32_t damage) {
  stunMark = 1;
  ShowHitKind8Effects(damage, static_cast<uint32_t>(knockFlags), static_cast<int32_t>(overhead), b);
  TakeDamage(damage);
  reactionCount = longStun ? kLongStunTicks : kReactionLoops;
  // A killing stun falls as a killing light blow does; the hit is shown and taken once.
  if (knockFlags == 0 && hp == 0) {
    reactionCount = kReactionLoops;
    return FlinchOrKnockDown(hit_kind::kKnockDown64, knockFlags, strength, front, rate, divisor);
  }
  const auto state = static_cast<uint32_t>(mainState);
  if (state == kStunState) {
    airHitScale = kFallSlide;
    mainState = static_cast<int32_t>(kDownState);
    KnockDown(front);
  } else if (state <= kFlinchState || state < static_cast<uint32_t>(strength)) {
    countFrames = longStun ? 1 : 0;
    motionRate = 1.0f;
    mainState = static_cast<int32_t>(kStunState);
    SetMode(kStunnedMode);
  } else if (state == kThrownState) {
    AirHitStep();
  }
}

void TPlayerChar::OnHitKind16(uint32_t overhead, int32_t b, int32_t knockFlags, int32_t strength, bool front,
                              float rate, float divisor, int32_t damage) {
  ShowHitKind16Effects(damage, static_cast<uint32_t>(knockFlags), static_cast<int32_t>(overhead), b);
  TakeDamage(damage);
  reactionCount = kReactionLoops;
  const auto state = static_cast<uint32_t>(mainState);
  if (IsInterruptedBy(strength) && state != kThrownState) {
    airHitScale = divisor;
    motionRate = rate;
    mainState = static_cast<int32_t>(kBlownAwayState);
    KnockDown(front);
  } else if (state == kThrownState) {
    ScaleAndRestart(divisor);
  }
}

// Kinds 1 and 2 share their look, as do 8 and 16; the display reads the knock flags and the
// overhead kind only.
void TPlayerChar::ShowHitKind1Effects(int32_t, uint32_t knockFlags, int32_t overhead, int32_t) {
  ShowHitEffects(hit_kind::kKind1, static_cast<int32_t>(knockFlags), overhead);
}
void TPlayerChar::ShowHitKind2Effects(int32_t, uint32_t knockFlags, int32_t overhead, int32_t) {
  ShowHitEffects(hit_kind::kKind2, static_cast<int32_t>(knockFlags), overhead);
}
void TPlayerChar::ShowHitKind4Effects(int32_t, uint32_t knockFlags, int32_t overhead, int32_t) {
  ShowHitEffects(hit_kind::kLaunch, static_cast<int32_t>(knockFlags), overhead);
}
void TPlayerChar::ShowHitKind8Effects(int32_t, uint32_t knockFlags, int32_t overhead, int32_t) {
  ShowHitEffects(hit_kind::kStun, static_cast<int32_t>(knockFlags), overhead);
}
void TPlayerChar::ShowHitKind16Effects(int32_t, uint32_t knockFlags, int32_t overhead, int32_t) {
  ShowHitEffects(hit_kind::kBlowAway, static_cast<int32_t>(knockFlags), overhead);
}
