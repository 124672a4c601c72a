// Weapon-hand keys (".wpm"), read as a character loads its model: here the hero's. Then what the
// game does with them: the weapon placed in the hero's hands on every frame of its motions, in a
// while of walking and fighting on the battle map.
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(weapon_state) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/hero01.wpm", data, size);
  game.Play("03.pbms/field", 120);
}
