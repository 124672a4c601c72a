// The player character's factory and models: which style (and model) a party member shows with a
// weapon type, the build of the character, the reordering of a model's faces that every player
// model goes through, and the member's own model for the status screen.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TMesh8.h"

class TFieldScene;
class TPlayerChar;
struct TCharBlock;

// One weapon type's style: the model it shows on the hero and on the heroine; null where the member
// has no style of that type.
struct TPlayerStyleRow {
  uint32_t weaponType;
  const char* heroModel;
  const char* heroineModel;
};
constexpr uint32_t kWeaponTypes = 12;
const std::array<TPlayerStyleRow, kWeaponTypes>& PlayerStyles();
// The model of the member's style for the weapon type; empty when there is none.
std::string StyleModelOf(uint32_t member, uint32_t weaponType);

// Builds the character of a style; the fighting styles, which lie above the factory, install theirs
// at start-up. The model is the style's for the member.
using TPlayerStyleMaker = TPlayerChar* (*)(TFieldScene& scene, uint32_t member, const TCharBlock& block,
                                           uint32_t weaponType, const std::string& model);
// Null takes the maker away: no character is made then.
void SetPlayerStyleMaker(TPlayerStyleMaker maker);

// The character of the member in the style of its equipped weapon; empty when the member has no
// style of that type (or no game-progress record exists, or no maker is installed). A character the
// scene holds already first leaves its values and its skill ring's cursor in the game-progress
// record.
TCountedPtr<TPlayerChar> CreatePlayerChar(TFieldScene& scene, uint32_t member);

// Triangles with a vertex in the window area of the texture (0.25 < u < 0.3125, 0.75 < v < 0.875)
// are drawn last, in reverse order; then the current member's costume is put on.
void MoveWindowFacesLast(TMesh8& mesh);
// The current member's own model, as the status screen shows it.
TMesh8 LoadPartyMemberModel();
// The table folder + "char/" + the current member's sound-table name + suffix + ".tbl".
std::string MakeCharTablePath(const std::string& suffix);
