// Hit shots whose flight ends in a burst: up to two follow-up effects spawned at the head, and the
// owner's attack volume made there with the owner's sound. The follow-ups get no owner id.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/effect/THitShot.h"

// What a burst spawns and makes, fixed by the kind's prototype.
struct TBurstParams {
  TEffectKind first = -1;   // -1: none
  TEffectKind second = -1;  // -1: none
  int32_t soundId = -1;     // -1: none; played by the owner
  uint16_t attackId = 0;    // 0: none; the owner's attack volume at the head
  plat::D3DXVECTOR3 hitOffset{0, 0, 0};
};

// How the follow-ups look, set to ones at every Init and changed by the spawning code after it.
struct TBurstLook {
  plat::D3DXVECTOR3 firstScale{1, 1, 1};
  plat::D3DCOLORVALUE firstColour{1, 1, 1, 1};
  plat::D3DCOLORVALUE secondColour{1, 1, 1, 1};
};

// At p, the head frame's world position: the first follow-up (its colour and scale) and the second
// (its colour, scale ones) under the stage's scene frame facing (0, 0, 1); then, with an attack
// and an owner still on the stage, the owner's attack volume at p + the hit offset and its sound.
// Nothing happens without a stage; a kind that Spawn does not give is skipped.
void RunBurst(TEffectStage* stage, const TFrame8& head, int32_t ownerId, const TBurstParams& params,
              const TBurstLook& look);

// What spawning code sets on a burst shot, whatever its bullet class.
class TBurstShotLook {
 public:
  void SetBurstScale(const plat::D3DXVECTOR3& scale) { look.firstScale = scale; }
  void SetBurstColor(const plat::D3DCOLORVALUE& colour) { look.firstColour = colour; }
  void SetSecondBurstColor(const plat::D3DCOLORVALUE& colour) { look.secondColour = colour; }
  const TBurstLook& GetLook() const { return look; }
  // The attack the owner makes at the burst instead of the prototype's (0: none).
  virtual void SetBurstAttack(uint16_t attackId) = 0;

 protected:
  TBurstShotLook() = default;
  ~TBurstShotLook() = default;

  TBurstLook look;
};

// The burst look of an effect that is a burst shot, or null.
TBurstShotLook* AsBurstShot(TEffect* effect);

template <class B>
class TBurstShot : public THitShot<B>, public TBurstShotLook {
 public:
  TBurstShot(const std::string& asset, TEffectKind first, TEffectKind second, int32_t lifetime, int32_t count,
             uint8_t hidden, int32_t soundId, uint16_t attackId, const plat::D3DXVECTOR3& hitOffset,
             const plat::D3DXVECTOR3& scale)
      : THitShot<B>(asset, lifetime, count, hidden, scale), params{first, second, soundId, attackId, hitOffset} {}

  // The shot's Init; the look back to ones and the stage kept.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* onStage, const plat::D3DCOLORVALUE& colour) override {
    THitShot<B>::Init(id, position, lookAt, parent, onStage, colour);
    this->look = TBurstLook();
    stage = onStage;
  }
  std::unique_ptr<TEffect> Clone() const override { return std::unique_ptr<TEffect>(new TBurstShot(*this)); }
  void Burst() override { RunBurst(stage, *this->GetHeadFrame(), this->GetOwnerId(), params, this->look); }
  void SetBurstAttack(uint16_t attackId) override { params.attackId = attackId; }

  const TBurstParams& GetParams() const { return params; }

 protected:
  // The parameters copied; the look and the stage come with Init.
  TBurstShot(const TBurstShot& other) : THitShot<B>(other), params(other.params) {}

 private:
  TEffectStage* stage = nullptr;
  TBurstParams params;
};

extern template class TBurstShot<TAddBullet>;
extern template class TBurstShot<TAlphaCellBullet>;
