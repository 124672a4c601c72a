#include "common/TText8.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "tests/common/GraphicsFixture.h"

using namespace plat;

namespace {

const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
const char kText[] = "\x83\x65\x83\x4c\x83\x58\x83\x67";                        // テキスト

class TextTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    if (access("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", R_OK) != 0)
      GTEST_SKIP() << "IPA Gothic is not installed";
    StartDevice();
  }
  void TearDown() override {
    TTexture8::Purge(1);
    GraphicsFixture::TearDown();
  }
  static uint16_t Pixel(const TText8& t, uint32_t x, uint32_t y) {
    uint16_t v;
    std::memcpy(&v, t.GetBits() + y * t.GetPitch() + x * 2, 2);
    return v;
  }
  // The inked pixels' bounding box: x0, y0, x1, y1 (exclusive); all -1 without ink.
  static std::array<int, 4> InkBox(const TText8& t, uint32_t width, uint32_t height) {
    std::array<int, 4> box = {-1, -1, -1, -1};
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        if (Pixel(t, x, y) != 0) {
          if (box[0] < 0) box = {int(x), int(y), int(x) + 1, int(y) + 1};
          box = {std::min(box[0], int(x)), std::min(box[1], int(y)), std::max(box[2], int(x) + 1),
                 std::max(box[3], int(y) + 1)};
        }
    return box;
  }
};

TEST_F(TextTest, SixteenBitFormatsOnly) {
  for (D3DFORMAT f : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5}) {
    TText8 t("Ok", 64, 16, 255, 255, 255, f, D3DPOOL_MANAGED, 0);
    EXPECT_EQ(t.texture.GetFormat(), f);
    EXPECT_EQ(t.GetPitch(), 128u);
  }
  const size_t cached = TTexture8::CachedCount();
  for (D3DFORMAT f : {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_UNKNOWN}) {
    try {
      TText8 t("Bad", 64, 16, 255, 255, 255, f, D3DPOOL_MANAGED, 0);
      ADD_FAILURE() << "format " << f << " accepted";
    } catch (const my_error& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find("line : 102\r\n"), std::string::npos) << text;
      EXPECT_NE(text.find("error : Unknown TextTextureFormat\r\n"), std::string::npos) << text;
    }
  }
  EXPECT_EQ(TTexture8::CachedCount(), cached) << "nothing made for a refused format";
  // Without a format the device's 16-bit slot is taken.
  TText8 slot("Slot", 33, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  EXPECT_EQ(slot.texture.GetFormat(), TD3D8::Instance()->GetTextureFormat(3));
  EXPECT_EQ(slot.GetPitch(), 68u) << "rows padded to 4 bytes";
  EXPECT_EQ(slot.width, 33u);
}

TEST_F(TextTest, TheColourRampRunsFromBlackToTheTextColour) {
  TText8 white("White", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  const uint8_t expected[17] = {0, 15, 31, 47, 63, 79, 95, 111, 127, 143, 159, 175, 191, 207, 223, 239, 255};
  for (int k = 0; k < 256; ++k) {
    const RGBQUAD& c = white.GetGlyphHeader().colours[k];
    const uint8_t v = k <= 16 ? expected[k] : 0;
    EXPECT_EQ(c.rgbRed, v) << k;
    EXPECT_EQ(c.rgbGreen, v) << k;
    EXPECT_EQ(c.rgbBlue, v) << k;
  }
  TText8 orange("Orange", 64, 16, 255, 128, 0, D3DPOOL_MANAGED, 0);
  EXPECT_EQ(orange.GetGlyphHeader().colours[8].rgbRed, 127);
  EXPECT_EQ(orange.GetGlyphHeader().colours[8].rgbGreen, 64);
  EXPECT_EQ(orange.GetGlyphHeader().colours[16].rgbBlue, 0);
}

TEST_F(TextTest, EmptyTextDrawsNothingAndRepeatedTextTheSamePixels) {
  TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
  TText8 t("Line", 128, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  EXPECT_EQ(t.DrawString(7, 0, "", font, true), 7);
  EXPECT_EQ(InkBox(t, 128, 16)[0], -1);

  EXPECT_EQ(t.DrawString(2, 0, "ABC", font, false), 2 + 3 * 8) << "half-width cells of 8";
  std::vector<uint8_t> once(t.GetBits(), t.GetBits() + 16 * t.GetPitch());
  EXPECT_NE(InkBox(t, 128, 16)[0], -1);
  t.DrawString(2, 0, "ABC", font, false);
  EXPECT_EQ(std::vector<uint8_t>(t.GetBits(), t.GetBits() + 16 * t.GetPitch()), once);
  t.Clear(false);
  EXPECT_EQ(InkBox(t, 128, 16)[0], -1);
}

// The real font puts the ink of a Shift-JIS string inside its cells and nowhere else, at full
// strength in places, and an upload copies the bitmap into the texture unchanged.
TEST_F(TextTest, ShiftJisTextInksOnlyItsCells) {
  TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
  TText8 t("Caption", 128, 40, 255, 255, 255, D3DFMT_R5G6B5, D3DPOOL_MANAGED, 0);
  const int end = t.DrawString(10, 12, kText, font, true);
  EXPECT_EQ(end, 10 + 4 * 16);
  const std::array<int, 4> box = InkBox(t, 128, 40);
  EXPECT_GE(box[0], 10);
  EXPECT_LE(box[2], end);
  EXPECT_GE(box[1], 12);
  EXPECT_LE(box[3], 12 + 16);
  EXPECT_GT(box[2] - box[0], 40) << "four wide characters";
  EXPECT_GT(box[3] - box[1], 8);
  int full = 0;
  for (uint32_t y = 0; y < 40; ++y)
    for (uint32_t x = 0; x < 128; ++x) full += Pixel(t, x, y) == 0xFFFF;
  EXPECT_GT(full, 20) << "white at full coverage";

  D3DLOCKED_RECT locked;
  ASSERT_EQ(t.texture.GetTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  for (uint32_t y = 0; y < 40; ++y)
    ASSERT_EQ(std::memcmp(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                          t.GetBits() + y * t.GetPitch(), 128 * 2),
              0)
        << "row " << y;
  t.texture.GetTexture()->UnlockRect(0);
}

TEST_F(TextTest, FiveFiveFiveTextAndClippedText) {
  TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
  TText8 t("Small", 20, 10, 255, 255, 255, D3DFMT_X1R5G5B5, D3DPOOL_MANAGED, 0);
  // Runs past the right and bottom edges and starts left of the bitmap: clipped, no overrun.
  t.DrawString(-4, 2, "\x81\xa1\x81\xa1\x81\xa1", font, true);  // ■■■
  int full = 0;
  for (uint32_t y = 0; y < 10; ++y)
    for (uint32_t x = 0; x < 20; ++x) {
      uint16_t v = Pixel(t, x, y);
      EXPECT_EQ(v & 0x8000, 0) << "5-5-5 leaves the top bit";
      full += v == 0x7FFF;
    }
  EXPECT_GT(full, 50);
}

TEST_F(TextTest, ALeadByteAtTheEndPairsWithTheTerminator) {
  TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
  TText8 t("Tail", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  const int end = t.DrawString(0, 0, std::string("A\x82", 2), font, true);
  EXPECT_GE(end, 8);
}

TEST_F(TextTest, TextsOfOneNameKeepTheirOwnTextures) {
  TFontObject font(0, 16, kGothic, 400, 2, 0, 0, 0);
  TText8 a("Message", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  TText8 b("Message", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  ASSERT_NE(a.texture.GetTexture().Get(), nullptr);
  EXPECT_NE(a.texture.GetTexture().Get(), b.texture.GetTexture().Get());
  a.DrawString(0, 0, "A", font, true);
  b.DrawString(0, 0, "B", font, true);
  EXPECT_NE(std::memcmp(a.GetBits(), b.GetBits(), 16 * a.GetPitch()), 0);
  EXPECT_TRUE(a.texture.IsCreated());
}

TEST_F(TextTest, TheBitmapLivesAsLongAsItsLastText) {
  const int before = GdiObjectCount();
  {
    TText8 a("Held", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
    EXPECT_EQ(GdiObjectCount(), before + 1);
    {
      TText8 copy = a;
      EXPECT_EQ(copy.GetBits(), a.GetBits());
    }
    EXPECT_EQ(GdiObjectCount(), before + 1) << "the copy left the bitmap to the original";
    TTexture8::Purge(1);  // the cache no longer holds the texture: the bitmap still goes with a
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(TextTest, TextWithoutTextureOrFontIsHarmless) {
  TText8 none("Huge", 100000, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);  // no texture, no bitmap
  EXPECT_EQ(none.GetBits(), nullptr);
  testkit::TempDir empty;
  SetFontFolders({empty.path()});
  TFontObject missing(0, 16, kGothic, 400, 2, 0, 0, 0);
  EXPECT_EQ(none.DrawString(3, 0, "ABC", missing, true), 3);
  TText8 t("NoFont", 64, 16, 255, 255, 255, D3DPOOL_MANAGED, 0);
  EXPECT_EQ(t.DrawString(3, 0, "ABC", missing, true), 3) << "no font at all: nothing moves";
  SetFontFolders({});
}

}  // namespace
