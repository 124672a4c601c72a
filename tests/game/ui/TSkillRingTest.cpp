#include "game/ui/TSkillRing.h"

#include <gtest/gtest.h>

#include "game/ui/ItemInfo.h"
#include "tests/game/ui/HudFixture.h"

namespace {

class SkillRing : public HudFixture {
 protected:
  void SetUp() override {
    HudFixture::SetUp();
    ring = TSkillRing::Create();
    ASSERT_TRUE(ring);
  }
  void Tick(uint32_t buttons) {
    player.Press(buttons);
    ring->HandleInput(player);
  }

  TCountedPtr<TSkillRing> ring;
};

TEST_F(SkillRing, TheButtonsMoveTheCursorRoundTheFiveCells) {
  Tick(TSkillRing::kButtonPrevious);
  EXPECT_EQ(ring->GetCursor(), 4);
  EXPECT_TRUE(Played(TSkillRing::kSoundMove));
  Tick(TSkillRing::kButtonPrevious);
  EXPECT_EQ(ring->GetCursor(), 4) << "held: no second move";
  EXPECT_FALSE(Played(TSkillRing::kSoundMove));
  Tick(0);
  Tick(TSkillRing::kButtonNext);
  EXPECT_EQ(ring->GetCursor(), 0);
  EXPECT_TRUE(Played(TSkillRing::kSoundMove));

  // Both in one tick: back and forth again, a sound for each.
  Tick(0);
  Tick(TSkillRing::kButtonPrevious | TSkillRing::kButtonNext);
  EXPECT_EQ(ring->GetCursor(), 0);
  EXPECT_TRUE(Played(TSkillRing::kSoundMove));

  ring->SetCursor(2);
  EXPECT_EQ(ring->GetCursor(), 2);
  EXPECT_FALSE(Played(TSkillRing::kSoundMove));
}

TEST_F(SkillRing, RefreshShowsTheIconsOfTheMembersSetSkills) {
  Data().SetSkillSlot(1, 0, 3400);  // icon 5
  Data().SetSkillSlot(1, 3, 143);   // icon 10
  player.member = 1;
  ring->Refresh(player);
  EXPECT_EQ(ring->GetIcon(0).texture.GetName(), "skl_icon.ptx/mag00_skl");
  EXPECT_EQ(ring->GetIcon(3).texture.GetName(), "skl_icon.ptx/mag05_skl");
  EXPECT_EQ(ring->GetIcon(1).texture.Object(), nullptr) << "an empty slot shows nothing";

  // At (0, 416) the bar covers x 0-288 and y 416-480; the icons stand at y 440, and the cursor
  // may rest on an empty cell.
  ring->SetCursor(1);
  device.renderer->ClearLog();
  ring->Draw(0, 416);
  const std::vector<Quad> pieces = QuadsOf("sprite.ptx/guage06");
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_FLOAT_EQ(pieces.front().left + 0.5f, 0);
  EXPECT_FLOAT_EQ(pieces.back().right + 0.5f, 288);
  for (size_t k = 0; k + 1 < pieces.size(); ++k) EXPECT_FLOAT_EQ(pieces[k].right, pieces[k + 1].left);
  EXPECT_FLOAT_EQ(pieces[0].top + 0.5f, 416);
  EXPECT_FLOAT_EQ(pieces[0].bottom + 0.5f, 480);
  const std::vector<Quad> icons = QuadsOf("skl_icon.ptx/mag05_skl");
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_FLOAT_EQ(icons[0].left + 0.5f, 32 + 3 * 48);
  EXPECT_FLOAT_EQ(icons[0].top + 0.5f, 440);
  const std::vector<Quad> cursor = QuadsOf("sprite.ptx/ring_cursor01");
  ASSERT_EQ(cursor.size(), 1u);
  EXPECT_FLOAT_EQ(cursor[0].left + 0.5f, 80);
  EXPECT_FLOAT_EQ(cursor[0].top + 0.5f, 440);
}

TEST_F(SkillRing, ThePiecesAreCutSideBySideFromTheFrame) {
  device.renderer->ClearLog();
  ring->Draw(0, 0);
  std::vector<std::pair<float, float>> us;
  for (const plat::RecordedDraw& d : Draws())
    if (d.textures[0].name == "sprite.ptx/guage06") us.push_back({d.Vertex(0).texcoord[0].x, d.Vertex(1).texcoord[0].x});
  const std::vector<std::pair<float, float>> expected = {
      {0.0f, 0.28125f}, {0.28125f, 0.46875f}, {0.28125f, 0.46875f}, {0.28125f, 0.46875f}, {0.46875f, 0.75f}};
  EXPECT_EQ(us, expected);
}

}  // namespace
