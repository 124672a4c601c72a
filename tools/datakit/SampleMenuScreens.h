// The field menu's item, equipment and skill screens' own picture in "sprite.ptx": their list
// window "window20" (288 × 320, one opaque colour). The other windows, the cursors, the arrows and
// the save screen's panels are the shared ones of the sprite pack.
#pragma once
#include "tools/datakit/PtxWriter.h"

namespace datakit {

constexpr Rgb kSampleMenuListColour{50, 80, 60};

void AddSampleMenuScreenSprites(PtxWriter& sprites);

}  // namespace datakit
