#include "game/ui/TScreen.h"

#include "common/TD3D8.h"
#include "platform/gfx/D3D8Types.h"
#include "sound/TSoundList8.h"
#include "sound/TSoundSet8.h"

TScreen::TScreen(TGameWnd& app, bool repeatingKeys) : TStateScene(app), keys(input) {
  if (repeatingKeys)
    SetUpdate(&TScreen::RunRepeating);
  else
    SetUpdate(&TScreen::RunPhase);
  SetDraw(&TScreen::DrawFrame);
}

void PlayFrom(const TSoundList8& list, int32_t id) {
  if (TSoundSet8* set = list.GetSoundSet()) set->Play(id);
}

SceneResult TScreen::RunPhase() { return phase ? (this->*phase)() : kSceneFinished; }

SceneResult TScreen::RunRepeating() {
  keys.TakeRepeat();
  return RunPhase();
}

void TScreen::DrawFrame() {
  if (!d3d || !d3d->CheckDevice()) return;
  BeforeScene();
  if (TD3D8::BeginScene() != plat::D3D_OK) return;
  DrawScreen();
  TD3D8::EndScene();
  d3d->Present();
}
