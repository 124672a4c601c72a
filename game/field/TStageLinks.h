// What an object takes from the stage it is attached to. The stage implements it; the objects keep
// the pointers it hands out for as long as they stay attached.
#pragma once

class TCamera;
class TCollisionMesh;
class TEffectManager;
class TFrame8;

class TStageLinks {
 public:
  virtual ~TStageLinks() = default;

  // The frame the stage's objects hang under (the field scene's "Scene" frame).
  virtual TFrame8* GetSceneFrame() = 0;
  virtual TCollisionMesh* GetCollision() = 0;
  virtual TEffectManager* GetEffectManager() = 0;
  // Null when the stage has no camera.
  virtual TCamera* GetCamera() = 0;
};
