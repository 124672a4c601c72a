// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in GameServices.cpp) with the real one.
#pragma once
#include <cstdint>
#include <string>

#include "game/shell/TShellServices.h"

namespace standin {

// The sky (it needs meshes and shaders).
void CreateSky();

// The title clears the screen to one colour and shows a panel of "sprite.ptx" with the game's
// name until the game ends; the yes/no dialog answers at
// once: mode 1 quits the game, mode 0 closes itself and the title behind it resumes.
TScene* CreateTitle(TGameWnd& app);
TScene* CreateYesNo(TGameWnd& app, int mode);

}  // namespace standin
