// The assets of shots: the shots' mesh files (the particle quad that particle bullets show is
// WriteSampleEffectMeshes'), and the texture pack "effect.ptx" with the sheets that shots and
// particles name, each a 32 x 32 picture of 2 x 2 cells in four shades of the sheet's colour.
#pragma once
#include <string>
#include <vector>

#include "tools/datakit/PtxWriter.h"

namespace datakit {

// The 14 "effect.ptx" entries ("ain", "fire", "wind", "smoke", "thunder00", ...).
const std::vector<std::string>& SampleEffectTextures();
// "effect.ptx" with those entries.
PtxWriter SampleEffectPack();
// Writes the shots' mesh files "effect/wind01.msh", "effect/rock01_mesh.msh", "effect/gareki00.msh" and
// "effect/meteo.msh" under folder (which ends in "/").
void WriteSampleShotMeshes(const std::string& folder);

}  // namespace datakit
