// The field menu's screens' own pictures in "sprite.ptx": the item, equipment and skill screens'
// list window "window20" (288 × 320, one opaque colour) and the status window "window09" (512 × 320,
// a gradient worded beside the places where the status screen writes its seventeen values). The
// other windows, the cursors, the arrows and the save screen's panels are the shared ones of the
// sprite pack.
#pragma once
#include "tools/datakit/PtxWriter.h"

namespace datakit {

constexpr Rgb kSampleMenuListColour{50, 80, 60};

void AddSampleMenuScreenSprites(PtxWriter& sprites);

}  // namespace datakit
