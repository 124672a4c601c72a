// The frame files of a playable game folder: two effect models under the frame folder.
#pragma once
#include <string>

namespace datakit {

// folder is the frame folder ending with "/" ("data/frm03/" of a game folder); writes
// "effect/flash01.frm" (a still square), "effect/ring01_anim.frm" (a turning, growing ring) and
// "effect/ice01_anim.frm" (an ice crystal growing out of the ground over its first five frame
// times).
void WriteSampleFrames(const std::string& folder);

}  // namespace datakit
