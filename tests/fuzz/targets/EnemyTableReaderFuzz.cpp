// "enemy.tbl" through its reader alone: the enemy database read as start-up reads it, then an id
// it lacks found as a placement would find it. Nothing is played.
#include "game/enemy/TEnemyTable.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(enemy_table_reader) {
  fuzz::Game::Get();
  fuzz::WriteFile("fuzztbl/enemy.tbl", data, size);
  EnemyDatabase.clear();
  LoadEnemyDatabase("fuzztbl/enemy.tbl");
  FindEnemyRecord(0xFFFFFFFFu);
}
