#include "game/field/TMapTransition.h"

#include "game/field/TFadeInMode.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/shell/TGameWnd.h"
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

using plat::D3DCOLORVALUE;

namespace {

constexpr int32_t kMusicSet = 2;
constexpr float kFadeTarget = 1.0f;

TCountedPtr<TSoundSet8> MusicSet(TFieldScene& scene) {
  TDSound8* sound = scene.GetApp().GetSound();
  return sound ? sound->Find(kMusicSet) : TCountedPtr<TSoundSet8>();
}

D3DCOLORVALUE WithAlpha(const D3DCOLORVALUE& colour, float alpha) { return {colour.r, colour.g, colour.b, alpha}; }

}  // namespace

TMapTransition::TMapTransition(TStage& from, const TExitTarget& target, const D3DCOLORVALUE& colour, int32_t frames)
    : fade(frames, WithAlpha(colour, 0.0f), WithAlpha(colour, 1.0f), ""),
      oldMusicId(from.GetMusicId()),
      oldClearColour(from.GetClearColour()),
      newClearColour(0xFFFFFFFF),
      mapData(target.destination, &target.startPosition, &target.startFacing, &target.startCamera),
      scene(from.GetScene()) {
  newClearColour = mapData.GetFog().color;
  PrepareMusic();
}

TMapTransition::~TMapTransition() {
  // The new stage holds the music by now; the cross-fade's own reference is let go.
  if (holdsNewMusic)
    if (TCountedPtr<TSoundSet8> music = MusicSet(scene)) music->Unload(newMusicId);
}

void TMapTransition::PrepareMusic() {
  if (oldMusicId == -1) return;
  TCountedPtr<TSoundSet8> music = MusicSet(scene);
  if (!music) return;
  TDSound8& sound = *scene.GetApp().GetSound();
  newMusicId = music->FindId(mapData.GetHeader().musicName);
  if (newMusicId == oldMusicId) {
    mapData.SetKeepMusic(true);
    return;
  }
  outFade = sound.CreateHandle(music->GetSound(oldMusicId), false, kFadeTarget, kMusicFadeFrames);
  if (newMusicId == -1) return;
  mapData.SetKeepMusic(true);
  music->Load(newMusicId);
  holdsNewMusic = true;
  if (TCountedPtr<TSound8> fresh = music->GetSound(newMusicId)) fresh->SetVolume(music->GetMinVolume());
  // The new stage leaves the music alone, so the cross-fade starts it, from silence.
  music->PlayLoop(newMusicId);
  inFade = sound.CreateHandle(music->GetSound(newMusicId), true, kFadeTarget, kMusicFadeFrames);
}

bool TMapTransition::StepMusic() {
  if (!outFade) return true;
  if (outFade->Fade()) return false;
  outFade->Stop(true);
  outFade.Reset();
  // The old stage dropped its reference when it went; with the fade gone nothing holds the sound.
  if (TCountedPtr<TSoundSet8> music = MusicSet(scene)) music->PurgeUnused();
  return true;
}

bool TMapTransition::StepFadeIn() { return !inFade || !inFade->Fade(); }

int32_t TMapTransition::FadeOut() {
  StepMusic();
  StepFadeIn();
  if (!fade.Step()) {
    phase = &TMapTransition::FadeIn;
    scene.ChangeStage(mapData);
  }
  return 0;
}

int32_t TMapTransition::FadeIn() {
  const bool musicGone = StepMusic();
  const bool fadedIn = StepFadeIn();
  if (fade.StepBack() || !musicGone) return 0;
  return fadedIn ? 1 : 0;
}

void TMapTransition::Draw() { DrawUnderFade(scene, IsFadingIn() ? newClearColour : oldClearColour, fade); }

TCountedPtr<TFieldMode> CreateMapTransition(TStage& from, const TExitTarget& target, uint32_t kind) {
  if (kind > 1) return TCountedPtr<TFieldMode>();
  const float c = kind == 0 ? 0.0f : 1.0f;
  return TCountedPtr<TFieldMode>(new TMapTransition(from, target, {c, c, c, 1.0f}, TMapTransition::kFrames));
}
