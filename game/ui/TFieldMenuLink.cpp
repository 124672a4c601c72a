#include "game/ui/TFieldMenuLink.h"

#include <memory>

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/ui/TMenuTop.h"

TScene& TFieldMenuLink::GetScene() { return scene; }

int32_t TFieldMenuLink::GetStageMusicId() const {
  const TStage* stage = scene.GetStage();
  return stage ? stage->GetMusicId() : -1;
}

void TFieldMenuLink::RebuildPlayer(uint32_t member) { scene.RebuildPlayer(member); }

void TFieldMenuLink::RefreshHud() { scene.RefreshHud(); }

const TStatusSheetSubject* TFieldMenuLink::GetStatusSheet() {
  const TStagePlayer* player = scene.GetPlayer();
  if (!player) return nullptr;
  sheet.state = player->GetState();
  return &sheet;
}

std::optional<TMesh8> TFieldMenuLink::LoadPartyMemberModel() {
  const TGameData* data = TGameData::Instance();
  const THrdefRecord* hero = THrdefTable::Find(data ? data->GetCurrentMember() : 0);
  if (!hero || hero->modelName.empty()) return std::nullopt;
  return ::LoadPartyMemberModel();
}

void TFieldMenuLink::RestorePlayer() {
  auto* player = dynamic_cast<TPlayerChar*>(scene.GetPlayer());
  if (!player) return;
  player->RecoverHp(player->GetMaxHp());
  player->RecoverMp(player->GetMaxSp());
  player->SetRingPointsUsed(0);
}

TScene* CreateFieldMenu(TGameWnd& app, TFieldScene& scene) {
  return new TMenuTop(app, std::make_unique<TFieldMenuLink>(scene));
}
