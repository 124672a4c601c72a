// Weapon-hand keys (".wpm") through their reader alone: the hero's read as its model loads, then
// both hands' matrices asked for on the frames of each motion, between them and past the last, as
// the weapons are placed. Nothing is played.
#include <algorithm>

#include "game/actor/TWeponState.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace weapon_state_reader_fuzz {

// Bounds the look-ups of a large table; the reader has read it all by then.
constexpr uint32_t kMotions = 64;
constexpr float kTimes[] = {0.0f, 0.5f, 1.0f, 2.25f, 7.5f, 1e6f};

void LookUp(const TWeponState& weapons) {
  plat::D3DXMATRIX matrix;
  const uint32_t motions = std::min(weapons.GetMotionCount() + 1, kMotions);
  for (uint32_t motion = 0; motion < motions; ++motion)
    for (float time : kTimes) {
      weapons.GetLeftMatrix(&matrix, motion, time);
      weapons.GetRightMatrix(&matrix, motion, time);
    }
}

}  // namespace weapon_state_reader_fuzz

DW_FUZZ_TARGET(weapon_state_reader) {
  fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/hero01.wpm", data, size);
  fuzz::Guard([&] { weapon_state_reader_fuzz::LookUp(TWeponState("hero01.wpm")); });
}
