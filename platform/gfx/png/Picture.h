// A picture as 32-bit ARGB pixels (D3DCOLOR), row 0 at the top, and its PNG file form.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/D3D8Types.h"

namespace plat {

struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<D3DCOLOR> pixels;  // row after row

  D3DCOLOR At(uint32_t x, uint32_t y) const { return pixels[size_t(y) * width + x]; }
};

// 8-bit RGBA; false when the file cannot be written.
bool SavePng(const Picture& picture, const std::string& path);
// Any PNG, as ARGB; false (picture emptied) when the file is missing or no PNG.
bool LoadPng(const std::string& path, Picture& picture);

}  // namespace plat
