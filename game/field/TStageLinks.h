// What an object takes from the stage it is attached to. The stage implements it; the objects keep
// the pointers it hands out for as long as they stay attached.
#pragma once
#include <cstdint>

class TCamera;
class TCollisionMesh;
class TEffectManager;
class TEffectStage;
class TFieldActor;
class TFrame8;
class TStageEnemies;

class TStageLinks {
 public:
  virtual ~TStageLinks() = default;

  // The frame the stage's objects hang under (the field scene's "Scene" frame).
  virtual TFrame8* GetSceneFrame() = 0;
  virtual TCollisionMesh* GetCollision() = 0;
  virtual TEffectManager* GetEffectManager() = 0;
  // Null when the stage has no camera.
  virtual TCamera* GetCamera() = 0;
  // The battle map's enemy manager; null on stages without enemies (the towns).
  virtual TStageEnemies* GetEnemyManager() const { return nullptr; }
  // The registered actor with that object id, or null; hit volumes name their owner by it.
  virtual TFieldActor* FindActor(uint32_t objectId) = 0;
  // The stage as the effects spawned for its objects see it.
  virtual TEffectStage* GetEffectStage() = 0;
  // The frame the view is taken from: the player reads its pad directions as seen from there.
  // Null when the stage has no view of its own.
  virtual TFrame8* GetViewFrame() { return nullptr; }
  // A conversation or a map object's script runs on the stage: the player's pad is not its own.
  virtual bool IsEventRunning() const { return false; }
};
