// Stand-ins for what a stage places before those parts are built. Each is replaced by the real one
// when that lands.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "game/field/TMapObject.h"
#include "platform/gfx/D3DXMath.h"

class TMapData;
class TStage;

// The map objects are not built yet: a map places none.
void PlaceMapObjectsStandIn(const TMapData& map, TStage& stage);

// A temporary item or heap of gold where an enemy fell, until the map items are built: it lies
// there unseen for its lifetime and nobody picks it up.
class TMapItemStandIn : public TMapObject {
 public:
  static constexpr int32_t kLifetime = 1000;

  TMapItemStandIn(TStage* stage, int32_t itemId, int32_t gold, const plat::D3DXVECTOR3& position);

  // Counts the lifetime down; inactive once it has run out.
  int32_t Test() override;

  int32_t GetItemId() const { return itemId; }
  int32_t GetGold() const { return gold; }
  const plat::D3DXVECTOR3& GetPosition() const { return position; }
  int32_t GetLifetime() const { return lifetime; }

 private:
  int32_t itemId;
  int32_t gold;
  plat::D3DXVECTOR3 position;
  int32_t lifetime = kLifetime;
};

// What an enemy drops onto the stage: an item (gold -1) or gold (item -1) lying at the position,
// untracked, so it goes by itself if nobody takes it.
TCountedPtr<TMapObject> CreateDroppedItem(TStage& stage, int32_t itemId, int32_t gold,
                                          const plat::D3DXVECTOR3& position);
