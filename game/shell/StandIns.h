// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in ShellServices.cpp) with the real one.
#pragma once
#include <cstdint>
#include <string>

#include "game/shell/TShellServices.h"

namespace standin {

// Data folders, the random seed, the tables and the game-progress record: remembered only.
void SetFolder(DataFolder which, const std::string& folder);
const std::string& GetFolder(DataFolder which);
void SeedRandom(uint32_t seed);
void LoadTable(const std::string& path);
void LoadGameTables();
void SetChapterNo(int32_t chapter);
void SetLevelCap(uint32_t level);
void SetGoldCap(int32_t gold);
void FreeGameTables();
void DestroyScriptEngine();

// Sound: nothing plays.
void InitSound(plat::HWND window);
void LoadSoundSet(const std::string& listPath, const std::string& packPrefix, int32_t setId);
void PurgeUnusedSounds();
void UninitSound();

// Textures, sprites, meshes, frames, shaders and the sky.
void CreateSky();
void SetSpriteScreen(uint32_t virtualWidth, uint32_t virtualHeight, uint32_t realWidth, uint32_t realHeight);
void PurgeTextures(int mode);

// The title clears the screen to one colour until the game ends; the yes/no dialog answers at
// once: mode 1 quits the game, mode 0 closes itself and the title behind it resumes.
TScene* CreateTitle(TGameWnd& app);
TScene* CreateYesNo(TGameWnd& app, int mode);

}  // namespace standin
