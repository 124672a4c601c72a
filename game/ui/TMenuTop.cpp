#include "game/ui/TMenuTop.h"

#include "common/TD3D8.h"
#include "game/data/GameGlobals.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/ui/MenuSubjects.h"
#include "game/ui/TChoiceMenu.h"
#include "game/ui/TEquipMenu.h"
#include "game/ui/TItemMenu.h"
#include "game/ui/TMenuSave.h"
#include "game/ui/TMiniMapMenu.h"
#include "game/ui/TSkillMenu.h"
#include "game/ui/TStatusMenu.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TDSound8.h"
#include "sound/TSoundHandle8.h"
#include "sound/TSoundSet8.h"

namespace {

template <class Screen>
TScene* Open(TGameWnd& app, TMenuTop& menu) {
  return new Screen(app, menu);
}

struct TMenuEntry {
  const char* sprite;
  TScene* (*open)(TGameWnd& app, TMenuTop& menu);
};

// Top to bottom.
constexpr TMenuEntry kEntries[TMenuTop::kEntryCount] = {
    {"sprite.ptx/window02_a", &Open<TItemMenu>},
    {"sprite.ptx/window02_b", &Open<TEquipMenu>},
    {"sprite.ptx/window02_c", &Open<TSkillMenu>},
    {"sprite.ptx/window02_d", &Open<TStatusMenu>},
    {"sprite.ptx/window02_l", &Open<TTwoChoiceMenu>},
    {"sprite.ptx/window02_e", &Open<TMiniMapMenu>},
    {"sprite.ptx/window02_f", &Open<TMenuSave>},
    {"sprite.ptx/window02_j", &Open<TThreeChoiceMenu>},
};

// Panel i slides from -194 + 8i to 16 + 8i; each starts when the one above has done 6 of its 10
// steps, and the way out ends a tick after the last panel is back.
constexpr TStagger kWalk{6, 5, true};

std::vector<TPanelShape> PanelShapes() {
  std::vector<TPanelShape> shapes;
  for (int32_t n = 0; n < TMenuTop::kEntryCount; ++n) shapes.push_back({kEntries[n].sprite, -194 + 8 * n, 16 + 8 * n});
  return shapes;
}

}  // namespace

TMenuTop::TMenuTop(TGameWnd& application, TMenuField& fieldScene)
    : TScreen(application, true),
      panels(PanelShapes(), 0, kWalk),
      overlay(LoadSprite("", plat::D3DPOOL_MANAGED, 0)),
      background(app.CaptureScreen(kCaptureName)),
      sounds(TDSound8::Get().Find(0), GetDataFolder() + "subset/menu_se.tbl"),
      field(fieldScene) {
  SetPhase(&TMenuTop::FadeIn);
  overlayAlpha.Set(0.0f, 0.5f, 10, 0);
  SetOverlayColour();
  PlaySe(menu_se::kDecide);
  const int32_t musicId = field.GetStageMusicId();
  if (musicId != -1)
    if (TCountedPtr<TSoundSet8> set = TDSound8::Get().Find(2))
      music = TDSound8::Get().CreateHandle(set->GetSound(musicId), false, kDuckTo, kFadeSteps);
}

TMenuTop::TMenuTop(TGameWnd& application, std::unique_ptr<TMenuField> fieldScene)
    : TMenuTop(application, *fieldScene) {
  ownedField = std::move(fieldScene);
}

TMenuTop::~TMenuTop() = default;

void TMenuTop::DrawBackground() {
  TSprite8::SetBlendMode(0);
  background.Draw(0, 0, 640, 480, false);
  TSprite8::SetBlendMode(1);
  overlay.DrawRect(0, 0, 640, 480, false);
}

void TMenuTop::RefreshBackground() { background = app.CaptureScreen(kCaptureName, &field.GetScene()); }

void TMenuTop::PlaySe(int32_t id) { PlayFrom(sounds, id); }

void TMenuTop::StepMusic() {
  if (music) music->Fade();
}

void TMenuTop::SetOverlayColour() { overlay.SetColor(BlackAlpha(overlayAlpha.value), -1); }

SceneResult TMenuTop::FadeIn() {
  StepMusic();
  overlayAlpha.Forward();
  SetOverlayColour();
  if (overlayAlpha.step >= overlayAlpha.frames) SetPhase(&TMenuTop::SlideIn);
  return kSceneRunning;
}

SceneResult TMenuTop::SlideIn() {
  StepMusic();
  if (panels.SlideIn()) SetPhase(&TMenuTop::Select);
  return kSceneRunning;
}

SceneResult TMenuTop::Select() {
  StepMusic();
  const int32_t before = panels.GetCursor();
  if (!panels.MoveCursor(keys)) {
    if (keys.Pressed(kButtonB | kButtonE)) {
      Close();
    } else if (keys.Pressed(kButtonA)) {
      PlaySe(menu_se::kDecide);
      openScreen = true;
      SetPhase(&TMenuTop::SlideOut);
    }
  }
  if (panels.GetCursor() != before) PlaySe(menu_se::kCursor);
  panels.StepHighlight();
  return kSceneRunning;
}

// The music must have come down before it may go back up.
void TMenuTop::Close() {
  if (music && !music->IsDone()) return;
  if (music) music = TDSound8::Get().CreateHandle(music->GetSound(), true, 1.0f, kFadeSteps);
  SetPhase(&TMenuTop::SlideOut);
  PlaySe(menu_se::kCancel);
}

SceneResult TMenuTop::SlideOut() {
  StepMusic();
  if (!panels.SlideOut()) return kSceneRunning;
  if (!openScreen) {
    SetPhase(&TMenuTop::FadeOut);
    return kSceneRunning;
  }
  openScreen = false;
  SetPhase(&TMenuTop::SlideIn);
  panels.FinishHighlight();
  OpenEntry();
  return kSceneRunning;
}

void TMenuTop::OpenEntry() {
  if (TScene* screen = kEntries[panels.GetCursor()].open(app, *this)) app.SetScene(screen);
}

SceneResult TMenuTop::FadeOut() {
  const bool fading = music && music->Fade();
  overlayAlpha.Backward();
  if (overlayAlpha.step == 0 && !fading) {
    EndPhases();
    music.Reset();
    field.RefreshHud();
  }
  SetOverlayColour();
  return IsFinished() ? kSceneFinished : kSceneRunning;
}

void TMenuTop::DrawScreen() {
  DrawBackground();
  panels.Draw();
}

TMenuScreen::TMenuScreen(TGameWnd& application, TMenuTop& menu, bool repeatingKeys)
    : TScreen(application, repeatingKeys), parent(menu) {}

void TMenuScreen::DrawScreen() {
  parent.DrawBackground();
  DrawWindows();
}
