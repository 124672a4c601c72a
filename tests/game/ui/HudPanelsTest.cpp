#include <gtest/gtest.h>

#include "game/ui/TExpPanel.h"
#include "game/ui/THitPanel.h"
#include "game/ui/TLevelUpPanel.h"
#include "tests/game/ui/HudFixture.h"

namespace {

class HudPanels : public HudFixture {
 protected:
  // The quads one Draw gives.
  std::vector<Quad> DrawQuads(THudPanel& panel) {
    device.renderer->ClearLog();
    panel.Draw();
    std::vector<Quad> quads;
    for (const plat::RecordedDraw& d : Draws()) quads.push_back(QuadOf(d));
    return quads;
  }
  // Updates until the panel hides (at most limit); the number taken.
  static int UpdatesUntilHidden(THudPanel& panel, int limit = 1000) {
    for (int n = 1; n <= limit; ++n) {
      panel.Update();
      if (!panel.IsActive()) return n;
    }
    return -1;
  }
  // The three places of a line's number as the glyphs they show.
  ::testing::AssertionResult ShowsNumber(const THudLineChain& lines, size_t line, const char* places) {
    for (size_t k = 0; k < 3; ++k)
      if (!ShowsGlyph(lines.GetNumberPlace(line, k), places[k]))
        return ::testing::AssertionFailure() << "place " << k << " is not '" << places[k] << "'";
    return ::testing::AssertionSuccess();
  }
};

TEST_F(HudPanels, TheHitPanelShowsAsManyDigitsAsTheNumbersHave) {
  THitPanel panel(glyphs.get());
  struct Case {
    int32_t hits, damage;
    size_t hitDigits, damageDigits;
  } cases[] = {{9, 999, 1, 3}, {10, 1000, 2, 4}, {0, 0, 1, 1}, {150, 20000, 2, 4}};
  for (const Case& c : cases) {
    panel.Show(520, 140, c.hits, c.damage);
    EXPECT_EQ(DrawQuads(panel).size(), 4 + c.hitDigits + 7 + c.damageDigits) << c.hits;
  }
  EXPECT_EQ(panel.GetHits(), 99);
  EXPECT_EQ(panel.GetDamage(), 9999);
}

TEST_F(HudPanels, NewNumbersPopInAtThreeTimesTheirSizeAboutTheirCentre) {
  THitPanel panel(glyphs.get());
  panel.Show(520, 140, 12, 345);
  std::vector<Quad> q = DrawQuads(panel);
  ASSERT_EQ(q.size(), 4u + 2 + 7 + 3);
  EXPECT_FLOAT_EQ(q[0].left + 0.5f, 520);  // "H"
  EXPECT_FLOAT_EQ(q[3].left + 0.5f, 562);  // "!"
  EXPECT_FLOAT_EQ(q[4].Width(), 48);
  EXPECT_FLOAT_EQ(q[4].left + 0.5f, 520 - 10 - 16 - 14);  // the ones
  EXPECT_FLOAT_EQ(q[4].top + 0.5f, 140 - 16);
  EXPECT_FLOAT_EQ(q[5].left + 0.5f, 520 - 10 - 16 - 28);  // the tens
  EXPECT_FLOAT_EQ(q[6].top + 0.5f, 160);                  // "DAMAGE!" a line below
  EXPECT_FLOAT_EQ(q[13].left + 0.5f, 520 - 10 - 16 - 14);
  EXPECT_FLOAT_EQ(q[15].left + 0.5f, 520 - 10 - 16 - 42);

  for (int n = 0; n < 10; ++n) panel.Update();
  EXPECT_TRUE(panel.IsHolding());
  q = DrawQuads(panel);
  EXPECT_FLOAT_EQ(q[4].Width(), 16);
  EXPECT_FLOAT_EQ(q[4].left + 0.5f, 520 - 24);
  EXPECT_FLOAT_EQ(q[4].top + 0.5f, 140);

  // A hit while it holds: the pulse starts again.
  for (int n = 0; n < 20; ++n) panel.Update();
  panel.Show(520, 140, 13, 400);
  EXPECT_TRUE(panel.IsPulsing());
  EXPECT_FLOAT_EQ(panel.GetPulse().value, 3.0f);
  EXPECT_FLOAT_EQ(DrawQuads(panel)[4].Width(), 48);
}

TEST_F(HudPanels, TheHitPanelHoldsThenSlidesOffFadingAndHides) {
  THitPanel panel(glyphs.get());
  panel.Show(520, 140, 3, 30);
  for (int n = 0; n < 70; ++n) panel.Update();
  EXPECT_TRUE(panel.IsLeaving()) << "10 of pulse, 60 held";
  for (int n = 0; n < 11; ++n) panel.Update();
  std::vector<Quad> q = DrawQuads(panel);
  EXPECT_FLOAT_EQ(q[0].left + 0.5f, 520 + 256 * 11 / 20);
  EXPECT_FLOAT_EQ(q[5].left + 0.5f, 520 + 12) << "the damage line follows once the hit line is past half way";
  EXPECT_FLOAT_EQ(Draws()[0].Vertex(0).diffuse.w, 198 / 255.0f) << "alpha 0.78";
  EXPECT_EQ(UpdatesUntilHidden(panel), 19);
  EXPECT_TRUE(DrawQuads(panel).empty());
  panel.Show(520, 140, 1, 1);
  EXPECT_TRUE(panel.IsPulsing());
  EXPECT_EQ(DrawQuads(panel)[0].left + 0.5f, 520) << "shown again from the start";
}

TEST_F(HudPanels, ANoticeNumberHasThreePlacesWithBlanksInFront) {
  struct Case {
    uint32_t gain;
    const char* shown;
  } cases[] = {{0, "##0"}, {7, "##7"}, {42, "#42"}, {100, "100"}, {999, "999"}, {1234, "999"}};
  for (const Case& c : cases) {
    TGainNotice notice;
    notice.experience = c.gain;
    notice.abilityPoints = 5;
    notice.abilityBonus = 60;
    TExpPanel panel(notice, glyphs.get());
    panel.Show(440, 240);
    EXPECT_TRUE(ShowsNumber(panel.GetLines(), 0, c.shown)) << c.gain;
    EXPECT_TRUE(ShowsNumber(panel.GetLines(), 1, "##5"));
    EXPECT_TRUE(ShowsNumber(panel.GetLines(), 2, "#60"));
  }
}

TEST_F(HudPanels, NoticeLinesSlideInOneAfterAnotherHoldAndLeaveInTurn) {
  TGainNotice notice;
  notice.experience = 12;
  TExpPanel panel(notice, glyphs.get());
  panel.Show(440, 240);
  const THudLineChain& lines = panel.GetLines();
  EXPECT_FLOAT_EQ(lines.GetLineY(2), 272);
  panel.Update();
  EXPECT_TRUE(lines.IsVisible(0));
  EXPECT_EQ(lines.GetLineX(0).value, 440 + 256);
  for (int n = 0; n < 10; ++n) panel.Update();
  EXPECT_FALSE(lines.IsVisible(1));
  panel.Update();
  EXPECT_TRUE(lines.IsVisible(1)) << "the second line starts when the first is past half way";
  EXPECT_EQ(lines.GetLineX(0).step, 11);
  EXPECT_EQ(lines.GetLineX(1).step, 0);
  for (int n = 0; n < 40; ++n) panel.Update();
  EXPECT_TRUE(lines.IsHolding(2));
  EXPECT_EQ(lines.GetLineX(2).value, 440);

  // In place: "EXP" 14 apart, "+" at 124 and the number from 138.
  std::vector<Quad> q = DrawQuads(panel);
  ASSERT_EQ(q.size(), 3 * 7u + 5);
  const float expected[] = {440, 454, 468, 564, 578, 592, 606};
  for (size_t k = 0; k < 7; ++k) EXPECT_FLOAT_EQ(q[k].left + 0.5f, expected[k]) << k;
  EXPECT_FLOAT_EQ(q[0].top + 0.5f, 240);
  EXPECT_FLOAT_EQ(q[17].left + 0.5f, 440 + 48) << "\"BONUS\" on the third line";
  EXPECT_FLOAT_EQ(q[17].top + 0.5f, 272);

  EXPECT_EQ(UpdatesUntilHidden(panel), 113 - 52) << "held 30, then out line by line";
  for (size_t k = 0; k < 3; ++k) EXPECT_FALSE(lines.IsVisible(k));
  EXPECT_TRUE(DrawQuads(panel).empty());
}

TEST_F(HudPanels, TheLevelUpPanelReadsTheGainsAndHoldsLonger) {
  player.gains = {25, 4, 2, 1, 0, 1234};
  TLevelUpPanel panel(&player, glyphs.get());
  panel.Show(508, 180);
  const THudLineChain& lines = panel.GetLines();
  ASSERT_EQ(lines.GetLineCount(), 8u);
  EXPECT_FLOAT_EQ(lines.GetLineY(7), 180 + 16 * 7);
  const char* numbers[] = {"##1", "#25", "##4", "##2", "##1", "##0", "999"};
  for (size_t k = 0; k < 7; ++k) EXPECT_TRUE(ShowsNumber(lines, k + 1, numbers[k])) << k;
  EXPECT_EQ(UpdatesUntilHidden(panel), 278);

  // Shown again, it starts from the top.
  panel.Show(508, 180);
  panel.Update();
  EXPECT_TRUE(lines.IsVisible(0));
  EXPECT_FALSE(lines.IsVisible(1));
  std::vector<Quad> q = DrawQuads(panel);
  ASSERT_EQ(q.size(), 8u) << "\"LEVEL\" and \"UP!\"";
  EXPECT_FLOAT_EQ(q[5].left + 0.5f, 508 + 256 + 78);
}

}  // namespace
