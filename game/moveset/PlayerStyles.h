// The fighting styles by weapon type: the maker the program gives the player character's factory,
// and the styles' tables.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "game/moveset/TStyleTable.h"

class TFieldScene;
class TPlayerChar;
struct TCharBlock;

// The style of the weapon type for the member, in the model the factory chose; null for a type
// above 11, which has none (the factory asks for none).
TPlayerChar* MakePlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                             const std::string& model);

// Every style's table.
std::span<const TStyleTable* const> PlayerStyleTables();
