// The field menu in the game as it is wired: the sample town from its save point, the game's field
// services, and keys held as a player holds them. The menu key opens the menu over the town; its
// screens read and change the running game; Yes in the system choice leaves for the title, and
// Yes to quitting ends the game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "game/app/GameServices.h"
#include "game/app/FieldLinks.h"
#include "game/data/TGameData.h"
#include "game/field/StagePlayer.h"
#include "game/field/TStage.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TInput.h"
#include "game/ui/TChoiceMenu.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TMiniMapMenu.h"
#include "game/ui/TStatusMenu.h"
#include "game/ui/TYesNo.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/app/MenuKeys.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;

constexpr uint32_t kTownSavePoint = 7;

class FieldMenuScenario : public MenuKeys<FieldSceneFixture> {
 protected:
  void SetUp() override {
    MenuKeys::SetUp();
    TScriptEngine::SetFolder("data/scr03/");
    InstallGameLinks();  // the game's screens' services
    TGameData::Instance()->NewGame();
    Open(TFieldScene::CreateFromSave(*app, kTownSavePoint));
    FinishOpeningFade();
  }
  void TearDown() override {
    plat::ReleaseAllKeys();
    TScriptEngine::Destroy();
    TScriptEngine::SetFolder("");
    RemoveGameLinks();
    MenuKeys::TearDown();
  }

  void MoveMenuTo(TMenuTop& menu, int32_t entry) {
    while (menu.GetCursor() != entry) Press(kButtonDown);
  }
  static bool Playing(int32_t id) {
    TCountedPtr<TSound8> sound = TDSound8::Get().Find(0)->GetSound(id);
    return sound && sound->GetState() == TSound8::kPlaying;
  }
  static TGameData& Data() { return *TGameData::Instance(); }
};

TEST_F(FieldMenuScenario, TheMenuOverTheTownShowsChangesSwitchesAndLeavesForTheTitle) {
  ASSERT_NE(field->GetStage(), nullptr);
  const int32_t music = field->GetStage()->GetMusicId();
  ASSERT_NE(music, -1) << "the town has its music";

  Hold(kButtonE);
  auto* menu = dynamic_cast<TMenuTop*>(app->GetCurrentScene());
  ASSERT_NE(menu, nullptr) << "the menu key opens the menu";
  EXPECT_TRUE(Playing(603));
  EXPECT_TRUE(menu->GetMusicHandle()) << "the town music is turned down";
  ASSERT_TRUE(WaitIn<TMenuTop>(&TMenuTop::Select));

  // Status: the hero's values.
  MoveMenuTo(*menu, 3);
  Hold(kButtonA);
  TStatusMenu* status = WaitIn<TStatusMenu>(&TStatusMenu::Idle);
  ASSERT_NE(status, nullptr);
  const TCharBlock& hero = Data().GetCharBlock(0);
  char level[8], hp[16];
  std::snprintf(level, sizeof level, "%2u", hero.level + 1);
  std::snprintf(hp, sizeof hp, "%4u/%4u", static_cast<unsigned>(hero.hp), static_cast<unsigned>(hero.maxHp));
  EXPECT_EQ(status->GetTexts()[0], level);
  EXPECT_EQ(status->GetTexts()[3], hp);
  Hold(kButtonB);
  ASSERT_TRUE(WaitIn<TMenuTop>(&TMenuTop::Select));

  // Options: LEFT held ten ticks on the music row.
  MoveMenuTo(*menu, 5);
  Hold(kButtonA);
  ASSERT_NE(WaitIn<TMiniMapMenu>(&TMiniMapMenu::MiniMapRow), nullptr);
  Press(kButtonDown);
  for (int i = 0; i < 10; ++i) Hold(kButtonLeft);
  EXPECT_EQ(Data().GetVolume2(), 54);
  EXPECT_EQ(TDSound8::Get().Find(2)->GetMaxVolume(), VolumeCurve(1.0f - 54 / 64.0f));
  Hold(kButtonB);
  ASSERT_TRUE(WaitIn<TMenuTop>(&TMenuTop::Select));

  // The switch: the heroine takes over.
  Press(kButtonUp);
  EXPECT_EQ(menu->GetCursor(), 4);
  Hold(kButtonA);
  ASSERT_NE(WaitIn<TTwoChoiceMenu>(&TChoiceMenu::Select), nullptr);
  Hold(kButtonA);
  ASSERT_TRUE(WaitIn<TMenuTop>(&TMenuTop::Select));
  EXPECT_EQ(Data().GetCurrentMember(), 1u);
  ASSERT_NE(field->GetPlayer(), nullptr);
  EXPECT_EQ(field->GetPlayer()->GetMember(), 1u);

  // The system choice, back to the title: only the scene change stays.
  MoveMenuTo(*menu, 7);
  Hold(kButtonA);
  ASSERT_NE(WaitIn<TThreeChoiceMenu>(&TChoiceMenu::Select), nullptr);
  Press(kButtonUp);
  Press(kButtonUp);
  Hold(kButtonA);
  ASSERT_NE(WaitIn<TYesNo>(&TYesNo::Select), nullptr);
  Press(kButtonUp);
  field = nullptr;
  EXPECT_TRUE(Hold(kButtonA));
  EXPECT_EQ(app->GetSceneCount(), 1u);
  EXPECT_EQ(dynamic_cast<TFieldScene*>(app->GetCurrentScene()), nullptr);
  EXPECT_EQ(dynamic_cast<TYesNo*>(app->GetCurrentScene()), nullptr);
  EXPECT_NE(app->GetCurrentScene(), nullptr) << "the title, through the scene change";
}

// Escape over the field opens the dialog without a parent (as the game window does); Yes quits.
TEST_F(FieldMenuScenario, EscapeOnTheFieldAndYesEndsTheGame) {
  app->SetScene(DefaultShellServices().CreateYesNo(*app, 1));
  ASSERT_NE(WaitIn<TYesNo>(&TYesNo::Select), nullptr);
  Press(kButtonUp);
  bool running = Hold(kButtonA);
  int ticks = 0;
  while (running && ticks < 100) {
    running = Hold(0);
    ++ticks;
  }
  EXPECT_FALSE(running) << "result 4: the game ends";
  EXPECT_EQ(ticks, TYesNo::kBlackoutFrames) << "the picture fades out first";
  EXPECT_NE(dynamic_cast<TYesNo*>(app->GetCurrentScene()), nullptr);
}

}  // namespace
