// A small, complete game folder: what make-sample-game writes and the whole-game benchmarks run in.
#pragma once
#include <string>

namespace datakit {

// Writes every file the game loads into folder (created as needed); throws on a failed write.
void WriteSampleGame(const std::string& folder);

}  // namespace datakit
