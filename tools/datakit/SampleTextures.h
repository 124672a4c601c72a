// The texture packs of a playable game folder, shared by the sample game and the tests.
#pragma once
#include "tools/datakit/PtxWriter.h"

namespace datakit {

// "sprite.ptx": window frame, cursor, digits and a backdrop, one of each picture kind; the message
// window's panel, name plate, button icons and cursor; the HUD's glyph sheet "word".
PtxWriter SampleSpritePack();
// "itm_icon.ptx": the item icons, entries "itm02_icon" to "itm13_icon" (one per weapon type).
PtxWriter SampleItemIconPack();

}  // namespace datakit
