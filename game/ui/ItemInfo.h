// What the HUD rings, the menu screens and the shops show of an item or a skill: its icon, its
// information picture and three lines of description with the item's numbers. Everything comes
// from the game tables; an id the tables do not hold, or a record without an entry name, shows the
// empty sprite and blank lines.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/TSprite8.h"

class TText8;

// One text of a description line, drawn from pixel x of its line.
struct TInfoPiece {
  int32_t x = 0;
  std::string text;

  bool operator==(const TInfoPiece&) const = default;
};
using TInfoLines = std::array<std::vector<TInfoPiece>, 3>;

inline constexpr int32_t kSkillIconCount = 38;

// "itemicon.ptx/" + the item record's icon entry.
TSprite8 LoadItemIcon(uint32_t itemId);
// The lists' icon of an item's kind: "itm_icon.ptx/itm00_icon" for a usable item, the weapon
// type's for a weapon, "itm_icon.ptx/itm01_icon" for an accessory; the empty sprite otherwise.
TSprite8 LoadKindIcon(uint32_t itemId);
// "iteminfo.ptx/" + the item record's picture entry.
TSprite8 LoadItemInfoPicture(uint32_t itemId);
// "skillinfo.ptx/" + the skill record's picture entry.
TSprite8 LoadSkillInfoPicture(uint32_t skillId);
// The skill icon of an icon index 0-37 from "skl_icon.ptx"; any other index the empty sprite.
TSprite8 DrawSkillIcon(uint8_t iconIndex);
// The entry name of an icon index ("act00_skl" ...), empty past the table.
std::string SkillIconName(uint8_t iconIndex);

// The description of an item (skill false) or a skill (skill true), line by line.
TInfoLines ItemInfoLines(uint32_t id, bool skill);
// A text texture of the screens: white, 16 pixels high.
TText8 UiText(const std::string& name, uint32_t width);
// Draws the pieces into the text (cleared first) and uploads it.
void WritePieces(TText8& text, const std::vector<TInfoPiece>& pieces);
// Draws ItemInfoLines into the three text objects (each cleared first) and uploads them; a null
// text is left out.
void ItemInfoText(uint32_t id, bool skill, TText8* const lines[3]);
