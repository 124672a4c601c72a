// The field's link to the subsystems above it: what the field scene asks of them (through
// TFieldServices), each answered by the real subsystem.
#pragma once
#include "game/field/FieldServices.h"

namespace field_links {

// The field's services: the real player character (in the style that the installed maker gives its
// weapon), HUD parts, field menu, enemy manager and game-over screen; villagers made from their
// scripts through "VillagerInfo"; conversations and map scripts run on the real script engine with
// "Text", "Flag", "Shop" and "MapEvent".
TFieldServices& FieldServices();

}  // namespace field_links
