// What effects ask of the characters that cause them or carry them. The actors implement it;
// effects sit below the actors and reach them only through this.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TFrame8;

class TEffectActor {
 public:
  // True while the character runs an action of its own (the blade trail starts when it ends).
  virtual bool IsInAction() const = 0;
  // Plays a sound of the character's sound-effect list; effects are heard only through it.
  virtual void PlaySe(int32_t soundId) = 0;
  // The character's second state test (the player's: held in movement mode 16); a piece stuck to
  // the character waits while it holds.
  virtual bool IsStunned() const = 0;
  // The frame the character's objects hang under: its stage's scene frame.
  virtual TFrame8* GetSceneFrame() const = 0;
  // The character's place in its frame's parent space, and that place raised by its body height.
  virtual plat::D3DXVECTOR3 GetPosition() const = 0;
  virtual plat::D3DXVECTOR3 GetBodyCenter() const = 0;
  // Makes the hit volume of the attack (its low 16 bits pick the hit record), owned by the
  // character and kept among its volumes, under the parent at the world point.
  virtual void CreateAttackHit(uint32_t attackCode, TFrame8* parent, const plat::D3DXVECTOR3& position) = 0;
  // The character's body height: homing shots aim that far above its feet.
  virtual float GetHeight() const = 0;
  // Hit points rise by the amount, at least 1, up to the maximum; the result is the maximum.
  virtual int32_t RecoverHp(int32_t amount) = 0;

 protected:
  ~TEffectActor() = default;
};
