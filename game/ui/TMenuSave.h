// The field menu's save screen (menu entry 6): a short choice of Save, Load and Cancel where the
// player stands at a save point, of Load and Cancel elsewhere, then the list of the 100 save
// slots. Saving keeps the save point and the player in the game-progress record first, so that
// the save resumes there; the slots are written as on the title's save screen. Loading a usable
// slot leaves the menu and the field for the loaded game through the scene change. B in the list
// goes back to the choice.
#pragma once
#include <cstdint>
#include <span>

#include "game/ui/TChoiceMenu.h"
#include "game/ui/TSlotList.h"

class TMenuSave : public TChoiceMenu {
 public:
  // Each panel starts once the one above has passed half of its way.
  static constexpr TStagger kChoiceWalk{6, 5, false};

  TMenuSave(TGameWnd& app, TMenuTop& parent);
  ~TMenuSave() override;

  bool OffersSave() const { return panels.Size() == 3; }
  const TSlotList& GetList() const { return list; }

  SceneResult List();

 protected:
  SceneResult Confirmed() override;
  void DrawWindows() override;

 private:
  static std::span<const TPanelShape> Choices(TMenuTop& menu);
  SceneResult Load();

  TSlotList list;
};
