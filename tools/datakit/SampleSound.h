// The sound files of a playable game folder: the effect, voice and music lists in the table
// folder, their two sound packs and the music (one piece with an intro), and the message
// window's list "subset/speak_se.tbl".
#pragma once
#include <string>

namespace datakit {

// dir ends with "/"; writes "data/tbl03/{se,voice,bgm}.tbl", "data/tbl03/subset/speak_se.tbl",
// "data/se03/{se,voice}.pse" and the ".ogg" files of "data/bgm03/".
void WriteSampleSound(const std::string& dir);

}  // namespace datakit
