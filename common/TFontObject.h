// One GDI font made from a logical description, alive exactly as long as the object.
#pragma once
#include <cstdint>
#include <string>

#include "platform/text/Gdi.h"

class TFontObject {
 public:
  // The face name is Shift-JIS ("ＭＳ ゴシック"); at most 31 bytes of it are kept.
  TFontObject(int32_t width, int32_t height, const std::string& faceName, int32_t weight,
              uint8_t pitchAndFamily, uint8_t italic, uint8_t underline, uint8_t strikeOut);
  virtual ~TFontObject();
  TFontObject(const TFontObject&) = delete;
  TFontObject& operator=(const TFontObject&) = delete;

  // Replaces the held font with a new one from the description; none when the system refuses.
  void Create();
  plat::HFONT GetHandle() const { return handle; }
  const plat::LOGFONT& GetDescription() const { return description; }

 private:
  plat::LOGFONT description;
  plat::HFONT handle = nullptr;
};
