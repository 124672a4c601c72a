// Whether a text texture that a screen drew shows a given text: its texels against those of the
// text drawn afresh, white from x = 0 in the screens' font, into a texture of the same size. A
// test so reads what reached the picture, not the string the screen kept beside it.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/TText8.h"
#include "common/TTexture8.h"
#include "game/ui/TUiFont.h"
#include "platform/gfx/FormatInfo.h"

namespace uitest {

// The texels of a texture's top level, row by row without the pitch's padding; empty without one.
inline std::vector<uint8_t> TexelsOf(const TTexture8& texture, plat::D3DSURFACE_DESC* desc = nullptr) {
  plat::IDirect3DSurface8* level = nullptr;
  if (!texture.Object() || texture.Object()->GetSurfaceLevel(0, &level) != plat::D3D_OK) return {};
  level->Release();
  const plat::D3DSURFACE_DESC& d = level->Desc();
  if (desc) *desc = d;
  const size_t rowBytes = d.Width * plat::LayoutOf(d.Format).blockBytes;
  std::vector<uint8_t> texels(rowBytes * d.Height);
  for (uint32_t y = 0; y < d.Height; ++y) std::memcpy(&texels[y * rowBytes], level->Bits() + y * level->Pitch(), rowBytes);
  return texels;
}

// `textureName` as the draw log names it ("tATK#12").
inline ::testing::AssertionResult ShowsText(const std::string& textureName, const std::string& text) {
  const TTexture8* drawn = TTexture8::Find(textureName);
  plat::D3DSURFACE_DESC desc{};
  const std::vector<uint8_t> shown = drawn ? TexelsOf(*drawn, &desc) : std::vector<uint8_t>{};
  if (shown.empty()) return ::testing::AssertionFailure() << "no texture " << textureName;
  TText8 expected("expectedText", desc.Width, desc.Height, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
  expected.DrawString(0, 0, text, TUiFont(), true);
  if (TexelsOf(expected.texture) == shown) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << textureName << " does not show \"" << text << "\"";
}

}  // namespace uitest
