#include "game/enemy/TElementEnemy.h"

using plat::D3DXVECTOR3;

namespace {

// The aura of each element: its shot, how far its trail rises per bullet, and how high on the body
// it shakes, as a share of the enemy's height.
struct TElementAura {
  TEffectKind kind;
  float rise;
  float heightShare;
};

constexpr TElementAura kElementAuras[TElementEnemy::kElements] = {
    {800, 0.08f, 0.5f},  {801, 0.08f, 0.5f}, {802, -0.05f, 1.0f}, {803, 0.06f, 0.5f},
    {807, -0.05f, 1.0f}, {808, 0.08f, 0.5f}, {805, 0.05f, 0.5f},
};
const D3DXVECTOR3 kJitterScale(200.0f, 300.0f, 200.0f);

}  // namespace

TElementEnemy::TElementEnemy(const TEnemyRecord& record, int32_t actionCount, int32_t element, uint8_t aiTableFlag)
    : TStandardEnemy(record, actionCount, aiTableFlag, ElementEnemyClass()), elementIndex(element) {}

TElementEnemy::TElementEnemy(const TElementEnemy& source) : TStandardEnemy(source), elementIndex(source.elementIndex) {}

TCountedPtr<TEnemy> TElementEnemy::Clone(TEnemyManager* owner) const { return CloneAs(*this, owner); }

void TElementEnemy::Attach(TStageLinks* onStage) {
  TStandardEnemy::Attach(onStage);
  if (elementIndex < 0 || elementIndex >= kElements) return;
  const TElementAura& row = kElementAuras[elementIndex];
  const TAura aura{row.kind, D3DXVECTOR3(0, 0, GetBodyHeight() * row.heightShare), D3DXVECTOR3(0, row.rise, 0),
                   kJitterScale};
  auraEffect = SpawnAura(aura, GetFramePtr());
}

void TElementEnemy::Detach() {
  if (auraEffect) auraEffect->Kill();
  auraEffect.Reset();
  TStandardEnemy::Detach();
}
