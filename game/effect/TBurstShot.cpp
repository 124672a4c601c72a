#include "game/effect/TBurstShot.h"

#include "game/effect/ActorServices.h"
#include "game/effect/TEffectManager.h"

using plat::D3DXVECTOR3;

void RunBurst(TEffectStage* stage, const TFrame8& head, int32_t ownerId, const TBurstParams& params,
              const TBurstLook& look) {
  if (!stage) return;
  D3DXVECTOR3 p;
  head.GetWorldPosition(&p);
  TEffectManager* manager = stage->GetEffectManager();
  TFrame8* scene = stage->GetSceneFrame();
  const D3DXVECTOR3 ahead(0, 0, 1);
  if (manager && scene) {
    if (params.first != -1) manager->Spawn(params.first, p, ahead, *scene, stage, look.firstColour, look.firstScale);
    if (params.second != -1)
      manager->Spawn(params.second, p, ahead, *scene, stage, look.secondColour, D3DXVECTOR3(1, 1, 1));
  }
  if (params.attackId == 0) return;
  TEffectActor* owner = stage->FindActor(ownerId);
  if (!owner) return;
  owner->CreateAttackHit(params.attackId, owner->GetSceneFrame(),
                        D3DXVECTOR3(p.x + params.hitOffset.x, p.y + params.hitOffset.y, p.z + params.hitOffset.z));
  if (params.soundId != -1) owner->PlaySe(params.soundId);
}

TBurstShotLook* AsBurstShot(TEffect* effect) { return dynamic_cast<TBurstShotLook*>(effect); }

template class TBurstShot<TAddBullet>;
template class TBurstShot<TAlphaCellBullet>;
