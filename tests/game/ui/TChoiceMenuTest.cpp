// The character-switch and system-choice windows of the field menu.
#include "game/ui/TChoiceMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/data/TGameData.h"
#include "game/ui/TYesNo.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;
using V = std::vector<int32_t>;

class ChoiceMenu : public MenuFixture {
 protected:
  // The menu's entry chosen, its window waiting for a choice.
  template <class W>
  W& OpenEntry(int32_t entry) {
    TMenuTop& m = OpenMenu();
    while (m.GetCursor() != entry) Press(kButtonDown);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([this] { return Current<W>() != nullptr; }));
    W* window = Current<W>();
    EXPECT_TRUE(TickUntil([window] { return window->InPhase(&TChoiceMenu::Select); }));
    Sounds();
    return *window;
  }
};

TEST_F(ChoiceMenu, ThePanelsStartAtTheirCursorAndSlideToTheirPlaces) {
  struct Panel {
    int32_t from, to;
    const char* sprite;
  };
  {
    TTwoChoiceMenu& w = OpenEntry<TTwoChoiceMenu>(4);
    EXPECT_EQ(w.GetCursor(), 0);
    EXPECT_EQ(w.GetTarget(), 1u);
    const Panel panels[] = {{-184, 16, "sprite.ptx/window02_n"}, {-176, 24, "sprite.ptx/window02_k"}};
    ASSERT_EQ(w.GetPanels().Size(), 2u);
    for (size_t n = 0; n < 2; ++n) {
      EXPECT_EQ(w.GetPanels().Panel(n).x.start, panels[n].from);
      EXPECT_EQ(w.GetPanels().Panel(n).X(), panels[n].to);
      EXPECT_EQ(w.GetPanels().Panel(n).Y(), 16 + 40 * static_cast<int32_t>(n));
      EXPECT_EQ(w.GetPanels().Panel(n).sprite.texture.GetName(), panels[n].sprite);
    }
  }
  app->ClearScenes();
  {
    TThreeChoiceMenu& w = OpenEntry<TThreeChoiceMenu>(7);
    EXPECT_EQ(w.GetCursor(), 2) << "cancel";
    const Panel panels[] = {{-194, 16, "sprite.ptx/window02_i"},
                            {-186, 24, "sprite.ptx/window02_j"},
                            {-178, 32, "sprite.ptx/window02_k"}};
    ASSERT_EQ(w.GetPanels().Size(), 3u);
    for (size_t n = 0; n < 3; ++n) {
      EXPECT_EQ(w.GetPanels().Panel(n).x.start, panels[n].from);
      EXPECT_EQ(w.GetPanels().Panel(n).X(), panels[n].to);
      EXPECT_EQ(w.GetPanels().Panel(n).sprite.texture.GetName(), panels[n].sprite);
    }
    renderer->ClearLog();
    Tick();
    ASSERT_EQ(renderer->Draws().size(), 5u) << "the menu's background and overlay, three panels";
    EXPECT_EQ(renderer->Draws()[4].textures[0].name, "sprite.ptx/window02_k");
  }
}

// A on the cancel panel is B: the window slides out and the menu comes back, nothing else.
TEST_F(ChoiceMenu, AOnCancelIsB) {
  for (bool useA : {true, false}) {
    SCOPED_TRACE(useA ? "A on cancel" : "B");
    TTwoChoiceMenu& w = OpenEntry<TTwoChoiceMenu>(4);
    if (useA) {
      Press(kButtonDown);
      EXPECT_EQ(Sounds(), V{600});
    }
    fieldLog.clear();
    Tick(useA ? kButtonA : kButtonB);
    EXPECT_EQ(Sounds(), V{606});
    EXPECT_TRUE(w.InPhase(&TChoiceMenu::SlideOut));
    EXPECT_TRUE(TickUntil([this] { return app->GetCurrentScene() == menu; }));
    EXPECT_TRUE(fieldLog.empty());
    EXPECT_EQ(TGameData::Instance()->GetCurrentMember(), 0u);
    app->ClearScenes();
  }
}

TEST_F(ChoiceMenu, UpFromTheFirstPanelWrapsToCancel) {
  TThreeChoiceMenu& w = OpenEntry<TThreeChoiceMenu>(7);
  for (int32_t expected : {1, 0, 2}) {
    Press(kButtonUp);
    EXPECT_EQ(w.GetCursor(), expected);
    EXPECT_EQ(Sounds(), V{600});
  }
  Press(kButtonDown);
  EXPECT_EQ(w.GetCursor(), 0);
}

// The switch rebuilds the player as the other member once the window is out, and then the menu
// takes the field's picture again, which now shows that member.
TEST_F(ChoiceMenu, TheSwitchRebuildsThePlayerAsTheOtherMemberThenRetakesTheBackground) {
  for (uint32_t member : {0u, 1u}) {
    SCOPED_TRACE(member);
    TGameData::Instance()->SetCurrentMember(member);
    TTwoChoiceMenu& w = OpenEntry<TTwoChoiceMenu>(4);
    EXPECT_EQ(w.GetPanels().Panel(0).sprite.texture.GetName(),
              member == 0 ? "sprite.ptx/window02_n" : "sprite.ptx/window02_m");
    const int fieldDraws = field.scene->draws;
    fieldLog.clear();
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{603});
    EXPECT_TRUE(TickUntil([this] { return !fieldLog.empty(); }));
    EXPECT_EQ(fieldLog, (std::vector<std::string>{"rebuild " + std::to_string(1 - member)}));
    EXPECT_EQ(field.scene->draws, fieldDraws + 1) << "the background taken again";
    EXPECT_EQ(CapturedAt(TMenuTop::kCaptureName, 5, 5), field.memberColours[1 - member] & 0xFFFFFF);
    EXPECT_EQ(TGameData::Instance()->GetCurrentMember(), 1 - member);
    Tick();
    EXPECT_EQ(app->GetCurrentScene(), menu);
    EXPECT_TRUE(menu->InPhase(&TMenuTop::SlideIn));
    app->ClearScenes();
  }
}

// Either system choice asks first; No brings the window in again, still on that choice.
TEST_F(ChoiceMenu, TheSystemChoiceAsksAndNoSlidesTheWindowInAgain) {
  for (int32_t entry : {0, 1}) {
    SCOPED_TRACE(entry);
    TThreeChoiceMenu& w = OpenEntry<TThreeChoiceMenu>(7);
    while (w.GetCursor() != entry) Press(kButtonUp);
    Sounds();
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{603});
    EXPECT_TRUE(TickUntil([this] { return Current<TYesNo>() != nullptr; }));
    TYesNo* dialog = Current<TYesNo>();
    EXPECT_EQ(dialog->GetMode(), entry == 0 ? TYesNo::kBackToTitle : TYesNo::kQuit);
    EXPECT_TRUE(w.InPhase(&TChoiceMenu::SlideIn));
    EXPECT_EQ(w.GetPanels().Panel(0).X(), -194) << "off screen behind the dialog";

    EXPECT_TRUE(TickUntil([dialog] { return dialog->InPhase(&TYesNo::Select); }));
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{606});
    EXPECT_TRUE(TickUntil([&] { return app->GetCurrentScene() == &w; }));
    EXPECT_TRUE(TickUntil([&] { return w.InPhase(&TChoiceMenu::Select); }));
    EXPECT_EQ(w.GetCursor(), entry);
    EXPECT_EQ(w.GetPanels().Panel(2).X(), 32);
    app->ClearScenes();
  }
}

}  // namespace
