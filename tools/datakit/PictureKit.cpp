#include "tools/datakit/PictureKit.h"

#include <algorithm>

namespace datakit {
namespace {

PtxPicture Blank(uint32_t kind, uint32_t width, uint32_t height) {
  PtxPicture p;
  p.kind = kind;
  p.width = width;
  p.height = height;
  p.pixels.assign(size_t(width) * height, 0);
  if (p.HasAlpha()) p.alpha.assign(size_t(width) * height, 0);
  return p;
}

uint8_t Mix(uint8_t a, uint8_t b, uint32_t step, uint32_t steps) {
  if (steps <= 1) return a;
  return static_cast<uint8_t>((a * (steps - 1 - step) + b * step) / (steps - 1));
}

// 3×5 digit shapes, one row per 3 bits (bit 2 the left column).
constexpr uint8_t kDigits[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

}  // namespace

PtxPicture SolidPicture(uint32_t kind, uint32_t width, uint32_t height, Rgb colour, uint8_t alpha) {
  PtxPicture p = Blank(kind, width, height);
  p.palette[0] = colour;
  std::fill(p.alpha.begin(), p.alpha.end(), alpha);
  return p;
}

PtxPicture GradientPicture(uint32_t kind, uint32_t width, uint32_t height, Rgb from, Rgb to,
                           bool horizontal) {
  PtxPicture p = Blank(kind, width, height);
  const uint32_t length = horizontal ? width : height;
  const uint32_t steps = std::min<uint32_t>(std::max<uint32_t>(length, 1), 256);
  for (uint32_t i = 0; i < steps; ++i)
    p.palette[i] = {Mix(from.r, to.r, i, steps), Mix(from.g, to.g, i, steps),
                    Mix(from.b, to.b, i, steps)};
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t along = horizontal ? x : y;
      uint32_t step = length <= 1 ? 0 : along * (steps - 1) / (length - 1);
      p.Pixel(x, y) = static_cast<uint8_t>(step);
      if (p.HasAlpha()) p.Alpha(x, y) = Mix(255, 0, step, steps);
    }
  return p;
}

PtxPicture CheckerPicture(uint32_t kind, uint32_t width, uint32_t height, uint32_t cell, Rgb a,
                          Rgb b, uint8_t bAlpha) {
  PtxPicture p = Blank(kind, width, height);
  p.palette[0] = a;
  p.palette[1] = b;
  cell = std::max<uint32_t>(cell, 1);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      bool second = ((x / cell) + (y / cell)) % 2 == 1;
      p.Pixel(x, y) = second ? 1 : 0;
      if (p.HasAlpha()) p.Alpha(x, y) = second ? bAlpha : 255;
    }
  return p;
}

PtxPicture DigitsPicture(uint32_t kind, uint32_t width, uint32_t height, const std::string& text,
                         Rgb ink, Rgb background) {
  PtxPicture p = Blank(kind, width, height);
  p.palette[0] = background;
  p.palette[1] = ink;
  const uint32_t scale = std::max<uint32_t>(height / 5, 1);
  const uint32_t cellWidth = scale * 3 + scale;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') continue;
    const uint8_t* shape = kDigits[text[i] - '0'];
    for (uint32_t y = 0; y < 5 * scale && y < height; ++y)
      for (uint32_t x = 0; x < 3 * scale; ++x) {
        uint32_t px = static_cast<uint32_t>(i) * cellWidth + x;
        if (px >= width) break;
        if (shape[y / scale] & (4 >> (x / scale))) {
          p.Pixel(px, y) = 1;
          if (p.HasAlpha()) p.Alpha(px, y) = 255;
        }
      }
  }
  return p;
}

PtxPicture Blocks(uint32_t width, uint32_t height, std::initializer_list<Block> blocks) {
  PtxPicture p = SolidPicture(1, width, height, {0, 0, 0}, 0);
  uint8_t index = 1;
  for (const Block& b : blocks) {
    p.palette[index] = b.colour;
    for (uint32_t y = b.y; y < b.y + b.height && y < height; ++y)
      for (uint32_t x = b.x; x < b.x + b.width && x < width; ++x) {
        p.Pixel(x, y) = index;
        p.Alpha(x, y) = 255;
      }
    ++index;
  }
  return p;
}

}  // namespace datakit
