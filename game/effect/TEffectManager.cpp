#include "game/effect/TEffectManager.h"

#include <cstdio>
#include <utility>

using plat::D3DXVECTOR3;

TEffectManager::TEffectManager() = default;

TEffectManager::TEffectManager(const PrototypeBuilder& buildPrototypes) {
  if (buildPrototypes) buildPrototypes(*this);
}

TEffectManager::~TEffectManager() {
  prototypes.clear();
  // Normally empty (the stage clears it first); a frame left hanging would be drawn un-updated.
  Clear();
}

void TEffectManager::Register(TEffectKind kind, std::unique_ptr<TEffect> prototype) {
  prototypes[kind] = TCountedPtr<TEffect>(prototype.release());
}

TCountedPtr<TEffect> TEffectManager::PrototypeFor(TEffectKind kind) const {
  const auto found = prototypes.find(kind);
  if (found == prototypes.end() || !found->second) return TCountedPtr<TEffect>();
  return TCountedPtr<TEffect>(found->second->Clone().release());
}

TCountedPtr<TEffect> TEffectManager::Spawn(TEffectKind kind, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt,
                                           TFrame8& parent, TEffectStage* stage, const plat::D3DCOLORVALUE& colour,
                                           const D3DXVECTOR3& scale) {
  const int32_t id = nextId;
  nextId = static_cast<int32_t>(static_cast<uint32_t>(nextId) + 1);
  TCountedPtr<TEffect> effect = PrototypeFor(kind);
  if (!effect) {
    std::fprintf(stderr, "TEffectManager: no effect of kind %d to spawn\n", kind);
    return effect;
  }
  if (!(scale.x == 1.0f && scale.y == 1.0f && scale.z == 1.0f)) effect->SetScale(scale);
  effect->Init(id, position, lookAt, parent, stage, colour);
  live.push_back(effect);
  return effect;
}

void TEffectManager::Update() {
  // Spawns during the walk append to the list, which moves no element; only the current one is
  // ever erased.
  for (auto it = live.begin(); it != live.end();) {
    if ((*it)->Update()) {
      ++it;
      continue;
    }
    (*it)->Detach();
    it = live.erase(it);
  }
}

void TEffectManager::Clear() {
  for (const TCountedPtr<TEffect>& effect : live) effect->Detach();
  // Let go through a local list: a destructor that spawns must not meet a half-cleared one.
  std::list<TCountedPtr<TEffect>> gone;
  gone.swap(live);
}
