#include "game/ui/TInn.h"

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/shell/TGameWnd.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kMusicSet = 2;
// Ticks of the rest tune per millisecond of it.
constexpr double kTicksPerMs = 0.0625;

}  // namespace

TInn::TInn(TGameWnd& application, TInnField* field)
    : TScreen(application, false),
      fade(kFadeFrames, TColorFade::kBlack, TColorFade::kToColour),
      background(app.CaptureScreen(kCaptureName)),
      sounds(TDSound8::Get().Find(kMusicSet), GetDataFolder() + "subset/inn_bgm.tbl") {
  SetPhase(&TInn::FadeToBlack);
  const int32_t musicId = field ? field->GetStageMusicId() : -1;
  if (musicId != -1)
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(kMusicSet))
      music = TDSound8::Get().CreateHandle(set->GetSound(musicId), false, 1.0f, kMusicSteps);
  if (field) field->RestorePlayer();
  if (TGameData* data = TGameData::Instance()) data->RecoverAll(-1);
}

TInn::TInn(TGameWnd& application, std::unique_ptr<TInnField> field) : TInn(application, field.get()) {
  ownedField = std::move(field);
}

TInn::~TInn() = default;

// One step of the music's fade; true while it still moves.
bool TInn::StepMusic() { return music && music->Fade(); }

SceneResult TInn::FadeToBlack() {
  StepMusic();
  if (fade.Step()) return kSceneRunning;
  TSoundSet8* set = sounds.GetSoundSet();
  wait = set ? static_cast<int32_t>(set->GetLength(kRestTune) * kTicksPerMs) : 0;
  if (set) set->Play(kRestTune);
  SetPhase(&TInn::Rest);
  return kSceneRunning;
}

// The rest lasts the tune, and at least until the music has come down.
SceneResult TInn::Rest() {
  const bool fading = StepMusic();
  --wait;
  if (wait >= 0 || fading) return kSceneRunning;
  if (TSoundSet8* set = sounds.GetSoundSet()) set->Stop(kRestTune);
  if (music) music = TDSound8::Get().CreateHandle(music->GetSound(), true, 1.0f, kMusicSteps);
  SetPhase(&TInn::FadeBack);
  return kSceneRunning;
}

SceneResult TInn::FadeBack() {
  const bool fading = StepMusic();
  if (fade.StepBack() || fading) return kSceneRunning;
  music.Reset();
  EndPhases();
  return kSceneFinished;
}

void TInn::DrawScreen() {
  TSprite8::SetBlendMode(0);
  background.Draw(0, 0, 640, 480, false);
  TSprite8::SetBlendMode(1);
  fade.Draw(0, 0, 640, 480);
}
