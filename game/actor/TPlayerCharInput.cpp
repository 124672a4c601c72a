// The player character's side of the pad: commands for the action states, the buttons two ticks
// late, the double tap, jumping and falling, turning and stepping, and the field's keys.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/actor/TPlayerChar.h"
#include "game/data/TItemMeanTable.h"
#include "game/effect/TimeStopState.h"
#include "platform/gfx/D3DXAngles.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kRefusedSound = 608;
constexpr int32_t kLandingSound = 1000;
constexpr uint16_t kLandingAttack = 1000;
constexpr float kJumpGravity = -0.007f;
constexpr float kJumpSpeed = 0.18f;
constexpr float kFallSpeedFactor = 10.0f;
constexpr uint32_t kFirstSkillCommand = 100, kLastSkillCommand = 159;
constexpr float kDegree = plat::D3DXToRadian(1.0f);
constexpr float kMaxTurnFactor = 3.0f;
constexpr float kTurnPerFactor = 10.0f * kDegree;
constexpr float kSmallTurn = 0.1f;
constexpr float kSnapWindow = 60.0f;  // degrees either side
constexpr float kSnapTurn = std::numbers::pi_v<float> / 3.0f;

// The double tap: 0 idle, 10-18 the first press held, 20-28 released and waiting.
constexpr uint32_t kTapHeld = 10, kTapHeldLast = 18, kTapWaiting = 20, kTapWaitingLast = 28, kTapEnd = 30;

// Steps of the movement modes 0-3 along the body's front.
constexpr float kMoveSteps[] = {0.01f, 0.02f, 0.05f, 0.08f};

bool Held(uint32_t word, uint32_t button) { return (word & button) != 0; }

// A direction's turn factor from the reference's place (x, z) in the body's space: a = cx x + cz z.
struct TTurnRow {
  uint32_t direction;
  float cx, cz;
  float heading;  // the pad's angle about the vertical, seen from the reference
};
constexpr float kPi = std::numbers::pi_v<float>;
constexpr TTurnRow kTurnRows[] = {
    {TPlayerChar::kUp, 1, 0, kPi},
    {TPlayerChar::kDown, -1, 0, 0},
    {TPlayerChar::kLeft, 0, -1, kPi / 2},
    {TPlayerChar::kRight, 0, 1, -kPi / 2},
    {TPlayerChar::kUp | TPlayerChar::kLeft, 1, -1, 3 * kPi / 4},
    {TPlayerChar::kDown | TPlayerChar::kLeft, -1, -1, kPi / 4},
    {TPlayerChar::kUp | TPlayerChar::kRight, 1, 1, -3 * kPi / 4},
    {TPlayerChar::kDown | TPlayerChar::kRight, -1, 1, -kPi / 4},
};

const TTurnRow* TurnRowOf(uint32_t direction) {
  for (const TTurnRow& row : kTurnRows)
    if (row.direction == direction) return &row;
  return nullptr;
}

// Reversed controls turn the other way and read the pad from the other side.
float Mirrored(float heading) { return heading > 0 ? heading - kPi : heading + kPi; }

}  // namespace

// --- the command latch and the attack queue ------------------------------------------------------

uint32_t TPlayerChar::TakeCommand(uint32_t& argument) {
  const uint32_t kind = commandKind;
  argument = commandArgument;
  commandKind = 0;
  commandArgument = 0;
  return kind;
}

void TPlayerChar::PostCommand(uint32_t kind, uint32_t argument) {
  commandKind = kind;
  commandArgument = argument;
}

void TPlayerChar::ClearCommand() {
  commandKind = 0;
  doubleTapFlag = 0;
}

void TPlayerChar::ClearHits() {
  queue.Clear();
  skillDone = 0;
  skillTick = 0;
  skillVolley = 0;
  ClearCommand();
}

void TPlayerChar::SetSkillCommand(uint32_t command, bool charged) {
  if (command < kFirstSkillCommand || command > kLastSkillCommand) return;
  if (mode == kActionMode && (actionState == 1 || actionState == 3)) {
    nextSkillStep = GetSkillThunk(command, charged);
    return;
  }
  skillDone = 0;
  skillTick = 0;
  skillVolley = 0;
  skillStep = GetSkillThunk(command, charged);
}

bool TPlayerChar::PaySkillCost(uint32_t cost) {
  if (!skillBlock.IsRunning() && static_cast<uint32_t>(sp) > cost) {
    LoseMp(static_cast<int32_t>(cost));
    return true;
  }
  PlaySe(kRefusedSound);
  return false;
}

// --- the field's keys and the item ring --------------------------------------------------------------

bool TPlayerChar::IsMenuKeyTriggered() {
  if (levelUpPending || mainState != 1 || hp < 0 || GetTimeStop()) return false;
  if (mode == 17 || mode == 18 || mode == kActionMode) return false;
  return Held(GetButtons(0), kMenuButton) && !Held(GetButtons(1), kMenuButton);
}

bool TPlayerChar::IsExamineKeyTriggered() {
  if (levelUpPending || mainState != 1 || hp < 0) return false;
  if ((mode >= 4 && mode <= 6) || mode == 17 || mode == 18 || mode == kActionMode) return false;
  return Held(GetButtons(0), kButtonA) && !Held(GetButtons(1), kButtonA);
}

bool TPlayerChar::IsRingKeyHeld() const {
  if (mainState != 1 || hp < 0 || mode == 17 || mode == 18 || mode == kActionMode) return false;
  return Held(GetButtons(0), kRingButton);
}

void TPlayerChar::UseRingCommand(uint32_t itemId) {
  if (mainState != 1 || hp < 0) return;
  if ((mode >= 4 && mode <= 6) || mode == 17 || mode == 18 || mode == kActionMode) return;
  if (ringPointsMax - ringPointsUsed < TItemMeanTable::GetRecord(itemId)->ringCost) {
    PlaySe(kRefusedSound);
    return;
  }
  SetRingItem(itemId);
  SetMode(18);
}

// --- buttons -------------------------------------------------------------------------------------

namespace {

// A held button counts up from its press; a counter at 0 (reset by a style) or spent stays.
void CountHold(uint32_t& counter) {
  if (counter != TPlayerChar::kHoldSpent && counter != 0) ++counter;
}

}  // namespace

void TPlayerChar::DispatchButtons() {
  const uint32_t w0 = GetButtons(0), w2 = GetButtons(2), w3 = GetButtons(3);
  if (Held(w2, kButtonA)) {
    if (Held(w3, kButtonA)) {
      CountHold(holdA);
      if (!holdBlock.IsRunning()) OnHoldA();
    } else {
      holdA = 1;
      OnPressA();
    }
  }
  if (Held(w2, kButtonB)) {
    if (Held(w3, kButtonB)) {
      CountHold(holdB);
      OnHoldB();
    } else {
      holdB = 1;
      OnPressB();
    }
  }
  if (!Held(w0, kButtonA | kButtonB) && Held(w3, kButtonA) && Held(w3, kButtonB)) {
    OnReleaseAB();
    // Neither button is released on its own later.
    for (size_t age = 0; age <= 2; ++age) SetButtons(age, GetButtons(age) & ~(kButtonA | kButtonB));
    return;
  }
  if (!Held(w2, kButtonA) && Held(w3, kButtonA)) {
    if (holdBlock.IsRunning())
      PlaySe(kRefusedSound);
    else
      OnReleaseA();
  }
  if (!Held(w2, kButtonB) && Held(w3, kButtonB)) OnReleaseB();
}

void TPlayerChar::CheckDoubleTap() {
  const auto d = static_cast<uint8_t>(GetButtons(0) & kDirections);
  uint32_t& c = doubleTapCounter;
  if (c == 0) {
    if (d == 0 || (GetButtons(1) & kDirections) != 0) return;
    c = kTapHeld;
    doubleTapDirection = d;
    savedOrientation = *frame->GetMatrix();
    savedOrientation._41 = savedOrientation._42 = savedOrientation._43 = 0;
  } else if (c >= kTapHeld && c < kTapWaiting) {
    if (d == 0)
      c = kTapWaiting;
    else
      c = c == kTapHeldLast ? 0 : c + 1;  // held too long
  } else if (c >= kTapWaiting && c < kTapEnd) {
    if (d == doubleTapDirection) {
      doubleTappedDirection = d;
      doubleTapFlag = 1;
      c = 0;
    } else {
      c = c == kTapWaitingLast ? 0 : c + 1;
    }
  } else {
    c = 0;
  }
}

void TPlayerChar::CheckJump() {
  if (mode > 3 || !Held(GetButtons(0), kButtonC) || Held(GetButtons(1), kButtonC)) return;
  gravity = kJumpGravity;
  velocity.y = kJumpSpeed;
  SetMode(4);
}

void TPlayerChar::CheckFall() {
  if (mode > 3 || !(velocity.y < kFallSpeedFactor * defaultGravity)) return;
  gravity = kJumpGravity;
  SetMode(5);
}

bool TPlayerChar::FireFixedAttack() {
  if (!landed) return false;
  TAttackInfo landing;
  landing.attackKind = kLandingAttack;
  Attack(landing);
  SetMode((GetButtons(0) & kDirections) ? static_cast<int32_t>(lastMovementMode) : 6);
  PlaySe(kLandingSound);
  return true;
}

void TPlayerChar::MoveByPad(bool turn) {
  if (!(GetButtons(0) & kDirections)) return;
  if (turn) frame->RotateAxis(D3DXVECTOR3(0, 1, 0), GetTurnStep(), true);
  const float step = lastMovementMode < std::size(kMoveSteps) ? kMoveSteps[lastMovementMode] : 0.0f;
  frame->Translate(0, 0, -step, true);
}

float TPlayerChar::GetTurnStep() {
  const TTurnRow* row = TurnRowOf(GetButtons(0) & kDirections);
  if (!row || !referenceFrame) return 0;
  D3DXVECTOR3 p(0, 0, 0);
  referenceFrame->GetPositionRelativeTo(frame.Get(), &p);
  plat::D3DXVec3Normalize(&p, &p);
  const bool reversed = reversal.IsRunning();
  float a = row->cx * p.x + row->cz * p.z;
  if (reversed) a = -a;
  const float step = std::clamp(a, -kMaxTurnFactor, kMaxTurnFactor) * kTurnPerFactor;
  if (std::fabs(step) > kSmallTurn) return step;

  // Almost no turn: the pad may point straight behind the body, where the factor vanishes too.
  D3DXMATRIX turn, reference, body, toBody;
  plat::D3DXMatrixRotationY(&turn, reversed ? Mirrored(row->heading) : row->heading);
  referenceFrame->GetWorldMatrix(&reference);
  frame->GetInverseWorldMatrix(&body, true);
  plat::D3DXMatrixMultiply(&toBody, &turn, &reference);
  plat::D3DXMatrixMultiply(&toBody, &toBody, &body);
  // The direction the pad points away from, measured from the body's front (-z).
  const float heading = std::atan2(-toBody._31, -toBody._33) / kDegree;
  if (heading > -kSnapWindow && heading < kSnapWindow) return step > 0 ? kSnapTurn : -kSnapTurn;
  return step;
}
