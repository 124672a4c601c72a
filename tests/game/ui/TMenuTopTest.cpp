// The field menu: its panels and overlay over the field's picture, the stage music turned down
// while it is open, the cursor, and the way out and back from its screens.
#include "game/ui/TMenuTop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/shell/TScreenCapture.h"
#include "game/ui/TSkillMenu.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;
using V = std::vector<int32_t>;

class MenuTop : public MenuFixture {
 protected:
  static int32_t Alpha(const plat::RecordedDraw& d) { return static_cast<int32_t>(std::lround(d.Vertex(0).diffuse.w * 255)); }
  static float Left(const plat::RecordedDraw& d) { return d.Vertex(0).position.x + 0.5f; }
  static float Top(const plat::RecordedDraw& d) { return d.Vertex(0).position.y + 0.5f; }
  TSound8* Music() { return TDSound8::Get().Find(2)->GetSound(kFieldMusic).Get(); }
};

const char* const kPanels[8] = {"a", "b", "c", "d", "l", "e", "f", "j"};

TEST_F(MenuTop, AtRestThePanelsStandInTheirColumnOverTheDarkenedFieldPicture) {
  TMenuTop& m = OpenMenu();
  for (int32_t i = 0; i < 8; ++i) {
    const TScreenWindow& panel = m.GetPanels().Panel(i);
    EXPECT_EQ(panel.x.start, -194 + 8 * i);
    EXPECT_EQ(panel.x.end, 16 + 8 * i);
    EXPECT_EQ(panel.Y(), 16 + 40 * i);
  }
  EXPECT_FLOAT_EQ(m.GetOverlayAlpha().value, 0.5f);

  Tick();
  const auto& draws = renderer->Draws();
  ASSERT_EQ(draws.size(), 10u) << "background, overlay, eight panels";
  EXPECT_EQ(draws[0].textures[0].name, TScreenCapture::TextureName(TMenuTop::kCaptureName));
  EXPECT_EQ(draws[0].state.renderStates[plat::D3DRS_ALPHABLENDENABLE], 0u) << "the field picture is opaque";
  EXPECT_FLOAT_EQ(draws[0].Vertex(4).position.x, 639.5f);
  EXPECT_EQ(draws[1].textures[0].id, 0u);
  EXPECT_EQ(Alpha(draws[1]), 127) << "the overlay halves the field";
  EXPECT_EQ(draws[1].Vertex(0).diffuse.x, 0.0f);
  for (int32_t i = 0; i < 8; ++i) {
    const plat::RecordedDraw& panel = draws[2 + i];
    EXPECT_EQ(panel.textures[0].name, std::string("sprite.ptx/window02_") + kPanels[i]);
    EXPECT_FLOAT_EQ(Left(panel), 16.0f + 8 * i);
    EXPECT_FLOAT_EQ(Top(panel), 16.0f + 40 * i);
    EXPECT_EQ(Alpha(panel), i == 0 ? 255 : 127) << i;
  }
  EXPECT_EQ(CapturedAt(TMenuTop::kCaptureName, 320, 240), kFieldColour & 0xFFFFFF);
}

// The menu opens with 603. Over the darkened field the panels slide in one below the other, each
// when the one above has done 6 of its 10 steps, and out again, each when the one above is back
// to 4; the way out ends a tick after the last panel is back.
TEST_F(MenuTop, ItOpensWith603AndThePanelsSlideInAndOutOneAfterAnother) {
  field.scene = new menutest::PaintedField(*app, kFieldColour);
  app->SetScene(field.scene);
  Ticks(6);
  Sounds();
  menu = new TMenuTop(*app, field);
  app->SetScene(menu);
  EXPECT_EQ(Sounds(), V{603});
  ASSERT_TRUE(TickUntil([this] { return menu->InPhase(&TMenuTop::SlideIn); }));

  auto steps = [this] {
    V s;
    for (int32_t i = 0; i < 8; ++i) s.push_back(menu->GetPanels().Panel(i).x.step);
    return s;
  };
  struct Row {
    int tick;
    V steps;
  };
  const Row in[] = {{1, {1, 0, 0, 0, 0, 0, 0, 0}},     {5, {5, 0, 0, 0, 0, 0, 0, 0}},
                    {6, {6, 1, 0, 0, 0, 0, 0, 0}},     {11, {10, 6, 1, 0, 0, 0, 0, 0}},
                    {36, {10, 10, 10, 10, 10, 10, 6, 1}}, {44, {10, 10, 10, 10, 10, 10, 10, 9}}};
  int tick = 0;
  for (const Row& row : in) {
    for (; tick < row.tick; ++tick) Tick();
    EXPECT_EQ(steps(), row.steps) << "slide-in tick " << row.tick;
    EXPECT_TRUE(menu->InPhase(&TMenuTop::SlideIn));
  }
  Tick();
  EXPECT_TRUE(menu->InPhase(&TMenuTop::Select)) << "the last panel in at the 45th";

  Tick(kButtonB);
  ASSERT_TRUE(menu->InPhase(&TMenuTop::SlideOut));
  const Row out[] = {{1, {9, 10, 10, 10, 10, 10, 10, 10}}, {6, {4, 9, 10, 10, 10, 10, 10, 10}},
                     {36, {0, 0, 0, 0, 0, 0, 4, 9}},       {45, {0, 0, 0, 0, 0, 0, 0, 0}}};
  tick = 0;
  for (const Row& row : out) {
    for (; tick < row.tick; ++tick) Tick();
    EXPECT_EQ(steps(), row.steps) << "slide-out tick " << row.tick;
    EXPECT_TRUE(menu->InPhase(&TMenuTop::SlideOut));
  }
  Tick();
  EXPECT_TRUE(menu->InPhase(&TMenuTop::FadeOut));
}

// With music the opening turns it down over 40 steps, done long before the panels are in, so the
// first B in the select phase closes the menu and brings the music back; without music there is
// nothing to wait for. E closes as B does.
TEST_F(MenuTop, BOrEClosesAtTheFirstPressAndTheMusicComesBack) {
  for (bool withMusic : {true, false})
    for (uint32_t key : {kButtonB, kButtonE}) {
      SCOPED_TRACE(testing::Message() << (withMusic ? "music " : "none ") << key);
      if (withMusic) PlayFieldMusic();
      TMenuTop& m = OpenMenu();
      EXPECT_EQ(static_cast<bool>(m.GetMusicHandle()), withMusic);
      if (withMusic) {
        EXPECT_TRUE(m.GetMusicHandle()->IsDone());
        EXPECT_EQ(Music()->GetVolume(), VolumeCurve(TMenuTop::kDuckTo));
      }

      Tick(key);
      EXPECT_TRUE(m.InPhase(&TMenuTop::SlideOut));
      EXPECT_EQ(Sounds(), V{606});
      fieldLog.clear();
      EXPECT_TRUE(TickUntil([this] { return app->GetCurrentScene() == field.scene; }));
      EXPECT_EQ(fieldLog, (std::vector<std::string>{"refresh hud"}));
      if (withMusic) {
        EXPECT_EQ(Music()->GetVolume(), 0) << "back at the set's volume";
      }
      app->ClearScenes();
      ASSERT_TRUE(app->GetCurrentScene() == nullptr);
      app->SetScene(new shelltest::TestScene(*app, "ground", log));
      field.musicId = -1;
    }
}

// The cursor goes round both ends with 600; a held Down moves once on the press and then every
// fifth tick once the whole input history holds it.
TEST_F(MenuTop, TheCursorWrapsAndAHeldDirectionRepeats) {
  TMenuTop& m = OpenMenu();
  Press(kButtonDown);
  EXPECT_EQ(m.GetCursor(), 1);
  EXPECT_EQ(m.GetPanels().Highlight(1).step, 8) << "brightens a step a tick";
  EXPECT_EQ(m.GetPanels().Highlight(0).step, 2);
  Press(kButtonUp);
  EXPECT_EQ(Sounds(), (V{600}));
  Press(kButtonUp);
  EXPECT_EQ(m.GetCursor(), 7);
  EXPECT_EQ(Sounds(), V{600});
  Press(kButtonDown);
  EXPECT_EQ(m.GetCursor(), 0);
  EXPECT_EQ(Sounds(), V{600});

  std::vector<int> movedAt;
  for (int tick = 0; tick < 25; ++tick) {
    const int32_t before = m.GetCursor();
    Tick(kButtonDown);
    if (m.GetCursor() != before) {
      movedAt.push_back(tick);
      EXPECT_EQ(Sounds(), V{600});
    }
  }
  ASSERT_GE(movedAt.size(), 3u);
  EXPECT_EQ(movedAt[0], 0);
  EXPECT_GE(movedAt[1], 9);
  for (size_t n = 2; n < movedAt.size(); ++n) EXPECT_EQ(movedAt[n] - movedAt[n - 1], 5);
}

// A chooses a screen: the panels slide out, the screen runs in front; when it has finished the
// panels slide in again with the same entry selected at full strength.
TEST_F(MenuTop, AfterAScreenThePanelsSlideInWithItsEntryBright) {
  TMenuTop& m = OpenMenu();
  Press(kButtonDown);
  Press(kButtonDown);  // the skills
  Sounds();
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_TRUE(m.InPhase(&TMenuTop::SlideOut));
  EXPECT_TRUE(TickUntil([this] { return Current<TSkillMenu>() != nullptr; }));
  EXPECT_TRUE(m.IsSuspended());
  EXPECT_TRUE(m.InPhase(&TMenuTop::SlideIn));
  for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(m.GetPanels().Panel(i).X(), -194 + 8 * i) << "off screen";
  EXPECT_EQ(m.GetPanels().Highlight(2).value, 1.0f);
  EXPECT_EQ(m.GetPanels().Highlight(0).value, 0.5f);

  auto* skills = Current<TSkillMenu>();
  ASSERT_TRUE(TickUntil([&] { return skills->InPhase(&TSkillMenu::SlotSelect); }));
  Tick(kButtonB);  // the skill screen slides out and finishes
  EXPECT_TRUE(TickUntil([&] { return app->GetCurrentScene() == &m; }));
  EXPECT_TRUE(m.InPhase(&TMenuTop::SlideIn));
  EXPECT_EQ(m.GetPanels().Panel(0).X(), -194) << "still off screen";
  Tick();
  EXPECT_GT(m.GetPanels().Panel(0).X(), -194) << "sliding in";
  EXPECT_TRUE(TickUntil([&] { return m.InPhase(&TMenuTop::Select); }));
  EXPECT_EQ(m.GetCursor(), 2);
  EXPECT_EQ(m.GetPanels().Panel(7).X(), 16 + 56);
  EXPECT_EQ(m.GetOverlayAlpha().value, 0.5f) << "the field stays dark throughout";
}

}  // namespace
