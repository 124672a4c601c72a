#include "game/field/TSavePoint.h"

#include "common/TMesh8.h"
#include "game/effect/TEffectManager.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/MapZones.h"
#include "game/field/StagePlayer.h"
#include "game/field/TStage.h"

using plat::D3DXVECTOR3;

namespace {

const plat::D3DCOLORVALUE kArrivalColour{0.4f, 0.4f, 0.8f, 1.0f};

plat::D3DXMATRIX At(const D3DXVECTOR3& p) {
  plat::D3DXMATRIX m;
  plat::D3DXMatrixIdentity(&m);
  m.m[3][0] = p.x;
  m.m[3][1] = p.y;
  m.m[3][2] = p.z;
  return m;
}

}  // namespace

TSavePoint::TSavePoint(TStage* stage, const TSavePointRecord& record)
    : TMapObject(stage), number(record.number), position(record.position),
      frame(CreateNamedFrame("savPointFrm", At(record.position))) {
  TMesh8 mesh = TMesh8::Load("effect/savepoint.msh");
  mesh.SetRenderMode(kRenderMode, TMesh8::kAllParts);
  frame->AddMesh(mesh);
  stage->GetSceneFrame()->AddChild(frame);
}

TSavePoint::~TSavePoint() { frame->Detach(); }

int32_t TSavePoint::Test() {
  TStage& stage = *GetStage();
  TStagePlayer* player = stage.GetPlayer();
  if (!player) return kNothingHappened;
  if (!(vec3::Length(vec3::Sub(position, PlayerPosition(*player))) < kReach)) {
    player->LeaveSavePoint();
    return kNothingHappened;
  }
  if (player->EnterSavePoint(static_cast<int32_t>(number)))
    if (TEffectManager* effects = stage.GetEffectManager()) {
      D3DXVECTOR3 at;
      frame->GetPosition(&at);
      effects->Spawn(kArrivalEffect, at, D3DXVECTOR3(0, 0, 1), *stage.GetSceneFrame(), stage.GetEffectStage(),
                     kArrivalColour, D3DXVECTOR3(1, 1, 1));
    }
  return kNothingHappened;
}
