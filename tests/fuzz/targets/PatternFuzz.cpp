// Pattern tables (".pat"), read as a character loads its model: here the hero's. Then what the
// game does with them: every frame of the hero's motions asks its record for hit volumes, attacks,
// sounds, voices, shakes, blinks and steps, in a while of fighting on the battle map.
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(pattern) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/hero01.pat", data, size);
  game.Play("03.pbms/field", 120);
}
