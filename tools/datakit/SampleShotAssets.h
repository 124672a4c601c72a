// The assets of shots: the shots' mesh files (the particle quad that particle bullets show is
// WriteSampleEffectMeshes'), and the texture pack "effect.ptx" with the sheets the shots name, each a
// 2 x 2 sheet of four shades of the element's colour.
#pragma once
#include <string>
#include <vector>

#include "tools/datakit/PtxWriter.h"

namespace datakit {

// The "effect.ptx" entries of the shots ("fire", "wind", "smoke", ...).
const std::vector<std::string>& SampleShotTextures();
// "effect.ptx" with those entries.
PtxWriter SampleEffectPack();
// Writes the shots' mesh files "effect/wind01.msh", "effect/rock01_mesh.msh", "effect/gareki00.msh" and
// "effect/meteo.msh" under folder (which ends in "/").
void WriteSampleShotMeshes(const std::string& folder);

}  // namespace datakit
