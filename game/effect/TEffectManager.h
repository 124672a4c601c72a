// The live effects of one field scene and the prototypes they are cloned from, by effect kind.
// Everything that shows an effect spawns it here; the stage updates the manager once per tick and
// clears it when it goes. The manager does not draw: live effects hang in the scene graph.
#pragma once
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>

#include "common/TCountedPtr.h"
#include "game/effect/TEffect.h"

class TEffectManager {
 public:
  using PrototypeBuilder = std::function<void(TEffectManager&)>;

  // No prototypes; Register adds them.
  TEffectManager();
  // Registers what the builder makes (the game's registry loads every effect asset here).
  explicit TEffectManager(const PrototypeBuilder& buildPrototypes);
  TEffectManager(const TEffectManager&) = delete;
  TEffectManager& operator=(const TEffectManager&) = delete;
  // Live effects still here are detached and released after the prototypes.
  ~TEffectManager();

  // Takes the prototype over as the kind's; an old one is released. A null prototype leaves the
  // kind without one.
  void Register(TEffectKind kind, std::unique_ptr<TEffect> prototype);

  // Clones the kind's prototype, scales it unless the scale is exactly (1, 1, 1), initialises it
  // with the next id and keeps it until it has finished. Every call takes an id. A kind without a
  // prototype gives an empty pointer and a line on stderr. Holders may keep the result: the effect
  // lives until the manager and every holder have let it go.
  TCountedPtr<TEffect> Spawn(TEffectKind kind, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt,
                             TFrame8& parent, TEffectStage* stage, const plat::D3DCOLORVALUE& colour,
                             const plat::D3DXVECTOR3& scale);
  // A fresh clone of the kind's prototype, or an empty pointer.
  TCountedPtr<TEffect> PrototypeFor(TEffectKind kind) const;

  // Updates every live effect in spawn order; effects spawned meanwhile get their first update in
  // the same walk. A finished effect is detached and let go at once.
  void Update();
  // Detaches and lets go of every live effect; the prototypes and the id counter stay.
  void Clear();

  size_t GetLiveCount() const { return live.size(); }
  // The live effects in spawn order.
  const std::list<TCountedPtr<TEffect>>& GetLive() const { return live; }
  int32_t GetNextId() const { return nextId; }

 private:
  std::list<TCountedPtr<TEffect>> live;
  std::map<TEffectKind, TCountedPtr<TEffect>> prototypes;
  int32_t nextId = 0;
};
