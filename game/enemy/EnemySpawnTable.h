// Which behaviour class and which constructor arguments every enemy id has: the one table that
// spawning by id reads. The ids run from 0 to 79 and from 10000 to 10027; no other id has a row.
#pragma once
#include <cstdint>
#include <vector>

#include "common/TCountedPtr.h"
#include "game/enemy/TEnemy.h"

enum class TEnemyClassId : char {
  kStandard = 'A',
  kSuperArmoured = 'B',
  kElement = 'C',
  kReviving = 'D',
  kArmoured = 'E',
  kTimeStop = 'F',
};

// The constructor arguments after the record; a class reads those it takes.
struct TSpawnArgs {
  int32_t actionCount;
  uint8_t aiTableFlag;
  int32_t elementIndex = 0;      // element enemy
  int32_t revivalAttackId = -1;  // reviving enemy
  float statFactor = 1.0f;
  int32_t revivalLimit = 0;
  uint8_t timeStopVariant = 0;  // time-stop enemy
};

struct TSpawnRow {
  TEnemyClassId enemyClass;
  TSpawnArgs args;
  std::vector<uint32_t> ids;
};

// Every row, in the table's order.
const std::vector<TSpawnRow>& EnemySpawnRows();
// The row that lists the id; null for none.
const TSpawnRow* FindSpawnRow(uint32_t enemyId);
// A new, unplaced enemy of the row's class, built from the record with the row's arguments.
TCountedPtr<TEnemy> MakeEnemy(const TSpawnRow& row, const TEnemyRecord& record);
