// The effect assets of the sample game folder that the effect kind registry names, beyond the effect
// meshes that WriteSampleMeshes writes (the particle quad, the trail and bolt ribbons, the arrow, the
// ice crystal's debris): small generated models, each file written by one writer.
#pragma once
#include <string>

namespace datakit {

// Writes under the game folder (ending in "/"): the debris meshes of pieces and the shots' meshes
// under "data/msh03/effect/", the frame files of the model effects and chains under
// "data/frm03/effect/" (each with one animation whose keys span the times its kinds reach, at most
// 30) and the pack "data/ptx03/effect.ptx". With WriteSampleMeshes the folder holds every effect
// asset the game loads.
void WriteSampleEffects(const std::string& gameFolder);

}  // namespace datakit
