// What effects ask of the characters that cause them or carry them. The actors implement it;
// effects sit below the actors and reach them only through this.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TEffectActor {
 public:
  // True while the character runs an action of its own (the blade trail starts when it ends).
  virtual bool IsInAction() const = 0;
  // Plays a sound of the character's sound-effect list; effects are heard only through it.
  virtual void PlaySe(int32_t soundId) = 0;
  // The position of the character's frame (its feet) in the stage's scene space.
  virtual plat::D3DXVECTOR3 GetFramePosition() const = 0;
  // The character's body height: homing shots aim that far above its feet.
  virtual float GetHeight() const = 0;
  // Hit points rise by the amount, at least 1, up to the maximum; the result is the maximum.
  virtual int32_t RecoverHp(int32_t amount) = 0;
  // The volume of the character's attack (the low 16 bits select the hit record) at the point
  // given in the space of the character's scene frame and hung there, registered on the stage as
  // the character's own attack volumes are; the caller keeps no reference.
  virtual void CreateAttackHitAt(uint32_t attackId, const plat::D3DXVECTOR3& point) = 0;

 protected:
  ~TEffectActor() = default;
};
