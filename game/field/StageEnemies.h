// The enemies of a battle stage as the field sees them: the area's enemy manager, which lies above
// the field and implements this. The stage makes one through the field's services when it loads a
// battle map, and owns it.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TFieldActor;

class TStageEnemies {
 public:
  virtual ~TStageEnemies() = default;

  // Each live enemy's tick; enemies that are done leave, and spawn points fill the gaps.
  virtual void Update() = 0;
  // Each live enemy's HP gauge over the 3D picture.
  virtual void DrawGauges() = 0;
  virtual void ApplyGravity() = 0;
  // Each live enemy takes the ground the collision found (its shadow laid on it).
  virtual void CheckGround() = 0;
  // The live enemy of that object id (its handle), or null.
  virtual TFieldActor* Find(uint32_t id) = 0;
  // Whether an enemy of the enemy id was defeated on this stage (left with its HP below 0), and
  // how many were: the length of the list of defeated enemy ids.
  virtual bool Contains(uint32_t enemyId) const = 0;
  virtual uint32_t GetDefeatedCount() const = 0;
  // The handles of the live enemies whose body centre lies nearer to the point than the radius, in
  // handle order, at most `capacity`; the rest of the first `capacity` entries is -1.
  virtual void FindInRadius(const plat::D3DXVECTOR3& point, float radius, int32_t* handles,
                            uint32_t capacity) const = 0;
};
