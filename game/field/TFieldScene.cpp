#include "game/field/TFieldScene.h"

#include "common/TD3D8.h"
#include "common/TFrame8.h"
#include "common/TRenderModeTable.h"
#include "common/my_error.h"
#include "game/data/TGameData.h"
#include "game/data/TSvpTable.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TColorFade.h"
#include "game/effect/TEffectManager.h"
#include "game/field/FieldHud.h"
#include "game/field/FieldServices.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFadeInMode.h"
#include "game/field/TFieldActor.h"
#include "game/field/TStage.h"
#include "game/field/TStageHolder.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "sound/TDSound8.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kTargetAndDepth = 3;
// The whole button history and the further state words: nothing held through a fade acts at once.
constexpr int32_t kClearAllInput = static_cast<int32_t>(0x80000001u);
// From the colour to clear.
constexpr int32_t kFadeFromColour = 0x0F00;

}  // namespace

TFieldScene* TFieldScene::CreateFromSave(TGameWnd& app, uint32_t savePointId) {
  const TSvpRecord& savePoint = *TSvpTable::Find(savePointId);
  std::unique_ptr<TFieldScene> scene(new TFieldScene(app));
  scene->stage = TStageHolder().CreateFromSavePoint(savePoint, *scene);
  scene->StartOpeningFade();
  return scene.release();
}

TFieldScene* TFieldScene::CreateForMap(TGameWnd& app, const std::string& mapName, const D3DXVECTOR3* start,
                                       const D3DXVECTOR3* facing, const D3DXVECTOR3* camera) {
  std::unique_ptr<TFieldScene> scene(new TFieldScene(app));
  scene->stage = TStageHolder().CreateFromName(mapName, *scene, start, facing, camera);
  scene->StartOpeningFade();
  return scene.release();
}

TFieldScene::TFieldScene(TGameWnd& app)
    : TStateScene(app),
      sceneFrame(CreateNamedFrame("Scene", IdentityMatrix())),
      effectManager(new TEffectManager(&BuildPrototypes)),
      hud(GetFieldServices().CreateHud(*this)),
      miniMap(new TMiniMap) {}

TFieldScene::~TFieldScene() {
  if (player)
    if (TGameData* data = TGameData::Instance()) data->StorePlayerState(player->GetState());
  stage.reset();
  player.Reset();
  miniMap.Reset();
  hud.Reset();
  mode.Reset();
  effectManager.Reset();
  sceneFrame.Reset();
}

void TFieldScene::StartOpeningFade() {
  SetMode(TCountedPtr<TFieldMode>(new TFadeInMode(*this, TColorFade::kBlack, kFadeFromColour, kOpeningFadeFrames)));
}

void TFieldScene::Resume() {
  TStateScene::Resume();
  skipNextDraw = 0;
}

void TFieldScene::SetMode(const TCountedPtr<TFieldMode>& newMode) {
  mode = newMode;
  SetUpdate(&TFieldScene::UpdateMode);
  SetDraw(&TFieldScene::DrawMode);
  Resume();
}

void TFieldScene::SetPlayer(const TCountedPtr<TStagePlayer>& newPlayer) { player = newPlayer; }

void TFieldScene::ChangeStage(const TMapData& map) {
  stage.reset();
  stage = TStageHolder().CreateFromMapData(map, *this);
  if (sound) sound->PurgeUnused();
  stage->Update();
}

void TFieldScene::RebuildPlayer(uint32_t member) {
  TGameData* data = TGameData::Instance();
  if (data) data->SetCurrentMember(member);
  const bool hadPlayer = player.Get() != nullptr;
  TPlayerCarry carry;
  if (hadPlayer) {
    carry = player->SaveState();
    player->Actor().Detach();
  }
  player = GetFieldServices().CreatePlayerChar(*this, member);
  if (stage) stage->SetPlayer(player.Get());
  if (!player) return;
  if (stage) {
    player->Actor().Attach(stage.get());
    stage->SetupPlayer();
  }
  if (hadPlayer) player->RestoreState(carry);
  if (data) data->DropUnusableSkills(player->GetMember(), player->GetWeaponId());
  if (hud) hud->RefreshForNewPlayer(*player);
}

void TFieldScene::RefreshHud() {
  if (hud && player) hud->Refresh(*player);
}

SceneResult TFieldScene::UpdateStage() {
  if (!stage) return kSceneFinished;
  return stage->Update() ? kSceneRunning : kSceneFinished;
}

void TFieldScene::DrawStage() {
  if (skipNextDraw) {
    skipNextDraw = 0;
    return;
  }
  if (!d3d || !d3d->CheckDevice()) return;
  TD3D8::Clear(stage ? stage->GetClearColour() : 0xFFFFFFFF, kTargetAndDepth, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() < 0) return;
  sceneFrame->Draw(view, IdentityMatrix());
  TRenderModeTable::FlushAll();
  if (stage) stage->Draw();
  TD3D8::EndScene();
  d3d->Present();
}

SceneResult TFieldScene::UpdateMode() {
  // The mode may replace itself (a transition started while another ends): keep it alive meanwhile.
  const TCountedPtr<TFieldMode> running = mode;
  if (running && running->Update() == 1 && mode.SharesWith(running)) EnterStageState();
  return kSceneRunning;
}

void TFieldScene::DrawMode() {
  if (mode) mode->Draw();
}

void TFieldScene::EnterStageState() {
  mode.Reset();
  SetUpdate(&TFieldScene::UpdateStage);
  SetDraw(&TFieldScene::DrawStage);
  if (input) input->Clear(kClearAllInput);
  Resume();
}
