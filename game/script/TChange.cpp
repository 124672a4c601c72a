#include "game/script/TChange.h"

#include <cstdio>

#include "common/TD3D8.h"
#include "game/data/TGameData.h"
#include "game/field/TFieldScene.h"
#include "game/script/ChangeScenes.h"
#include "game/script/EventFactory.h"
#include "game/shell/TGameWnd.h"
#include "platform/core/Clock.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kEffectSet = 0, kMusicSet = 2;
// The decide and start sounds that the screens before a change keep for it.
constexpr int32_t kKeptEffects[] = {603, 605};
constexpr float kScreenWidth = 640.0f, kScreenHeight = 480.0f;
// A save of this program's own chapter.
constexpr int32_t kOwnChapter = -1;

}  // namespace

struct TChange::Factory {
  int32_t mode;
  int32_t fadeKind;
  int32_t direction;
};

// The fade of every factory but the event's, whose caller chooses it: to black.
const TChange::Factory TChange::kFactories[] = {
    {kTitle, TColorFade::kBlack, TColorFade::kToColour},
    {kLoad, TColorFade::kBlack, TColorFade::kToColour},
    {kSave, TColorFade::kBlack, TColorFade::kToColour},
};

TChange* TChange::Make(TGameWnd& app, int32_t mode, int32_t slot, int32_t eventId, int32_t keptMusic) {
  for (const Factory& f : kFactories)
    if (f.mode == mode) return new TChange(app, mode, slot, f.fadeKind, f.direction, eventId, keptMusic);
  return nullptr;
}

TChange* TChange::CreateTitle(TGameWnd& app, int32_t keptMusic) { return Make(app, kTitle, 0, 0, keptMusic); }

TChange* TChange::CreateLoad(TGameWnd& app, int32_t slot, int32_t keptMusic) {
  return Make(app, kLoad, slot, 0, keptMusic);
}

TChange* TChange::CreateEvent(TGameWnd& app, int32_t fadeKind, int32_t direction, int32_t eventId, int32_t keptMusic) {
  return new TChange(app, kEvent, 0, fadeKind, direction, eventId, keptMusic);
}

TChange* TChange::CreateSave(TGameWnd& app, int32_t keptMusic) { return Make(app, kSave, 0, 0, keptMusic); }

TChange::TChange(TGameWnd& app, int32_t changeMode, int32_t saveSlot, int32_t fadeKind, int32_t direction,
                 int32_t event, int32_t kept)
    : TStateScene(app),
      fade(kFadeFrames, fadeKind, direction),
      mode(changeMode),
      keptMusic(kept),
      slot(saveSlot),
      eventId(event),
      picture(app.CaptureScreen(kPictureName)) {
  if (keptMusic != kNoMusic)
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kMusicSet))
      music = TDSound8::Get().CreateHandle(set->GetSound(keptMusic), false, 1.0f, kFadeFrames);
  SetUpdate(&TChange::Step);
  SetDraw(&TChange::Paint);
}

TChange::~TChange() = default;

SceneResult TChange::Step() {
  const bool musicFading = music && music->Fade();
  const bool pictureFading = fade.Step();
  if (musicFading || pictureFading) return kSceneRunning;
  ReleaseSounds();
  QueueNext();
  return kSceneFinished;
}

void TChange::ReleaseSounds() {
  TDSound8& sound = TDSound8::Get();
  if (music) {
    music->Stop(true);
    music.Reset();
    if (TCountedPtr<TSoundSet8> set = sound.Find(kMusicSet)) set->Unload(keptMusic);
  }
  if (TCountedPtr<TSoundSet8> set = sound.Find(kEffectSet))
    for (int32_t id : kKeptEffects) set->Unload(id);
}

// A change that leads nowhere would leave the scene stack empty, which ends the game: the title
// follows instead.
void TChange::QueueNext() {
  if (QueueByMode()) return;
  std::fprintf(stderr, "scene change of mode %d (event %d) leads nowhere: back to the title\n", mode, eventId);
  QueueTitle();
}

bool TChange::QueueByMode() {
  switch (mode) {
    case kTitle: return QueueTitle();
    case kLoad: return QueueLoadedSave();
    case kEvent: return QueueEvent();
    case kSave: return QueueSaveScreen();
    default: return false;
  }
}

bool TChange::QueueTitle() {
  if (TScene* title = app.GetServices().CreateTitle(app)) app.PushScene(title);
  return true;
}

// A save that does not load leads back to the title without a word.
bool TChange::QueueLoadedSave() {
  TGameData* data = TGameData::Instance();
  if (!data || data->Load(slot, kOwnChapter) != 0) return QueueTitle();
  data->SetRunStart(plat::timeGetTime());
  app.PushScene(TFieldScene::CreateFromSave(app, data->GetSavePointId()));
  return true;
}

bool TChange::QueueEvent() { return CreateEventScene(app, eventId); }

bool TChange::QueueSaveScreen() {
  TScene* screen = GetChangeScenes().CreateSaveScreen(app);
  if (screen) app.PushScene(screen);
  return screen != nullptr;
}

void TChange::Paint() {
  if (!d3d || !d3d->CheckDevice() || TD3D8::BeginScene() < 0) return;
  TSprite8::SetBlendMode(0);
  picture.Draw(0, 0, kScreenWidth, kScreenHeight, false);
  TSprite8::SetBlendMode(1);
  fade.Draw(0, 0, kScreenWidth, kScreenHeight);
  TD3D8::EndScene();
  d3d->Present();
}
