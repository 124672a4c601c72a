// What every shot has, whatever its bullets: the motion controller it owns, the lifetime of its
// head and the drain of its trail, and the frame-by-frame course of a flight. A shot is a chain of
// bullets: the head is moved by the controller while every other bullet steps into the place the
// bullet ahead held the frame before, so the chain draws a trail. When the head's lifetime runs
// out (or, for hit shots, its hit volume ends) the head is parked out of sight and the trail walks
// into its place, one bullet a frame, until the shot finishes.
//
// Spawning code reaches every shot through this class (the effect manager hands out TEffect):
// SetMotion (required), then optionally SetLifetime, and for hit shots a hit volume made under
// GetHeadFrame and given to AttachHit.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TBullet.h"
#include "game/effect/TEffect.h"
#include "game/effect/TEffectMover.h"

class TShotEffect : public TEffect {
 public:
  static constexpr int32_t kEndless = -1;

  // Takes the controller with the holder's rules (TMoverHolder); the shot owns it from then on
  // when the source did.
  virtual void SetMotion(TMoverHolder& source);
  void SetMotion(TMoverHolder&& source) { SetMotion(source); }
  // Frames the head still flies; -1 flies until killed. Any other value below 1 ends the head on
  // the next Update.
  void SetLifetime(int32_t frames);
  // The head bullet's frame: the parent of the hit volume that flies with it.
  virtual TFrame8* GetHeadFrame() const = 0;
  // The same frame shared, for whatever follows the head and must keep its frame alive.
  virtual TCountedPtr<TFrame8> GetHeadFramePtr() const = 0;
  // Every bullet frame looks along the direction (up (0, 1, 0)).
  virtual void LookAlong(const plat::D3DXVECTOR3& direction) = 0;
  // Every bullet frame turns about the axis by the angle, in its own space (a spin about its own axis).
  virtual void RotateParts(const plat::D3DXVECTOR3& axis, float angle) = 0;
  // Hit shots fly the volume with their head and end with it; other shots keep no volume.
  virtual void AttachHit(const TCountedPtr<TEffectHitVolume>& hit);

  // One frame of the flight; false once the shot has finished.
  bool Update() override;

  virtual size_t GetBulletCount() const = 0;
  int32_t GetLifetime() const { return lifetime; }
  int32_t GetDrain() const { return drain; }
  bool HasEnded() const { return ended != 0; }
  bool IsHidden() const { return hidden != 0; }
  TEffectMover* GetMotion() const { return motion.Get(); }
  // The holder itself (SetMotion given its own holder changes nothing).
  TMoverHolder& GetMotionHolder() { return motion; }
  TFrame8* GetView1() const { return view1; }
  TFrame8* GetView2() const { return view2; }

 protected:
  // count bullets (at least 1: a shot of none throws my_error naming the asset); the frame
  // "ShotRoot" is the effect's frame.
  TShotEffect(const std::string& asset, int32_t lifetime, int32_t count, uint8_t hidden);
  // For Clone: the frame copied, lifetime, drain, ended and hidden too; no controller, no views.
  TShotEffect(const TShotEffect& other);

  // The two view references from the stage (none without one).
  void TakeViews(TEffectStage* stage);

  // The trail from the tail forward: each bullet animates, follows the one ahead and turns.
  virtual void MoveTrail() = 0;
  // The head: Step and Face.
  virtual void MoveHead() = 0;
  virtual void HideHead() = 0;
  // Hit shots: whether the head may fly on after this frame's count, what ends the flight and
  // what happens when the trail has drained.
  virtual bool HeadMayFly() { return true; }
  virtual void OnHeadEnded() {}
  virtual void OnDrained() {}

  // Taken for the bullets while an update moves them.
  TFrameSpace8 bulletSpace;
  TMoverHolder motion;
  int32_t lifetime;
  int32_t drain;
  uint8_t ended = 0;
  uint8_t hidden;
  TFrame8* view1 = nullptr;
  TFrame8* view2 = nullptr;
};

// The shot behind an effect, or null when the effect is not a shot.
TShotEffect* AsShot(TEffect* effect);
