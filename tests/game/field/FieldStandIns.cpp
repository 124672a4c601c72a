#include "tests/game/field/FieldStandIns.h"

#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/field/FieldHud.h"
#include "game/field/TFieldScene.h"
#include "game/field/TVillager.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kPlayerKind = 1;
constexpr int32_t kEffectSet = 0;
constexpr int32_t kMusicSet = 2;
// An item and gold picked up, a save point reached.
constexpr int32_t kPlayerSounds[] = {215, 217, TPlayerStandIn::kSavePointSound};

class THudStandIn : public TFieldHud {
 public:
  void Refresh(TStagePlayer&) override {}
  void RefreshForNewPlayer(TStagePlayer&) override {}
  void ResetMessages() override {}
  void PushWait(int32_t) override {}
  void PushText(const std::string&) override {}
  void PushItem(uint32_t) override {}
  void PushMoney(uint32_t) override {}
  void PushStolenItem(uint32_t) override {}
  void PushStolenMoney(uint32_t) override {}
};

TCountedPtr<TSoundSet8> SoundSet(int32_t id) { return TDSound8::Get().Find(id); }

std::string ModelOf(uint32_t member) { return THrdefTable::Find(member)->modelName; }

}  // namespace

TPlayerStandIn::TPlayerStandIn(uint32_t member, const TInput* input)
    : TFieldActor(kPlayerKind, kBodyHeight, 1.0f, 1, 1, kGravity, ModelOf(member)), member(member), input(input) {
  if (TCountedPtr<TSoundSet8> effects = SoundSet(kEffectSet))
    for (int32_t id : kPlayerSounds) effects->Load(id);
}

TPlayerStandIn::~TPlayerStandIn() {
  if (TCountedPtr<TSoundSet8> effects = SoundSet(kEffectSet))
    for (int32_t id : kPlayerSounds) effects->Unload(id);
}

void TPlayerStandIn::PlaySe(int32_t id) {
  if (TCountedPtr<TSoundSet8> effects = SoundSet(kEffectSet)) effects->Play(id);
}

bool TPlayerStandIn::IsExamineKeyTriggered() { return input && input->IsPressed(kButtonA); }

bool TPlayerStandIn::EnterSavePoint(int32_t id) {
  savePointId = id;
  if (atSavePoint) return false;
  atSavePoint = 1;
  PlaySe(kSavePointSound);
  return true;
}

void TPlayerStandIn::LeaveSavePoint() {
  atSavePoint = 0;
  savePointId = -1;
}

void TPlayerStandIn::PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) {
  SetPosition(point);
  if (lookAt.x != 0 || lookAt.y != 0 || lookAt.z != 0) GetFrame()->LookAt(lookAt, D3DXVECTOR3(0, 1, 0));
  StopVertical();
}

uint32_t TPlayerStandIn::GetWeaponId() const {
  const TGameData* data = TGameData::Instance();
  return data ? data->GetCharBlock(member).weaponId : 0;
}

TPlayerState TPlayerStandIn::GetState() const {
  TPlayerState s;
  s.member = member;
  const TGameData* data = TGameData::Instance();
  if (!data) return s;
  const TCharBlock& b = data->GetCharBlock(member);
  s.level = b.level;
  s.experience = b.experience;
  s.maxHp = b.maxHp;
  s.hp = b.hp;
  s.maxMp = b.maxMp;
  s.mp = b.mp;
  s.ringGaugeMax = b.ringGaugeMax;
  s.ringGaugeUsed = b.ringGaugeUsed;
  s.params = b.params;
  s.elements = b.elements;
  s.weaponId = b.weaponId;
  s.accessoryA = b.accessoryA;
  s.accessoryB = b.accessoryB;
  s.timers = b.timers;
  s.bestCombos = b.bestCombos;
  return s;
}

TPlayerCarry TPlayerStandIn::SaveState() const {
  TPlayerCarry carry;
  carry.matrix = *GetFrame()->GetMatrix();
  carry.mode = GetMode();
  carry.gravity = GetGravity();
  carry.velocity = GetVelocity();
  uint8_t below, wall, onGround, ceiling;
  GetGroundState(carry.groundLevel, below, wall, onGround, ceiling, carry.groundNormal);
  return carry;
}

void TPlayerStandIn::RestoreState(const TPlayerCarry& carry) {
  GetFrame()->SetMatrix(carry.matrix);
  SetMode(static_cast<int32_t>(carry.mode));
  SetGravity(carry.gravity);
  velocity = carry.velocity;
  SetGroundState(carry.groundLevel, 0, 0, 0, 0, carry.groundNormal);
  UpdateShadow();
}

TGameOverStandIn::TGameOverStandIn(TGameWnd& app, int32_t music) : TStateScene(app), musicId(music) {
  SetUpdate(&TGameOverStandIn::End);
}

TGameOverStandIn::~TGameOverStandIn() {
  if (musicId == -1) return;
  if (TCountedPtr<TSoundSet8> music = SoundSet(kMusicSet)) music->Unload(musicId);
}

TCountedPtr<TStagePlayer> TFieldStandIns::CreatePlayerChar(TFieldScene& scene, uint32_t member) {
  return TCountedPtr<TStagePlayer>(new TPlayerStandIn(member, scene.GetApp().GetInput()));
}

TCountedPtr<TStageEnemies> TFieldStandIns::CreateEnemyManager(TStage&, const TMapData&) {
  return TCountedPtr<TStageEnemies>(new TEnemiesStandIn);
}

void TEnemiesStandIn::FindInRadius(const D3DXVECTOR3&, float, int32_t* handles, uint32_t capacity) const {
  for (uint32_t i = 0; i < capacity; ++i) handles[i] = -1;
}

TCountedPtr<TFieldHud> TFieldStandIns::CreateHud(TFieldScene&) { return TCountedPtr<TFieldHud>(new THudStandIn); }

TCountedPtr<TVillager> TFieldStandIns::CreateVillager(const std::string&) { return TCountedPtr<TVillager>(); }

TScene* TFieldStandIns::CreateGameOver(TGameWnd& app, int32_t musicId) { return new TGameOverStandIn(app, musicId); }
