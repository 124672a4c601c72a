#include "game/field/TVillager.h"

#include <iterator>

#include "game/effect/MtRandomState.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/MapZones.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/field/TStage.h"

using plat::D3DXVECTOR3;

namespace {

constexpr float kTalkReach = 0.5f;  // beyond the two bodies
constexpr uint32_t kFacesPlayer = 1;
constexpr int32_t kTalkingMode = 2;
const D3DXVECTOR3 kUp(0, 1, 0);

bool IsZero(const D3DXVECTOR3& v) { return v.x == 0 && v.y == 0 && v.z == 0; }

}  // namespace

TVillager::TVillager(const VillagerRecord& r)
    : TGameObject(r.kind, r.bodyHeight, r.shadowSize, r.shadowVisible, r.pushable, r.gravity, r.modelName),
      scriptName(r.scriptName),
      position(r.position),
      facing(r.facing),
      infoValue1(r.infoValue1),
      faceMode(r.faceMode),
      infoValue2(r.infoValue2) {}

void TVillager::Update() {
  ResetIdleHandler();
  (this->*modeHandler)();
}

void TVillager::Attach(TStageLinks* links) {
  TGameObject::Attach(links);
  talkStage = dynamic_cast<TStage*>(links);
  SetPosition(position);
  if (IsZero(facing)) {
    const float x = static_cast<float>(GenRand());
    const float z = static_cast<float>(GenRand());
    facing = vec3::Unit(D3DXVECTOR3(x, 0, z));
  }
  GetFrame()->LookAt(facing, kUp);
}

void TVillager::SetMode(int32_t newMode) {
  static constexpr Handler kModeHandlers[] = {&TVillager::IdleStep, &TVillager::IdleStep, &TVillager::FacePlayerStep};
  TGameObject::SetMode(newMode);
  const auto m = static_cast<uint32_t>(newMode);
  modeHandler = m < std::size(kModeHandlers) ? kModeHandlers[m] : &TVillager::IdleStep;
}

bool TVillager::CheckTalk() {
  TStagePlayer* player = talkStage ? talkStage->GetPlayer() : nullptr;
  if (talking || !player || !player->IsExamineKeyTriggered()) return false;
  const TFieldActor& body = player->Actor();
  const D3DXVECTOR3 d = vec3::Sub(GetPosition(), body.GetPosition());
  if (!(vec3::Length(d) < body.GetBodyHeight() + GetBodyHeight() + kTalkReach)) return false;
  if (CosBetween(body.GetFront(), vec3::Unit(d)) < kCosTalkLimit) return false;
  talking = 1;
  if (faceMode == kFacesPlayer) SetMode(kTalkingMode);
  return true;
}

void TVillager::EndTalk() {
  talking = 0;
  SetMode(0);
}

void TVillager::IdleStep() {
  if (model) model->AdvanceMotion(true, 1.0f);
}

void TVillager::FacePlayerStep() {
  IdleStep();
  if (TStagePlayer* player = talkStage ? talkStage->GetPlayer() : nullptr) TurnTowardObject(&player->Actor());
}

void TVillager::EnsureMode0() {
  if (GetMode() != 0) SetMode(0);
}
