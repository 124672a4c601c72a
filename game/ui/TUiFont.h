// The font of the HUD's and the screens' texts: "ＭＳ ゴシック", 16 pixels high, weight 400. One is
// made for each draw and released after it.
#pragma once
#include "common/TFontObject.h"

inline constexpr char kUiFontFace[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック

class TUiFont : public TFontObject {
 public:
  TUiFont() : TFontObject(0, 16, kUiFontFace, 400, 2, 0, 0, 0) {}
};
