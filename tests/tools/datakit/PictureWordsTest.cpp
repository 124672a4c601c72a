// Words drawn into pictures: where they land, how they fit, what they leave alone, and the
// sample's worded pictures read back through the game's own pack reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/tools/datakit/PackReadBack.h"
#include "tools/datakit/PictureKit.h"
#include "tools/datakit/SampleLaterEvents.h"
#include "tools/datakit/SampleTextures.h"
#include "tools/datakit/SampleTitle.h"
#include "tools/datakit/WordPainter.h"

namespace picture_words_test {

using datakit::PtxPicture;
using datakit::Rgb;

bool Same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
// Near white: the ink's full strokes.
bool Whitish(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }

// Pixels of the rectangle that are not the ground colour.
int Marked(const PtxPicture& p, Rgb ground, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
  int n = 0;
  for (uint32_t y = y0; y < y1; ++y)
    for (uint32_t x = x0; x < x1; ++x) n += !Same(p.ColourAt(x, y), ground);
  return n;
}

TEST(PictureWordsTest, WordsStayInTheirBoxAndLeaveTheGroundElsewhere) {
  PtxPicture p = datakit::SolidPicture(0, 200, 60, {10, 20, 30});
  datakit::DrawWords(p, "ロード", 24, {40, 10, 100, 40}, {255, 255, 255});
  EXPECT_EQ(Marked(p, {10, 20, 30}, 0, 0, 200, 60), Marked(p, {10, 20, 30}, 40, 10, 140, 50));
  EXPECT_GT(Marked(p, {10, 20, 30}, 40, 10, 140, 50), 100);
  int full = 0;
  for (uint32_t y = 10; y < 50; ++y)
    for (uint32_t x = 40; x < 140; ++x) full += Whitish(p.ColourAt(x, y));
  EXPECT_GT(full, 40) << "the strokes' cores are the ink itself";
}

TEST(PictureWordsTest, CentredWordsAreBalancedAndTooLongOnesShrinkToFit) {
  PtxPicture centred = datakit::SolidPicture(0, 300, 40, {0, 0, 0});
  datakit::DrawWords(centred, "OK", 20, {0, 0, 300, 40, true}, {255, 255, 255});
  uint32_t first = 300, last = 0;
  for (uint32_t y = 0; y < 40; ++y)
    for (uint32_t x = 0; x < 300; ++x)
      if (!Same(centred.ColourAt(x, y), {0, 0, 0})) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  ASSERT_LT(first, last);
  EXPECT_NEAR((first + last) / 2.0, 150, 4);

  PtxPicture narrow = datakit::SolidPicture(0, 120, 40, {0, 0, 0});
  datakit::DrawWords(narrow, "ゲームを終了しますか？", 24, {10, 0, 60, 40}, {255, 255, 255});
  EXPECT_EQ(Marked(narrow, {0, 0, 0}, 0, 0, 10, 40) + Marked(narrow, {0, 0, 0}, 70, 0, 120, 40), 0);
  EXPECT_GT(Marked(narrow, {0, 0, 0}, 10, 0, 70, 40), 30);
}

TEST(PictureWordsTest, OnAClearGroundWordsBringTheirOwnAlpha) {
  PtxPicture p = datakit::SolidPicture(1, 64, 32, {0, 0, 0}, 0);
  datakit::DrawWords(p, "A", 24, {0, 0, 64, 32, true}, {200, 100, 50});
  int opaque = 0, clearElsewhere = 0;
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      if (p.Alpha(x, y) == 255) {
        ++opaque;
        EXPECT_TRUE(Same(p.ColourAt(x, y), {200, 100, 50}));
      }
      clearElsewhere += x < 16 && p.Alpha(x, y) == 0;
    }
  EXPECT_GT(opaque, 20);
  EXPECT_EQ(clearElsewhere, 16 * 32);
}

// A ground of more than 256 colours under the words: the palette keeps the most used exactly.
TEST(PictureWordsTest, ARichGroundKeepsItsMostUsedColours) {
  PtxPicture p = datakit::SolidPicture(0, 256, 64, {0, 0, 0});
  for (uint32_t x = 0; x < 256; ++x) p.palette[x] = {static_cast<uint8_t>(x), 0, 100};
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 256; ++x) p.Pixel(x, y) = static_cast<uint8_t>(x);
  datakit::DrawWords(p, "はい", 20, {100, 40, 56, 24}, {255, 255, 255});
  for (uint32_t x = 0; x < 256; x += 17) EXPECT_TRUE(Same(p.ColourAt(x, 2), {static_cast<uint8_t>(x), 0, 100})) << x;
  EXPECT_GT(Marked(p, {128, 0, 100}, 100, 40, 156, 64), 0);
}

TEST(PictureWordsTest, WordsOutsideThePictureOrBrokenTextHarmNothing) {
  PtxPicture p = datakit::SolidPicture(1, 16, 16, {1, 2, 3});
  datakit::DrawWords(p, "ABC", 12, {100, 100, 40, 40}, {255, 255, 255});
  datakit::DrawWords(p, "\xff\xfe\xe3\x83", 12, {0, 0, 16, 16}, {255, 255, 255});
  datakit::DrawWords(p, "", 12, {0, 0, 16, 16}, {255, 255, 255});
  EXPECT_EQ(p.pixels.size(), 256u);
  EXPECT_EQ(datakit::DecodeUtf8("a\xe3\x83\xad\xff"), (std::u32string{U'a', U'ロ', 0xFFFD}));
}

// --- the sample's pictures, as the game reads them -----------------------------------------------

// The status screen's text height, at which the window's words are drawn too.
constexpr uint32_t kTextHeight = 16;

// Ink of a word as coverage from 0 to 1, cut to the rows and columns that carry any.
struct Coverage {
  int width = 0, height = 0;
  std::vector<float> at;

  float At(int x, int y) const { return x < 0 || y < 0 || x >= width || y >= height ? 0.f : at[size_t(y) * width + x]; }
};

// Cuts a grid of ink strengths to its inked bounds and scales it so its strongest pixel is 1.
Coverage Cut(int width, int height, const std::vector<float>& strength) {
  int x0 = width, y0 = height, x1 = -1, y1 = -1;
  float strongest = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (const float s = strength[size_t(y) * width + x]; s > 0) {
        x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        strongest = std::max(strongest, s);
      }
  Coverage cut;
  if (x1 < 0) return cut;
  cut.width = x1 - x0 + 1, cut.height = y1 - y0 + 1;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) cut.at.push_back(strength[size_t(y) * width + x] / strongest);
  return cut;
}

Coverage Cut(const datakit::WordMask& mask) {
  std::vector<float> strength(mask.coverage.begin(), mask.coverage.end());
  return Cut(static_cast<int>(mask.width), static_cast<int>(mask.height), strength);
}

// How alike two inks are, 1 for the same: the shared coverage over the joint coverage, at the best
// of a few pixels' shift (a faint edge lost to the palette moves a bound by one).
float Likeness(const Coverage& a, const Coverage& b) {
  float best = 0;
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      float shared = 0, joint = 0;
      for (int y = std::min(0, dy); y < std::max(a.height, b.height + dy); ++y)
        for (int x = std::min(0, dx); x < std::max(a.width, b.width + dx); ++x) {
          const float p = a.At(x, y), q = b.At(x - dx, y - dy);
          shared += std::min(p, q), joint += std::max(p, q);
        }
      if (joint > 0) best = std::max(best, shared / joint);
    }
  return best;
}

class SampleWordsTest : public ::testing::Test {
 protected:
  void Write(const datakit::PtxWriter& pack) { pack.Save(dir / "pack.ptx"); }
  // An entry of the pack written last (or of the pack at path), read back by the game's reader.
  TPackPicture ReadBack(const std::string& entry, std::string path = "") {
    return datakit_test::ReadBack(path.empty() ? dir / "pack.ptx" : path, entry);
  }
  static Rgb At(const TPackPicture& p, uint32_t x, uint32_t y) {
    const uint8_t* c = &p.palette[p.pixels[y * p.width + x] * 4];
    return {c[2], c[1], c[0]};
  }
  // Colours of the rectangle; the count of near-white pixels.
  static int Ink(const TPackPicture& p, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, std::set<uint32_t>* colours = nullptr) {
    int n = 0;
    for (uint32_t y = y0; y < y1; ++y)
      for (uint32_t x = x0; x < x1; ++x) {
        const Rgb c = At(p, x, y);
        n += Whitish(c);
        if (colours) colours->insert(Key(c));
      }
    return n;
  }
  // A text row of a picture from column `from` to `end`, the value's text starting at `value`: the
  // ink left of the value, the count of pixels off the row's ground over the value, and the count
  // of pixels bright as full strokes left of it. A row's ground is its most common colour there
  // (the window's gradient runs down, so a row is one colour where nothing is written).
  struct Row {
    Coverage label;
    int overValue = 0, bright = 0;
  };
  static Row ReadRow(const TPackPicture& p, uint32_t top, uint32_t from, uint32_t value, uint32_t end) {
    Row row;
    std::vector<float> strength;
    for (uint32_t y = top; y < top + kTextHeight; ++y) {
      std::map<uint32_t, int> count;
      for (uint32_t x = from; x < end; ++x) ++count[Key(At(p, x, y))];
      const uint32_t most = std::max_element(count.begin(), count.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
      const Rgb g{uint8_t(most >> 16), uint8_t(most >> 8), uint8_t(most)};
      for (uint32_t x = from; x < end; ++x) {
        const Rgb c = At(p, x, y);
        const int off = std::abs(c.r - g.r) + std::abs(c.g - g.g) + std::abs(c.b - g.b);
        if (x >= value) {
          row.overValue += off > 0;
          continue;
        }
        strength.push_back(static_cast<float>(off));
        row.bright += c.r + c.g + c.b > 450;
      }
    }
    row.label = Cut(static_cast<int>(value - from), static_cast<int>(kTextHeight), strength);
    return row;
  }
  static uint32_t Key(Rgb c) { return c.r << 16 | c.g << 8 | c.b; }
  testkit::TempDir dir;
};

// The title menu's three bands (64 rows each) carry their entry's word in white, not a plain bar;
// the band's middle and left end, where its colour shows the cursor, stay the band's colour.
TEST_F(SampleWordsTest, TheTitleMenuBandsCarryTheirWords) {
  Write(datakit::SampleTitlePack());
  const TPackPicture menu = ReadBack("menu");
  ASSERT_EQ(menu.width, 256u);
  ASSERT_EQ(menu.height, 256u);
  const Rgb bands[3] = {{200, 60, 40}, {40, 170, 70}, {60, 90, 220}};
  for (uint32_t n = 0; n < 3; ++n) {
    std::set<uint32_t> colours;
    EXPECT_GT(Ink(menu, 0, 64 * n, 256, 64 * n + 64, &colours), 80) << "band " << n;
    EXPECT_GT(colours.size(), 4u) << "band " << n;
    for (uint32_t x : {2u, 4u, 8u, 120u, 128u, 136u})
      EXPECT_TRUE(Same(At(menu, x, 64 * n + 32), bands[n])) << "band " << n << " x " << x;
  }
}

// The field menu's panels: each entry's word, with the panel's colour kept right of the middle.
TEST_F(SampleWordsTest, TheFieldMenuPanelsCarryTheirWords) {
  Write(datakit::SampleSpritePack());
  for (char letter : std::string("abcdefghijklmn")) {
    const TPackPicture panel = ReadBack(std::string("window02_") + letter);
    ASSERT_EQ(panel.width, 192u);
    std::set<uint32_t> left, right;
    Ink(panel, 0, 0, 140, 32, &left);
    Ink(panel, 150, 0, 192, 32, &right);
    EXPECT_GT(left.size(), 4u) << letter;
    EXPECT_EQ(right.size(), 1u) << letter;
  }
}

// The status window: each of the seventeen places where the status screen writes a value has its
// own word left of it, on its row, and nothing where the value's characters go. A place is given
// from the window's corner with its widest text in characters of the 16-pixel fixed font, 8 pixels
// each ("%8lu ベル" counts its two wide ones twice, a parameter with its bonus "%3lu + %3lu").
// Where a row holds two values the second one's word stands between them. The ink found left of a
// value is compared with every value's word drawn alone at the screen's text height: it must match
// its own word closely and better than any other, so two labels swapped are caught.
TEST_F(SampleWordsTest, TheStatusWindowNamesEachValueLeftOfIt) {
  Write(datakit::SampleSpritePack());
  const TPackPicture window = ReadBack("window09");
  ASSERT_EQ(window.width, 512u);
  ASSERT_EQ(window.height, 320u);
  struct Value {
    const char* name;
    uint32_t x, y, characters;
    const char* word;
  };
  const Value values[] = {
      {"level", 78, 44, 2, "レベル"},       {"experience", 234, 44, 9, "経験値"}, {"gold", 242, 64, 13, "所持金"},
      {"HP", 122, 102, 9, "HP"},            {"MP", 122, 120, 9, "MP"},            {"attack", 94, 170, 3, "攻撃力"},
      {"defence", 94, 188, 3, "防御力"},    {"parameter 0", 94, 206, 9, "腕力"},  {"parameter 1", 94, 224, 9, "体力"},
      {"parameter 2", 94, 242, 9, "知力"},  {"parameter 3", 94, 260, 9, "精神"},  {"fire", 226, 170, 4, "火"},
      {"water", 226, 188, 4, "水"},         {"wind", 226, 206, 4, "風"},          {"soil", 226, 224, 4, "土"},
      {"light", 226, 242, 4, "光"},         {"dark", 226, 260, 4, "闇"},
  };
  const datakit::WordPainter painter;
  std::vector<Coverage> words;
  for (const Value& value : values) words.push_back(Cut(painter.Paint(value.word, kTextHeight)));
  for (size_t n = 0; n < std::size(values); ++n) {
    const Value& value = values[n];
    uint32_t from = 0;  // the end of the value left of it on its row
    for (const Value& other : values)
      if (other.y == value.y && other.x < value.x) from = std::max(from, other.x + 8 * other.characters);
    const Row row = ReadRow(window, value.y, from, value.x, value.x + 8 * value.characters);
    EXPECT_EQ(row.overValue, 0) << value.name << " is written over";
    EXPECT_GE(row.bright, 12) << value.name << " has no legible word left of it";
    if (row.label.width == 0) continue;
    size_t likest = 0;
    std::vector<float> likeness;
    for (const Coverage& word : words) {
      likeness.push_back(Likeness(row.label, word));
      if (likeness.back() > likeness[likest]) likest = likeness.size() - 1;
    }
    EXPECT_EQ(likest, n) << value.name << "'s word reads as " << values[likest].word;
    EXPECT_GT(likeness[n], 0.85f) << value.name << " is not labelled " << value.word << " at the text height";
  }
}

// The ending's captions, one colour each, carry their lines.
TEST_F(SampleWordsTest, TheEndingCaptionsCarryTheirWords) {
  datakit::WriteSampleLaterEvents(dir / "game/");
  for (int n = 0; n < 12; ++n) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "s_%02d", n);
    const TPackPicture caption = ReadBack(entry, dir / "game/data/ptx03/ending.ptx");
    ASSERT_EQ(caption.width, 256u);
    EXPECT_GT(Ink(caption, 0, 0, 256, 256), 40) << entry;
  }
}

TEST_F(SampleWordsTest, TheHudFaceIsNoLongerAChecker) {
  datakit::PtxWriter faces;
  faces.Add("face00", datakit::FacePicture(64, {230, 190, 150}, {90, 60, 40}));
  Write(faces);
  const TPackPicture face = ReadBack("face00");
  // Clear corners, skin at the cheeks, the features' colour at both eyes.
  EXPECT_EQ(face.alpha[0], 0);
  EXPECT_EQ(face.alpha[63 * 64 + 63], 0);
  EXPECT_TRUE(Same(At(face, 14, 34), {230, 190, 150}));
  EXPECT_TRUE(Same(At(face, 22, 28), {90, 60, 40}));
  EXPECT_TRUE(Same(At(face, 41, 28), {90, 60, 40}));
  EXPECT_TRUE(Same(At(face, 32, 28), {230, 190, 150}));
}

}  // namespace picture_words_test
