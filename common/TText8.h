// A text texture: Shift-JIS text drawn glyph by glyph with a GDI font into a 16-bit memory bitmap,
// copied into the sprite's texture on request.
#pragma once
#include <cstdint>
#include <string>

#include "common/TFontObject.h"
#include "common/TSprite8.h"
#include "platform/text/Gdi.h"

// The bitmap header for 8-bit glyph images: entries 0-16 hold the colour ramp.
struct TGlyphHeader {
  plat::BITMAPINFOHEADER header;
  plat::RGBQUAD colours[256];
};

class TText8 : public TSprite8 {
 public:
  // The texture takes the device's 16-bit format (slot 3).
  TText8(const std::string& name, uint32_t width, uint32_t height, uint8_t red, uint8_t green,
         uint8_t blue, uint32_t pool, uint32_t usage);
  // R5G6B5, X1R5G5B5 or A1R5G5B5; any other format throws my_error "Unknown TextTextureFormat".
  TText8(const std::string& name, uint32_t width, uint32_t height, uint8_t red, uint8_t green,
         uint8_t blue, uint32_t format, uint32_t pool, uint32_t usage);
  ~TText8() override;
  TText8(const TText8&) = default;
  TText8& operator=(const TText8&) = default;

  // Draws the text with its baseline at y + the font's ascent from pen x = x; returns the pen x
  // after the last character.
  int DrawString(int x, int y, const std::string& text, const TFontObject& font, bool upload);
  void Clear(bool upload);
  void Upload();

  const uint8_t* GetBits() const { return bits; }
  uint32_t GetPitch() const { return pitch; }
  const TGlyphHeader& GetGlyphHeader() const { return *glyphHeader; }

 private:
  static void DeleteBitmap(void* bitmap);

  TCountedPtr<plat::GdiObject> bitmap;  // shared by copies; the last one deletes it
  uint8_t* bits = nullptr;
  TCountedPtr<TGlyphHeader> glyphHeader;
  uint32_t format;
  uint32_t textHeight;
  uint32_t pitch;
  uint8_t red, green, blue;
};
