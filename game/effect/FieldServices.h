// What effects ask of the stage they are spawned onto and of the attack hit volumes that shots
// carry. The field implements both; effects sit below the field and reach it only through these.
#pragma once
#include <cstdint>

class TEffectActor;
class TEffectManager;
class TFrame8;

class TEffectStage {
 public:
  // The "Scene" frame that shots and their follow-up effects hang under.
  virtual TFrame8* GetSceneFrame() = 0;
  // The frame that particles, bolts and shots turn their flat faces toward: the camera's, or the
  // scene frame when the stage has no camera.
  virtual TFrame8* GetRootFrame() = 0;
  // The manager that follow-up effects are spawned through.
  virtual TEffectManager* GetEffectManager() = 0;
  // The actor with that object id (the player's or a live enemy's), or null.
  virtual TEffectActor* FindActor(int32_t objectId) = 0;

 protected:
  ~TEffectStage() = default;
};

// An attack hit volume as a shot sees it: the attacker made it under the shot's head frame, and the
// shot flies it, ends early once it has ended (it hit, or was cancelled) and ends it when the shot
// finishes. Held through counted pointers made for the field's own class, which disposes of it.
class TEffectHitVolume {
 public:
  // The object id of the actor that made the volume.
  virtual uint32_t GetOwnerId() const = 0;
  // False once the volume has ended; it hits nobody any more.
  virtual bool IsActive() const = 0;
  // Ends the volume.
  virtual void End() = 0;

 protected:
  ~TEffectHitVolume() = default;
};
