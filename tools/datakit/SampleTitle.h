// The title's and the game over's files of a playable game folder: "title.ptx" with the title
// picture "title" (640 × 480, a dark blue gradient under the game's name), the menu "menu"
// (256 × 256, four bands of one colour each, the first three with their entry's word in white from
// x 24: Start, Load, Exit, and one never shown), the maker's logo "hrwk_logo" and the game-over
// picture "gameover", each with its words; the save and continue screens' windows in "sprite.ptx"
// (the overwrite questions worded); and the sound lists "subset/title_se.tbl" (600, 603, 605, 606),
// "subset/title_bgm.tbl" (the title tune, music 1) and "subset/die_bgm.tbl" (the game-over tune,
// music 10, "gameover.ogg").
#pragma once
#include <string>

#include "tools/datakit/PtxWriter.h"
#include "tools/datakit/TableWriter.h"

namespace datakit {

// The title tune and the game-over tune in the music set.
constexpr uint32_t kSampleTitleMusic = 1, kSampleGameOverMusic = 10;
// The colours of the menu's bands, top to bottom, and the title picture's top and foot.
constexpr Rgb kSampleMenuBands[4] = {{200, 60, 40}, {40, 170, 70}, {60, 90, 220}, {128, 128, 128}};
constexpr Rgb kSampleTitleTop{20, 30, 80}, kSampleTitleFoot{70, 40, 110};

PtxWriter SampleTitlePack();
// The save and continue screens' slot rows "window11", the questions before a save is overwritten
// "window25" (a save of this chapter) and "window26" (of another chapter), into the sprite pack.
void AddSampleSaveScreenSprites(PtxWriter& sprites);
// dir ends with "/" (the game folder): the sound lists of the title and the game over, and the
// game-over tune in the folder's "data/bgm03/" and in the music list `music`.
void AddSampleTitleSound(const std::string& dir, TableWriter& music);

}  // namespace datakit
