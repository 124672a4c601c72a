#include "platform/text/Gdi.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "tests/support/TempDir.h"

using namespace plat;

namespace {

const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
const char kPGothic[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック
const char kFontFolder[] = "/usr/share/fonts/opentype/ipafont-gothic";

UINT Code(const char* sjis) {
  auto b = reinterpret_cast<const unsigned char*>(sjis);
  return std::strlen(sjis) == 2 ? b[0] * 256u + b[1] : b[0];
}

HFONT MakeFont(const char* face, LONG height, LONG width = 0, LONG weight = FW_NORMAL) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = 2;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

// A 16-bit DIB section with three explicit masks (5-6-5) or the plain 5-5-5 layout.
struct Dib16 {
  struct Info {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info;
  void* bits = nullptr;
  HBITMAP handle = nullptr;

  Dib16(LONG width, LONG height, bool masks565) {
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biBitCount = 16;
    info.header.biCompression = masks565 ? BI_BITFIELDS : BI_RGB;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                              nullptr, 0);
  }
  ~Dib16() { DeleteObject(handle); }
  uint32_t Pitch() const { return ((info.header.biWidth * 16 + 31) / 32) * 4; }
  // Pixel at (x, y) counted from the top of the picture.
  uint16_t At(int x, int y) const {
    LONG rows = info.header.biHeight < 0 ? -info.header.biHeight : info.header.biHeight;
    int stored = info.header.biHeight < 0 ? y : static_cast<int>(rows) - 1 - y;
    uint16_t v;
    std::memcpy(&v, static_cast<const uint8_t*>(bits) + stored * Pitch() + x * 2, 2);
    return v;
  }
};

// An 8-bit picture with a colour table, as glyph images are blitted.
struct Picture8 {
  struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } info;
  std::vector<uint8_t> bits;

  Picture8(LONG width, LONG height, std::vector<uint8_t> pixels) : bits(std::move(pixels)) {
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
  }
  const BITMAPINFO* Bmi() const { return reinterpret_cast<const BITMAPINFO*>(&info); }
};

class GdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access((std::string(kFontFolder) + "/ipag.ttf").c_str(), R_OK) != 0)
      GTEST_SKIP() << "IPA Gothic is not installed";
    baseline = GdiObjectCount();
    dc = CreateCompatibleDC(nullptr);
  }
  void TearDown() override {
    if (dc) DeleteDC(dc);
    SetFontFolders({});
    EXPECT_EQ(GdiObjectCount(), baseline) << "a test leaked fonts or bitmaps";
  }

  GLYPHMETRICS Metrics(UINT code) {
    GLYPHMETRICS gm;
    MAT2 m = IdentityMat2();
    EXPECT_NE(GetGlyphOutline(dc, code, GGO_METRICS, &gm, 0, nullptr, &m), GDI_ERROR);
    return gm;
  }

  int baseline = 0;
  HDC dc = nullptr;
};

TEST_F(GdiTest, LogicalSizesBecomeTheFontsCellAndWidth) {
  // The stand-in faces' cell is their em box, as for the faces they replace.
  struct Case {
    LONG height, width;
    LONG cellHeight, averageWidth;
  } cases[] = {
      {16, 0, 16, 8},   // cell height: the face's aspect chooses the width
      {18, 9, 18, 9},   // a forced average width
      {-16, 0, 16, 8},  // a negative height is the em height
      {12, 0, 12, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.height << "x" << c.width);
    HFONT font = MakeFont(kGothic, c.height, c.width);
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    ASSERT_NE(old, nullptr);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight, c.cellHeight);
    EXPECT_EQ(tm.tmInternalLeading, 0);
    EXPECT_EQ(tm.tmAveCharWidth, c.averageWidth);
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(SelectObject(dc, old), font);
    EXPECT_TRUE(DeleteObject(font));
  }
}

TEST_F(GdiTest, EachFontIsItsOwnHandleAndDeletingReleasesIt) {
  HFONT a = MakeFont(kGothic, 16);
  HFONT b = MakeFont(kGothic, 16);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(GdiObjectCount(), baseline + 2);
  EXPECT_TRUE(DeleteObject(a));
  EXPECT_FALSE(DeleteObject(a)) << "a deleted handle is no longer valid";
  EXPECT_EQ(GdiObjectCount(), baseline + 1);
  EXPECT_TRUE(DeleteObject(b));
}

TEST_F(GdiTest, GothicIsMonospacedAndPGothicProportional) {
  HFONT gothic = MakeFont(kGothic, 16);
  HFONT pgothic = MakeFont(kPGothic, 16);
  HGDIOBJ old = SelectObject(dc, gothic);
  EXPECT_EQ(Metrics('i').gmCellIncX, Metrics('W').gmCellIncX);
  EXPECT_EQ(Metrics(Code("\x82\xa0")).gmCellIncX, 2 * Metrics('W').gmCellIncX);  // あ
  SelectObject(dc, pgothic);
  EXPECT_LT(Metrics('i').gmCellIncX, Metrics('W').gmCellIncX);
  SelectObject(dc, old);
  DeleteObject(gothic);
  DeleteObject(pgothic);
}

// Every glyph's inked box lies inside its cell: from the pen to the advance, ascent to descent.
TEST_F(GdiTest, GlyphBoxesStayInsideTheirCell) {
  for (LONG height : {12, 16, 18}) {
    HFONT font = MakeFont(kGothic, height);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(dc, &tm));
    for (const char* ch : {"A", "g", "|", "\x82\xa0" /* あ */, "\x8a\xbf" /* 漢 */,
                           "\x81\x5b" /* ー */, "\xb1" /* ｱ */, "\x81\xa1" /* ■ */}) {
      SCOPED_TRACE(testing::Message() << "height " << height << " char " << Code(ch));
      GLYPHMETRICS gm = Metrics(Code(ch));
      EXPECT_GT(gm.gmBlackBoxX, 0u);
      EXPECT_GE(gm.gmptGlyphOrigin.x, 0);
      EXPECT_LE(gm.gmptGlyphOrigin.x + static_cast<LONG>(gm.gmBlackBoxX), gm.gmCellIncX);
      EXPECT_LE(gm.gmptGlyphOrigin.y, tm.tmAscent);
      EXPECT_GE(gm.gmptGlyphOrigin.y - static_cast<LONG>(gm.gmBlackBoxY), -tm.tmDescent);
    }
    SelectObject(dc, old);
    DeleteObject(font);
  }
}

TEST_F(GdiTest, Gray4ImagesHoldSeventeenLevels) {
  HFONT font = MakeFont(kGothic, 16);
  HGDIOBJ old = SelectObject(dc, font);
  MAT2 m = IdentityMat2();
  GLYPHMETRICS gm;
  const UINT square = Code("\x81\xa1");  // ■
  DWORD size = GetGlyphOutline(dc, square, GGO_GRAY4_BITMAP, &gm, 0, nullptr, &m);
  ASSERT_NE(size, GDI_ERROR);
  const DWORD pitch = (gm.gmBlackBoxX + 3) & ~3u;
  EXPECT_EQ(size, pitch * gm.gmBlackBoxY);
  std::vector<uint8_t> image(size + 8, 0xEE);
  EXPECT_EQ(GetGlyphOutline(dc, square, GGO_GRAY4_BITMAP, &gm, size - 1, image.data(), &m),
            GDI_ERROR)
      << "a buffer one byte short is refused";
  ASSERT_EQ(GetGlyphOutline(dc, square, GGO_GRAY4_BITMAP, &gm, size, image.data(), &m), size);
  EXPECT_EQ(image[size], 0xEE) << "nothing written past the image";
  int full = 0;
  for (DWORD y = 0; y < gm.gmBlackBoxY; ++y)
    for (DWORD x = 0; x < pitch; ++x) {
      uint8_t v = image[y * pitch + x];
      ASSERT_LE(v, 16);
      if (x >= gm.gmBlackBoxX) {
        EXPECT_EQ(v, 0) << "row padding is blank";
      }
      if (v == 16) ++full;
    }
  // The square's inside is solid ink.
  EXPECT_EQ(image[(gm.gmBlackBoxY / 2) * pitch + gm.gmBlackBoxX / 2], 16);
  EXPECT_GT(full, static_cast<int>(gm.gmBlackBoxX * gm.gmBlackBoxY / 2));

  // The round edges of あ need levels between blank and full.
  const UINT a = Code("\x82\xa0");
  size = GetGlyphOutline(dc, a, GGO_GRAY4_BITMAP, &gm, 0, nullptr, &m);
  image.assign(size, 0);
  ASSERT_EQ(GetGlyphOutline(dc, a, GGO_GRAY4_BITMAP, &gm, size, image.data(), &m), size);
  bool partial = false;
  for (uint8_t v : image) partial |= v > 0 && v < 16;
  EXPECT_TRUE(partial);
  SelectObject(dc, old);
  DeleteObject(font);
}

TEST_F(GdiTest, BlankMissingAndRefusedGlyphs) {
  HFONT font = MakeFont(kGothic, 16);
  HGDIOBJ old = SelectObject(dc, font);
  MAT2 m = IdentityMat2();
  GLYPHMETRICS gm;
  // A space and an unassigned Shift-JIS code have no image but still advance.
  for (UINT code : {0x20u, 0x8540u, 0x82u * 256u}) {
    gm = GLYPHMETRICS{};
    EXPECT_EQ(GetGlyphOutline(dc, code, GGO_GRAY4_BITMAP, &gm, 0, nullptr, &m), 0u) << code;
    EXPECT_GT(gm.gmCellIncX, 0) << code;
  }
  MAT2 scaled = m;
  scaled.eM11.value = 2;
  EXPECT_EQ(GetGlyphOutline(dc, 'A', GGO_GRAY4_BITMAP, &gm, 0, nullptr, &scaled), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutline(dc, 'A', GGO_GRAY4_BITMAP, &gm, 0, nullptr, nullptr), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutline(dc, 'A', 99, &gm, 0, nullptr, &m), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutline(nullptr, 'A', GGO_GRAY4_BITMAP, &gm, 0, nullptr, &m), GDI_ERROR);
  SelectObject(dc, old);
  DeleteObject(font);
}

TEST_F(GdiTest, NewContextDrawsWithTheDefaultFont) {
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(dc, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_GT(Metrics('A').gmBlackBoxX, 0u);
}

TEST_F(GdiTest, MissingFaceFilesFallBackCleanly) {
  testkit::TempDir empty;
  testkit::TempDir onlyProportional;
  ASSERT_EQ(symlink((std::string(kFontFolder) + "/ipagp.ttf").c_str(),
                    (onlyProportional / "ipagp.ttf").c_str()),
            0);

  SetFontFolders({onlyProportional.path()});
  HFONT font = MakeFont(kGothic, 16);
  ASSERT_NE(font, nullptr) << "the other face stands in";
  HGDIOBJ old = SelectObject(dc, font);
  EXPECT_LT(Metrics('i').gmCellIncX, Metrics('W').gmCellIncX);
  SelectObject(dc, old);
  DeleteObject(font);

  SetFontFolders({empty.path()});
  EXPECT_EQ(MakeFont(kGothic, 16), nullptr);
  EXPECT_EQ(MakeFont(kPGothic, 16), nullptr);
  HDC bare = CreateCompatibleDC(nullptr);
  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(bare, &tm));
  GLYPHMETRICS gm;
  MAT2 m = IdentityMat2();
  EXPECT_EQ(GetGlyphOutline(bare, 'A', GGO_GRAY4_BITMAP, &gm, 0, nullptr, &m), GDI_ERROR);
  EXPECT_TRUE(DeleteDC(bare));

  SetFontFolders({});
  font = MakeFont(kGothic, 16);
  EXPECT_NE(font, nullptr);
  DeleteObject(font);
}

TEST_F(GdiTest, DibSectionsAreSixteenBitAndZeroed) {
  Dib16 dib(13, -5, true);
  ASSERT_NE(dib.handle, nullptr);
  ASSERT_NE(dib.bits, nullptr);
  EXPECT_EQ(dib.Pitch(), 28u);
  for (uint32_t i = 0; i < dib.Pitch() * 5; ++i)
    ASSERT_EQ(static_cast<uint8_t*>(dib.bits)[i], 0);

  struct Bad {
    WORD bitCount;
    DWORD compression;
    LONG width, height;
    DWORD redMask;
  } bad[] = {
      {24, BI_RGB, 8, 8, 0xF800}, {8, BI_RGB, 8, 8, 0xF800},      {16, 1, 8, 8, 0xF800},
      {16, BI_RGB, 0, 8, 0xF800}, {16, BI_RGB, 8, 0, 0xF800},     {16, BI_RGB, -8, 8, 0xF800},
      {16, BI_BITFIELDS, 8, 8, 0}, {16, BI_BITFIELDS, 8, 8, 0xA800},  // no mask / gapped mask
      {16, BI_RGB, 100000, 8, 0xF800},
  };
  for (const Bad& b : bad) {
    Dib16::Info info;
    info.header.biBitCount = b.bitCount;
    info.header.biCompression = b.compression;
    info.header.biWidth = b.width;
    info.header.biHeight = b.height;
    info.masks[0] = b.redMask;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                               nullptr, 0),
              nullptr)
        << b.bitCount << " " << b.compression << " " << b.width << "x" << b.height;
    EXPECT_EQ(bits, nullptr);
  }
}

TEST_F(GdiTest, SelectedBitmapsAreGuarded) {
  Dib16 dib(4, 4, true);
  HGDIOBJ placeholder = SelectObject(dc, dib.handle);
  ASSERT_NE(placeholder, nullptr);
  EXPECT_FALSE(DeleteObject(dib.handle)) << "still selected";
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, dib.handle), nullptr) << "one context at a time";
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_FALSE(DeleteDC(other));
  EXPECT_EQ(SelectObject(dc, placeholder), dib.handle);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), TRANSPARENT);
  EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(dc)), nullptr) << "not an object";
}

// A 3×2 picture of palette indices 1..6 blitted into an 8×4 DIB.
TEST_F(GdiTest, BlitConvertsThroughTheColourTableAndClips) {
  Picture8 pic(3, -2, {1, 2, 3, 0, 4, 5, 6, 0});  // rows padded to 4 bytes
  const RGBQUAD colours[] = {{}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0},
                             {255, 255, 255, 0}, {8, 4, 16, 0}, {0x7F, 0x7F, 0x7F, 0}};
  for (int i = 0; i < 7; ++i) pic.info.colors[i] = colours[i];

  struct Case {
    bool masks565;
    int x, y;
    std::vector<std::pair<int, int>> inked;  // destination pixels that receive the picture
    uint16_t red, green, blue, white, dim, grey;
  } cases[] = {
      {true, 1, 1, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}},
       0xF800, 0x07E0, 0x001F, 0xFFFF, 0x1001 | (1 << 5), 0x7BEF},
      {false, 1, 1, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}},
       0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0801, 0x3DEF},
      {true, -2, -1, {{0, 0}}, 0, 0, 0, 0, 0, 0x7BEF},          // only the bottom-right pixel
      {true, 6, 3, {{6, 3}, {7, 3}}, 0xF800, 0x07E0, 0, 0, 0, 0},  // cut at the right and bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.masks565 << " at " << c.x << "," << c.y);
    Dib16 dib(8, -4, c.masks565);
    HGDIOBJ old = SelectObject(dc, dib.handle);
    EXPECT_EQ(SetDIBitsToDevice(dc, c.x, c.y, 3, 2, 0, 0, 0, 2, pic.bits.data(), pic.Bmi(),
                                DIB_RGB_COLORS),
              2);
    const uint16_t expected[] = {c.red, c.green, c.blue, c.white, c.dim, c.grey};
    int inkedCount = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) {
        int sx = x - c.x, sy = y - c.y;
        bool inside = sx >= 0 && sx < 3 && sy >= 0 && sy < 2;
        if (!inside) {
          EXPECT_EQ(dib.At(x, y), 0) << x << "," << y;
          continue;
        }
        ++inkedCount;
        EXPECT_EQ(dib.At(x, y), expected[sy * 3 + sx]) << x << "," << y;
      }
    EXPECT_EQ(inkedCount, static_cast<int>(c.inked.size()));
    SelectObject(dc, old);
  }
}

TEST_F(GdiTest, BlitHonoursRowOrderOfSourceAndTarget) {
  Picture8 pic(1, 2, {1, 0, 0, 0, 2, 0, 0, 0});  // bottom-up: stored row 0 is the bottom row
  pic.info.colors[1] = {0, 0, 255, 0};
  pic.info.colors[2] = {255, 0, 0, 0};
  for (LONG height : {-2, 2}) {
    Dib16 dib(1, height, true);
    HGDIOBJ old = SelectObject(dc, dib.handle);
    SetDIBitsToDevice(dc, 0, 0, 1, 2, 0, 0, 0, 2, pic.bits.data(), pic.Bmi(), DIB_RGB_COLORS);
    EXPECT_EQ(dib.At(0, 0), 0x001F) << "top shows the last stored row";
    EXPECT_EQ(dib.At(0, 1), 0xF800);
    SelectObject(dc, old);
  }
  // Nothing to draw on: the context still holds its placeholder.
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 1, 2, 0, 0, 0, 2, pic.bits.data(), pic.Bmi(),
                              DIB_RGB_COLORS),
            0);
}

}  // namespace
