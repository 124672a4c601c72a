// The yes/no dialog: opened by Escape or F4 without a parent, or by the system-choice window over
// the field menu; No closes it, Yes goes back to the title through the scene change or quits after
// the picture and the music have faded.
#include "game/ui/TYesNo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/shell/TScreenCapture.h"
#include "game/ui/TChoiceMenu.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;
using V = std::vector<int32_t>;

class YesNo : public MenuFixture {
 protected:
  // The dialog without a parent over the painted field, waiting for an answer.
  TYesNo& OpenOverField(int32_t mode) {
    field.scene = new menutest::PaintedField(*app, kFieldColour);
    app->SetScene(field.scene);
    Ticks(6);
    return OpenOverCurrent(mode);
  }
  TYesNo& OpenOverCurrent(int32_t mode) {
    auto* dialog = new TYesNo(*app, mode);
    app->SetScene(dialog);
    EXPECT_TRUE(TickUntil([dialog] { return dialog->InPhase(&TYesNo::Select); }));
    Sounds();
    return *dialog;
  }
  // The menu's system choice on the entry given, the dialog opened from it and waiting.
  TYesNo& OpenFromMenu(int32_t entry) {
    OpenMenu();
    Press(kButtonUp);  // the system choice
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([this] { return Current<TThreeChoiceMenu>() != nullptr; }));
    auto* choice = Current<TThreeChoiceMenu>();
    EXPECT_TRUE(TickUntil([choice] { return choice->InPhase(&TChoiceMenu::Select); }));
    for (int32_t n = 2; n > entry; --n) Press(kButtonUp);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([this] { return Current<TYesNo>() != nullptr; }));
    TYesNo* dialog = Current<TYesNo>();
    EXPECT_TRUE(TickUntil([dialog] { return dialog->InPhase(&TYesNo::Select); }));
    Sounds();
    return *dialog;
  }
  TSoundSet8& MusicSet() { return *TDSound8::Get().Find(2); }
};

TEST_F(YesNo, ItOpensOnNoAndAAtOnceClosesItWithoutEffect) {
  TYesNo& dialog = OpenOverField(TYesNo::kQuit);
  EXPECT_FALSE(dialog.AllowsSystemDialog());
  EXPECT_EQ(dialog.GetCursor(), TYesNo::kNo);
  EXPECT_EQ(dialog.GetQuestion().Y(), 176);
  EXPECT_EQ(dialog.GetChoice().Y(), 240);
  EXPECT_EQ(dialog.GetQuestion().X(), 192);
  EXPECT_EQ(dialog.GetChoice().X(), 283);
  EXPECT_FLOAT_EQ(dialog.GetOverlayAlpha().value, 0.5f);

  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([this] { return app->GetCurrentScene() == field.scene; }));
  EXPECT_TRUE(fieldLog.empty());
  EXPECT_EQ(app->GetSceneCount(), 2u) << "the field and the title behind it";
}

// The question drops from -64 to 176 at x 192 over 10 ticks while the Yes and No lines rise from
// 480 to 240 at x 283, as drawn.
TEST_F(YesNo, TheQuestionDropsToItsPlaceAsTheLinesRiseToTheirs) {
  field.scene = new menutest::PaintedField(*app, kFieldColour);
  app->SetScene(field.scene);
  Ticks(6);
  auto* dialog = new TYesNo(*app, TYesNo::kBackToTitle);
  app->SetScene(dialog);
  ASSERT_TRUE(TickUntil([dialog] { return dialog->InPhase(&TYesNo::SlideIn); }));
  for (int k = 1; k <= 10; ++k) {
    SCOPED_TRACE(k);
    renderer->ClearLog();
    Tick();
    const auto question = DrawsOf("sprite.ptx/window23");
    const auto lines = DrawsOf("sprite.ptx/window10");
    ASSERT_EQ(question.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_FLOAT_EQ(question[0]->Vertex(0).position.x + 0.5f, 192);
    EXPECT_FLOAT_EQ(question[0]->Vertex(0).position.y + 0.5f, -64 + 24 * k);
    EXPECT_FLOAT_EQ(lines[0]->Vertex(0).position.x + 0.5f, 283);
    EXPECT_FLOAT_EQ(lines[0]->Vertex(0).position.y + 0.5f, 480 - 24 * k);
  }
  EXPECT_TRUE(dialog->InPhase(&TYesNo::Select));
}

// UP and DOWN each move once per press, round both ends, with 601; the cursor stands beside the
// line it points at.
TEST_F(YesNo, UpAndDownWrapBetweenTheTwoLines) {
  TYesNo& dialog = OpenOverField(TYesNo::kBackToTitle);
  struct Step {
    uint32_t key;
    int32_t cursor;
  };
  for (Step s : {Step{kButtonUp, TYesNo::kYes}, Step{kButtonUp, TYesNo::kNo}, Step{kButtonDown, TYesNo::kYes},
                 Step{kButtonDown, TYesNo::kNo}}) {
    Ticks(12, s.key);  // held: one move only
    EXPECT_EQ(dialog.GetCursor(), s.cursor);
    EXPECT_EQ(Sounds(), V{601});
    Tick();
  }
  Tick(kButtonUp);
  renderer->ClearLog();
  Tick(kButtonUp);
  const auto cursor = DrawsOf("sprite.ptx/cursor02");
  ASSERT_EQ(cursor.size(), 1u);
  EXPECT_FLOAT_EQ(cursor[0]->Vertex(0).position.y + 0.5f, 240 + 16 * (TYesNo::kYes + 1));
  const float x = cursor[0]->Vertex(0).position.x + 0.5f;
  EXPECT_GE(x, 283 + 12 - 3);
  EXPECT_LE(x, 283 + 12 + 3);
}

// Back to the title: only the scene change stays; from the menu the stage music is kept loaded for
// it, without a parent no music is passed.
TEST_F(YesNo, YesToTheTitleLeavesOnlyTheSceneChange) {
  for (bool fromMenu : {false, true}) {
    SCOPED_TRACE(fromMenu ? "from the menu" : "without a parent");
    if (fromMenu) PlayFieldMusic();
    const uint32_t loaded = MusicSet().GetCount(kFieldMusic);
    TYesNo& dialog = fromMenu ? OpenFromMenu(0) : OpenOverField(TYesNo::kBackToTitle);
    EXPECT_EQ(dialog.GetMode(), TYesNo::kBackToTitle);
    Press(kButtonUp);
    Sounds();
    fieldLog.clear();
    const bool running = Tick(kButtonA);
    EXPECT_TRUE(running);
    EXPECT_EQ(Sounds(), V{603});
    EXPECT_EQ(fieldLog, (std::vector<std::string>{"title change " + std::to_string(fromMenu ? kFieldMusic : -1),
                                                  "resume change"}));
    EXPECT_EQ(app->GetSceneCount(), 1u);
    auto* change = dynamic_cast<shelltest::TestScene*>(app->GetCurrentScene());
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->name, "change");
    EXPECT_EQ(MusicSet().GetCount(kFieldMusic), loaded + (fromMenu ? 1 : 0)) << "one more, for the change to fade";
    app->ClearScenes();
    field.musicId = -1;
  }
}

// Quitting from the menu fades the stage music out with the picture over 50 ticks; without a
// parent only the picture fades. Then the game ends.
TEST_F(YesNo, YesToQuitFadesToBlackAndEndsTheGame) {
  for (bool fromMenu : {true, false}) {
    SCOPED_TRACE(fromMenu ? "from the menu" : "without a parent");
    if (fromMenu) PlayFieldMusic();
    TYesNo& dialog = fromMenu ? OpenFromMenu(1) : OpenOverField(TYesNo::kQuit);
    EXPECT_EQ(dialog.GetMode(), TYesNo::kQuit);
    Press(kButtonDown);
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), (V{601, 603}));
    EXPECT_TRUE(dialog.InPhase(&TYesNo::QuitFade));
    EXPECT_EQ(static_cast<bool>(dialog.GetMusicHandle()), fromMenu);
    TSound8* music = fromMenu ? MusicSet().GetSound(kFieldMusic).Get() : nullptr;

    int ticks = 0;
    while (Tick() && ticks < 100) ++ticks;
    EXPECT_EQ(ticks + 1, fromMenu ? 51 : 50) << "the music's last step ends one tick after the picture's";
    EXPECT_EQ(app->GetCurrentScene(), &dialog) << "the game ends with the dialog in front";
    EXPECT_FLOAT_EQ(dialog.GetBlackout().value, 1.0f);
    if (music) {
      EXPECT_EQ(music->GetVolume(), -10000);
      EXPECT_NE(music->GetState(), TSound8::kPlaying);
    }
    app->ClearScenes();
    field.musicId = -1;
  }
}

// Escape over the menu: the dialog draws a picture of the menu into a texture of its own, so
// after No the menu's background is still the field as it was.
TEST_F(YesNo, OverTheMenuWithoutAParentNoLeavesTheMenusFieldPictureIntact) {
  TMenuTop& menu = OpenMenu();
  const int fieldDraws = field.scene->draws;
  const plat::IDirect3DTexture8* fieldPicture = menu.GetBackground().texture.Object();
  ASSERT_NE(fieldPicture, nullptr);
  field.scene->colour = 0xFF00FF00;  // the field is not drawn again meanwhile

  renderer->ClearLog();
  TYesNo& dialog = OpenOverCurrent(TYesNo::kQuit);
  ASSERT_NE(dialog.GetBackground().texture.Object(), nullptr);
  EXPECT_NE(dialog.GetBackground().texture.Object(), fieldPicture);
  const auto drawnInto = DrawsOf(TScreenCapture::TextureName(TMenuTop::kCaptureName));
  ASSERT_FALSE(drawnInto.empty()) << "the capture drew the menu with its background";
  uint64_t dialogTarget = 0;
  for (const plat::RecordedDraw& d : renderer->Draws())
    if (d.textures[0].name == TScreenCapture::TextureName(TYesNo::kCaptureName)) dialogTarget = d.renderTarget;
  EXPECT_NE(drawnInto[0]->renderTarget, dialogTarget);

  Tick(kButtonB);
  EXPECT_TRUE(TickUntil([&] { return app->GetCurrentScene() == &menu; }));
  EXPECT_EQ(menu.GetBackground().texture.Object(), fieldPicture);
  EXPECT_EQ(CapturedAt(TMenuTop::kCaptureName, 10, 10), kFieldColour & 0xFFFFFF);
  renderer->ClearLog();
  Tick();
  ASSERT_FALSE(renderer->Draws().empty());
  EXPECT_EQ(renderer->Draws()[0].textures[0].name, TScreenCapture::TextureName(TMenuTop::kCaptureName));
  EXPECT_EQ(field.scene->draws, fieldDraws) << "the field was not drawn again";
}

}  // namespace
