// The GDI text calls the game makes: fonts from a logical description, memory drawing contexts,
// 16-bit DIB sections, text metrics, anti-aliased glyph images and the blit that puts a glyph image
// into a DIB section. Text and face names arrive in Shift-JIS; FreeType draws them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Win32Types.h"

namespace plat {

using BYTE = uint8_t;
using WORD = uint16_t;

struct GdiObject;  // fonts and bitmaps
using HGDIOBJ = GdiObject*;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
struct DeviceContext;
using HDC = DeviceContext*;

constexpr int LF_FACESIZE = 32;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;

struct LOGFONT {
  LONG lfHeight = 0;  // > 0 cell height, < 0 character (em) height, 0 a default size
  LONG lfWidth = 0;   // average character width; 0 keeps the face's aspect
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};  // Shift-JIS
};

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 0;
  LONG tmDigitizedAspectY = 0;
  BYTE tmFirstChar = 0;
  BYTE tmLastChar = 0;
  BYTE tmDefaultChar = 0;
  BYTE tmBreakChar = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};

struct GlyphOrigin {
  LONG x = 0, y = 0;
};

struct GLYPHMETRICS {
  UINT gmBlackBoxX = 0;  // size of the inked box
  UINT gmBlackBoxY = 0;
  GlyphOrigin gmptGlyphOrigin;  // the box's top-left corner from the pen on the baseline, y upwards
  int16_t gmCellIncX = 0;       // pen advance
  int16_t gmCellIncY = 0;
};

struct FIXED {
  WORD fract = 0;
  int16_t value = 0;
};
struct MAT2 {
  FIXED eM11, eM12, eM21, eM22;
};
inline MAT2 IdentityMat2() {
  MAT2 m;
  m.eM11.value = 1;
  m.eM22.value = 1;
  return m;
}

constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_GRAY4_BITMAP = 5;  // one byte per pixel, 0..16, rows padded to 4 bytes
constexpr DWORD GDI_ERROR = 0xFFFFFFFFu;

struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  LONG biWidth = 0;
  LONG biHeight = 0;  // negative: rows run from the top down
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = 0;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
  BYTE rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0;
};

// The header followed by a colour table (or, for BI_BITFIELDS, three DWORD masks). Callers lay out a
// larger structure that begins with these fields.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

HFONT CreateFontIndirect(const LOGFONT* description);
// Fonts and bitmaps; FALSE for an unknown handle or one still selected into a context.
BOOL DeleteObject(HGDIOBJ object);

// A memory context holding a 1×1 placeholder bitmap and the default font.
HDC CreateCompatibleDC(HDC reference);
BOOL DeleteDC(HDC dc);
// Returns the object of the same kind that was selected before, or null when refused.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
int SetBkMode(HDC dc, int mode);

// 16 bits per pixel only (BI_RGB 5-5-5 or BI_BITFIELDS with the masks after the header). The pixel
// bytes are zeroed, rows padded to 4 bytes.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
// code is a Shift-JIS character: one byte, or lead byte × 256 + trail byte. With no buffer (or a
// size of 0) the result is the size the image needs; a blank glyph needs 0 bytes.
DWORD GetGlyphOutline(HDC dc, UINT code, UINT format, GLYPHMETRICS* metrics, DWORD bufferSize,
                      void* buffer, const MAT2* transform);

// Copies an 8-bit paletted picture through its colour table into the context's DIB section,
// clipped to the bitmap. (xSrc, ySrc) is the source rectangle's corner, counted from the top for a
// top-down picture and from the bottom for a bottom-up one; bits holds the scan lines
// firstScan .. firstScan + lineCount − 1 in storage order. Returns the lines copied.
int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT firstScan, UINT lineCount, const void* bits, const BITMAPINFO* info,
                      UINT usage);

// Live fonts and bitmaps (the contexts' own placeholders and the default font excluded).
int GdiObjectCount();

// Where the stand-in faces are looked for; an empty list restores the system folders.
void SetFontFolders(std::vector<std::string> folders);

}  // namespace plat
