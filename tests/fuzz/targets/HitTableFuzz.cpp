// The hit table "basic.bht", read as every battle stage reads it when it loads. Then what the game
// does with its records: the hero's and the enemies' attacks open hit volumes from them, which hit,
// turn and hurt whoever they reach, in a while of fighting on the battle map.
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(hit_table) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/basic.bht", data, size);
  game.Play("03.pbms/field", 120);
}
