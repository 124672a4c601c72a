// The hit table "basic.bht" through its reader alone: loaded into the program-wide table as a
// battle stage loads it, a record looked up as an attack looks it up, one the table holds and one
// it lacks, then unloaded as the stage's end unloads it. Nothing is played.
#include "game/field/THitTable.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

DW_FUZZ_TARGET(hit_table_reader) {
  fuzz::Game::Get();
  fuzz::WriteFile("data/chrdata03/basic.bht", data, size);
  THitTable::Load("basic.bht");
  THitTable::Find(1);
  THitTable::Find(0xFFFFFFFFu);
  THitTable::Unload();
}
