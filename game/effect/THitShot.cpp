#include "game/effect/THitShot.h"

void THitLink::Attach(const TCountedPtr<TEffectHitVolume>& volume) {
  if (volume.Get() != hit.Get()) hit = volume;
  if (hit) ownerId = static_cast<int32_t>(hit->GetOwnerId());
}

bool THitLink::IsLive() {
  if (!hit || hit->IsActive()) return true;
  hit.Reset();
  return false;
}

void THitLink::EndHeld() {
  if (hit && hit->IsActive()) hit->End();
}

template class THitShot<TAddBullet>;
template class THitShot<TAlphaCellBullet>;
template class THitShot<TAddCellBullet>;
template class THitShot<TAlphaBullet>;
template class THitShot<TAddMeshBullet>;
template class THitShot<TMeshBullet>;
