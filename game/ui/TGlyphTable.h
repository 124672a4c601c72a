// The HUD's letters, digits and signs as sprites cut from one texture ("sprite.ptx/word"): an 8 × 8
// grid of equal cells. Widgets copy a glyph into a sprite of their own and draw it at an explicit
// size.
#pragma once
#include <map>
#include <string>

#include "common/TSprite8.h"
#include "common/TTexture8.h"

class TGlyphTable {
 public:
  static constexpr int kGrid = 8;
  // The characters of the cells, row by row; "#" fills the rest and names the blank glyph.
  static constexpr char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!/+()%0123456789.:";

  // Throws the texture cache's my_error when the texture's pack cannot be read.
  explicit TGlyphTable(const std::string& textureName);
  TGlyphTable(const TGlyphTable&) = delete;
  TGlyphTable& operator=(const TGlyphTable&) = delete;

  // A character without a cell gets a default sprite of its own, kept from then on.
  TSprite8& GetGlyph(char c);
  // The glyph of '0' + n.
  TSprite8& GetDigit(int n);
  size_t Size() const { return glyphs.size(); }

 private:
  std::string textureName;
  TTexture8 texture;
  std::map<signed char, TSprite8> glyphs;
};
