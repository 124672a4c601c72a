#include "common/TText8.h"

#include <cstring>
#include <vector>

#include "common/TD3D8.h"
#include "common/my_error.h"

namespace {

// Each text texture gets a cache name of its own, so two texts made with one name never draw
// into each other's texture.
std::string OwnName(const std::string& name) {
  static uint32_t serial = 0;
  return name + "#" + std::to_string(++serial);
}

uint32_t CheckedFormat(uint32_t format) {
  if (format != plat::D3DFMT_R5G6B5 && format != plat::D3DFMT_X1R5G5B5 &&
      format != plat::D3DFMT_A1R5G5B5)
    throw my_error("Unknown TextTextureFormat", __FILE__, 102);
  return format;
}

bool IsLeadByte(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

TText8::TText8(const std::string& name, uint32_t width, uint32_t height, uint8_t r, uint8_t g,
               uint8_t b, uint32_t pool, uint32_t usage)
    : TText8(name, width, height, r, g, b, TD3D8::Instance()->GetTextureFormat(3), pool, usage) {}

TText8::TText8(const std::string& name, uint32_t width, uint32_t height, uint8_t r, uint8_t g,
               uint8_t b, uint32_t textureFormat, uint32_t pool, uint32_t usage)
    : TSprite8(CreateSprite(OwnName(name), width, height, CheckedFormat(textureFormat), pool, usage)),
      glyphHeader(new TGlyphHeader{}),
      format(textureFormat),
      textHeight(height),
      pitch(((width * 16 + 31) / 8) & ~3u),
      red(r),
      green(g),
      blue(b) {
  TGlyphHeader& glyph = *glyphHeader;
  glyph.header.biBitCount = 8;
  glyph.header.biCompression = plat::BI_RGB;
  for (uint32_t k = 0; k <= 16; ++k)
    glyph.colours[k] = {static_cast<uint8_t>(k * blue / 16), static_cast<uint8_t>(k * green / 16),
                        static_cast<uint8_t>(k * red / 16), 0};

  struct {
    plat::BITMAPINFOHEADER header;
    uint32_t masks[3];
  } info{};
  info.header.biWidth = static_cast<plat::LONG>(width);
  info.header.biHeight = -static_cast<plat::LONG>(height);
  info.header.biPlanes = 1;
  info.header.biBitCount = 16;
  info.header.biSizeImage = height * pitch;
  if (format == plat::D3DFMT_R5G6B5) {
    info.header.biCompression = plat::BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
  } else {
    info.header.biCompression = plat::BI_RGB;
  }
  void* pixels = nullptr;
  plat::HBITMAP handle =
      plat::CreateDIBSection(nullptr, reinterpret_cast<const plat::BITMAPINFO*>(&info),
                             plat::DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (handle) {
    bitmap = TCountedPtr<plat::GdiObject>(handle, &TText8::DeleteBitmap);
    bits = static_cast<uint8_t*>(pixels);
  }
  Clear(true);
}

TText8::~TText8() = default;

void TText8::DeleteBitmap(void* handle) { plat::DeleteObject(static_cast<plat::HBITMAP>(handle)); }

void TText8::Clear(bool upload) {
  if (bits) std::memset(bits, 0, size_t(textHeight) * pitch);
  if (upload) Upload();
}

void TText8::Upload() {
  plat::IDirect3DTexture8* tex = texture.Object();
  if (!tex || !bits) return;
  plat::D3DLOCKED_RECT locked;
  if (tex->LockRect(0, &locked, nullptr, 0) != plat::D3D_OK) return;
  const size_t rowBytes = std::min<size_t>(pitch, static_cast<size_t>(locked.Pitch));
  auto* out = static_cast<uint8_t*>(locked.pBits);
  for (uint32_t y = 0; y < textHeight; ++y)
    std::memcpy(out + size_t(y) * locked.Pitch, bits + size_t(y) * pitch, rowBytes);
  tex->UnlockRect(0);
}

int TText8::DrawString(int x, int y, const std::string& text, const TFontObject& font,
                       bool upload) {
  plat::HDC dc = plat::CreateCompatibleDC(nullptr);
  plat::HGDIOBJ oldBitmap = bitmap ? plat::SelectObject(dc, bitmap.Get()) : nullptr;
  plat::HGDIOBJ oldFont = font.GetHandle() ? plat::SelectObject(dc, font.GetHandle()) : nullptr;
  plat::SetBkMode(dc, plat::TRANSPARENT);

  plat::TEXTMETRIC tm;
  plat::GetTextMetrics(dc, &tm);
  const int baseline = y + tm.tmAscent;
  int penX = x;
  const plat::MAT2 identity = plat::IdentityMat2();
  std::vector<uint8_t> image;
  TGlyphHeader& glyph = *glyphHeader;

  // A lead byte at the very end pairs with the string's terminating NUL.
  const char* bytes = text.c_str();
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<uint8_t>(bytes[i]);
    plat::UINT code = c;
    if (IsLeadByte(c)) {
      code = c * 256u + static_cast<uint8_t>(bytes[i + 1]);
      i += 2;
    } else {
      i += 1;
    }
    plat::GLYPHMETRICS gm;
    const plat::DWORD size =
        plat::GetGlyphOutline(dc, code, plat::GGO_GRAY4_BITMAP, &gm, 0, nullptr, &identity);
    if (size != 0 && size != plat::GDI_ERROR) {
      image.resize(size);
      if (plat::GetGlyphOutline(dc, code, plat::GGO_GRAY4_BITMAP, &gm, size, image.data(),
                                &identity) != plat::GDI_ERROR) {
        glyph.header.biWidth = static_cast<plat::LONG>(gm.gmBlackBoxX);
        glyph.header.biHeight = -static_cast<plat::LONG>(gm.gmBlackBoxY);
        glyph.header.biSizeImage = size;
        plat::SetDIBitsToDevice(dc, penX + gm.gmptGlyphOrigin.x, baseline - gm.gmptGlyphOrigin.y,
                                gm.gmBlackBoxX, gm.gmBlackBoxY, 0, 0, 0, gm.gmBlackBoxY,
                                image.data(), reinterpret_cast<const plat::BITMAPINFO*>(&glyph),
                                plat::DIB_RGB_COLORS);
      }
    }
    penX += gm.gmCellIncX;
  }

  if (oldFont) plat::SelectObject(dc, oldFont);
  if (oldBitmap) plat::SelectObject(dc, oldBitmap);
  plat::DeleteDC(dc);
  if (upload) Upload();
  return penX;
}
