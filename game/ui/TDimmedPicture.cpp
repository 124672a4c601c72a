#include "game/ui/TDimmedPicture.h"

#include "game/shell/TGameWnd.h"
#include "game/ui/TPanelColumn.h"
#include "platform/gfx/D3D8Types.h"

TDimmedPicture::TDimmedPicture(TGameWnd& app, const char* captureName, float to, int32_t frames)
    : picture(app.CaptureScreen(captureName)), board(LoadSprite("", plat::D3DPOOL_MANAGED, 0)) {
  SetWay(0.0f, to, frames);
}

void TDimmedPicture::SetWay(float from, float to, int32_t frames) {
  alpha.Set(from, to, frames, 0);
  ShowAlpha();
}

void TDimmedPicture::ShowAlpha() { board.SetColor(BlackAlpha(alpha.value), -1); }

bool TDimmedPicture::Darken() {
  alpha.Forward();
  ShowAlpha();
  return alpha.step >= alpha.frames;
}

bool TDimmedPicture::Lighten() {
  alpha.Backward();
  ShowAlpha();
  return alpha.step == 0;
}

void TDimmedPicture::Draw() {
  TSprite8::SetBlendMode(0);
  picture.Draw(0, 0, 640, 480, false);
  TSprite8::SetBlendMode(1);
  board.DrawRect(0, 0, 640, 480, false);
}
