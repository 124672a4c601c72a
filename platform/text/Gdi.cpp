#include "platform/text/Gdi.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <mutex>
#include <set>

#include "platform/text/FontFace.h"

namespace plat {

struct GdiObject {
  virtual ~GdiObject() = default;
  bool stock = false;
};

struct DeviceContext {
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ font = nullptr;
  int backgroundMode = OPAQUE;
};

namespace {

struct Font : GdiObject {
  LOGFONT description;
  std::unique_ptr<gdi::FontFace> face;  // null only for the stock font when no face exists
};

struct Bitmap : GdiObject {
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive
  bool topDown = false;
  uint32_t pitch = 0;
  uint32_t masks[3] = {};  // red, green, blue of a 16-bit pixel
  std::unique_ptr<uint8_t[]> pixels;

  uint8_t* Row(int32_t y) const {
    int32_t stored = topDown ? y : height - 1 - y;
    return pixels.get() + static_cast<size_t>(stored) * pitch;
  }
};

std::recursive_mutex& Lock() {
  static std::recursive_mutex m;
  return m;
}

// Handles the caller may pass back; anything else is refused instead of dereferenced.
struct Registry {
  std::set<GdiObject*> objects;
  std::set<DeviceContext*> contexts;
  Bitmap placeholder;  // the 1×1 stand-in that a new context holds
  std::unique_ptr<Font> defaultFont;
  bool defaultFontTried = false;

  Registry() { placeholder.stock = true; }
  ~Registry() {
    for (DeviceContext* dc : contexts) delete dc;
    for (GdiObject* o : objects) delete o;
  }
  // The context an object is selected into, if any.
  DeviceContext* Holder(HGDIOBJ o) const {
    for (DeviceContext* dc : contexts)
      if (dc->bitmap == o || dc->font == o) return dc;
    return nullptr;
  }
  bool IsObject(HGDIOBJ o) const {
    return o && (objects.count(o) || o == &placeholder || o == defaultFont.get());
  }
  Font* DefaultFont() {
    if (!defaultFontTried) {
      defaultFontTried = true;
      auto font = std::make_unique<Font>();
      font->stock = true;
      font->description.lfHeight = 16;
      font->description.lfWeight = FW_NORMAL;
      font->face = gdi::FontFace::Realize(font->description);
      defaultFont = std::move(font);
    }
    return defaultFont.get();
  }
};

Registry& Objects() {
  static Registry registry;
  return registry;
}

const gdi::FontFace* FaceOf(HDC dc) {
  Registry& r = Objects();
  if (!dc || !r.contexts.count(dc)) return nullptr;
  auto* font = static_cast<Font*>(dc->font);
  return font ? font->face.get() : nullptr;
}

// One colour channel of an RGB byte placed under a contiguous mask.
uint32_t Channel(uint8_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t v = bits >= 8 ? static_cast<uint32_t>(value) << (bits - 8) : value >> (8 - bits);
  return (v << shift) & mask;
}

bool ContiguousMask(uint32_t mask) {
  if (mask == 0) return false;
  uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

constexpr int32_t kMaxSide = 32767;

}  // namespace

HFONT CreateFontIndirect(const LOGFONT* description) {
  if (!description) return nullptr;
  std::lock_guard<std::recursive_mutex> guard(Lock());
  auto font = std::make_unique<Font>();
  font->description = *description;
  font->description.lfFaceName[LF_FACESIZE - 1] = '\0';
  font->face = gdi::FontFace::Realize(font->description);
  if (!font->face) return nullptr;
  Font* handle = font.release();
  Objects().objects.insert(handle);
  return handle;
}

BOOL DeleteObject(HGDIOBJ object) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  Registry& r = Objects();
  if (!r.IsObject(object)) return 0;
  if (object->stock) return 1;
  if (r.Holder(object)) return 0;
  r.objects.erase(object);
  delete object;
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  Registry& r = Objects();
  auto* dc = new DeviceContext;
  dc->bitmap = &r.placeholder;
  dc->font = r.DefaultFont();
  r.contexts.insert(dc);
  return dc;
}

BOOL DeleteDC(HDC dc) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  Registry& r = Objects();
  if (!dc || !r.contexts.count(dc)) return 0;
  r.contexts.erase(dc);
  delete dc;
  return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  Registry& r = Objects();
  if (!dc || !r.contexts.count(dc) || !r.IsObject(object)) return nullptr;
  HGDIOBJ* slot = dynamic_cast<Bitmap*>(object) ? &dc->bitmap : &dc->font;
  if (object == *slot) return object;
  // A bitmap can be drawn on through one context at a time; fonts are shared freely.
  if (slot == &dc->bitmap && !object->stock && r.Holder(object)) return nullptr;
  HGDIOBJ previous = *slot;
  *slot = object;
  return previous;
}

int SetBkMode(HDC dc, int mode) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  if (!dc || !Objects().contexts.count(dc) || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int previous = dc->backgroundMode;
  dc->backgroundMode = mode;
  return previous;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 16 || h.biPlanes != 1) return nullptr;
  if (h.biWidth <= 0 || h.biWidth > kMaxSide || h.biHeight == 0 || h.biHeight < -kMaxSide ||
      h.biHeight > kMaxSide)
    return nullptr;
  auto bitmap = std::make_unique<Bitmap>();
  if (h.biCompression == BI_RGB) {
    bitmap->masks[0] = 0x7C00;
    bitmap->masks[1] = 0x03E0;
    bitmap->masks[2] = 0x001F;
  } else if (h.biCompression == BI_BITFIELDS) {
    std::memcpy(bitmap->masks, reinterpret_cast<const uint8_t*>(info) + h.biSize,
                sizeof bitmap->masks);
    for (uint32_t m : bitmap->masks)
      if (!ContiguousMask(m) || m > 0xFFFF) return nullptr;
  } else {
    return nullptr;
  }
  bitmap->width = h.biWidth;
  bitmap->topDown = h.biHeight < 0;
  bitmap->height = bitmap->topDown ? -h.biHeight : h.biHeight;
  bitmap->pitch = ((static_cast<uint32_t>(bitmap->width) * 16 + 31) / 32) * 4;
  const size_t size = static_cast<size_t>(bitmap->pitch) * static_cast<size_t>(bitmap->height);
  bitmap->pixels.reset(new uint8_t[size]());
  if (bits) *bits = bitmap->pixels.get();
  std::lock_guard<std::recursive_mutex> guard(Lock());
  Bitmap* handle = bitmap.release();
  Objects().objects.insert(handle);
  return handle;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  const gdi::FontFace* face = FaceOf(dc);
  if (!face || !metrics) return 0;
  face->GetMetrics(*metrics);
  return 1;
}

DWORD GetGlyphOutline(HDC dc, UINT code, UINT format, GLYPHMETRICS* metrics, DWORD bufferSize,
                      void* buffer, const MAT2* transform) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  const gdi::FontFace* face = FaceOf(dc);
  if (!face || !metrics || !transform) return GDI_ERROR;
  // Only the identity transform is drawn; the game passes nothing else.
  const MAT2 identity = IdentityMat2();
  if (std::memcmp(transform, &identity, sizeof identity) != 0) return GDI_ERROR;
  return face->GetGlyph(code, format, *metrics, bufferSize, buffer);
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT firstScan, UINT lineCount, const void* bits, const BITMAPINFO* info,
                      UINT usage) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  if (!dc || !Objects().contexts.count(dc) || !bits || !info || usage != DIB_RGB_COLORS) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 8 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biWidth > kMaxSide || h.biHeight < -kMaxSide || h.biHeight > kMaxSide)
    return 0;
  if (width > static_cast<DWORD>(kMaxSide) || height > static_cast<DWORD>(kMaxSide)) return 0;
  auto* target = static_cast<Bitmap*>(dc->bitmap);
  if (target->stock || !target->pixels) return 0;

  const bool srcTopDown = h.biHeight < 0;
  const int64_t srcRows = srcTopDown ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
  const size_t srcPitch = (static_cast<size_t>(h.biWidth) + 3) & ~size_t{3};
  const DWORD colourCount = h.biClrUsed == 0 || h.biClrUsed > 256 ? 256 : h.biClrUsed;
  uint16_t palette[256] = {};
  for (DWORD i = 0; i < colourCount; ++i) {
    const RGBQUAD& c = info->bmiColors[i];
    palette[i] = static_cast<uint16_t>(Channel(c.rgbRed, target->masks[0]) |
                                       Channel(c.rgbGreen, target->masks[1]) |
                                       Channel(c.rgbBlue, target->masks[2]));
  }

  const auto* src = static_cast<const uint8_t*>(bits);
  int copied = 0;
  for (int64_t r = 0; r < static_cast<int64_t>(height); ++r) {
    // The scan line in storage order that feeds destination row r.
    int64_t stored = srcTopDown ? ySrc + r : ySrc + (static_cast<int64_t>(height) - 1 - r);
    if (stored < 0 || stored >= srcRows || stored < firstScan ||
        stored >= static_cast<int64_t>(firstScan) + lineCount)
      continue;
    ++copied;
    int64_t dy = yDest + r;
    if (dy < 0 || dy >= target->height) continue;
    const uint8_t* line = src + static_cast<size_t>(stored - firstScan) * srcPitch;
    auto* out = reinterpret_cast<uint16_t*>(target->Row(static_cast<int32_t>(dy)));
    for (int64_t c = 0; c < static_cast<int64_t>(width); ++c) {
      int64_t sx = xSrc + c;
      int64_t dx = xDest + c;
      if (sx < 0 || sx >= h.biWidth || dx < 0 || dx >= target->width) continue;
      out[dx] = palette[line[sx]];
    }
  }
  return copied;
}

int GdiObjectCount() {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  return static_cast<int>(Objects().objects.size());
}

void SetFontFolders(std::vector<std::string> folders) {
  std::lock_guard<std::recursive_mutex> guard(Lock());
  gdi::FontFace::SetFolders(std::move(folders));
  // The stock font is realised again from the new folders.
  Registry& r = Objects();
  if (r.defaultFont) {
    for (DeviceContext* dc : r.contexts)
      if (dc->font == r.defaultFont.get()) dc->font = nullptr;
    r.defaultFont.reset();
  }
  r.defaultFontTried = false;
  for (DeviceContext* dc : r.contexts)
    if (!dc->font) dc->font = r.DefaultFont();
}

}  // namespace plat
