#include "game/ui/TGlyphTable.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/common/GraphicsFixture.h"

namespace {

class GlyphTable : public GraphicsFixture {
 protected:
  void TearDown() override {
    TTexture8::Purge(1);
    GraphicsFixture::TearDown();
  }
  // u and v of the four corners, top-left, top-right, bottom-left, bottom-right.
  static std::array<float, 8> Uv(const TSprite8& s) {
    std::array<float, 8> uv;
    for (int k = 0; k < 4; ++k) {
      uv[2 * k] = s.vertices[k].u;
      uv[2 * k + 1] = s.vertices[k].v;
    }
    return uv;
  }
  static std::array<float, 8> Cell(int row, int column) {
    const float u = column / 8.0f, v = row / 8.0f, e = 0.125f;
    return {u, v, u + e, v, u, v + e, u + e, v + e};
  }
};

TEST_F(GlyphTable, EachCharacterIsItsCellOfTheSheet) {
  StartDevice();
  TGlyphTable table("sprite.ptx/word");
  EXPECT_EQ(table.Size(), 45u) << "44 characters and the blank";
  struct Case {
    char c;
    int row, column;
  } cases[] = {{'A', 0, 0}, {'H', 0, 7}, {'Y', 3, 0}, {'%', 3, 7}, {'0', 4, 0},
               {'7', 4, 7}, {'9', 5, 1}, {':', 5, 3}, {'#', 7, 7}};
  for (const Case& c : cases) EXPECT_EQ(Uv(table.GetGlyph(c.c)), Cell(c.row, c.column)) << c.c;
  EXPECT_EQ(&table.GetDigit(7), &table.GetGlyph('7'));

  // A glyph is a whole sprite of the sheet: its texture, its size words, white vertices.
  const TSprite8& seven = table.GetGlyph('7');
  EXPECT_EQ(seven.texture.GetName(), "sprite.ptx/word");
  EXPECT_EQ(seven.width, 128u);
  EXPECT_EQ(seven.height, 128u);
  for (const TSpriteVertex& v : seven.vertices) EXPECT_EQ(v.diffuse, 0xFFFFFFFFu);

  // Copied into a widget's sprite and drawn at an explicit size, it shows that cell.
  TSprite8 widget;
  widget = table.GetDigit(7);
  widget.SetColorF(0.9f, 0.9f, 0.9f, 1.0f, -1);
  renderer->ClearLog();
  widget.Draw(100, 50, 16, 16, false);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].textures[0].name, "sprite.ptx/word");
  EXPECT_EQ(Uv(widget), Cell(4, 7));
}

TEST_F(GlyphTable, ACharacterWithoutACellGetsADefaultEntryOfItsOwn) {
  StartDevice();
  TGlyphTable table("sprite.ptx/word");
  TSprite8& lower = table.GetGlyph('a');
  EXPECT_EQ(table.Size(), 46u);
  EXPECT_EQ(&table.GetGlyph('a'), &lower);
  EXPECT_EQ(table.Size(), 46u);
  EXPECT_EQ(Uv(lower), (std::array<float, 8>{0, 0, 1, 0, 0, 1, 1, 1}));
  EXPECT_EQ(lower.texture.Object(), nullptr);
  table.GetGlyph('\xE0');  // a byte above 0x7F is a key like any other
  EXPECT_EQ(table.Size(), 47u);
}

TEST_F(GlyphTable, AnUnreadableSheetFailsTheTable) {
  StartDevice();
  EXPECT_THROW(TGlyphTable("missing.ptx/word"), my_error);
}

}  // namespace
