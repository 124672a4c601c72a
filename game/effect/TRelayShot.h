// A hit shot of mesh bullets that hands on its follow-up entries: at the end of its flight it
// spawns its follow-up kind (a piece effect) at the head, gives it the shot's owner and every
// relay entry in order as a key, which the follow-up spawns when it breaks.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "game/effect/THitShot.h"

class TRelayShot : public THitShot<TMeshBullet> {
 public:
  TRelayShot(const std::string& asset, TEffectKind followUp, int32_t lifetime, int32_t count, uint8_t hidden,
             const plat::D3DXVECTOR3& scale);

  // The shot's Init; the stage kept.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* onStage, const plat::D3DCOLORVALUE& colour) override;
  // The follow-up kind copied; no entries.
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new TRelayShot(*this)); }
  // The follow-up at the head's world position, facing along the head's third world axis, under
  // the stage's scene frame in white at scale one; a kind that Spawn does not give is skipped with
  // its entries. Nothing happens without a stage.
  void Burst() override;

  // Appends one relay entry to the four lists.
  void AddFollowUp(TEffectKind kind, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& scale,
                   const plat::D3DCOLORVALUE& colour);
  TEffectKind GetFollowUpKind() const { return followUp; }

  // The relay entries: entry i is (kinds[i], positions[i], scales[i], colours[i]); append to all
  // four together.
  std::vector<TEffectKind> kinds;
  std::vector<plat::D3DXVECTOR3> positions;
  std::vector<plat::D3DXVECTOR3> scales;
  std::vector<plat::D3DCOLORVALUE> colours;

 protected:
  TRelayShot(const TRelayShot& other);

 private:
  TEffectStage* stage = nullptr;
  TEffectKind followUp;
};
