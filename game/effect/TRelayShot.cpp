#include "game/effect/TRelayShot.h"

#include <algorithm>

#include "game/effect/TEffectManager.h"

using plat::D3DXVECTOR3;

TRelayShot::TRelayShot(const std::string& asset, TEffectKind kind, int32_t frames, int32_t count, uint8_t hide,
                       const D3DXVECTOR3& scale)
    : THitShot<TMeshBullet>(asset, frames, count, hide, scale), followUp(kind) {}

TRelayShot::TRelayShot(const TRelayShot& other) : THitShot<TMeshBullet>(other), followUp(other.followUp) {}

void TRelayShot::Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
                      TEffectStage* onStage, const plat::D3DCOLORVALUE& newColour) {
  THitShot<TMeshBullet>::Init(newId, position, lookAt, parent, onStage, newColour);
  stage = onStage;
}

void TRelayShot::Burst() {
  if (!stage || !stage->GetEffectManager() || !stage->GetSceneFrame()) return;
  const TFrame8& head = *GetHeadFrame();
  D3DXVECTOR3 at, facing;
  head.GetWorldPosition(&at);
  head.GetWorldAxis(&facing, 3);
  TCountedPtr<TEffect> next = stage->GetEffectManager()->Spawn(followUp, at, facing, *stage->GetSceneFrame(), stage,
                                                               {1, 1, 1, 1}, D3DXVECTOR3(1, 1, 1));
  if (!next) return;
  next->SetOwnerId(GetOwnerId());
  // The lists are public; a caller that left them uneven hands on only the whole entries.
  const size_t entries = std::min({kinds.size(), positions.size(), scales.size(), colours.size()});
  for (size_t i = 0; i < entries; ++i) next->AddKey(kinds[i], positions[i], scales[i], colours[i]);
}

void TRelayShot::AddFollowUp(TEffectKind kind, const D3DXVECTOR3& position, const D3DXVECTOR3& scale,
                             const plat::D3DCOLORVALUE& colour) {
  kinds.push_back(kind);
  positions.push_back(position);
  scales.push_back(scale);
  colours.push_back(colour);
}
