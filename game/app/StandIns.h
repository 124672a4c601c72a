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
// The scene change back to the title: no fade; it lets the music go at once and is the title.
TScene* CreateTitleChange(TGameWnd& app, int32_t musicId);

// The field's services: the real player character (in the one stand-in style until the fighting
// styles are built), HUD parts, field menu and enemy manager; the field's own stand-in for the game
// over (a scene that ends at once); villagers made from their scripts through "VillagerInfo";
// conversations and map scripts run on the real script engine with the message window "Text" and
// "Flag", and with stand-ins for "Shop" (opens nothing) and "MapEvent" (a map change, op 0, and the
// interactive event, op 3; its other operations leave the result word 1 and let the script go on).
TFieldServices& FieldServices();

}  // namespace standin
