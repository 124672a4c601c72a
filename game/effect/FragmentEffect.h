// A piece: debris that strikes. It shows up (stuck to a target character if it has one), and when
// its wait ends, or its target is no longer held stunned or has gone, its owner delivers an attack
// at its position and plays a sound, once; then it breaks and falls like any debris.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "game/effect/TSmashEffect.h"

class TPieceEffect : public TSmashEffect {
 public:
  // Arguments other than the sound, attack kind and offset are the debris's. Attack kind 0 strikes
  // with the sound only.
  TPieceEffect(const std::string& meshName, int32_t soundId, uint32_t waitLimit, uint32_t timeStep, float pieceSpeed,
               float gravity, float fade, uint32_t pieceMode, uint8_t alpha, uint16_t attackKind,
               const plat::D3DXVECTOR3& attackOffset, const plat::D3DXVECTOR3& scale);

  bool Update() override;
  // The debris's Init, then the spawn colour on the whole frame tree.
  void Init(int32_t id, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& colour) override;
  std::unique_ptr<TEffect> Clone() const override;
  // The character whose attack this is, and the one the piece sticks to (-2: none).
  void SetOwnerId(int32_t id) override { ownerId = id; }
  void SetCasterId(int32_t id) override { ownerId = id; }
  void SetTargetId(int32_t id) override { targetId = id; }

  int32_t GetOwnerId() const { return ownerId; }
  int32_t GetTargetId() const { return targetId; }
  uint16_t GetAttackKind() const { return attackKind; }
  bool HasStruck() const { return done != 0; }

 private:
  // For Clone: no owner, no target, not struck.
  TPieceEffect(const TPieceEffect& other);
  void Strike();

  int32_t ownerId = -2;
  int32_t targetId = -2;
  uint8_t done = 0;
  int32_t soundId;
  uint16_t attackKind;
  plat::D3DXVECTOR3 attackOffset;
};
