// The meshes of the sample game folder: the weapon models that the sample weapon and item tables
// name, the map models of items and money, the sky, the effect meshes, the party members' plain
// models and those of the fighting styles ("char03/"), the town's villagers ("char03/villager00.tob"
// to "villager03.tob", each with an idle clip), the blob shadow under every game object and the
// story events' sets and actors (SampleEventMeshes.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datakit/MeshWriter.h"

namespace datakit {

// The model names of the sample weapons ("wepon/" + name + ".msh").
const std::vector<std::string>& SampleWeaponModels();
// The trail ribbon's quads in "effect/sword01.msh".
constexpr uint32_t kSampleTrailQuads = 24;
// The quads of each thunder bolt in "effect/thunder.msh" (nine segments).
constexpr uint32_t kSampleBoltQuads = 8;
// The status icons' names ("effect/icon_status_" + name + ".msh") and colours, in status order.
struct SampleStatusIcon {
  std::string name;
  Rgba colour;
};
const std::vector<SampleStatusIcon>& SampleStatusIcons();
// Writes the meshes that the game's own effect code loads: the time-stop board
// "effect/board00.msh" (a 2 x 2 square upright in the x-y plane), the blade-trail ribbon
// "effect/sword01.msh" (parked far below the view), the seven status icons, the particle quad
// "effect/particle_mesh.msh" (0.5 wide), the thunder bolt ribbon "effect/thunder.msh", the arrow
// "effect/arw00.msh" (along +z), the ice crystal's debris "effect/ice01_mesh.msh" (triangles on
// vertices of their own) and the save point "effect/savepoint.msh".
void WriteSampleEffectMeshes(const std::string& folder);
// Writes every sample mesh under folder (which ends in "/", e.g. DIR + "/data/msh03/").
void WriteSampleMeshes(const std::string& folder);

}  // namespace datakit
