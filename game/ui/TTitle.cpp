#include "game/ui/TTitle.h"

#include "common/TD3D8.h"
#include "game/data/GameGlobals.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TSaveLoad.h"
#include "game/ui/TSelectContinueData.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSound8.h"
#include "sound/TSoundSet8.h"

namespace {

constexpr int32_t kEffectSet = 0, kVoiceSet = 1, kMusicSet = 2;
constexpr int32_t kFromColour = 0x0F00;

// The three items are bands of one picture, a quarter of its height each (the last quarter is
// not shown), drawn 256 × 64 one below the other.
constexpr float kBand = 0.25f;
constexpr float kItemX = 192, kItemWidth = 256, kItemHeight = 64;
constexpr float kItemY[TTitle::kItems] = {280, 331, 379};
constexpr float kLogoX = 192, kLogoY = 112;

bool logoShown = false;

TSprite8 ItemBand(int32_t n) {
  TSprite8 item = LoadSprite("title.ptx/menu", plat::D3DPOOL_MANAGED, 0);
  const float top = kBand * static_cast<float>(n), bottom = kBand * static_cast<float>(n + 1);
  for (int k = 0; k < 4; ++k) item.vertices[k].v = k < 2 ? top : bottom;
  return item;
}

}  // namespace

bool TTitle::LogoShown() { return logoShown; }

void TTitle::SetLogoShown(bool shown) { logoShown = shown; }

TTitle::TTitle(TGameWnd& application)
    : TScreen(application, false),
      fade(kFadeFrames, TColorFade::kBlack, kFromColour),
      background(LoadSprite("title.ptx/title", plat::D3DPOOL_MANAGED, 0)),
      items{ItemBand(0), ItemBand(1), ItemBand(2)},
      itemAlpha(kItems, kBright, kDim, kStart),
      logo(LoadSprite("title.ptx/hrwk_logo", plat::D3DPOOL_MANAGED, 0)),
      effects(TDSound8::Get().Find(kEffectSet), GetDataFolder() + "subset/title_se.tbl"),
      tunes(TDSound8::Get().Find(kMusicSet), GetDataFolder() + "subset/title_bgm.tbl") {
  logo.SetColor(WhiteAlpha(0.0f), -1);
  logoAlpha.Set(0.0f, 1.0f, kLogoFrames, 0);
  for (int32_t set : {kEffectSet, kVoiceSet, kMusicSet})
    if (TCountedPtr<TSoundSet8> found = TDSound8::Get().Find(set)) {
      found->SetMaxVolume(0);
      found->SetVolume(0);
    }
  SetItemColours();
  SetPhase(&TTitle::Wait);
}

TTitle::~TTitle() = default;

// From its start, at its full volume.
void TTitle::PlayMusic() {
  TSoundSet8* set = tunes.GetSoundSet();
  if (!set) return;
  if (TCountedPtr<TSound8> tune = set->GetSound(kMusic)) tune->SetVolume(tune->GetMaxVolume());
  set->Play(kMusic);
}

void TTitle::SetItemColours() {
  for (int32_t n = 0; n < kItems; ++n) items[n].SetColor(WhiteAlpha(itemAlpha.Value(n)), -1);
}

void TTitle::SetLogoColour() { logo.SetColor(WhiteAlpha(logoAlpha.value), -1); }

SceneResult TTitle::Wait() {
  if (++counter < kBlackTicks) return kSceneRunning;
  PlayMusic();
  counter = 0;
  if (logoShown)
    SetPhase(&TTitle::FadeIn);
  else
    SetPhase(&TTitle::LogoFadeIn);
  logoShown = true;
  return kSceneRunning;
}

SceneResult TTitle::LogoFadeIn() {
  SetLogoColour();
  logoAlpha.Forward();
  if (logoAlpha.step >= logoAlpha.frames) {
    counter = 0;
    SetPhase(&TTitle::LogoHold);
  }
  return kSceneRunning;
}

SceneResult TTitle::LogoHold() {
  if (++counter >= kLogoHold) {
    counter = 0;
    SetPhase(&TTitle::LogoFadeOut);
  }
  return kSceneRunning;
}

SceneResult TTitle::LogoFadeOut() {
  SetLogoColour();
  logoAlpha.Backward();
  if (logoAlpha.step == 0) SetPhase(&TTitle::FadeIn);
  return kSceneRunning;
}

SceneResult TTitle::FadeIn() {
  if (!fade.Step() || keys.Pressed(kButtonA)) {
    fade.Finish();
    counter = 0;
    SetPhase(&TTitle::Menu);
  }
  return kSceneRunning;
}

SceneResult TTitle::Menu() {
  ++counter;
  const int32_t before = cursor;
  if (keys.MoveRound(cursor, kItems, kButtonUp, kButtonDown)) {
    counter = 0;
  } else if (keys.Pressed(kButtonA)) {
    counter = 0;
    Choose();
  }
  if (cursor != before) PlayFrom(effects, title_se::kCursor);
  itemAlpha.Step(cursor);
  SetItemColours();
  if (counter >= kIdleTicks) {
    SetPhase(&TTitle::IdleFadeOut);
    counter = 0;
    if (TSoundSet8* set = tunes.GetSoundSet()) set->Stop(kMusic);
  }
  return kSceneRunning;
}

// Start and Load open their screen in front; the title waits in its menu underneath.
void TTitle::Choose() {
  switch (cursor) {
    case kStart:
      PlayFrom(effects, title_se::kStart);
      app.SetScene(TSelectContinueData::Create(app, GetChapterNo()));
      break;
    case kLoad:
      PlayFrom(effects, title_se::kLoad);
      app.SetScene(TSaveLoad::CreateLoad(app));
      break;
    default:
      PlayFrom(effects, title_se::kExit);
      if (TSoundSet8* set = tunes.GetSoundSet())
        music = TDSound8::Get().CreateHandle(set->GetSound(kMusic), false, 1.0f, kFadeFrames);
      SetPhase(&TTitle::Quit);
      break;
  }
}

SceneResult TTitle::IdleFadeOut() {
  if (fade.StepBack()) return kSceneRunning;
  if (++counter <= kIdleBlackTicks) return kSceneRunning;
  SetPhase(&TTitle::FadeIn);
  counter = 0;
  if (TSoundSet8* set = tunes.GetSoundSet()) set->Play(kMusic);
  return kSceneRunning;
}

SceneResult TTitle::Quit() {
  const bool fading = music && music->Fade();
  if (fade.StepBack() || fading) return kSceneRunning;
  if (music) music->Stop(true);
  music.Reset();
  EndPhases();
  return kSceneQuit;
}

bool TTitle::ShowsLogo() const {
  return InPhase(&TTitle::LogoFadeIn) || InPhase(&TTitle::LogoHold) || InPhase(&TTitle::LogoFadeOut);
}

void TTitle::BeforeScene() { TD3D8::Clear(0, plat::D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr); }

void TTitle::DrawScreen() {
  TSprite8::SetBlendMode(1);
  if (ShowsLogo()) {
    logo.DrawAt(kLogoX, kLogoY, false);
    return;
  }
  background.Draw(0, 0, 640, 480, false);
  for (int32_t n = 0; n < kItems; ++n) items[n].Draw(kItemX, kItemY[n], kItemWidth, kItemHeight, false);
  fade.Draw(0, 0, 640, 480);
}
