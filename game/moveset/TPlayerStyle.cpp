#include "game/moveset/TPlayerStyle.h"

#include <algorithm>

#include "common/TFrame8.h"
#include "game/actor/ActorAttack.h"
#include "game/actor/PlayerHud.h"
#include "game/data/TGameData.h"
#include "game/data/TSkillTable.h"
#include "game/effect/TEffectManager.h"
#include "game/field/TStageLinks.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kRunMode = 3, kJumpMode = 4, kFallMode = 5;
// Skills of the ring that no button starts: the escape, and the passive kinds.
constexpr uint32_t kEscapeSkill = 5;
constexpr uint8_t kRoutineSkill = 1, kPassiveKinds[] = {2, 3};
constexpr int32_t kRoutineTap = 1, kRoutineHold = 3;

// The recoil of a landed hit by its landed value: a hop, a step forward, and whether a buffered
// press is taken to keep an air combo going.
struct TRecoilRow {
  int32_t landedValue;
  float hop;
  float step;
  bool keepsCombo;
};
constexpr TRecoilRow kRecoils[] = {{1, 0.05f, 0.2f, true}, {2, 0.06f, 0.2f, true}, {3, 0.07f, 0.1f, false}};

// The piece a landed hit sticks on its target, and how long it waits before it strikes.
struct TPieceRow {
  int32_t landedValue;
  TEffectKind kind;
  uint32_t wait;
};
constexpr TPieceRow kPieces[] = {{4, 700, 300}, {5, 701, 500}};

bool IsAirMode(uint32_t mode) { return mode == kJumpMode || mode == kFallMode; }

}  // namespace

TPlayerStyle::TPlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, const std::string& model,
                           const TStyleTable& table)
    : TPlayerChar(scene, member, block, table.model ? std::string(table.model) : model, table.queueCapacity),
      table(table) {
  for (std::span<const TTechniqueRow> rows : {CommonTechniques(), table.techniques})
    for (const TTechniqueRow& row : rows) tapMap[row.skillId] = row.tap;
  for (std::span<const TTechniqueRow> rows : {CommonTechniques(), table.techniques})
    for (const TTechniqueRow& row : rows) holdMap[row.skillId] = row.hold;
  SetMode(0);
  EquipFromBlock(block);
}

// --- techniques ------------------------------------------------------------------------------------

int32_t TPlayerStyle::StateForTechnique(uint32_t skillId, bool hold) {
  if (skillId == 0) return 0;
  const uint8_t kind = TSkillTable::Find(skillId)->kind;
  if (kind == kRoutineSkill) return hold ? kRoutineHold : kRoutineTap;
  if (kind != 0 && kind != table.SkillKind()) return -1;
  return (hold ? holdMap : tapMap)[skillId];
}

bool TPlayerStyle::IsAirTechnique(int32_t state) {
  return std::find(table.airStates.begin(), table.airStates.end(), state) != table.airStates.end();
}

uint32_t TPlayerStyle::RingSkill() const {
  const TGameData* data = TGameData::Instance();
  const uint32_t id = data ? data->GetSkillSlot(member, GetHud().GetSkillRingCursor()) : 0;
  if (id == 0 || id == kEscapeSkill) return 0;
  const uint8_t kind = TSkillTable::Find(id)->kind;
  return std::find(std::begin(kPassiveKinds), std::end(kPassiveKinds), kind) != std::end(kPassiveKinds) ? 0 : id;
}

int32_t TPlayerStyle::TechniqueState(uint32_t skillId, bool hold) {
  // A skill of another style's kind has no state here; the skill lists never hold one.
  return std::max(StateForTechnique(skillId, hold), 0);
}

bool TPlayerStyle::IsAirSkill(uint32_t skillId, int32_t state) {
  const auto [low, high] = table.airSubKinds;
  if (high == 0) return IsAirTechnique(state);
  const uint8_t subKind = TSkillTable::Find(skillId)->icon;
  return subKind >= low && subKind <= high;
}

// --- the buttons ------------------------------------------------------------------------------------

void TPlayerStyle::OnHoldA() {
  const uint32_t counter = GetHoldCounterA();
  if (counter < kHoldFires || counter == kHoldSpent) return;
  SetHoldCounterA(kHoldSpent);
  if (mode == kActionMode) return PostCommand(kHoldCommand, 0);
  if (!IsFreeForAction()) return;
  if (mode == kRunMode)
    ChangeState(table.held.run);
  else if (mode < kRunMode)
    ChangeState(table.held.ground);
  else if (IsHighAboveGround())
    ChangeState(table.held.air);
}

void TPlayerStyle::OnReleaseA() {
  if (GetHoldCounterA() == kHoldSpent) return SetHoldCounterA(0);
  if (!IsFreeForAction()) return;
  if (mode == kActionMode) {
    PushHit(1);
  } else if (IsAirMode(mode)) {
    SetAirCombo(false);
    ChangeState(table.released.air);
  } else {
    ChangeState(mode == kRunMode ? table.released.run : table.released.ground);
  }
}

void TPlayerStyle::OnHoldB() {
  const uint32_t counter = GetHoldCounterB();
  if (counter < kHoldFires || counter == kHoldSpent) return;
  SetHoldCounterB(kHoldSpent);
  const uint32_t id = RingSkill();
  if (id == 0) return;
  const int32_t state = TechniqueState(id, true);
  SetSkillCommand(id, true);
  if (mode == kActionMode) return PostCommand(kStateCommand, static_cast<uint32_t>(state));
  if (!IsFreeForAction() || state == 0) return;
  // A held technique starts on the ground only from the standing and moving modes.
  if (IsAirSkill(id, state) == (mode > kRunMode)) ChangeState(state);
}

void TPlayerStyle::OnReleaseB() {
  if (GetHoldCounterB() == kHoldSpent) return SetHoldCounterB(0);
  if (!IsFreeForAction()) return;
  const uint32_t id = RingSkill();
  if (id == 0) return;
  const int32_t state = TechniqueState(id, false);
  SetSkillCommand(id, false);
  if (mode == kActionMode) return PostCommand(kStateCommand, static_cast<uint32_t>(state));
  // A tapped technique starts in the air only from a jump or a fall.
  if (state != 0 && IsAirTechnique(state) == IsAirMode(mode)) ChangeState(state);
}

// --- landed hits ------------------------------------------------------------------------------------

void TPlayerStyle::OnHitLanded(TFieldActor& target, int32_t landedValue, int32_t damage, uint8_t hasHit) {
  OnHitLandedBody(target, landedValue, damage, hasHit);
  if (hasHit) return;
  if (table.hits & kHitsRecoil) Recoil(landedValue);
  if (table.hits & kHitsEffects) SpawnPiece(target, landedValue);
}

void TPlayerStyle::Recoil(int32_t landedValue) {
  for (const TRecoilRow& row : kRecoils) {
    if (row.landedValue != landedValue) continue;
    SetVelocityY(row.hop);
    frame->Translate(0, 0, -row.step, true);
    if (row.keepsCombo && PopHit() == 1) SetAirCombo(true);
  }
}

void TPlayerStyle::SpawnPiece(TFieldActor& target, int32_t landedValue) {
  for (const TPieceRow& row : kPieces)
    if (row.landedValue == landedValue) attack::StickPiece(*this, *frame, target, row.kind, 2.0f, row.wait);
}
