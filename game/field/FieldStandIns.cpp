#include "game/field/FieldStandIns.h"

#include "game/data/TGameData.h"
#include "game/data/THrdefTable.h"
#include "game/field/FieldHud.h"
#include "game/field/TVillager.h"

using plat::D3DXVECTOR3;

namespace {

constexpr uint32_t kPlayerKind = 1;

class THudStandIn : public TFieldHud {
 public:
  void Refresh(TStagePlayer&) override {}
  void RefreshForNewPlayer(TStagePlayer&) override {}
  void ResetMessages() override {}
  void PushWait(int32_t) override {}
  void PushText(const std::string&) override {}
  void PushStolenItem(uint32_t) override {}
  void PushStolenMoney(uint32_t) override {}
};

std::string ModelOf(uint32_t member) { return THrdefTable::Find(member)->modelName; }

}  // namespace

TPlayerStandIn::TPlayerStandIn(uint32_t member)
    : TFieldActor(kPlayerKind, kBodyHeight, 1.0f, 1, 1, kGravity, ModelOf(member)), member(member) {}

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

TCountedPtr<TStagePlayer> TFieldStandIns::CreatePlayerChar(TFieldScene&, uint32_t member) {
  return TCountedPtr<TStagePlayer>(new TPlayerStandIn(member));
}

TCountedPtr<TStageEnemies> TFieldStandIns::CreateEnemyManager(TStage&, const TMapData&) {
  return TCountedPtr<TStageEnemies>(new TEnemiesStandIn);
}

void TEnemiesStandIn::FindInRadius(const D3DXVECTOR3&, float, int32_t* handles, uint32_t capacity) const {
  for (uint32_t i = 0; i < capacity; ++i) handles[i] = -1;
}

TCountedPtr<TFieldHud> TFieldStandIns::CreateHud(TFieldScene&) { return TCountedPtr<TFieldHud>(new THudStandIn); }

TCountedPtr<TVillager> TFieldStandIns::CreateVillager(const std::string&) { return TCountedPtr<TVillager>(); }
