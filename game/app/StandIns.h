// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in GameServices.cpp) with the real one.
#pragma once
#include <cstdint>
#include <string>

#include "game/field/FieldServices.h"
#include "game/shell/TShellServices.h"

namespace standin {

// The title clears the screen to one colour and shows a panel of "sprite.ptx" with the game's
// name until the game ends.
TScene* CreateTitle(TGameWnd& app);

// The field's services: the real player character (the stand-in style for the weapon types whose styles
// are not built yet), HUD parts, field menu and enemy manager; the field's own stand-in for the game
// over (a scene that ends at once); villagers made from their scripts through "VillagerInfo";
// conversations and map scripts run on the real script engine with "Text", "Flag", "Shop" and
// "MapEvent" (whose shops are the script library's stand-ins until the shops are built).
TFieldServices& FieldServices();

}  // namespace standin
