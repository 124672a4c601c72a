// Process-wide values of the game data and the start-up and shutdown of the game tables.
#pragma once
#include <cstdint>
#include <string>

void SetChapterNo(int32_t chapter);
int32_t GetChapterNo();
void SetLevelCap(uint32_t cap);
uint32_t GetLevelCap();
void SetGoldCap(int32_t cap);
int32_t GetGoldCap();
// Folders are joined in front of file names as they stand, so they end in "/".
void SetSaveFolder(const std::string& folder);
const std::string& GetSaveFolder();
void SetDataFolder(const std::string& folder);
const std::string& GetDataFolder();

// Loads the item, skill, save-point and hero-definition tables from the data folder and puts a new
// game-progress record in place of any old one.
void LoadGameTables();
// Empties those four tables and destroys the record.
void FreeGameTables();
