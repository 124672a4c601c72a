// What effects ask of the stage they are spawned onto. The field's stage implements it; effects
// sit below the field and reach it only through this.
#pragma once
#include <cstdint>

class TEffectActor;
class TEffectManager;
class TFrame8;

class TEffectStage {
 public:
  // The "Scene" frame that shots and their follow-up effects hang under.
  virtual TFrame8* GetSceneFrame() = 0;
  // The stage's own root frame: the view reference of particles and shots.
  virtual TFrame8* GetRootFrame() = 0;
  // The manager that follow-up effects are spawned through.
  virtual TEffectManager* GetEffectManager() = 0;
  // The actor with that object id (the player's or a live enemy's), or null.
  virtual TEffectActor* FindActor(int32_t objectId) = 0;

 protected:
  ~TEffectStage() = default;
};
