#include "game/ui/TGauge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/game/ui/HudFixture.h"

namespace {

class Gauge : public HudFixture {
 protected:
  void SetUp() override {
    HudFixture::SetUp();
    gauge = TGauge::Create(glyphs.get());
    ASSERT_TRUE(gauge);
    gauge->Refresh(player);
  }
  // The panel drawn at (0, 0): the bars in member order, then the marks of mastered gauges.
  std::vector<Quad> DrawBars() {
    gauge->Update(player);
    device.renderer->ClearLog();
    gauge->Draw(0, 0);
    return QuadsOf("sprite.ptx/bar00");
  }

  TCountedPtr<TGauge> gauge;
};

TEST_F(Gauge, BarsAreAsLongAsTheirShareAndShowThatShareOfTheirTexture) {
  struct Case {
    int32_t hp, maxHp;
    float width, u;
  } cases[] = {
      {120, 100, 174, 0.6796875f},  // more than the maximum: full
      {100, 100, 174, 0.6796875f},
      {50, 100, 87, 0.33984375f},
      {-5, 100, 0, 0},              // below 0: none
      {0, 0, 0, 0},                 // no maximum: none, and no division
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hp);
    player.hp = c.hp;
    player.maxHp = c.maxHp;
    const std::vector<Quad> bars = DrawBars();
    ASSERT_EQ(bars.size(), 6u);
    EXPECT_FLOAT_EQ(bars[0].left, 70 - 0.5f);
    EXPECT_FLOAT_EQ(bars[0].top, 20 - 0.5f);
    EXPECT_FLOAT_EQ(bars[0].Width(), c.width);
    EXPECT_FLOAT_EQ(bars[0].Height(), 8);
    EXPECT_FLOAT_EQ(Draws()[1].Vertex(1).texcoord[0].x, c.u) << "the right edge of the texture";
  }
}

TEST_F(Gauge, MpAndRingPointsBarsAndARingGaugeWithoutPoints) {
  player.mp = 15;
  player.ringUsed = 250;
  std::vector<Quad> bars = DrawBars();
  EXPECT_FLOAT_EQ(bars[1].left, 71 - 0.5f);
  EXPECT_FLOAT_EQ(bars[1].Width(), 173 * 0.5f);
  EXPECT_FLOAT_EQ(bars[2].left, 68 - 0.5f);
  EXPECT_FLOAT_EQ(bars[2].top, 44 - 0.5f);
  EXPECT_FLOAT_EQ(bars[2].Width(), 176 * 0.25f);

  player.ringMax = 0;
  bars = DrawBars();
  EXPECT_EQ(gauge->GetRatio(TGauge::kRingPoints), 0.0f) << "no points: no bar";
  EXPECT_FLOAT_EQ(bars[2].Width(), 0);
}

TEST_F(Gauge, MasteredGaugesAreFullAndMarked) {
  player.mastery = {1000, 999, 0};
  const std::vector<Quad> bars = DrawBars();
  ASSERT_EQ(bars.size(), 7u) << "six bars and one mark";
  EXPECT_FLOAT_EQ(bars[3].Width(), 64);
  EXPECT_FLOAT_EQ(bars[3].left, 81 - 0.5f);
  EXPECT_NEAR(bars[4].Width(), 63.936f, 1e-4f);
  EXPECT_FLOAT_EQ(bars[4].left, 65 - 0.5f);
  EXPECT_FLOAT_EQ(bars[5].Width(), 0);
  EXPECT_FLOAT_EQ(bars[5].top, 140 - 0.5f);
  EXPECT_TRUE(gauge->IsFull(0));
  EXPECT_FALSE(gauge->IsFull(1));
  // The mark of the weapon's gauge, 16 × 16, cut from the bar sheet's right end.
  EXPECT_FLOAT_EQ(bars[6].left, 105 - 0.5f);
  EXPECT_FLOAT_EQ(bars[6].top, 76 - 0.5f);
  EXPECT_FLOAT_EQ(bars[6].Width(), 16);
  const plat::RecordedDraw& mark = Draws()[Draws().size() - 7];  // six glyphs and the face follow
  EXPECT_EQ(mark.textures[0].name, "sprite.ptx/bar00");
  EXPECT_FLOAT_EQ(mark.Vertex(0).texcoord[0].x, 0.9375f);
}

TEST_F(Gauge, LevelCountsFromOneWithABlankTens) {
  struct Case {
    uint32_t level;
    char tens, units;
  } cases[] = {{0, '#', '1'}, {8, '#', '9'}, {9, '1', '0'}, {43, '4', '4'}};
  for (const Case& c : cases) {
    player.level = c.level;
    player.experience = c.level * 1000;
    gauge->Update(player);
    EXPECT_TRUE(ShowsGlyph(gauge->GetLevelDigit(0), c.tens)) << c.level;
    EXPECT_TRUE(ShowsGlyph(gauge->GetLevelDigit(1), c.units)) << c.level;
    EXPECT_EQ(gauge->GetLevelDigit(0).vertices[0].diffuse, TGauge::kDigitColour);
  }
}

TEST_F(Gauge, PercentageIsTheExperienceIntoTheLevel) {
  struct Case {
    uint32_t level, experience;
    char tens, units;
  } cases[] = {
      {3, 3000, '#', '0'}, {3, 3050, '#', '5'}, {3, 3990, '9', '9'}, {3, 3100, '1', '0'},
      {3, 4000, '#', '0'},  // a whole level: 100 shows as 0
      {3, 2500, '#', '0'},  // below the level's start
      {3, 3290, '2', '9'}, {3, 3580, '5', '8'},  // 0.29 and 0.58 are not exact in binary
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.experience);
    player.level = c.level;
    player.experience = c.experience;
    gauge->Update(player);
    EXPECT_TRUE(ShowsGlyph(gauge->GetPercentDigit(0), c.tens));
    EXPECT_TRUE(ShowsGlyph(gauge->GetPercentDigit(1), c.units));
  }
  // The "%" and the digits stand in one row, 12 pixels apart.
  device.renderer->ClearLog();
  gauge->Draw(0, 0);
  std::vector<float> glyphLefts;
  const plat::RecordedDraw* last = nullptr;
  for (const plat::RecordedDraw& d : Draws())
    if (d.textures[0].name == "sprite.ptx/word") {
      glyphLefts.push_back(QuadOf(d).left + 0.5f);
      last = &d;
    }
  EXPECT_EQ(glyphLefts, (std::vector<float>{96, 108, 150, 162, 174}));
  ASSERT_NE(last, nullptr);
  const TSprite8& percent = glyphs->GetGlyph('%');
  EXPECT_FLOAT_EQ(last->Vertex(0).texcoord[0].x, percent.vertices[0].u) << "the sign is \"%\"";
  EXPECT_FLOAT_EQ(last->Vertex(0).texcoord[0].y, percent.vertices[0].v);
}

// What the panel draws, not only what the digits hold: a share of the level that is not a whole
// percent shows the percent below it.
TEST_F(Gauge, PercentageDrawnIsCutDownToAWholePercent) {
  struct Case {
    uint32_t into;  // points into level 4 (stored 3)
    char tens, units;
  } cases[] = {
      {57, '#', '5'},   // 5.7 %
      {995, '9', '9'},  // 99.5 %
      {5, '#', '0'},    // 0.5 %
      {999, '9', '9'},  // 99.9 %, not a whole level
      {159, '1', '5'},
  };
  // The glyph a recorded draw at the panel's x shows, by its texture corners.
  const auto drawnAt = [&](float x) -> const plat::RecordedDraw* {
    for (const plat::RecordedDraw& d : Draws())
      if (d.textures[0].name == "sprite.ptx/word" && QuadOf(d).left == x - 0.5f) return &d;
    return nullptr;
  };
  // The texture rectangle drawn (left, right, top, bottom) against the glyph's.
  const auto shows = [&](const plat::RecordedDraw* d, char c) -> ::testing::AssertionResult {
    if (!d) return ::testing::AssertionFailure() << "nothing drawn there";
    std::array<float, 4> drawn{1e9f, -1e9f, 1e9f, -1e9f}, want = drawn;
    const auto widen = [](std::array<float, 4>& r, float u, float v) {
      r = {std::min(r[0], u), std::max(r[1], u), std::min(r[2], v), std::max(r[3], v)};
    };
    for (const auto& v : d->vertices) widen(drawn, v.texcoord[0].x, v.texcoord[0].y);
    for (const auto& v : glyphs->GetGlyph(c).vertices) widen(want, v.u, v.v);
    if (drawn == want) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "not the glyph '" << c << "'";
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.into);
    player.level = 3;
    player.experience = 3000 + c.into;
    gauge->Update(player);
    device.renderer->ClearLog();
    gauge->Draw(0, 0);
    EXPECT_TRUE(shows(drawnAt(150), c.tens));
    EXPECT_TRUE(shows(drawnAt(162), c.units));
  }
}

TEST_F(Gauge, RefreshTakesTheFaceAndTheIconsOfTheMember) {
  player.member = 1;
  player.weaponId = 1006;  // type 4
  gauge->Refresh(player);
  device.renderer->ClearLog();
  gauge->Draw(10, 20);
  const std::vector<plat::RecordedDraw>& draws = Draws();
  ASSERT_FALSE(draws.empty());
  EXPECT_EQ(draws.front().textures[0].name, "sprite.ptx/guage09");
  EXPECT_FLOAT_EQ(QuadOf(draws.front()).left, 10 - 0.5f);
  EXPECT_EQ(draws.back().textures[0].name, "face.ptx/face01") << "the face lies over everything";
  EXPECT_FLOAT_EQ(QuadOf(draws.back()).left, 18 - 0.5f);
  const std::vector<Quad> weapon = QuadsOf("itm_icon.ptx/itm06_icon");
  ASSERT_EQ(weapon.size(), 1u);
  EXPECT_FLOAT_EQ(weapon[0].left, 62 - 0.5f);
  EXPECT_FLOAT_EQ(weapon[0].top, 74 - 0.5f);
  EXPECT_EQ(QuadsOf("itm_icon.ptx/itm01_icon").size(), 2u) << "both accessories show one icon";
}

TEST_F(Gauge, ResetColorsWhitensThePanelAndGreysTheDigits) {
  gauge->Update(player);
  gauge->ResetColors();
  EXPECT_EQ(gauge->GetLevelDigit(1).vertices[3].diffuse, 0xFFE5E5E5u);
  EXPECT_EQ(gauge->GetPercentDigit(0).vertices[0].diffuse, 0xFFE5E5E5u);
}

}  // namespace
