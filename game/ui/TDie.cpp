#include "game/ui/TDie.h"

#include "game/data/GameGlobals.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TTitle.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kMusicSet = 2;
constexpr float kPictureX = 64, kPictureY = 176;
// The whole input history and the state words beside it.
constexpr int32_t kClearAllInput = static_cast<int32_t>(0x80000001u);

}  // namespace

TDie::TDie(TGameWnd& application, int32_t fieldMusicId)
    : TScreen(application, false),
      backdrop(app, kCaptureName, kDarkened, kFadeFrames),
      picture(LoadSprite("title.ptx/gameover", plat::D3DPOOL_MANAGED, 0)),
      fieldMusic(fieldMusicId),
      tunes(TDSound8::Get().Find(kMusicSet), GetDataFolder() + "subset/die_bgm.tbl") {
  pictureAlpha.Set(0.0f, 1.0f, kFadeFrames, 0);
  ShowPicture();
  if (fieldMusic != -1)
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kMusicSet))
      music = TDSound8::Get().CreateHandle(set->GetSound(fieldMusic), false, 1.0f, kMusicSteps);
  if (TInput* input = app.GetInput()) input->Clear(kClearAllInput);
  SetPhase(&TDie::Darken);
}

TDie::~TDie() = default;

bool TDie::StepMusic() { return music && music->Fade(); }

void TDie::EndMusic() {
  if (music) music->Stop(true);
  music.Reset();
}

void TDie::ShowPicture() { picture.SetColor(WhiteAlpha(pictureAlpha.value), -1); }

SceneResult TDie::Darken() {
  StepMusic();
  if (backdrop.Darken()) SetPhase(&TDie::Show);
  return kSceneRunning;
}

// The field's music, faded out, lets go of the reference kept for this screen before the
// game-over tune starts.
SceneResult TDie::Show() {
  const bool fading = StepMusic();
  ShowPicture();
  pictureAlpha.Forward();
  if (pictureAlpha.step < pictureAlpha.frames || fading) return kSceneRunning;
  if (music) {
    EndMusic();
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kMusicSet)) set->Unload(fieldMusic);
  }
  if (TSoundSet8* set = tunes.GetSoundSet()) set->Play(kTune);
  SetPhase(&TDie::Wait);
  return kSceneRunning;
}

SceneResult TDie::Wait() {
  StepMusic();
  if (!keys.Pressed(kButtonA | kButtonB)) return kSceneRunning;
  if (TSoundSet8* set = tunes.GetSoundSet())
    music = TDSound8::Get().CreateHandle(set->GetSound(kTune), false, 1.0f, kMusicSteps);
  pictureAlpha.Set(1.0f, 0.0f, kFadeFrames, 0);
  backdrop.SetWay(kDarkened, 1.0f, kFadeFrames);
  SetPhase(&TDie::Leave);
  return kSceneRunning;
}

// Only the new title stays behind this screen, which then ends.
SceneResult TDie::Leave() {
  const bool fading = StepMusic();
  ShowPicture();
  pictureAlpha.Forward();
  if (!backdrop.Darken() || fading) return kSceneRunning;
  EndMusic();
  auto* title = new TTitle(app);
  app.TrimScenes(1);
  app.PushScene(title);
  if (TInput* input = app.GetInput()) input->Clear(kClearAllInput);
  EndPhases();
  return kSceneFinished;
}

void TDie::DrawScreen() {
  backdrop.Draw();
  picture.DrawAt(kPictureX, kPictureY, false);
}
