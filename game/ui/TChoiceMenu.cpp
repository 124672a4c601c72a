#include "game/ui/TChoiceMenu.h"

#include <array>

#include "game/data/TGameData.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TYesNo.h"

namespace {

uint32_t CurrentMember() {
  const TGameData* data = TGameData::Instance();
  return data ? data->GetCurrentMember() : 0;
}

// The first panel names the character that is not in control.
std::array<TPanelShape, 2> SwitchPanels(uint32_t member) {
  return {{{member == 0 ? "sprite.ptx/window02_n" : "sprite.ptx/window02_m", -184, 16},
           {"sprite.ptx/window02_k", -176, 24}}};
}

constexpr TPanelShape kSystemPanels[] = {
    {"sprite.ptx/window02_i", -194, 16},  // back to the title
    {"sprite.ptx/window02_j", -186, 24},  // quit the game
    {"sprite.ptx/window02_k", -178, 32},  // cancel
};

}  // namespace

TChoiceMenu::TChoiceMenu(TGameWnd& app, TMenuTop& menu, std::span<const TPanelShape> shapes, int32_t cursor,
                         const TStagger& walk)
    : TMenuScreen(app, menu, true), panels(shapes, cursor, walk) {
  SetPhase(&TChoiceMenu::SlideIn);
}

SceneResult TChoiceMenu::SlideIn() {
  if (panels.SlideIn()) SetPhase(&TChoiceMenu::Select);
  return kSceneRunning;
}

SceneResult TChoiceMenu::Select() {
  const int32_t before = panels.GetCursor();
  if (!panels.MoveCursor(keys)) {
    const bool cancel = keys.Pressed(kButtonB) || (keys.Pressed(kButtonA) && panels.IsCancel());
    if (cancel) {
      PlaySe(menu_se::kCancel);
      SetPhase(&TChoiceMenu::SlideOut);
    } else if (keys.Pressed(kButtonA)) {
      PlaySe(menu_se::kDecide);
      confirmed = true;
      SetPhase(&TChoiceMenu::SlideOut);
    }
  }
  if (panels.GetCursor() != before) PlaySe(menu_se::kCursor);
  panels.StepHighlight();
  return kSceneRunning;
}

SceneResult TChoiceMenu::SlideOut() {
  if (!panels.SlideOut()) return kSceneRunning;
  if (confirmed) return Confirmed();
  EndPhases();
  return kSceneFinished;
}

TTwoChoiceMenu::TTwoChoiceMenu(TGameWnd& app, TMenuTop& menu)
    : TChoiceMenu(app, menu, SwitchPanels(CurrentMember()), 0), target(CurrentMember() == 0 ? 1 : 0) {}

SceneResult TTwoChoiceMenu::Confirmed() {
  EndPhases();
  parent.GetFieldScene().RebuildPlayer(target);
  parent.RefreshBackground();
  return kSceneFinished;
}

TThreeChoiceMenu::TThreeChoiceMenu(TGameWnd& app, TMenuTop& menu) : TChoiceMenu(app, menu, kSystemPanels, 2) {}

// The dialog stands in front; after No this window slides in again.
SceneResult TThreeChoiceMenu::Confirmed() {
  confirmed = false;
  SetPhase(&TChoiceMenu::SlideIn);
  panels.FinishHighlight();
  app.SetScene(new TYesNo(app, parent, panels.GetCursor() == 0 ? TYesNo::kBackToTitle : TYesNo::kQuit));
  return kSceneRunning;
}
