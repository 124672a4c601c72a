#include "game/ui/TMenuSave.h"

#include "game/data/TGameData.h"
#include "game/shell/TGameWnd.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TSaveLoad.h"
#include "game/ui/UiServices.h"

namespace {

constexpr TPanelShape kAtSavePoint[] = {
    {"sprite.ptx/window02_g", -194, 16},  // save
    {"sprite.ptx/window02_h", -186, 24},  // load
    {"sprite.ptx/window02_k", -178, 32},  // cancel
};
constexpr TPanelShape kElsewhere[] = {
    {"sprite.ptx/window02_h", -194, 16},  // load
    {"sprite.ptx/window02_k", -186, 24},  // cancel
};

// "セーブ", "ロード"
constexpr char kSaveCaption[] = "\x83\x5a\x81\x5b\x83\x75";
constexpr char kLoadCaption[] = "\x83\x8d\x81\x5b\x83\x68";

}  // namespace

std::span<const TPanelShape> TMenuSave::Choices(TMenuTop& menu) {
  if (menu.GetFieldScene().GetPlayer().IsAtSavePoint()) return kAtSavePoint;
  return kElsewhere;
}

// The choice opens on Cancel.
TMenuSave::TMenuSave(TGameWnd& application, TMenuTop& menu)
    : TChoiceMenu(application, menu, Choices(menu), static_cast<int32_t>(Choices(menu).size()) - 1, kChoiceWalk),
      list([this](int32_t id) { PlaySe(id); }, TSlotList::kOwnChapter) {}

TMenuSave::~TMenuSave() = default;

// A save resumes where the player stands, as the player is now.
SceneResult TMenuSave::Confirmed() {
  confirmed = false;
  const bool saving = OffersSave() && panels.GetCursor() == 0;
  if (saving)
    if (TGameData* data = TGameData::Instance()) {
      const TMenuPlayer& player = parent.GetFieldScene().GetPlayer();
      data->SetSavePointId(static_cast<uint32_t>(player.GetSavePointId()));
      data->StorePlayerState(player.GetState());
    }
  list.Open(saving, saving ? kSaveCaption : kLoadCaption);
  SetPhase(&TMenuSave::List);
  return kSceneRunning;
}

SceneResult TMenuSave::List() {
  switch (list.Update(keys)) {
    case TSlotList::Outcome::kLoadChosen: return Load();
    case TSlotList::Outcome::kClosed: SetPhase(&TChoiceMenu::SlideIn); break;
    case TSlotList::Outcome::kRunning: break;
  }
  return kSceneRunning;
}

// The menu and the field behind it go; the stage music plays on into the change. Nothing of the
// menu may be touched once the scenes behind this one are gone.
SceneResult TMenuSave::Load() {
  PlaySe(menu_se::kDecide);
  const int32_t music = parent.GetFieldScene().GetStageMusicId();
  KeepSoundsForChange(menu_se::kDecide, music);
  TScene* change = GetUiServices().CreateLoadChange(app, list.GetSlot(), music);
  app.TrimScenes(1);
  if (change) app.PushScene(change);
  EndPhases();
  return kSceneFinished;
}

void TMenuSave::DrawWindows() {
  panels.Draw();
  if (InPhase(&TMenuSave::List)) list.Draw();
}
