#include "game/field/TFadeInMode.h"

#include "common/TD3D8.h"
#include "common/TRenderModeTable.h"
#include "common/TSprite8.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/shell/TGameWnd.h"

namespace {

constexpr float kScreenWidth = 640.0f, kScreenHeight = 480.0f;
constexpr uint32_t kTargetAndDepth = 3;

}  // namespace

void DrawUnderFade(TFieldScene& scene, uint32_t clearColour, TColorFade& fade) {
  TD3D8* device = scene.GetApp().GetD3D();
  if (!device || !device->CheckDevice()) return;
  TD3D8::Clear(clearColour, kTargetAndDepth, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() < 0) return;
  plat::D3DXMATRIX identity;
  plat::D3DXMatrixIdentity(&identity);
  scene.GetSceneFrame()->Draw(*scene.GetView(), identity);
  TRenderModeTable::FlushAll();
  TSprite8::SetBlendMode(1);
  fade.Draw(0, 0, kScreenWidth, kScreenHeight);
  TD3D8::EndScene();
  device->Present();
}

TFadeInMode::TFadeInMode(TFieldScene& s, int32_t fadeKind, int32_t direction, int32_t frames)
    : fade(frames, fadeKind, direction),
      clearColour(s.GetStage() ? s.GetStage()->GetClearColour() : 0xFFFFFFFF),
      scene(s) {}

int32_t TFadeInMode::Update() { return fade.Step() ? 0 : 1; }

void TFadeInMode::Draw() { DrawUnderFade(scene, clearColour, fade); }
