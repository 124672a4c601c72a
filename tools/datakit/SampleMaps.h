// The maps of a playable game folder: "data/scr03/03.pbms" with a town ("03.pbms/town", kind 0,
// a rail camera) and a battle map ("03.pbms/field", kind 1, a chase camera, two slimes placed and
// a spawn point of slimes, at most two at once), and their ground and collision meshes under the
// mesh folder's map folder ("data/msh03/map03/"), and their minimap pictures
// ("data/ptx03/minimap.ptx", entries "town" and "field"). Both maps have a sky.
#pragma once
#include <string>

#include "tools/datakit/MapDataWriter.h"
#include "tools/datakit/PtxWriter.h"

namespace datakit {

// The battle map's spawn point brings a slime this many frames after the last one died.
constexpr uint32_t kSampleRespawnFrames = 300;

MapDataWriter SampleMapPack();
PtxWriter SampleMiniMapPack();
// dir ends with "/"; writes the map-data file, the meshes it names and the minimap pictures.
void WriteSampleMaps(const std::string& dir);

}  // namespace datakit
