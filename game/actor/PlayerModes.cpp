// The movement modes every style shares: standing, walking and running, jumping, falling and
// landing, flinching and being knocked down, lying (and dying), being thrown and stunned, the
// level-up and using an item. Row 19 runs the style's current action state.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/TMesh8.h"
#include "game/actor/PlayerHud.h"
#include "game/actor/TPlayerChar.h"
#include "game/data/TGameData.h"
#include "game/data/TItemMeanTable.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kStandMode = 0, kStartWalkMode = 1, kRunMode = 3;
constexpr float kDrift = 0.8f;  // how far a throw carries the body a tick, before the divisor
// The escape from a slide.
constexpr uint32_t kEscapeSkill = 5;
constexpr int32_t kEscapeCost = 20;
constexpr float kEscapeWindow = 2.0f;
constexpr int32_t kEscapeState = 21;
constexpr int32_t kGetUpBlink = 60;
constexpr int32_t kDeathVoiceHp = -1;
// The level-up's shock: a hit volume once in the motion's window.
constexpr uint32_t kShockHit = 59999;
constexpr float kShockFrom = 5.0f, kShockTo = 5.5f;
constexpr int32_t kLevelUpBlink = 90;
// Using an item.
constexpr float kItemMoment = 4.5f;
constexpr int32_t kItemSound = 503;
constexpr uint16_t kHpItemAttack = 2000, kMpItemAttack = 2001, kFirstBoostAttack = 2002, kCureAttack = 2006;

}  // namespace

const TPlayerChar::TModeTable& TPlayerChar::BaseModeTable() {
  using P = TPlayerChar;
  static const TModeTable table = {{
      {0, &P::MoveStand},
      {1, &P::MoveStartWalk, 2},
      {2, &P::MoveWalk},
      {3, &P::MoveWalk},
      {4, &P::MoveJump, 5},
      {5, &P::MoveFall},
      {6, &P::PlayMotionThen, 0},
      {7, &P::MoveSlide, kResetMode, kBackward, 1},
      {8, &P::MoveSlide, kResetMode, kForward, 1},
      {9, &P::MoveSlide, 11, kBackward},
      {10, &P::MoveSlide, 12, kForward},
      {11, &P::MoveLie},
      {12, &P::MoveLie},
      {13, &P::MoveBlownUp, 14, kBackward},
      {14, &P::MoveBlownFall, 15, kBackward},
      {15, &P::PlayMotionThen, 11},
      {16, &P::MoveStunned},
      {17, &P::MoveLevelUp, 0},
      {18, &P::MoveUseItem, 0},
      {19, &P::RunActionState},
  }};
  return table;
}

// --- standing and moving -------------------------------------------------------------------------

void TPlayerChar::TurnByPad() { frame->RotateAxis(D3DXVECTOR3(0, 1, 0), GetTurnStep(), true); }

void TPlayerChar::MoveStand(const TModeRow&) {
  if (doubleTapFlag) {
    doubleTapFlag = 0;
    SetMode(kRunMode);
  } else if (DirectionHeld()) {
    SetMode(kStartWalkMode);
  } else {
    model->AdvanceMotion(true, 1.0f);
  }
}

void TPlayerChar::MoveStartWalk(const TModeRow& row) {
  if (!DirectionHeld()) return SetMode(kStandMode);
  if (!model->AdvanceMotion(false, 1.0f)) return SetMode(row.next);
  TurnByPad();
}

// The travel itself is the pattern's displacement of the walking and running motions.
void TPlayerChar::MoveWalk(const TModeRow&) {
  if (!DirectionHeld()) return SetMode(kStandMode);
  TurnByPad();
  model->AdvanceMotion(true, 1.0f);
}

void TPlayerChar::MoveJump(const TModeRow& row) {
  MoveByPad(true);
  if (!model->AdvanceMotion(false, 1.0f)) SetMode(row.next);
}

void TPlayerChar::MoveFall(const TModeRow&) {
  MoveByPad(true);
  model->AdvanceMotion(false, 1.0f);
  FireFixedAttack();
}

void TPlayerChar::PlayMotionThen(const TModeRow& row) {
  if (model->AdvanceMotion(false, 1.0f)) return;
  motionRate = 1.0f;
  SetMode(row.next);
}

// --- hit reactions' modes ------------------------------------------------------------------------

void TPlayerChar::Push(const TModeRow& row, float distance, float factor) {
  // A hit that gave no divisor slides nothing.
  if (airHitScale == 0) return;
  const float d = distance / airHitScale * factor;
  if (std::isfinite(d)) frame->Translate(0, 0, row.push * d, true);
}

bool TPlayerChar::TryEscape(float time) {
  const TGameData* data = TGameData::Instance();
  if (!data || data->GetSkillSlot(member, hud->GetSkillRingCursor()) != kEscapeSkill) return false;
  if (hp <= 0 || sp < kEscapeCost || !(time < kEscapeWindow) || !(GetButtons(0) & kButtonB)) return false;
  LoseMp(kEscapeCost);
  Reset();
  ChangeState(kEscapeState);
  return true;
}

void TPlayerChar::MoveSlide(const TModeRow& row) {
  const float time = model->GetMotionTime();
  if (TryEscape(time)) return;
  const TMotionClip8* clip = model->GetData()->GetClip(model->GetMotion());
  const float last = clip ? static_cast<float>(clip->frameCount) - 1.0f : 0.0f;
  if (time < last) Push(row, last - time, motionRate);
  if (model->AdvanceMotion(false, row.atHitRate ? motionRate : 1.0f)) return;
  motionRate = 1.0f;
  if (row.next == kResetMode)
    Reset();
  else
    SetMode(row.next);
}

void TPlayerChar::MoveLie(const TModeRow&) {
  if (hp > 0) {
    if (model->AdvanceMotion(false, 1.0f)) return;
    Reset();
    StartBlink(1, kGetUpBlink);
    return;
  }
  // Dead: the character lies on, and the count below 0 is how long (the field ends the game).
  StartBlink(0, kBlinkUntilStopped);
  if (--hp == kDeathVoiceHp) PlayDownVoice();
}

void TPlayerChar::MoveBlownUp(const TModeRow& row) {
  Push(row, kDrift, 1.0f);
  model->AdvanceMotion(false, 1.0f);
  if (velocity.y <= 0) SetMode(row.next);
}

void TPlayerChar::MoveBlownFall(const TModeRow& row) {
  Push(row, kDrift, 1.0f);
  model->AdvanceMotion(false, 1.0f);
  if (landed) SetMode(row.next);
}

void TPlayerChar::MoveStunned(const TModeRow&) {
  // Counted in ticks, or in plays of the looping motion.
  if (!countFrames && model->AdvanceMotion(true, 1.0f)) return;
  if (--reactionCount <= 0) Reset();
}

// --- the level-up and the item ring ----------------------------------------------------------------

void TPlayerChar::MoveLevelUp(const TModeRow& row) {
  const float time = model->GetMotionTime();
  if (time > kShockFrom && time <= kShockTo) {
    const D3DXVECTOR3 at = GetBodyCenter();
    CreateAttackHit(kShockHit, sceneFrame, &at);
  }
  if (model->AdvanceMotion(false, 1.0f)) return;
  StartBlink(1, kLevelUpBlink);
  SetMode(row.next);
}

void TPlayerChar::MoveUseItem(const TModeRow& row) {
  if (ringItem != 0 && model->GetMotionTime() > kItemMoment) ApplyRingItem();
  if (!model->AdvanceMotion(false, 1.0f)) SetMode(row.next);
}

void TPlayerChar::AttackOfKind(uint16_t kind) {
  TAttackInfo info;
  info.attackKind = kind;
  Attack(info);
}

void TPlayerChar::ApplyRingItem() {
  const uint32_t id = ringItem;
  // The latch goes first: the item is used once however long the motion runs.
  SetRingItem(0);
  TGameData* data = TGameData::Instance();
  if (data) data->RemoveItem(id, 1);
  hud->RefreshItemRing();
  const TItemMeanRecord& item = *TItemMeanTable::GetRecord(id);
  const TCountedPtr<TItemEffect> effect = TItemMeanTable::Find(id);

  if (item.ringCost > 0)
    ringPointsUsed = static_cast<int32_t>(std::min<int64_t>(int64_t{ringPointsUsed} + item.ringCost, ringPointsMax));
  if (item.hpRestored > 0) {
    RecoverHp(item.hpRestored);
    AttackOfKind(kHpItemAttack);
  }
  if (item.mpRestored > 0) {
    RecoverMp(item.mpRestored);
    AttackOfKind(kMpItemAttack);
  }
  bool boosted = false;
  for (size_t k = 0; k < item.boosts.size(); ++k) {
    if (item.boosts[k] <= 0) continue;
    AttackOfKind(static_cast<uint16_t>(kFirstBoostAttack + k));
    boosted = true;
  }
  for (size_t k = 0; k < item.cures.size(); ++k) {
    if (!item.cures[k]) continue;
    ClearAilment(static_cast<int32_t>(k));
    AttackOfKind(kCureAttack);
  }
  PlaySe(kItemSound);
  if (boosted) TakeTimedModifier(effect);
}

// --- the action ------------------------------------------------------------------------------------

void TPlayerChar::RunActionState(const TModeRow&) {
  if (stateRow && stateRow->handler) (this->*stateRow->handler)(*stateRow);
}
