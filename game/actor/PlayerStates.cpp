// The action states every style shares (states 0-24 of every style's table): the skill being run
// and the one chained after it, the five common skills with their recoveries, and the handlers
// that end a state on the latched command.
#include <algorithm>
#include <array>
#include <cstdio>

#include "common/TMesh8.h"
#include "game/actor/TPlayerChar.h"

namespace {

constexpr int32_t kChainedSkillState = 3;
constexpr int32_t kBoostFrames = 120;
constexpr int32_t kIdleMode = 0, kFallMode = 5;

}  // namespace

std::span<const TPlayerChar::TStateRow> TPlayerChar::CommonStateRows() {
  using P = TPlayerChar;
  static const std::array<TStateRow, kCommonStates> rows = {{
      {0, nullptr},
      {19, &P::RunSkillState, 2, {0, 1}},
      {20, &P::EndMotionToIdle},
      {21, &P::RunChainedSkillState, 4, {0, 1, 3}},
      {20, &P::EndMotionToIdle},
      {22, &P::EndMotionThenCommand, 6, {0, 5, 7}},
      {23, &P::EndMotionToIdle},
      {24, &P::EndMotionThenCommand, 8, {0, 5, 7}},
      {23, &P::EndMotionToIdle},
      {25, &P::EndMotionThenCommand, 10, {0, 9, 11}, &P::boostA},
      {26, &P::EndMotionToIdle},
      {27, &P::EndMotionThenCommand, 12, {0, 9, 11}, &P::boostB},
      {26, &P::EndMotionToIdle},
      {28, &P::EndMotionThenCommand, 14, {0, 13, 15}},
      {29, &P::EndMotionToIdle},
      {30, &P::EndMotionThenCommand, 16, {0, 13, 15}},
      {29, &P::EndMotionToIdle},
      {31, &P::EndMotionThenCommand, 18, {0, 17, 19}},
      {32, &P::EndMotionToIdle},
      {33, &P::EndMotionThenCommand, 20, {0, 17, 19}},
      {32, &P::EndMotionToIdle},
      {34, &P::EndMotionThenState, 22},
      {35, &P::EndMotionToIdle},
      {36, &P::EndMotionThenState, 24},
      {35, &P::EndMotionToIdle},
  }};
  return rows;
}

void TPlayerChar::ChangeState(int32_t state) {
  const std::span<const TStateRow> table = GetStateTable();
  // A state outside the table would leave the character in the action mode with nothing to run.
  if (state < 1 || static_cast<size_t>(state) >= table.size()) {
    std::fprintf(stderr, "player: no action state %d of %zu\n", static_cast<int>(state), table.size());
    return;
  }
  SetMode(kActionMode);
  TActor::ChangeState(state);
  stateRow = &table[static_cast<size_t>(state)];
  model->SetMotion(stateRow->motion);
}

// --- commands --------------------------------------------------------------------------------------

bool TPlayerChar::Obeys(const TStateRow& row, int32_t state, bool air) {
  // A state the style's table lacks (a technique of no state gives -1) would leave the character
  // in the action mode with nothing to run.
  if (state <= 0 || static_cast<size_t>(state) >= GetStateTable().size()) return false;
  if (std::find(row.excluded.begin(), row.excluded.end(), state) != row.excluded.end()) return false;
  return !IsCommandRefused(state) && IsAirTechnique(state) == air;
}

int32_t TPlayerChar::ObeyCommand(const TStateRow& row) {
  uint32_t argument = 0;
  const uint32_t kind = TakeCommand(argument);
  const auto commanded = static_cast<int32_t>(argument);
  int32_t next = row.next;
  if (kind == kHoldCommand)
    next = GetHoldState();
  else if (kind == kStateCommand && Obeys(row, commanded))
    next = commanded;
  ChangeState(next);
  return next;
}

// --- handlers --------------------------------------------------------------------------------------

bool TPlayerChar::RunSkillStep() { return skillStep && RunSkill(*skillStep); }

void TPlayerChar::RunSkillState(const TStateRow& row) {
  if (RunSkillStep()) return;
  if (ObeyCommand(row) != kChainedSkillState) return;
  // The skill chosen while this one ran follows it.
  skillDone = 0;
  skillTick = 0;
  skillVolley = 0;
  skillStep = nextSkillStep;
}

void TPlayerChar::RunChainedSkillState(const TStateRow& row) {
  if (!RunSkillStep()) ObeyCommand(row);
}

void TPlayerChar::EndMotionThenCommand(const TStateRow& row) {
  if (model->AdvanceMotion(false, 1.0f)) return;
  if (row.boost) (this->*row.boost).Set(kBoostFrames);
  ObeyCommand(row);
}

void TPlayerChar::EndMotionThenState(const TStateRow& row) {
  if (!model->AdvanceMotion(false, 1.0f)) ChangeState(row.next);
}

bool TPlayerChar::EndMotionTo(int32_t movementMode) {
  if (model->AdvanceMotion(false, 1.0f)) return true;
  ClearHits();
  SetMode(movementMode);
  return false;
}

void TPlayerChar::EndMotionToIdle(const TStateRow&) { EndMotionTo(kIdleMode); }

void TPlayerChar::EndMotionToFall(const TStateRow&) { EndMotionTo(kFallMode); }
