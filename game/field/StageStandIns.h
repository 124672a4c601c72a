// Stand-ins for what a stage places before those parts are built. Each is replaced by the real one
// when that lands.
#pragma once

class TMapData;
class TStage;

// The map objects are not built yet: a map places none.
void PlaceMapObjectsStandIn(const TMapData& map, TStage& stage);
