// Tests of the field menu's item, equipment, skill and save screens: the title fixture's save
// folder and chapter, the sample's item icons, item and skill pictures and faces, the test field's
// character panel made from its player, and a screen opened in front of the menu as the menu opens
// it, waiting for input.
#pragma once
#include <string>
#include <vector>

#include "common/TMoveValue.h"
#include "game/data/TGameData.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TMenuListScreen.h"
#include "tests/game/ui/TitleFixture.h"

namespace menutest {

class MenuScreenFixture : public TitleFixture {
 protected:
  void SetUp() override {
    TitleFixture::SetUp();
    WriteHudPacks();
    field.GetGauge().Refresh(field.player);
  }

  // The screen in front of the menu, waiting in the phase; the sounds and draws so far forgotten.
  template <class S, class P>
  S& OpenScreen(SceneResult (P::*phase)()) {
    OpenMenu();
    auto* screen = new S(*app, *menu);
    app->SetScene(screen);
    EXPECT_TRUE(TickUntil([&] { return screen->InPhase(phase); }));
    Sounds();
    renderer->ClearLog();
    return *screen;
  }
  // A press of B, then ticks until the list is back down; true when it is.
  bool LeaveList(TMenuListScreen& screen) {
    Press(kButtonB);
    return TickUntil([&] { return !screen.InListPhase() && !screen.InPhase(&TMenuListScreen::EmptyList); });
  }
  static std::vector<uint32_t> Ids(const TMenuListScreen& screen) {
    std::vector<uint32_t> ids;
    for (const TListEntry& entry : screen.GetEntries()) ids.push_back(entry.id);
    return ids;
  }
  // The bag as id and count pairs, in order.
  static std::vector<std::pair<uint32_t, int>> Bag() {
    std::vector<std::pair<uint32_t, int>> bag;
    for (const auto& entry : Data().GetOwnedItems()) bag.emplace_back(entry->id, entry->count);
    return bag;
  }
  static TGameData& Data() { return *TGameData::Instance(); }
  // The opaque grey that a fade of 10 frames from one level to another ends on.
  static uint32_t Faded(float from, float to) {
    TMoveValue fade;
    fade.Set(from, to, 10, 10);
    return OpaqueGrey(fade.value);
  }
};

}  // namespace menutest
