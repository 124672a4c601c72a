// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in GameServices.cpp) with the real one.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/FieldServices.h"
#include "game/shell/TShellServices.h"

namespace standin {

// The title clears the screen to one colour and shows a panel of "sprite.ptx" with the game's
// name until the game ends; the yes/no dialog answers at
// once: mode 1 quits the game, mode 0 closes itself and the title behind it resumes.
TScene* CreateTitle(TGameWnd& app);
TScene* CreateYesNo(TGameWnd& app, int mode);

// The field's services: the real HUD parts; the field's own stand-ins for the player, the enemy
// manager, the menu (none) and the villagers (none); conversations run on the real script engine
// with the message window "Text" and "Flag", but "Shop" and "MapEvent" are not there yet, so a
// conversation never ends the field.
TFieldServices& FieldServices();

}  // namespace standin
