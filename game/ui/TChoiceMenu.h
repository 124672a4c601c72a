// The field menu's two small panel windows. The character switch offers the other character and
// cancel; the system choice offers back to the title, quit and cancel, and opens the yes/no
// dialog for the first two. Both are columns of panels like the menu's own.
#pragma once
#include <cstdint>
#include <span>

#include "game/ui/TMenuTop.h"
#include "game/ui/TPanelColumn.h"

class TChoiceMenu : public TMenuScreen {
 public:
  int32_t GetCursor() const { return panels.GetCursor(); }
  const TPanelColumn& GetPanels() const { return panels; }

  SceneResult SlideIn();
  SceneResult Select();
  SceneResult SlideOut();

 protected:
  // Each panel starts once the one above has done half of its way.
  static constexpr TStagger kWalk{5, 5, false};

  TChoiceMenu(TGameWnd& app, TMenuTop& parent, std::span<const TPanelShape> panels, int32_t cursor,
              const TStagger& walk = kWalk);

  void DrawWindows() override { panels.Draw(); }
  // When the window has slid out after a choice other than cancel; the phase to go on with, or
  // finished.
  virtual SceneResult Confirmed() = 0;

  TPanelColumn panels;
  bool confirmed = false;
};

// Menu entry 4: switches the controlled character between the hero and the heroine.
class TTwoChoiceMenu : public TChoiceMenu {
 public:
  TTwoChoiceMenu(TGameWnd& app, TMenuTop& parent);

  uint32_t GetTarget() const { return target; }

 protected:
  SceneResult Confirmed() override;

 private:
  uint32_t target;
};

// Menu entry 7: back to the title, quit the game, cancel.
class TThreeChoiceMenu : public TChoiceMenu {
 public:
  TThreeChoiceMenu(TGameWnd& app, TMenuTop& parent);

 protected:
  SceneResult Confirmed() override;
};
