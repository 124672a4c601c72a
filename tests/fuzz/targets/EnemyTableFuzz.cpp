// "enemy.tbl": the enemy database read as start-up reads it. Then what the game does with it: the
// sample arena, where one enemy of each class is placed, and the battle map, whose spawn points
// bring enemies back, each played for a while with the hero fighting.
#include "game/enemy/TEnemyTable.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(enemy_table) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("fuzztbl/enemy.tbl", data, size);
  EnemyDatabase.clear();
  LoadEnemyDatabase("fuzztbl/enemy.tbl");
  game.Play("03.pbms/arena", 90);
  game.Play("03.pbms/field", 90);
}
