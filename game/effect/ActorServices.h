// What effects ask of the characters that cause them or carry them. The actors implement it;
// effects sit below the actors and reach them only through this.
#pragma once
#include <cstdint>

class TEffectActor {
 public:
  // True while the character runs an action of its own (the blade trail starts when it ends).
  virtual bool IsInAction() const = 0;
  // Plays a sound of the character's sound-effect list; effects are heard only through it.
  virtual void PlaySe(int32_t soundId) = 0;

 protected:
  ~TEffectActor() = default;
};
