#include "game/ui/TFieldMenuLink.h"

#include <memory>

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/data/TAccessoryTable.h"
#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TGauge.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TPlayerSubjects.h"

TFieldMenuLink::~TFieldMenuLink() = default;

TScene& TFieldMenuLink::GetScene() { return scene; }

int32_t TFieldMenuLink::GetStageMusicId() const {
  const TStage* stage = scene.GetStage();
  return stage ? stage->GetMusicId() : -1;
}

void TFieldMenuLink::RebuildPlayer(uint32_t member) { scene.RebuildPlayer(member); }

void TFieldMenuLink::RefreshHud() { scene.RefreshHud(); }

const TStatusSheetSubject* TFieldMenuLink::GetStatusSheet() {
  TStagePlayer* player = scene.GetPlayer();
  if (!player) return nullptr;
  if (auto* character = dynamic_cast<TPlayerChar*>(player)) return &characterSheet.emplace(*character);
  sheet.state = player->GetState();
  return &sheet;
}

std::optional<TMesh8> TFieldMenuLink::LoadPartyMemberModel() {
  const TGameData* data = TGameData::Instance();
  const THrdefRecord* hero = THrdefTable::Find(data ? data->GetCurrentMember() : 0);
  if (!hero || hero->modelName.empty()) return std::nullopt;
  return ::LoadPartyMemberModel();
}

TFieldHudParts& TFieldMenuLink::Hud() {
  if (auto* parts = dynamic_cast<TFieldHudParts*>(scene.GetHud())) return *parts;
  if (!spareHud) spareHud = TCountedPtr<TFieldHudParts>(new TFieldHudParts());
  return *spareHud;
}

TGlyphTable& TFieldMenuLink::GetGlyphTable() { return *Hud().GetGlyphTable(); }
TGauge& TFieldMenuLink::GetGauge() { return *Hud().GetGauge(); }
TSkillRing& TFieldMenuLink::GetSkillRing() { return *Hud().GetSkillRing(); }

void TFieldMenuLink::UpdateGauge() {
  if (auto* character = dynamic_cast<TPlayerChar*>(scene.GetPlayer())) GetGauge().Update(TPlayerSubjects(*character));
}

TPlayerChar* TFieldMenuLink::TLivePlayer::Character() const { return dynamic_cast<TPlayerChar*>(scene.GetPlayer()); }

TPlayerState TFieldMenuLink::TLivePlayer::BlockState() const {
  TPlayerState state;
  if (const TGameData* data = TGameData::Instance()) {
    const TCharBlock& block = data->GetCharBlock(data->GetCurrentMember());
    state.member = data->GetCurrentMember();
    state.weaponId = block.weaponId;
    state.accessoryA = block.accessoryA;
    state.accessoryB = block.accessoryB;
  }
  return state;
}

uint32_t TFieldMenuLink::TLivePlayer::GetMember() const { return GetState().member; }
uint32_t TFieldMenuLink::TLivePlayer::GetWeaponId() const { return GetState().weaponId; }

void TFieldMenuLink::TLivePlayer::SetWeapon(uint32_t id) {
  if (TPlayerChar* character = Character()) character->SetWeapon(id);
}

uint32_t TFieldMenuLink::TLivePlayer::GetEquipSlot(char slot) const {
  if (const TPlayerChar* character = Character()) {
    const TCountedPtr<TAccessoryEquip>& record = character->GetEquipSlot(slot);
    return record ? record->id : 0;
  }
  const TPlayerState state = BlockState();
  return slot == 'A' ? state.accessoryA : state.accessoryB;
}

void TFieldMenuLink::TLivePlayer::SetEquipSlot(uint32_t id, char slot) {
  if (TPlayerChar* character = Character()) character->SetEquipSlot(TAccessoryTable::GetShared(id), slot);
}

bool TFieldMenuLink::TLivePlayer::IsAtSavePoint() const {
  const TPlayerChar* character = Character();
  return character && character->IsAtSavePoint();
}

int32_t TFieldMenuLink::TLivePlayer::GetSavePointId() const {
  const TPlayerChar* character = Character();
  return character ? character->GetSavePointId() : -1;
}

TPlayerState TFieldMenuLink::TLivePlayer::GetState() const {
  const TStagePlayer* stagePlayer = scene.GetPlayer();
  return stagePlayer ? stagePlayer->GetState() : BlockState();
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
