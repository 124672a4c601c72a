#include "tools/datakit/SampleTextures.h"

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

}  // namespace datakit
