// The enemies of a battle stage as the field sees them: the area's enemy manager, which lies above
// the field and implements this. The stage makes one through the field's services when it loads a
// battle map, and owns it.
#pragma once
#include <cstdint>

class TFieldActor;

class TStageEnemies {
 public:
  virtual ~TStageEnemies() = default;

  // Each live enemy's tick; enemies that are done leave.
  virtual void Update() = 0;
  // Each live enemy's panel over the 3D picture.
  virtual void DrawOverlays() = 0;
  virtual void ApplyGravity() = 0;
  virtual void UpdateShadows() = 0;
  // The live enemy of that id, or null.
  virtual TFieldActor* Find(uint32_t id) = 0;
};
