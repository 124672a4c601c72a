#include "game/field/TStageA.h"

#include "game/effect/TimeStopState.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/field/TFieldScene.h"
#include "game/field/THitTable.h"

TStageA::TStageA(const TMapData& map, TFieldScene& scene) : TStage(scene) { Load(map); }

TStageA::~TStageA() { THitTable::Unload(); }

bool TStageA::Update() {
  if (player && player->IsMenuKeyTriggered()) {
    OpenFieldMenu();
    return true;
  }
  if (player) player->Actor().Update();
  if (enemyManager) enemyManager->Update();
  switch (UpdateMapObjects()) {
    case kEndField: return false;
    case kStopTick: return true;
    default: break;
  }
  if (player) GetCollision()->TestActorHits(player->Actor());
  RunPhysics(!GetTimeStop(), false);
  UpdateView();
  return true;
}

void TStageA::Draw() {
  if (enemyManager) enemyManager->DrawGauges();
  if (player) player->DrawHud();
  if (TMiniMap* map = GetScene().GetMiniMap()) map->Draw(408, 312);
}

void TStageA::SetupPlayer() {
  if (player) player->LoadModel();
}
