// Pattern tables (".pat") through their reader alone: the hero's read as its model loads, then
// the record of every frame looked up as the motions ask for them, and the times around the ends
// of each motion. Nothing is played.
#include <algorithm>
#include <limits>

#include "game/actor/TPatternInfo.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace pattern_reader_fuzz {

// Bounds the look-ups of a large table; the reader has read it all by then.
constexpr uint32_t kMotions = 64;
constexpr uint32_t kFrames = 256;

void LookUp(const TPatternInfo& pattern) {
  // A time outside every motion gives the shared all-zero record; past its frames a motion does too.
  const TAttackInfo* const outside = pattern.GetInfo(0, -1.0f);
  const uint32_t motions = std::min(pattern.GetMotionCount() + 1, kMotions);
  for (uint32_t motion = 0; motion < motions; ++motion) {
    for (uint32_t frame = 0; frame < kFrames; ++frame)
      if (pattern.GetInfo(motion, static_cast<float>(frame) + 0.5f) == outside) break;
    pattern.GetInfo(motion, std::numeric_limits<float>::quiet_NaN());
    pattern.GetInfo(motion, std::numeric_limits<float>::infinity());
  }
}

}  // namespace pattern_reader_fuzz

DW_FUZZ_TARGET(pattern_reader) {
  fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/hero01.pat", data, size);
  fuzz::Guard([&] { pattern_reader_fuzz::LookUp(TPatternInfo("hero01.pat")); });
}
