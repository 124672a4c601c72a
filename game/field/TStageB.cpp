#include "game/field/TStageB.h"

#include "common/TTexture8.h"
#include "game/field/FieldServices.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapObject.h"
#include "game/field/TVillager.h"

TStageB::TStageB(const TMapData& map, TFieldScene& scene) : TStage(scene) { Load(map); }

void TStageB::SetupPlayer() {
  if (player) player->LoadPlainModel();
}

bool TStageB::UpdateWalking() {
  if (player && player->IsMenuKeyTriggered()) {
    OpenFieldMenu();
    return true;
  }
  if (player) player->UpdateInTown();
  const bool chosen = UpdateObjects();
  const int32_t walk = UpdateMapObjects();
  if (walk == kEndField) return false;
  if (walk == kStopTick) return true;
  if (walk == kScriptRuns) SetTalking(true);
  RunPhysics(true, true);
  UpdateView();

  if (chosen) {
    mapEventObject = GetFieldServices().StartConversation(GetScene(), GetTalkTarget()->GetScriptName());
    EnterTalking();
  }
  if (walk == kScriptRuns) {
    // The map object has set the engine up itself; its result is not the stage's to read.
    mapEventObject = nullptr;
    EnterTalking();
  }
  return true;
}

void TStageB::UpdateWorld() {
  if (player) player->UpdateInTown();
  UpdateObjects();
  RunPhysics(true, true);
  UpdateView();
}

bool TStageB::UpdateTalking() {
  UpdateWorld();
  TFieldServices& services = GetFieldServices();
  if (services.RunScripts() & 1) {
    services.UpdateScriptObjects();
    return true;
  }
  EndTalk();
  const int32_t result = mapEventObject ? mapEventObject->GetResult() : 0;
  const bool askedForScene = mapEventObject && (result & kMapObjectStop) == kMapObjectStop;
  mapEventObject = nullptr;
  services.DestroyScriptEngine();
  TTexture8::Purge(2);
  if (askedForScene) return false;
  EnterWalking();
  return true;
}

void TStageB::DrawWalking() {
  if (player) player->DrawHud();
  if (TMiniMap* map = GetScene().GetMiniMap()) map->Draw(408, 312);
}

void TStageB::DrawTalking() {
  DrawWalking();
  GetFieldServices().DrawScriptObjects();
}

void TStageB::EnterTalking() {
  update = &TStageB::UpdateTalking;
  draw = &TStageB::DrawTalking;
}

void TStageB::EnterWalking() {
  update = &TStageB::UpdateWalking;
  draw = &TStageB::DrawWalking;
}
