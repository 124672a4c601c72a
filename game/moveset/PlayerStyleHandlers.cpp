// The action-state handler templates: each runs once a tick while its state is current, and only
// at the end of its motion (or on landing) reads the attack-press queue and the latched command.
#include <algorithm>

#include "common/TMesh8.h"
#include "game/moveset/TPlayerStyle.h"

namespace {

constexpr int32_t kIdleMode = 0, kFallMode = 5;
constexpr float kRiseGravity = -0.007f;
constexpr float kRiseSpeed = 0.18f;

}  // namespace

// --- what the templates share ----------------------------------------------------------------------

bool TPlayerStyle::AdvanceMotion() { return model->AdvanceMotion(false, 1.0f); }

TPlayerStyle::TCommand TPlayerStyle::Take() {
  uint32_t value = 0;
  const uint32_t kind = TakeCommand(value);
  return {kind, static_cast<int32_t>(value)};
}

void TPlayerStyle::EndIn(int32_t end) {
  if (end >= 0) return ChangeState(end);
  ClearHits();
  SetMode(end == kFall ? kFallMode : kIdleMode);
}

void TPlayerStyle::Obey(const TStateRow& row, const TCommand& command, int32_t hold, int32_t end, bool air) {
  if (command.kind == kHoldCommand)
    EndIn(hold);
  else if (IsTechnique(row, command, air))
    ChangeState(command.state);
  else
    EndIn(end);
}

void TPlayerStyle::ObeyAir(const TStateRow& row, int32_t end) {
  const TCommand command = Take();
  SetAirCombo(false);
  // Too low, the hold is spent where it stands.
  if (command.kind == kHoldCommand && !IsHighAboveGround()) return;
  Obey(row, command, row.hold, end, true);
}

bool TPlayerStyle::Lands() {
  if (!FireFixedAttack()) return false;
  ClearHits();
  return true;
}

// --- ground ----------------------------------------------------------------------------------------

void TPlayerStyle::ComboStepHandler(const TStateRow& row) {
  if (AdvanceMotion()) return;
  if (PopHit() == 1) return ChangeState(row.chain);
  Obey(row, Take(), row.hold, row.next, false);
}

void TPlayerStyle::ComboFinishHandler(const TStateRow& row) {
  if (!AdvanceMotion()) Obey(row, Take(), row.hold, row.next, false);
}

void TPlayerStyle::TechniqueOnlyHandler(const TStateRow& row) {
  // A hold is used up for nothing.
  if (!AdvanceMotion()) Obey(row, Take(), row.next, row.next, false);
}

void TPlayerStyle::RecoverWithCommandsHandler(const TStateRow& row) {
  if (!AdvanceMotion()) Obey(row, Take(), GetHoldState(), kIdle, false);
}

// --- air -------------------------------------------------------------------------------------------

void TPlayerStyle::AirComboHandler(const TStateRow& row) {
  if (row.steered) MoveByPad(false);
  if (Lands() || AdvanceMotion()) return;
  ObeyAir(row, airCombo ? row.chain : row.next);
}

void TPlayerStyle::AirComboLastHandler(const TStateRow& row) {
  if (Lands() || AdvanceMotion()) return;
  ObeyAir(row, row.next);
}

void TPlayerStyle::AirTechniqueHandler(const TStateRow& row) {
  if (AdvanceMotion()) return;
  if (PopHit() == 1) {
    SetAirCombo(false);
    return ChangeState(row.chain);
  }
  Obey(row, Take(), row.hold, row.next, true);
}

void TPlayerStyle::AirHoldHandler(const TStateRow& row) {
  if (Lands()) return;
  if (AdvanceMotion()) return SetVelocityY(row.sink);
  if (row.chain && PopHit() == 1) return ChangeState(row.chain);
  const TCommand command = Take();
  if (command.kind == kHoldCommand && row.hold) {
    // Too low, the hold is spent where it stands.
    if (!row.heightTested || IsHighAboveGround()) ChangeState(row.hold);
  } else if (row.airTechniques && IsTechnique(row, command, true)) {
    ChangeState(command.state);
  } else {
    EndIn(row.next);
  }
}

void TPlayerStyle::RiseHandler(const TStateRow& row) {
  if (AdvanceMotion()) return;
  gravity = kRiseGravity;
  SetVelocityY(kRiseSpeed);
  ChangeState(row.next);
}

void TPlayerStyle::AwaitLandingHandler(const TStateRow& row) {
  AdvanceMotion();
  if (landed) ChangeState(row.next);
}

void TPlayerStyle::AirRecoverHandler(const TStateRow&) {
  if (!Lands()) EndMotionTo(kFallMode);
}

void TPlayerStyle::SteeredAirRecoverHandler(const TStateRow& row) {
  MoveByPad(false);
  AirRecoverHandler(row);
}
