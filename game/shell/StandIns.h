// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in ShellServices.cpp) with the real one.
#pragma once
#include <cstdint>
#include <string>

#include "game/shell/TShellServices.h"

namespace standin {

// The folders of loaders not built yet (textures, meshes, models, weapon states,
// patterns, the hit table, maps, stage scripts, visuals, effects): remembered only.
void SetFolder(DataFolder which, const std::string& folder);
const std::string& GetFolder(DataFolder which);

// Textures, sprites, meshes, frames, shaders and the sky.
void CreateSky();
void SetSpriteScreen(uint32_t virtualWidth, uint32_t virtualHeight, uint32_t realWidth, uint32_t realHeight);
void PurgeTextures(int mode);

// The title clears the screen to one colour until the game ends; the yes/no dialog answers at
// once: mode 1 quits the game, mode 0 closes itself and the title behind it resumes.
TScene* CreateTitle(TGameWnd& app);
TScene* CreateYesNo(TGameWnd& app, int mode);

}  // namespace standin
