#include "game/ui/TGlyphTable.h"

#include <cstring>

#include "platform/gfx/D3D8Types.h"

TGlyphTable::TGlyphTable(const std::string& name)
    : textureName(name), texture(TTexture8::Load(name, plat::D3DPOOL_MANAGED, 0)) {
  char sequence[kGrid * kGrid];
  std::memset(sequence, '#', sizeof sequence);
  std::memcpy(sequence, kCharacters, sizeof kCharacters - 1);

  const float cell = 1.0f / kGrid;
  float v = 0.0f;
  const char* next = sequence;
  for (int row = 0; row < kGrid; ++row) {
    const float bottom = v + cell;
    float u = 0.0f;
    for (int column = 0; column < kGrid; ++column, ++next) {
      // A character met again (the filler) takes the later cell.
      TSprite8& glyph = glyphs[static_cast<signed char>(*next)];
      glyph = TSprite8(texture);
      const float corners[4][2] = {{u, v}, {u + cell, v}, {u, bottom}, {u + cell, bottom}};
      for (int k = 0; k < 4; ++k) {
        glyph.vertices[k].u = corners[k][0];
        glyph.vertices[k].v = corners[k][1];
      }
      u += cell;
    }
    v = bottom;
  }
}

TSprite8& TGlyphTable::GetGlyph(char c) { return glyphs[static_cast<signed char>(c)]; }

TSprite8& TGlyphTable::GetDigit(int n) { return GetGlyph(static_cast<char>('0' + n)); }
