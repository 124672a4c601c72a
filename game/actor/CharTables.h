// The player's two per-character tables, read at construction from the table folder: what a
// defeated enemy gives in experience ("ex.tbl") and in ability points ("abp.tbl"), by the level
// difference between the player and the enemy. Entry 100 is for equal levels.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kEqualLevelsEntry = 100;
constexpr int32_t kLastLevelEntry = 200;  // the player 100 levels above the enemy

// The id column of the table file in file order; a file that is missing or cannot be read whole
// gives an empty table and a line on stderr.
std::vector<uint32_t> ReadCharTable(const std::string& path);

// The entry for the player's level minus the enemy's, the index held within the table's 201
// entries; an entry the table does not have gives 0.
uint32_t CharTableEntry(const std::vector<uint32_t>& table, int64_t levelDifference);
