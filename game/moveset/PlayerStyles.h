// The fighting styles by weapon type: the maker the program gives the player character's factory,
// and the tables of the styles that are built. The other weapon types keep the stand-in style.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "game/moveset/TStyleTable.h"

class TFieldScene;
class TPlayerChar;
struct TCharBlock;

// The style of the weapon type for the member, in the model the factory chose.
TPlayerChar* MakePlayerStyle(TFieldScene& scene, uint32_t member, const TCharBlock& block, uint32_t weaponType,
                             const std::string& model);

// Every built style's table.
std::span<const TStyleTable* const> PlayerStyleTables();
