#include "game/ui/TSaveLoad.h"

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/effect/TColorFade.h"
#include "game/shell/TGameWnd.h"
#include "game/ui/MenuSounds.h"
#include "game/ui/UiServices.h"
#include "platform/core/Clock.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kEffectSet = 0, kMusicSet = 2;

struct TModeRow {
  const char* caption;
  bool saving;
};

// By mode: "ロード", "セーブ", "引継ぎ".
constexpr TModeRow kModes[] = {
    {"\x83\x8d\x81\x5b\x83\x68", false},
    {"\x83\x5a\x81\x5b\x83\x75", true},
    {"\x88\xf8\x8c\x70\x82\xac", false},
};

}  // namespace

void KeepSoundsForChange(int32_t effectId, int32_t musicId) {
  TDSound8& sound = TDSound8::Get();
  if (TCountedPtr<TSoundSet8> effects = sound.Find(kEffectSet)) effects->Load(effectId);
  if (musicId == -1) return;
  if (TCountedPtr<TSoundSet8> music = sound.Find(kMusicSet)) music->Load(musicId);
}

TSaveLoad* TSaveLoad::CreateLoad(TGameWnd& app) { return new TSaveLoad(app, kLoad, TSlotList::kOwnChapter); }

TSaveLoad* TSaveLoad::CreateSave(TGameWnd& app) { return new TSaveLoad(app, kSave, TSlotList::kOwnChapter); }

TSaveLoad* TSaveLoad::CreateTakeOver(TGameWnd& app, int32_t chapter) { return new TSaveLoad(app, kTakeOver, chapter); }

TSaveLoad::TSaveLoad(TGameWnd& application, int32_t screenMode, int32_t takeOverChapter)
    : TScreen(application, true),
      mode(screenMode),
      chapter(takeOverChapter),
      sounds(TDSound8::Get().Find(kEffectSet), GetDataFolder() + "subset/menu_se.tbl"),
      backdrop(app, kCaptureName, kBackdropAlpha, kBackdropFrames),
      list([this](int32_t id) { PlayFrom(sounds, id); }, takeOverChapter) {
  list.Open(kModes[mode].saving, kModes[mode].caption);
  SetPhase(&TSaveLoad::Opening);
}

TSaveLoad::~TSaveLoad() = default;

SceneResult TSaveLoad::Opening() {
  if (backdrop.Darken()) SetPhase(&TSaveLoad::List);
  return kSceneRunning;
}

SceneResult TSaveLoad::List() {
  switch (list.Update(keys)) {
    case TSlotList::Outcome::kLoadChosen: return Decide();
    case TSlotList::Outcome::kClosed:
      if (mode != kSave) {
        SetPhase(&TSaveLoad::FadeOut);
        return kSceneRunning;
      }
      if (TScene* change = GetUiServices().CreateTitleChange(app, -1)) app.PushScene(change);
      EndPhases();
      return kSceneFinished;
    case TSlotList::Outcome::kRunning: break;
  }
  return kSceneRunning;
}

// Only the change stays on the stack: the title (and the continue screen) behind this one go.
SceneResult TSaveLoad::Decide() {
  const int32_t effect = mode == kTakeOver ? menu_se::kStart : menu_se::kDecide;
  PlayFrom(sounds, effect);
  KeepSoundsForChange(effect, kTitleMusic);
  TScene* change =
      mode == kTakeOver ? LoadTakenOver() : GetUiServices().CreateLoadChange(app, list.GetSlot(), kTitleMusic);
  app.TrimScenes(1);
  if (change) app.PushScene(change);
  EndPhases();
  return kSceneFinished;
}

TScene* TSaveLoad::LoadTakenOver() {
  TGameData* data = TGameData::Instance();
  if (!data || data->Load(list.GetSlot(), chapter) != 0) return GetUiServices().CreateTitleChange(app, kTitleMusic);
  data->SetRunStart(plat::timeGetTime());
  return GetUiServices().CreateEventChange(app, TColorFade::kBlack, TColorFade::kToColour, kOpeningEvent,
                                           kTitleMusic);
}

SceneResult TSaveLoad::FadeOut() {
  if (!backdrop.Lighten()) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

void TSaveLoad::DrawScreen() {
  backdrop.Draw();
  list.Draw();
}
