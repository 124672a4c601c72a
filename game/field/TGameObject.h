// The base of every object that moves on a stage: a ".tob" model in its frame, a blob shadow on
// the ground under it, vertical motion under gravity and the ground state that the stage's
// collision step writes back every tick. It collides as a sphere of radius bodyHeight whose lowest
// point is the object's position.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "game/field/TFrameObject.h"
#include "game/field/TStageLinks.h"

// Render-mode codes of the model and the shadow.
constexpr uint32_t kModelRenderMode = 2100;
constexpr uint32_t kShadowRenderMode = 3000;
constexpr uint32_t kHiddenRenderMode = 0;

// A frame "shadow" holding the blob-shadow mesh flattened to zero height and `size` wide.
TCountedPtr<TFrame8> CreateBlobShadow(float size);
// Lays the shadow frame on the ground at the point, aligned with the ground's normal, just above it.
void LayShadow(TFrame8& shadow, const plat::D3DXVECTOR3& groundPoint, const plat::D3DXVECTOR3& normal);

class TGameObject : public TFrameObject {
 public:
  // Loads the model folder + name + ".tob" and the shadow mesh; a missing file throws my_error.
  TGameObject(uint32_t kind, float bodyHeight, float shadowSize, uint8_t shadowVisible, uint8_t pushable,
              float gravity, const std::string& name);
  // A new object like the source: its kind, shadow, body, speed limit and pushable flag, its current
  // gravity as the default, the model loaded again and a new id; nothing of its motion or ground.
  TGameObject(const TGameObject& source);
  TGameObject& operator=(const TGameObject&) = delete;
  ~TGameObject() override;

  // The folder of ".tob" model files, one for the whole program.
  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

  virtual bool IsAirborne() = 0;
  // Hangs the object and its shadow under the stage's scene frame and registers it with the
  // stage's collision; the ground is taken to be at the object's current height.
  virtual void Attach(TStageLinks* stage);
  virtual void Detach();
  virtual void OnWallHit() {}
  // Stops upward (or zero) vertical motion; false when the object is falling.
  virtual bool StopRising();
  virtual void StopVertical();
  // One tick of vertical motion, the speed held within maxVerticalSpeed, and the move.
  virtual void ApplyGravity();
  // Lays the shadow on the ground under the object, along the ground's normal.
  virtual void UpdateShadow();
  virtual void PlaySe(int32_t) {}
  virtual void PlayVoice(int32_t) {}
  virtual void SetMode(int32_t newMode) { mode = static_cast<uint32_t>(newMode); }

  void SetShadowVisible(uint8_t visible);
  void SetVelocityY(float v) { velocity.y = v; }

  void GetGroundState(float& height, uint8_t& below, uint8_t& wall, uint8_t& onGround, uint8_t& ceiling,
                      plat::D3DXVECTOR3& normal) const;
  // Stores the collision step's results and reacts: a landing (ignored while airborne) restores
  // the default gravity and stops vertical motion, a ceiling stops rising, a wall calls OnWallHit.
  void SetGroundState(float height, uint8_t below, uint8_t wall, uint8_t onGround, uint8_t ceiling,
                      const plat::D3DXVECTOR3& normal);

  uint32_t GetMode() const { return mode; }
  float GetBodyHeight() const { return bodyHeight; }
  float GetMaxVerticalSpeed() const { return maxVerticalSpeed; }
  bool IsPushable() const { return pushable != 0; }
  float GetGravity() const { return gravity; }
  float GetDefaultGravity() const { return defaultGravity; }
  void SetGravity(float g) { gravity = g; }
  const plat::D3DXVECTOR3& GetVelocity() const { return velocity; }
  uint32_t GetSurfaceCode() const { return surfaceCode; }
  void SetSurfaceCode(uint32_t code) { surfaceCode = code; }
  uint32_t GetNeighbourCount() const { return neighbourCount; }
  void SetNeighbourCount(uint32_t count) { neighbourCount = count; }
  bool IsShadowVisible() const { return shadowVisible != 0; }
  TFrame8* GetShadowFrame() const { return shadowFrame.Get(); }
  TMesh8* GetModel() const { return model; }
  TCollisionMesh* GetCollision() const { return collision; }
  TEffectManager* GetEffectManager() const { return effectManager; }
  TCamera* GetCamera() const { return camera; }
  TStageLinks* GetStage() const { return stage; }

 protected:
  uint32_t mode = 0;
  uint8_t shadowVisible;
  float shadowSize;
  TCountedPtr<TFrame8> shadowFrame;
  float bodyHeight;  // also the radius of the collision sphere
  float maxVerticalSpeed;
  float groundHeight;
  uint8_t groundBelow = 0, wallHit = 0, landed = 0, ceilingHit = 0;
  plat::D3DXVECTOR3 groundNormal{0, 1, 0};
  uint8_t pushable;
  float defaultGravity;
  float gravity;
  plat::D3DXVECTOR3 velocity;  // per tick; y is the vertical speed
  uint32_t surfaceCode = 0;
  int32_t voiceTimer = 0;
  uint32_t neighbourCount = 0;
  TMesh8* model = nullptr;  // inside the object's frame
  TCollisionMesh* collision = nullptr;
  TEffectManager* effectManager = nullptr;
  TCamera* camera = nullptr;
  TStageLinks* stage = nullptr;

 private:
  void CreateModel(const std::string& name);
};
