#include "game/ui/TYesNo.h"

#include <array>

#include "game/data/GameGlobals.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/UiServices.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

// The question drops from above, the Yes and No lines rise from below.
std::array<TWindowShape, 2> Windows(int32_t mode) {
  return {{{mode == TYesNo::kBackToTitle ? "sprite.ptx/window23" : "sprite.ptx/window24", 192, 192, -64, 176},
           {"sprite.ptx/window10", 283, 283, 480, 240}}};
}

constexpr TPlace kCursorPlace{12, 16};

}  // namespace

TYesNo::TYesNo(TGameWnd& application, int32_t dialogMode) : TYesNo(application, nullptr, dialogMode) {}

TYesNo::TYesNo(TGameWnd& application, TMenuTop& menu, int32_t dialogMode) : TYesNo(application, &menu, dialogMode) {}

TYesNo::TYesNo(TGameWnd& application, TMenuTop* menu, int32_t dialogMode)
    : TScreen(application, false),
      parent(menu),
      mode(dialogMode),
      windows(Windows(dialogMode)),
      cursorSprite(LoadSprite("sprite.ptx/cursor02", plat::D3DPOOL_MANAGED, 0)),
      overlay(LoadSprite("", plat::D3DPOOL_MANAGED, 0)),
      blackoutBoard(LoadSprite("", plat::D3DPOOL_MANAGED, 0)),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/menu_se.tbl") {
  bob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
  overlayAlpha.Set(0.0f, 0.5f, 10, 0);
  overlay.SetColor(BlackAlpha(0.0f), -1);
  blackout.Set(0.0f, 1.0f, kBlackoutFrames, 0);
  blackoutBoard.SetColor(BlackAlpha(0.0f), -1);
  if (parent) {
    SetPhase(&TYesNo::SlideIn);
  } else {
    background = app.CaptureScreen(kCaptureName);
    SetPhase(&TYesNo::FadeIn);
  }
}

TYesNo::~TYesNo() = default;

void TYesNo::PlaySe(int32_t id) { PlayFrom(sounds, id); }

int32_t TYesNo::MusicId() const { return parent ? parent->GetFieldScene().GetStageMusicId() : -1; }

SceneResult TYesNo::FadeIn() {
  overlayAlpha.Forward();
  overlay.SetColor(BlackAlpha(overlayAlpha.value), -1);
  if (overlayAlpha.step >= overlayAlpha.frames) SetPhase(&TYesNo::SlideIn);
  return kSceneRunning;
}

SceneResult TYesNo::SlideIn() {
  if (windows.Forward({kChoice, kQuestion})) SetPhase(&TYesNo::Select);
  return kSceneRunning;
}

SceneResult TYesNo::Select() {
  bob.Step();
  const int32_t before = cursor;
  SceneResult result = kSceneRunning;
  if (keys.Pressed(kButtonUp)) {
    cursor = cursor == kYes ? kNo : kYes;
  } else if (keys.Pressed(kButtonDown)) {
    cursor = cursor == kNo ? kYes : kNo;
  } else if (keys.Pressed(kButtonB) || (keys.Pressed(kButtonA) && cursor == kNo)) {
    PlaySe(menu_se::kCancel);
    SetPhase(&TYesNo::Close);
  } else if (keys.Pressed(kButtonA)) {
    PlaySe(menu_se::kDecide);
    result = Confirm();
  }
  if (cursor != before) PlaySe(menu_se::kToggle);
  return result;
}

// Back to the title: the music is kept loaded for the scene change to fade, and only the change
// stays on the stack (the menu and the field go, so nothing of them may be touched after the
// trim). Quitting: the picture goes black while the music fades out.
SceneResult TYesNo::Confirm() {
  const int32_t musicId = MusicId();
  TCountedPtr<TSoundSet8> musicSet = TDSound8::Get().Find(2);
  if (mode == kBackToTitle) {
    if (musicId != -1 && musicSet) musicSet->Load(musicId);
    TScene* change = GetUiServices().CreateTitleChange(app, musicId);
    app.TrimScenes(1);
    if (change) app.PushScene(change);
    EndPhases();
    return kSceneFinished;
  }
  if (musicId != -1 && musicSet)
    music = TDSound8::Get().CreateHandle(musicSet->GetSound(musicId), false, 1.0f, kMusicFadeSteps);
  SetPhase(&TYesNo::QuitFade);
  return kSceneRunning;
}

SceneResult TYesNo::Close() {
  if (!parent) {
    overlayAlpha.Backward();
    overlay.SetColor(BlackAlpha(overlayAlpha.value), -1);
  }
  const bool back = windows.Backward({kChoice, kQuestion});
  if (!back || (!parent && overlayAlpha.step != 0)) return kSceneRunning;
  EndPhases();
  return kSceneFinished;
}

SceneResult TYesNo::QuitFade() {
  blackoutBoard.SetColor(BlackAlpha(blackout.value), -1);
  const bool fading = music && music->Fade();
  blackout.Forward();
  if (blackout.step < blackout.frames || fading) return kSceneRunning;
  if (music) music->Stop(true);
  music.Reset();
  EndPhases();
  return kSceneQuit;
}

void TYesNo::DrawScreen() {
  if (parent) {
    parent->DrawBackground();
  } else {
    TSprite8::SetBlendMode(0);
    background.Draw(0, 0, 640, 480, false);
    TSprite8::SetBlendMode(1);
    overlay.DrawRect(0, 0, 640, 480, false);
  }
  windows[kQuestion].Draw();
  windows[kChoice].Draw();
  windows[kChoice].DrawAt(cursorSprite,
                          {kCursorPlace.dx + static_cast<int32_t>(bob.Value()), kCursorPlace.dy * (cursor + 1)});
  if (InPhase(&TYesNo::QuitFade)) blackoutBoard.DrawRect(0, 0, 640, 480, false);
}
