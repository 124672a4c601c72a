#include "common/TTexturePack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "common/TFile.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/PictureKit.h"

namespace {

using datakit::PtxWriter;
using datakit::Rgb;

class TexturePackTest : public CommonFixture {
 protected:
  // Reads entry from the pack at path; the result of ReadEntry.
  bool Read(const std::string& path, const std::string& entry, TPackPicture& out) {
    TFile f(path);
    EXPECT_TRUE(f.Open(true, plat::GENERIC_READ));
    return TTexturePack::ReadEntry(f, path, entry, out);
  }
};

TEST_F(TexturePackTest, ReadsEveryPictureKindByName) {
  PtxWriter w;
  w.Add("back", datakit::SolidPicture(0, 4, 2, {10, 20, 30}));
  w.Add("16_glow", datakit::GradientPicture(1, 8, 3, {0, 0, 0}, {255, 255, 255}));
  w.Add("4_mark", datakit::CheckerPicture(2, 5, 5, 2, {255, 0, 0}, {0, 0, 255}, 0));
  w.Add("num", datakit::DigitsPicture(3, 16, 5, "42", {255, 255, 255}, {0, 0, 0}));
  w.Add("back", datakit::SolidPicture(0, 1, 1, {99, 99, 99}));  // a later duplicate never wins
  w.Save(dir / "a.ptx");

  TPackPicture p;
  ASSERT_TRUE(Read(dir / "a.ptx", "back", p));
  EXPECT_EQ(p.kind, 0u);
  EXPECT_EQ(p.width, 4u);
  EXPECT_EQ(p.height, 2u);
  EXPECT_EQ(p.pixels.size(), 8u);
  EXPECT_TRUE(p.alpha.empty());
  EXPECT_EQ(p.palette[0], 30);  // blue, green, red
  EXPECT_EQ(p.palette[2], 10);

  ASSERT_TRUE(Read(dir / "a.ptx", "16_glow", p));
  EXPECT_EQ(p.kind, 1u);
  ASSERT_EQ(p.alpha.size(), 24u);
  EXPECT_EQ(p.alpha[0], 255);
  EXPECT_EQ(p.alpha[7], 0);

  ASSERT_TRUE(Read(dir / "a.ptx", "4_mark", p));
  EXPECT_EQ(p.kind, 2u);
  EXPECT_EQ(p.alpha[0], 255);
  EXPECT_EQ(p.alpha[2], 0) << "the second checker square";

  ASSERT_TRUE(Read(dir / "a.ptx", "num", p));
  EXPECT_EQ(p.kind, 3u);
  EXPECT_TRUE(p.alpha.empty());
  EXPECT_EQ(p.pixels[0], 1) << "the 4's top-left is ink";
  EXPECT_EQ(p.pixels[1], 0);

  EXPECT_FALSE(Read(dir / "a.ptx", "missing", p));
  EXPECT_FALSE(Read(dir / "a.ptx", "", p));
  EXPECT_FALSE(Read(dir / "a.ptx", "BACK", p)) << "names compare byte for byte";
}

// Each damage is one edit of a good two-entry pack.
TEST_F(TexturePackTest, DamagedPacksFailNamingThePack) {
  PtxWriter good;
  good.Add("first", datakit::SolidPicture(1, 4, 4, {1, 2, 3}));
  good.Add("second", datakit::SolidPicture(0, 4, 4, {1, 2, 3}));
  const std::vector<uint8_t> bytes = good.Build();
  const uint32_t second = good.OffsetOf(1);
  auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };

  struct Damage {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> edit;
  } damages[] = {
      {"empty file", [](auto& b) { b.clear(); }},
      {"count beyond the file", [&](auto& b) { put32(b, 0, 0x10000000); }},
      {"name length beyond the file", [&](auto& b) { put32(b, 4, 0xFFFFFF00); }},
      {"offset beyond the file", [&](auto& b) { put32(b, 4 + 4 + 5, 0x7FFFFFF0); }},
      {"kind 4", [&](auto& b) { put32(b, second, 4); }},
      {"width × height beyond the file", [&](auto& b) { put32(b, second + 4, 0x10000); }},
      {"huge width × height", [&](auto& b) { put32(b, second + 4, 0xFFFFFFFF); put32(b, second + 8, 0xFFFFFFFF); }},
      {"picture cut short", [&](auto& b) { b.resize(b.size() - 1); }},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    std::vector<uint8_t> damaged = bytes;
    d.edit(damaged);
    datakit::SaveFile(dir / "bad.ptx", damaged);
    TPackPicture p;
    try {
      Read(dir / "bad.ptx", "second", p);
      ADD_FAILURE() << "no error";
    } catch (const my_error& e) {
      EXPECT_NE(std::string(e.what()).find("bad.ptx"), std::string::npos) << e.what();
    }
  }
}

// Colour (0xFF, 0x80, 0x40) with alpha 0x70 in every convertible format; kind 0 has no alpha
// layer, so an alpha channel is filled (opaque).
TEST_F(TexturePackTest, ConvertsIntoEveryFormatOfTheTable) {
  struct Case {
    uint32_t format, bytes;
    uint32_t withLayer, withoutLayer;
  } cases[] = {
      {20, 3, 0xFF8040, 0xFF8040},         {21, 4, 0x70FF8040, 0xFFFF8040},
      {22, 4, 0x00FF8040, 0x00FF8040},     {23, 2, 0xFC08, 0xFC08},
      {24, 2, 0x7E08, 0x7E08},             {25, 2, 0x7E08, 0xFE08},
      {26, 2, 0x7F84, 0xFF84},             {27, 1, 0xF1, 0xF1},
      {29, 2, 0x70F1, 0xFFF1},             {30, 2, 0x0F84, 0x0F84},
      {31, 4, 0x500803FC, 0xD00803FC},  // red in the low ten bits
  };
  for (const Case& c : cases) {
    for (uint32_t kind : {1u, 0u}) {
      SCOPED_TRACE(testing::Message() << "format " << c.format << " kind " << kind);
      datakit::PtxPicture pic = datakit::SolidPicture(kind, 3, 2, {0xFF, 0x80, 0x40}, 0x70);
      datakit::PtxWriter().Add("e", pic).Save(dir / "c.ptx");
      TPackPicture p;
      ASSERT_TRUE(Read(dir / "c.ptx", "e", p));
      ASSERT_TRUE(TTexturePack::HasConversion(c.format));
      const uint32_t pitch = 16;  // wider than the rows: the gap stays as it was
      std::vector<uint8_t> bits(pitch * 2, 0);
      ASSERT_TRUE(TTexturePack::Convert(p, c.format, bits.data(), pitch));
      const uint32_t expected = kind == 1 ? c.withLayer : c.withoutLayer;
      for (uint32_t y = 0; y < 2; ++y) {
        for (uint32_t x = 0; x < 3; ++x) {
          uint32_t texel = 0;
          std::memcpy(&texel, &bits[y * pitch + x * c.bytes], c.bytes);
          EXPECT_EQ(texel, expected) << x << "," << y;
        }
        for (uint32_t i = 3 * c.bytes; i < pitch; ++i) EXPECT_EQ(bits[y * pitch + i], 0) << i;
      }
    }
  }
  for (uint32_t format : {0u, 28u, 50u, 0x31545844u})
    EXPECT_FALSE(TTexturePack::HasConversion(format)) << format;
}

TEST_F(TexturePackTest, AlphaLayerIsPerPixel) {
  datakit::PtxPicture pic = datakit::CheckerPicture(1, 2, 1, 1, {0, 0, 0}, {0, 0, 0}, 0x33);
  datakit::PtxWriter().Add("e", pic).Save(dir / "a.ptx");
  TPackPicture p;
  ASSERT_TRUE(Read(dir / "a.ptx", "e", p));
  uint32_t texels[2];
  ASSERT_TRUE(TTexturePack::Convert(p, 21, reinterpret_cast<uint8_t*>(texels), 8));
  EXPECT_EQ(texels[0] >> 24, 0xFFu);
  EXPECT_EQ(texels[1] >> 24, 0x33u);
}

}  // namespace
