// The title: the black wait, the logo of the run's first title, the fade-in, the menu's cursor,
// items and choices, the idle loop and the way out of the program.
#include "game/ui/TTitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/ui/TSaveLoad.h"
#include "game/ui/TSelectContinueData.h"
#include "sound/TSoundHandle8.h"
#include "tests/game/ui/TitleFixture.h"

namespace {

using menutest::TitleFixture;
using V = std::vector<int32_t>;

// A quad's corners on the screen and its texture's v at top and foot.
struct Quad {
  float left, top, right, bottom, vTop, vBottom;
};
Quad QuadOf(const plat::RecordedDraw& d) {
  Quad q{1e9f, 1e9f, -1e9f, -1e9f, 0, 0};
  for (size_t i = 0; i < d.IndexCount(); ++i) {
    const auto& v = d.Vertex(i);
    if (v.position.y + 0.5f < q.top) q.vTop = v.texcoord[0].y;
    if (v.position.y + 0.5f > q.bottom) q.vBottom = v.texcoord[0].y;
    q.left = std::min(q.left, v.position.x + 0.5f);
    q.top = std::min(q.top, v.position.y + 0.5f);
    q.right = std::max(q.right, v.position.x + 0.5f);
    q.bottom = std::max(q.bottom, v.position.y + 0.5f);
  }
  return q;
}

class Title : public TitleFixture {
 protected:
  int TicksIn(SceneResult (TTitle::*phase)()) { return TitleFixture::TicksIn(*title, phase); }
};

// 120 black frames, then the title music from its start; the first title of the run shows the
// logo (faded in over 100 frames, held 200, faded out over 100) before its own fade-in, a later one
// goes straight to it.
TEST_F(Title, TheFirstTitleOfTheRunShowsTheLogoAfterItsBlackWaitLaterOnesDoNot) {
  for (bool first : {true, false}) {
    SCOPED_TRACE(first ? "first" : "later");
    TTitle::SetLogoShown(!first);
    OpenTitle();
    for (int i = 0; i < 120 - 1; ++i) {
      renderer->ClearLog();
      Tick();
      ASSERT_TRUE(title->InPhase(&TTitle::Wait)) << i;
      ASSERT_EQ(renderer->Draws().size(), 5u);
      EXPECT_FLOAT_EQ(renderer->Draws()[4].Vertex(0).diffuse.w, 1.0f) << "an opaque black board over all";
      EXPECT_FLOAT_EQ(renderer->Draws()[4].Vertex(0).diffuse.x, 0.0f);
    }
    EXPECT_FALSE(Plays(2, TTitle::kMusic));
    Tick();
    EXPECT_TRUE(Plays(2, TTitle::kMusic)) << "at the 120th";
    EXPECT_TRUE(TTitle::LogoShown());
    if (first) {
      EXPECT_EQ(TicksIn(&TTitle::LogoFadeIn), 100);
      renderer->ClearLog();
      Tick();
      ASSERT_EQ(renderer->Draws().size(), 1u) << "the logo alone";
      EXPECT_EQ(renderer->Draws()[0].textures[0].name, "title.ptx/hrwk_logo");
      EXPECT_EQ(QuadOf(renderer->Draws()[0]).left, 192.0f);
      EXPECT_EQ(QuadOf(renderer->Draws()[0]).top, 112.0f);
      EXPECT_EQ(TicksIn(&TTitle::LogoHold), 200 - 1) << "held 200 updates, the first of them ticked above";
      EXPECT_EQ(TicksIn(&TTitle::LogoFadeOut), 100);
    }
    EXPECT_TRUE(title->InPhase(&TTitle::FadeIn));
    EXPECT_EQ(TicksIn(&TTitle::FadeIn), 100 + 1) << "the last frame drawn, then seen";
    app->ClearScenes();
    Set(2).Stop(TTitle::kMusic);
  }
}

// A newly pressed A ends the fade-in at once; the menu needs a press of its own.
TEST_F(Title, AInTheFadeInShowsTheMenuWhichDoesNotSeeThatPress) {
  OpenTitle();
  ASSERT_TRUE(TickUntil([this] { return title->InPhase(&TTitle::FadeIn); }));
  Ticks(10);
  Tick(kButtonA);
  EXPECT_TRUE(title->InPhase(&TTitle::Menu));
  EXPECT_EQ(title->GetFade().GetFrame(), 100);
  Ticks(5, kButtonA);
  EXPECT_EQ(app->GetCurrentScene(), title) << "still held: no choice";
  Tick();
  Tick(kButtonA);
  EXPECT_NE(dynamic_cast<TSelectContinueData*>(app->GetCurrentScene()), nullptr);
}

// The cursor goes round the three items, Up before Down when both are pressed, with 600 each time;
// the items stand one below the other, each its band of the menu picture, the cursor's bright.
TEST_F(Title, TheCursorGoesRoundTheItemsEachItsBandOfTheMenu) {
  TitleMenu();
  struct Case {
    uint32_t keys;
    int32_t cursor;
  };
  for (Case c : {Case{kButtonUp, 2}, Case{kButtonDown, 0}, Case{kButtonDown, 1}, Case{kButtonUp | kButtonDown, 0},
                 Case{kButtonDown, 1}, Case{kButtonDown, 2}, Case{kButtonDown, 0}}) {
    Tick(c.keys);
    EXPECT_EQ(title->GetCursor(), c.cursor);
    EXPECT_EQ(Sounds(), V{600});
    Tick();
  }
  Press(kButtonUp);  // on Exit
  Ticks(10);
  renderer->ClearLog();
  Tick();
  const auto& draws = renderer->Draws();
  ASSERT_EQ(draws.size(), 5u);
  EXPECT_EQ(draws[0].textures[0].name, "title.ptx/title");
  const float tops[3] = {280, 331, 379};
  for (int32_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(draws[1 + n].textures[0].name, "title.ptx/menu");
    const Quad q = QuadOf(draws[1 + n]);
    EXPECT_EQ(q.left, 192.0f);
    EXPECT_EQ(q.top, tops[n]);
    EXPECT_EQ(q.right - q.left, 256.0f);
    EXPECT_EQ(q.bottom - q.top, 64.0f);
    EXPECT_FLOAT_EQ(q.vTop, 0.25f * n);
    EXPECT_FLOAT_EQ(q.vBottom, 0.25f * (n + 1));
    EXPECT_FLOAT_EQ(draws[1 + n].Vertex(0).diffuse.w, n == 2 ? 1.0f : 127 / 255.0f);
  }
  EXPECT_FLOAT_EQ(draws[4].Vertex(0).diffuse.w, 0.0f) << "the fade over";
}

// Left alone for 6700 updates the menu fades to black and stops its music; after more than 100
// black updates it fades in again with the music from its start. A key resets the count.
TEST_F(Title, LeftAloneTheTitleFadesToBlackAndStartsOverWithItsMusic) {
  TitleMenu();
  Ticks(3000);
  Press(kButtonDown);
  Sounds();
  EXPECT_EQ(title->GetCounter(), 1u) << "the press reset the count";
  EXPECT_EQ(TicksIn(&TTitle::Menu), 6700 - 1) << "the 6700th update counted since the press";
  EXPECT_TRUE(title->InPhase(&TTitle::IdleFadeOut));
  EXPECT_FALSE(Plays(2, TTitle::kMusic));
  EXPECT_EQ(TicksIn(&TTitle::IdleFadeOut), 100 + 100) << "the fade, then black until the count passes 100";
  EXPECT_EQ(title->GetFade().GetFrame(), 0);
  EXPECT_TRUE(title->InPhase(&TTitle::FadeIn));
  EXPECT_TRUE(Plays(2, TTitle::kMusic));
  EXPECT_EQ(TicksIn(&TTitle::FadeIn), 100);
  EXPECT_EQ(title->GetCursor(), 1);
}

// Exit: 606, the music fading out with the picture; the program ends when both are done.
TEST_F(Title, ExitFadesPictureAndMusicOutThenEndsTheProgram) {
  TitleMenu();
  Press(kButtonUp);
  Sounds();
  TSound8* music = Set(2).GetSound(TTitle::kMusic).Get();
  const int32_t full = music->GetVolume();
  EXPECT_TRUE(Tick(kButtonA));
  EXPECT_EQ(Sounds(), V{606});
  ASSERT_TRUE(title->GetMusicHandle());
  EXPECT_EQ(title->GetMusicHandle()->GetSound().Get(), music);
  int ticks = 0;
  while (Tick() && ticks < 500) ++ticks;
  EXPECT_EQ(ticks, 100) << "the music's last step comes a tick after its 100th";
  EXPECT_EQ(music->GetVolume(), music->GetMinVolume());
  EXPECT_LT(music->GetMinVolume(), full);
}

// Start: 605 and the continue screen for this program's chapter; Load: 603 and the save screen in
// load mode; either in front of the title, which takes up its menu again when they end.
TEST_F(Title, StartAndLoadOpenTheirScreensInFrontOfTheMenu) {
  TitleMenu();
  for (int32_t item : {TTitle::kStart, TTitle::kLoad}) {
    SCOPED_TRACE(item);
    while (title->GetCursor() != item) Press(kButtonDown);
    Sounds();
    Tick(kButtonA);
    Tick();
    if (item == TTitle::kStart) {
      EXPECT_EQ(Sounds(), V{605});
      auto* screen = dynamic_cast<TSelectContinueData*>(app->GetCurrentScene());
      ASSERT_NE(screen, nullptr);
      EXPECT_EQ(screen->GetChapter(), 3);
      ASSERT_TRUE(TickUntil([&] { return screen->InPhase(&TSelectContinueData::Input); }));
    } else {
      EXPECT_EQ(Sounds(), V{603});
      auto* screen = dynamic_cast<TSaveLoad*>(app->GetCurrentScene());
      ASSERT_NE(screen, nullptr);
      EXPECT_EQ(screen->GetMode(), TSaveLoad::kLoad);
      ASSERT_TRUE(TickUntil([&] { return screen->GetList().InPhase(&TSlotList::LoadInput); }));
    }
    TScene* screen = app->GetCurrentScene();
    Press(kButtonB);
    ASSERT_TRUE(TickUntil([&] { return app->GetCurrentScene() != screen; }));
    EXPECT_EQ(app->GetCurrentScene(), title);
    EXPECT_TRUE(title->InPhase(&TTitle::Menu));
    EXPECT_EQ(title->GetCursor(), item);
    Tick();
  }
}

}  // namespace
