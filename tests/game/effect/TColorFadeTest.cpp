// The colour fade: presets, the shared mapping of Step and StepBack, completion only after a
// draw, the ARGB packing and the two kinds of board.
#include <gtest/gtest.h>

#include "game/effect/TColorFade.h"
#include "tests/common/GraphicsFixture.h"

namespace {

class ColorFadeTest : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    StartDevice();
  }
  void TearDown() override {
    TTexture8::Purge(1);
    GraphicsFixture::TearDown();
  }
  static uint32_t Shown(const TColorFade& fade) {
    const TSprite8& s = fade.GetSprite();
    for (const TSpriteVertex& v : s.vertices) EXPECT_EQ(v.diffuse, s.vertices[0].diffuse);
    return s.vertices[0].diffuse;
  }
};

TEST_F(ColorFadeTest, PresetsFadeBlackOrWhiteInEitherDirection) {
  const struct {
    int32_t kind, direction;
    uint32_t first, last;
  } cases[] = {
      {15, 0xF000, 0x00000000, 0xFF000000}, {15, 0x0F00, 0xFF000000, 0x00000000}, {0, 0xF000, 0x00FFFFFF, 0xFFFFFFFF},
      {0, 0, 0xFFFFFFFF, 0x00FFFFFF},       {3, 0xF000, 0x00FFFFFF, 0xFFFFFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " " << std::hex << c.direction);
    TColorFade fade(4, c.kind, c.direction);
    EXPECT_EQ(Shown(fade), c.first);
    EXPECT_TRUE(fade.IsAtStart());
    fade.Step();
    fade.Step();
    EXPECT_EQ(Shown(fade) >> 24, 0x7Fu);  // half way: trunc(0.5 x 255)
    fade.Finish();
    EXPECT_EQ(Shown(fade), c.last);
  }
}

TEST_F(ColorFadeTest, StepAndStepBackShowTheSameColourForEachFrame) {
  TColorFade fade(7, {0.1f, 0.9f, 0.3f, 0.0f}, {0.8f, 0.2f, 0.65f, 1.0f}, "");
  std::vector<uint32_t> forward = {Shown(fade)};
  for (int k = 1; k <= 7; ++k) {
    EXPECT_TRUE(fade.Step());
    EXPECT_EQ(fade.GetFrame(), k);
    forward.push_back(Shown(fade));
  }
  EXPECT_EQ(forward[7], TColorFade::PackColor({0.8f, 0.2f, 0.65f, 1.0f}));
  EXPECT_EQ(forward[3] & 0xFF, static_cast<uint32_t>((0.3 + (0.65 - 0.3) * 3 / 7) * 255));
  EXPECT_TRUE(fade.Step());  // capped: still not drawn
  EXPECT_EQ(fade.GetFrame(), 7);
  for (int k = 6; k >= 0; --k) {
    EXPECT_EQ(fade.StepBack(), k > 0);
    EXPECT_EQ(Shown(fade), forward[k]) << k;
  }
  // At the start it stays there.
  EXPECT_FALSE(fade.StepBack());
  EXPECT_EQ(fade.GetFrame(), 0);
  EXPECT_EQ(Shown(fade), forward[0]);
}

TEST_F(ColorFadeTest, AForwardFadeIsDoneOnlyOnceItsLastColourWasDrawn) {
  TColorFade one(1, 15, 0xF000);
  EXPECT_TRUE(one.Step());
  EXPECT_EQ(Shown(one), 0xFF000000u);
  EXPECT_TRUE(one.Step());
  EXPECT_FALSE(one.IsDone());
  one.Draw(0, 0, 640, 480);
  EXPECT_TRUE(one.IsDone());
  EXPECT_FALSE(one.Step());

  // A draw before the end marks nothing; Finish then a draw does.
  TColorFade two(3, 0, 0);
  two.Step();
  two.Draw(0, 0, 640, 480);
  EXPECT_TRUE(two.Step());
  two.Finish();
  EXPECT_FALSE(two.IsDone());
  two.Draw(0, 0, 640, 480);
  EXPECT_TRUE(two.IsDone());
  // Stepping back leaves the end, and with it the done state.
  EXPECT_TRUE(two.StepBack());
  EXPECT_FALSE(two.IsDone());
}

TEST_F(ColorFadeTest, PackingIsAlphaRedGreenBlueOfTruncatedChannels) {
  const struct {
    plat::D3DCOLORVALUE c;
    uint32_t word;
  } cases[] = {
      {{1.0f, 0.5f, 0.25f, 0.2f}, 0x33FF7F3F},
      {{0.0f, 0.0f, 0.0f, 1.0f}, 0xFF000000},
      {{0.999f, 0.004f, 0.5f, 0.0f}, 0x00FE017F},
      // Out of range: each colour channel keeps its low byte, alpha what fits above bit 24.
      {{1.5f, -0.5f, 2.0f, 1.5f}, 0x7E7E81FE},
  };
  for (const auto& c : cases) EXPECT_EQ(TColorFade::PackColor(c.c), c.word) << std::hex << c.word;
}

TEST_F(ColorFadeTest, APlainBoardDrawsUntexturedAndANamedOneWithItsTexture) {
  TColorFade plain(2, 15, 0xF000);
  plain.Step();
  plain.Draw(10, 20, 300, 200);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].textures[0].id, 0u);
  EXPECT_NEAR(Draws()[0].Vertex(0).diffuse.w, 127.0 / 255, 1e-6);
  EXPECT_EQ(Draws()[0].Vertex(0).diffuse.x, 0.0f);

  TColorFade textured(2, {1, 1, 1, 1}, {1, 1, 1, 0}, "sprite.ptx/window21");
  textured.Draw(0, 0, 640, 480);
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_NE(Draws()[1].textures[0].id, 0u);
  EXPECT_EQ(Draws()[1].textures[0].name, "sprite.ptx/window21");
  EXPECT_FALSE(textured.IsDone());
}

}  // namespace
