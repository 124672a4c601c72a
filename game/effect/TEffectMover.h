// Motion controllers: what moves the bullets of a shot each frame. The code that spawns a shot
// builds one, chooses its class and parameters and hands it to the shot, which owns it. The shot
// calls Step on its head bullet, Follow on every trailing bullet (toward the bullet ahead) and Face
// on each to turn it toward the view. This file holds the base, the straight mover and the movers
// that hold a point in another frame's space; the Bezier movers have their own file.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "platform/gfx/D3DXMath.h"

class TBullet;

class TEffectMover {
 public:
  virtual ~TEffectMover();

  // Turns the bullet; the two view references are the stage's scene frame and its root frame.
  virtual void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) = 0;
  // Moves the head bullet one frame.
  virtual void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) = 0;
  // Moves a trailing bullet: by default onto the bullet ahead.
  virtual void Follow(TBullet& bullet, const TBullet& ahead);

 protected:
  TEffectMover() = default;
};

// The holder through which a mover is handed to a shot, with the rules of the old auto-pointer:
// handing it on clears the giver's owns flag but leaves it the pointer, and the holder that owns
// the mover when it goes destroys it.
class TMoverHolder {
 public:
  TMoverHolder() = default;
  // Owns the mover unless it is null.
  explicit TMoverHolder(TEffectMover* mover) : owns(mover != nullptr), mover(mover) {}
  ~TMoverHolder();
  TMoverHolder(const TMoverHolder&) = delete;
  // Takes the source's mover. Itself: nothing. A different mover: the held one is destroyed when
  // owned, and the source's owns flag comes along. The same mover: owned if either owned it.
  TMoverHolder& operator=(TMoverHolder& source);

  TEffectMover* Get() const { return mover; }
  bool Owns() const { return owns; }

 private:
  bool owns = false;
  TEffectMover* mover = nullptr;
};

// Straight flight: the speed grows by the acceleration each frame and the position moves by minus
// the direction times the speed, so a negative speed flies along the direction.
class TFallMover : public TEffectMover {
 public:
  // The direction is normalised (a zero one stays zero).
  TFallMover(float speed, float acceleration, const plat::D3DXVECTOR3& position, const plat::D3DXVECTOR3& direction);

  void Face(TBullet&, TFrame8*, TFrame8*) override {}
  // The position becomes the bullet frame's local position.
  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  float GetSpeed() const { return speed; }
  float GetAcceleration() const { return acceleration; }
  const plat::D3DXVECTOR3& GetPosition() const { return position; }
  const plat::D3DXVECTOR3& GetDirection() const { return direction; }

 private:
  float speed;
  float acceleration;
  plat::D3DXVECTOR3 direction;
  plat::D3DXVECTOR3 position;
};

// Holds the head at a point given in a reference frame's space, so that it rides along with that
// frame; trailing bullets sit at the bullet ahead plus the offset.
class TSpinFollowMover : public TEffectMover {
 public:
  // The reference frame is not owned and has to outlive the mover; null stands for world space.
  TSpinFollowMover(TFrame8* reference, const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& offset);

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
  void Follow(TBullet& bullet, const TBullet& ahead) override;

  const plat::D3DXVECTOR3& GetPoint() const { return point; }
  const plat::D3DXVECTOR3& GetOffset() const { return offset; }
  TFrame8* GetReference() const { return reference; }

 protected:
  // The head's place this frame, in the reference frame's space.
  void PlaceAt(TBullet& bullet, const plat::D3DXVECTOR3& at) const;

  plat::D3DXVECTOR3 point;
  plat::D3DXVECTOR3 offset;
  TFrame8* reference;
};

// As the point follower, with the point shaken afresh every frame: three draws give each axis a
// step of -64..63 divided by that axis's jitter scale.
class TShakeMover : public TSpinFollowMover {
 public:
  TShakeMover(TFrame8* reference, const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& offset,
              const plat::D3DXVECTOR3& jitterScale);

  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  const plat::D3DXVECTOR3& GetJitterScale() const { return jitterScale; }

 private:
  plat::D3DXVECTOR3 jitterScale;
};

// The shaking follower that keeps its reference frame alive by sharing it (the aura of an element
// enemy rides on the enemy's own frame).
class THoldingShakeMover : public TShakeMover {
 public:
  THoldingShakeMover(const TCountedPtr<TFrame8>& reference, const plat::D3DXVECTOR3& point,
                     const plat::D3DXVECTOR3& offset, const plat::D3DXVECTOR3& jitterScale);

 private:
  TCountedPtr<TFrame8> held;
};

// The symmetric jitter of the random stream: ((GenRand >> 1) AND 127) - 64, in -64..63.
int32_t DrawJitter();

