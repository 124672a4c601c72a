#include "tools/datakit/SampleTextures.h"

#include <cstdio>
#include <string>

#include "tools/datakit/PictureKit.h"

namespace datakit {

namespace {

constexpr uint32_t kGlyphCell = 16;

// The HUD's glyph sheet: an 8 × 8 grid of 16-pixel cells in the order of the glyph table. Digits
// are drawn; letters and signs are marked by a block, and the blank "#" cells stay empty.
PtxPicture GlyphSheet() {
  const std::string order = "ABCDEFGHIJKLMNOPQRSTUVWXYZ!/+()%0123456789.:";
  PtxPicture sheet = SolidPicture(1, 8 * kGlyphCell, 8 * kGlyphCell, {0, 0, 0}, 0);
  sheet.palette[1] = {255, 255, 255};
  for (size_t n = 0; n < order.size(); ++n) {
    const uint32_t left = static_cast<uint32_t>(n % 8) * kGlyphCell, top = static_cast<uint32_t>(n / 8) * kGlyphCell;
    const bool digit = order[n] >= '0' && order[n] <= '9';
    const PtxPicture ink = digit ? DigitsPicture(1, 9, 15, order.substr(n, 1), {255, 255, 255}, {0, 0, 0})
                                 : SolidPicture(1, 9, 15, {255, 255, 255});
    for (uint32_t y = 0; y < ink.height; ++y)
      for (uint32_t x = 0; x < ink.width; ++x) {
        sheet.Pixel(left + 3 + x, top + y) = ink.pixels[y * ink.width + x] != 0 || !digit ? 1 : 0;
        sheet.Alpha(left + 3 + x, top + y) = ink.alpha[y * ink.width + x];
      }
  }
  return sheet;
}

}  // namespace

PtxWriter SampleSpritePack() {
  PtxWriter pack;
  pack.Add("window21", GradientPicture(1, 128, 64, {40, 60, 160}, {10, 20, 60}, false));
  pack.Add("cursor", CheckerPicture(2, 16, 16, 4, {255, 255, 255}, {255, 200, 0}, 0));
  pack.Add("number", DigitsPicture(1, 160, 20, "0123456789", {255, 255, 255}, {0, 0, 0}));
  pack.Add("back", GradientPicture(0, 256, 256, {0, 0, 0}, {60, 90, 120}, false));
  pack.Add("16_panel", SolidPicture(3, 64, 64, {200, 180, 120}));
  // The message window: its panel, the name plate, the two blinking button icons and the cursor.
  pack.Add("window06", GradientPicture(1, 512, 128, {30, 40, 110}, {10, 10, 40}, false));
  pack.Add("window16", GradientPicture(1, 160, 32, {110, 80, 30}, {40, 20, 10}, true));
  pack.Add("button00_a", CheckerPicture(1, 16, 16, 8, {255, 255, 255}, {120, 160, 255}));
  pack.Add("button00_b", CheckerPicture(1, 16, 16, 8, {120, 160, 255}, {255, 255, 255}));
  pack.Add("cursor02", SolidPicture(1, 16, 16, {255, 220, 80}));
  pack.Add("word", GlyphSheet());
  return pack;
}

PtxWriter SampleItemIconPack() {
  PtxWriter pack;
  for (uint8_t n = 2; n <= 13; ++n) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "itm%02u_icon", static_cast<unsigned>(n));
    const uint8_t shade = static_cast<uint8_t>(n * 18);
    pack.Add(entry, CheckerPicture(1, 32, 32, 8, {shade, 200, static_cast<uint8_t>(255 - shade)}, {40, 40, 40}, 0));
  }
  return pack;
}

}  // namespace datakit
