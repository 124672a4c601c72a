#include "tools/datakit/SampleTextures.h"

#include <cstdio>

#include "tools/datakit/PictureKit.h"

namespace datakit {

PtxWriter SampleSpritePack() {
  PtxWriter pack;
  pack.Add("window21", GradientPicture(1, 128, 64, {40, 60, 160}, {10, 20, 60}, false));
  pack.Add("cursor", CheckerPicture(2, 16, 16, 4, {255, 255, 255}, {255, 200, 0}, 0));
  pack.Add("number", DigitsPicture(1, 160, 20, "0123456789", {255, 255, 255}, {0, 0, 0}));
  pack.Add("back", GradientPicture(0, 256, 256, {0, 0, 0}, {60, 90, 120}, false));
  pack.Add("16_panel", SolidPicture(3, 64, 64, {200, 180, 120}));
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
