// The texture packs of a playable game folder, shared by the sample game and the tests.
#pragma once
#include "tools/datakit/PtxWriter.h"

namespace datakit {

// "sprite.ptx": window frame, cursor, digits and a backdrop, one of each picture kind.
PtxWriter SampleSpritePack();

}  // namespace datakit
