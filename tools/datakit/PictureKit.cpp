#include "tools/datakit/PictureKit.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "tools/datakit/WordPainter.h"

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

uint8_t Blend(uint8_t ground, uint8_t ink, uint32_t coverage) {
  return static_cast<uint8_t>((ground * (255 - coverage) + ink * coverage + 127) / 255);
}

uint32_t Distance(const Rgb& a, const Rgb& b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

uint32_t Key(const Rgb& c) { return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b; }

// Palette indices again for a picture given as one colour a pixel: every colour when they fit,
// else the 256 most used (the lower colour first among equals), the others shown as the nearest of
// those. Neighbouring pixels mostly share a colour, so each pass looks a colour up only when it
// changes: a whole title picture is made many times in every test that writes a sample game.
void SetColours(PtxPicture& picture, const std::vector<Rgb>& shown) {
  std::unordered_map<uint32_t, size_t> uses;
  uint32_t lastKey = 0;
  size_t* lastUses = nullptr;
  for (const Rgb& c : shown) {
    if (!lastUses || Key(c) != lastKey) {
      lastKey = Key(c);
      lastUses = &uses[lastKey];
    }
    ++*lastUses;
  }
  std::vector<std::pair<uint32_t, size_t>> ranked(uses.begin(), uses.end());
  std::sort(ranked.begin(), ranked.end(),
            [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
  if (ranked.size() > 256) ranked.resize(256);
  picture.palette = {};
  std::unordered_map<uint32_t, uint8_t> index;
  for (size_t i = 0; i < ranked.size(); ++i) {
    const uint32_t key = ranked[i].first;
    picture.palette[i] = {static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key)};
    index[key] = static_cast<uint8_t>(i);
  }
  uint8_t lastIndex = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (i == 0 || Key(shown[i]) != lastKey) {
      lastKey = Key(shown[i]);
      auto found = index.find(lastKey);
      if (found == index.end()) {
        uint8_t best = 0;
        for (size_t k = 1; k < ranked.size(); ++k)
          if (Distance(picture.palette[k], shown[i]) < Distance(picture.palette[best], shown[i]))
            best = static_cast<uint8_t>(k);
        found = index.emplace(lastKey, best).first;
      }
      lastIndex = found->second;
    }
    picture.pixels[i] = lastIndex;
  }
}

const WordPainter& Painter() {
  static const WordPainter painter;
  return painter;
}

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

void DrawWords(PtxPicture& picture, const std::string& utf8, uint32_t pixels, WordBox box, Rgb ink) {
  WordMask words = Painter().Paint(utf8, pixels);
  while (words.width > box.width && pixels > 6) words = Painter().Paint(utf8, --pixels);
  const int64_t left = box.x + (box.centred && words.width < box.width ? (box.width - words.width) / 2 : 0);
  const int64_t top = static_cast<int64_t>(box.y) + (static_cast<int64_t>(box.height) - words.height) / 2;
  picture.pixels.resize(size_t(picture.width) * picture.height, 0);
  if (picture.HasAlpha()) picture.alpha.resize(picture.pixels.size(), 0);
  std::vector<Rgb> shown(picture.pixels.size());
  for (size_t i = 0; i < shown.size(); ++i) shown[i] = picture.palette[picture.pixels[i]];
  for (uint32_t y = 0; y < words.height; ++y)
    for (uint32_t x = 0; x < words.width; ++x) {
      const int64_t px = left + x, py = top + y;
      const uint32_t coverage = words.At(x, y);
      if (coverage == 0 || px < 0 || py < 0 || px >= picture.width || py >= picture.height) continue;
      const size_t at = static_cast<size_t>(py) * picture.width + static_cast<size_t>(px);
      Rgb& c = shown[at];
      if (picture.HasAlpha()) {
        uint8_t& alpha = picture.alpha[at];
        if (alpha == 0) c = ink;
        alpha = std::max(alpha, static_cast<uint8_t>(coverage));
      }
      c = {Blend(c.r, ink.r, coverage), Blend(c.g, ink.g, coverage), Blend(c.b, ink.b, coverage)};
    }
  SetColours(picture, shown);
}

Rgb InkOn(Rgb ground) {
  const uint32_t light = 299u * ground.r + 587u * ground.g + 114u * ground.b;
  return light < 140000 ? Rgb{255, 255, 255} : Rgb{20, 20, 30};
}

PtxPicture FacePicture(uint32_t size, Rgb skin, Rgb features) {
  PtxPicture p = SolidPicture(1, size, size, {0, 0, 0}, 0);
  p.palette[1] = skin;
  p.palette[2] = features;
  const double s = size, centre = s / 2, radius = s * 0.42;
  const auto paint = [&](uint32_t x, uint32_t y, uint8_t index) {
    p.Pixel(x, y) = index;
    p.Alpha(x, y) = 255;
  };
  for (uint32_t y = 0; y < size; ++y)
    for (uint32_t x = 0; x < size; ++x) {
      const double dx = x + 0.5 - centre, dy = y + 0.5 - centre;
      if (std::hypot(dx, dy) >= radius) continue;
      const bool hair = dy < -radius * 0.45;
      const bool eye = std::hypot(std::abs(dx) - s * 0.15, dy + s * 0.06) < s * 0.055;
      const double smile = std::hypot(dx, dy - s * 0.02);
      const bool mouth = dy > s * 0.12 && smile > s * 0.2 && smile < s * 0.26 && std::abs(dx) < s * 0.16;
      paint(x, y, hair || eye || mouth ? 2 : 1);
    }
  return p;
}

}  // namespace datakit
