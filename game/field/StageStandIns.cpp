#include "game/field/StageStandIns.h"

using plat::D3DXVECTOR3;

void PlaceMapObjectsStandIn(const TMapData&, TStage&) {}

TMapItemStandIn::TMapItemStandIn(TStage* stage, int32_t itemId, int32_t gold, const D3DXVECTOR3& position)
    : TMapObject(stage), itemId(itemId), gold(gold), position(position) {}

int32_t TMapItemStandIn::Test() {
  if (--lifetime <= 0) Deactivate();
  return 1;
}

TCountedPtr<TMapObject> CreateDroppedItem(TStage& stage, int32_t itemId, int32_t gold, const D3DXVECTOR3& position) {
  return TCountedPtr<TMapObject>(new TMapItemStandIn(&stage, itemId, gold, position));
}
