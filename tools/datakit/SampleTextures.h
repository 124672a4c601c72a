// The texture packs of a playable game folder, shared by the sample game and the tests.
#pragma once
#include <string>

#include "tools/datakit/PtxWriter.h"

namespace datakit {

// "sprite.ptx": window frame, cursor, digits and a backdrop, one of each picture kind; the message
// window's panel, name plate, button icons and cursor; the HUD's glyph sheet "word", character
// panel, skill bar, item ring and acquisition window; the minimap's player arrow "cursor05"; the
// field menu's panels "window02_a" to "window02_n" (opaque, one colour each, with their entry's
// word left of the middle), the status window "window09" (worded), the options rows "window12" to
// "window15" (worded) and knob "cursor00", the yes/no dialog's question "window23" and "window24"
// and answer box "window10" (worded), the list arrows "cursor03" and "cursor04", the shops' list,
// quantity and owned-count windows "window17", "window18" and "window19" (opaque, one colour each,
// the list signed "ショップ" and the owned count's word), and the menu screens' list window
// "window20". Letters and signs of the glyph sheet are drawn in IPA Gothic.
PtxWriter SampleSpritePack();
// The colour of the field menu's panel "window02_" + letter ('a' to 'n').
Rgb SampleMenuPanelColour(char letter);
// "itm_icon.ptx": the item icons, entries "itm02_icon" to "itm13_icon" (one per weapon type) and
// "itm00_icon", "itm01_icon".
PtxWriter SampleItemIconPack();
// The HUD's and the menus' packs into folder (which ends in "/"): "face.ptx" (one face per party
// member of the sample, a simple drawn face), "itemicon.ptx" and "iteminfo.ptx" (every sample item's icon and
// picture), "skillinfo.ptx" (every sample skill's picture), "skl_icon.ptx" (all 38 skill icons),
// and "hero.ptx" and "heroine.ptx" with their three costumes.
void WriteSampleHudPacks(const std::string& folder);

}  // namespace datakit
