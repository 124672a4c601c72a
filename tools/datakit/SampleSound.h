// The sound files of a playable game folder: the effect, voice and music lists in the table
// folder, their two sound packs and the music (the field's tune, music 0; the title's, music 1,
// one piece with an intro; the game over's, music 10, SampleTitle.h), and the lists of the
// message window ("subset/speak_se.tbl"), of the HUD's rings ("subset/itemring_se.tbl",
// "subset/skillgauge_se.tbl"), of the field menu ("subset/menu_se.tbl"), of the story events
// ("subset/event_se.tbl" with sound 110, "subset/event_bgm.tbl" with music 39 to 46 and the
// ending's 11), of the player characters ("char/" + name + "_se.tbl", "_vc.tbl"), of the sample
// enemies (SampleEnemies.h), of the shops ("subset/shop_se.tbl"), of the inn ("subset/inn_bgm.tbl",
// the rest tune 16, "inn.ogg", 3200 ms) and of the title and the game over (SampleTitle.h).
#pragma once
#include <string>

namespace datakit {

// dir ends with "/"; writes "data/tbl03/{se,voice,bgm}.tbl", the lists of "data/tbl03/subset/" and
// "data/tbl03/char/", "data/se03/{se,voice}.pse" and the ".ogg" files of "data/bgm03/".
void WriteSampleSound(const std::string& dir);

}  // namespace datakit
