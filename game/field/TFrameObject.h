// The base of everything that stands on a stage: an own frame in the scene graph and an object id.
// The model faces along the frame's -z axis, so "front" is -z and "right" is -x.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "platform/gfx/D3DXMath.h"

class TFrameObject {
 public:
  explicit TFrameObject(uint32_t kind);
  virtual ~TFrameObject();
  TFrameObject(const TFrameObject&) = delete;
  TFrameObject& operator=(const TFrameObject&) = delete;

  virtual void Update() = 0;

  uint32_t GetKind() const { return kind; }
  uint32_t GetObjectId() const { return objectId; }
  TFrame8* GetFrame() const { return frame.Get(); }
  TCountedPtr<TFrame8> GetFramePtr() const { return frame; }
  TFrame8* GetSceneFrame() const { return sceneFrame; }

  // The local position (in the parent's space).
  plat::D3DXVECTOR3 GetPosition() const;
  void SetPosition(const plat::D3DXVECTOR3& position);
  void Move(float dx, float dy, float dz);
  plat::D3DXVECTOR3 GetFront() const;
  plat::D3DXVECTOR3 GetRight() const;

  // Turns the object to face the target: aimed relative to the reference (null: the scene frame),
  // then half a turn about y so that the model's front points at it.
  void FaceObject(const TFrameObject* target, const TFrame8* reference, int32_t mode);
  // One step toward the target: 10 degrees per unit of sideways offset, snapping to face it when
  // the step turns past it.
  void TurnTowardObject(const TFrameObject* target);
  void TurnToward(const TFrame8* target);

 protected:
  TCountedPtr<TFrame8> frame;  // empty until a derived constructor installs one
  TFrame8* sceneFrame = nullptr;

 private:
  void FaceFrame(const TFrame8* target, const TFrame8* reference, int32_t mode);
  // Whether the target's sideways offset in this frame's space is on the left (x <= 0); false
  // when the offset cannot be computed.
  bool TargetSide(const TFrame8* target, bool& left, float& offset) const;

  uint32_t kind;
  uint32_t objectId;
};
