#include "game/field/StageStandIns.h"

void PlaceMapObjectsStandIn(const TMapData&, TStage&) {}
