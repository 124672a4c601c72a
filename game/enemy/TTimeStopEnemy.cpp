#include "game/enemy/TTimeStopEnemy.h"

#include <iterator>

#include "game/effect/MtRandomState.h"
#include "game/effect/TimeStopState.h"
#include "game/field/TStage.h"
#include "sound/TSoundSet8.h"

using plat::D3DXVECTOR3;

namespace {

// What the variant changes besides its class row: one in `odds` picks of an attack stops time
// (one in `weakOdds` below a tenth of its HP), and whether it wears auras.
struct TVariant {
  uint32_t odds;
  uint32_t weakOdds;
  bool auras;
};
constexpr TVariant kVariants[] = {{20, 12, false}, {15, 8, true}};

const TVariant& VariantOf(uint8_t variant) { return kVariants[variant == 0 ? 0 : 1]; }

// The attacks drawn from by distance: the first row whose bound the distance exceeds. Exactly 4.0
// falls to the middle row.
struct TDistanceRow {
  float beyond;
  std::array<uint8_t, 10> attacks;
};
constexpr TDistanceRow kDistanceRows[] = {
    {4.0f, {5, 5, 5, 5, 5, 5, 5, 2, 2, 3}},
    {2.0f, {1, 1, 4, 4, 0, 7, 3, 3, 6, 6}},
    {-1.0f, {0, 0, 1, 1, 4, 4, 7, 7, 8, 8}},
};

// Where the auras shake: a little above each frame's origin.
const D3DXVECTOR3 kAuraPoint(0, 0.1f, 0);
const D3DXVECTOR3 kAuraJitterScale(100.0f, 200.0f, 100.0f);

void LetTimeRun() { SetTimeStop(false, nullptr, nullptr); }

}  // namespace

TTimeStopEnemy::TTimeStopEnemy(const TEnemyRecord& record, int32_t actionCount, uint8_t aiTableFlag, uint8_t variant)
    : TStandardEnemy(record, actionCount, aiTableFlag, TimeStopEnemyClass(variant)), timeStopVariant(variant) {}

TTimeStopEnemy::TTimeStopEnemy(const TTimeStopEnemy& source)
    : TStandardEnemy(source), timeStopVariant(source.timeStopVariant) {
  LetTimeRun();
  TimeStopState::Get().BuildBoard();
}

TTimeStopEnemy::~TTimeStopEnemy() { LetTimeRun(); }

TCountedPtr<TEnemy> TTimeStopEnemy::Clone(TEnemyManager* owner) const { return CloneAs(*this, owner); }

void TTimeStopEnemy::Update() {
  if (GetTimeStop() && TimeStopState::Get().CountDown()) CreateAttackHit(kFinishingAttack, sceneFrame, GetPosition());
  TStandardEnemy::Update();
}

void TTimeStopEnemy::OnHitLanded(TFieldActor&, int32_t landedValue, int32_t, uint8_t hasHit) {
  if (hasHit != 0 || landedValue != kTimeStopValue) return;
  TFieldActor* player = PlayerBody();
  SetTimeStop(true, fieldStage ? fieldStage->GetViewFrame() : nullptr, player ? player->GetFrame() : nullptr);
  PlaySe(kStopSound);
  if (TSoundSet8* set = GetSounds().GetSeList().GetSoundSet()) set->PlayLoop(kStopLoop);
}

void TTimeStopEnemy::PickAttack(float distance) {
  TurnTowardAim();
  const TVariant& variant = VariantOf(timeStopVariant);
  const bool weak = int64_t{hp} * 10 < maxHp;
  const uint32_t odds = weak ? variant.weakOdds : variant.odds;
  if (!GetTimeStop() && GenRand() % odds == 0) return ChangeState(kTimeStopAttack);
  const TDistanceRow* row = std::begin(kDistanceRows);
  while (row + 1 != std::end(kDistanceRows) && !(distance > row->beyond)) ++row;
  ChangeState(row->attacks[GenRand() % row->attacks.size()]);
}

void TTimeStopEnemy::Attach(TStageLinks* onStage) {
  TStandardEnemy::Attach(onStage);
  if (!VariantOf(timeStopVariant).auras) return;
  const TCountedPtr<TFrame8> carriers[] = {GetFramePtr(), leftWeaponFrame, rightWeaponFrame};
  for (size_t k = 0; k < auraEffects.size(); ++k)
    auraEffects[k] = SpawnAura({kAuraKind, kAuraPoint, kAuraPoint, kAuraJitterScale}, carriers[k]);
}

void TTimeStopEnemy::Detach() {
  for (TCountedPtr<TEffect>& aura : auraEffects) {
    if (aura) aura->Kill();
    aura.Reset();
  }
  TStandardEnemy::Detach();
}
