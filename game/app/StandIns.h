// Stand-ins for the subsystems that the game window starts, calls and stops before they exist.
// Each later subsystem replaces its own entry (and its call in GameServices.cpp) with the real one.
#pragma once
#include "game/field/FieldServices.h"

namespace standin {

// The field's services: the real player character (in the style that the installed maker gives its
// weapon), HUD parts, field menu, enemy manager and game-over screen; villagers made from their
// scripts through "VillagerInfo"; conversations and map scripts run on the real script engine with
// "Text", "Flag", "Shop" and "MapEvent".
TFieldServices& FieldServices();

}  // namespace standin
