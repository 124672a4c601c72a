// The title's screens on the menu fixture: the sample's title pack beside its sprites and sounds, a
// save folder of its own, this program's chapter (3) as start-up sets it, the logo counted as shown
// (the test of the logo clears that), and the title started and run into its menu.
#pragma once
#include <filesystem>
#include <string>

#include "game/data/GameGlobals.h"
#include "game/ui/TTitle.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/ui/MenuFixture.h"
#include "tools/datakit/SampleTitle.h"

namespace menutest {

class TitleFixture : public MenuFixture {
 protected:
  static constexpr int32_t kChapter = 3;

  void SetUp() override {
    MenuFixture::SetUp();
    datakit::SampleTitlePack().Save(dir / "data/ptx03/title.ptx");
    std::filesystem::create_directories(dir / "save");
    SetSaveFolder("save/");
    SetChapterNo(kChapter);
    TTitle::SetLogoShown(true);
  }
  void TearDown() override {
    title = nullptr;
    MenuFixture::TearDown();
    SetSaveFolder("");
    SetChapterNo(1);
    TTitle::SetLogoShown(false);
  }

  TTitle& OpenTitle() {
    title = new TTitle(*app);
    app->SetScene(title);
    return *title;
  }
  // The title waiting in its menu, the sounds and draws so far forgotten.
  TTitle& TitleMenu() {
    OpenTitle();
    EXPECT_TRUE(TickUntil([this] { return title->InPhase(&TTitle::Menu); }));
    Sounds();
    renderer->ClearLog();
    return *title;
  }

  // Ticks with the buttons held while the screen stays in the phase; how many.
  template <class S>
  int TicksIn(const S& screen, SceneResult (S::*phase)(), uint32_t buttons = 0, int limit = 10000) {
    int n = 0;
    while (n < limit && screen.InPhase(phase)) {
      Tick(buttons);
      ++n;
    }
    return n;
  }

  TSoundSet8& Set(int32_t id) { return *TDSound8::Get().Find(id); }
  bool Plays(int32_t set, int32_t id) {
    TCountedPtr<TSound8> sound = Set(set).GetSound(id);
    return sound && sound->GetState() == TSound8::kPlaying;
  }

  TTitle* title = nullptr;  // owned by the scene stack
};

}  // namespace menutest
