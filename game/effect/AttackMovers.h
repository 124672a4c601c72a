// The motion controllers that actors' attacks build for their shots: the general straight, shaking
// and Bezier motions with another choice of turning or bending, and two orbits that circle a fixed
// centre or a followed frame with a widening radius.
#pragma once
#include <cstdint>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/effect/TBezierMover.h"
#include "game/effect/TEffectMover.h"

class TEffectStage;

// Straight flight (speed, acceleration, the direction normalised), the bullet turned toward the view.
class TLineMover : public TFallMover {
 public:
  TLineMover(const plat::D3DXVECTOR3& start, const plat::D3DXVECTOR3& direction, float speed, float acceleration);

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
};

// The jitter around the axis point in the followed frame's space, which it shares; trailing bullets
// at the one ahead plus the offset; turned toward the view.
class TShakeFollowMover : public THoldingShakeMover {
 public:
  TShakeFollowMover(const TCountedPtr<TFrame8>& followed, const plat::D3DXVECTOR3& axis,
                    const plat::D3DXVECTOR3& offset, const plat::D3DXVECTOR3& jitterScale);
};

// The plain cubic curve from start to end (middle points: the bend point), not turned.
class TBezierPlainMover : public TBezierMover {
 public:
  TBezierPlainMover(float step, const plat::D3DXVECTOR3& bend, const plat::D3DXVECTOR3& start,
                    const plat::D3DXVECTOR3& end);
};

// start + w * bend.x + v * bend.y + f * bend.z in the chord's own axes: f along the chord, w =
// (0, 1, 0) x f and v = f x w, each normalised. A chord of no length (or straight up) has a zero
// axis, which leaves that part of the bend out.
plat::D3DXVECTOR3 ChordBendPoint(const plat::D3DXVECTOR3& start, const plat::D3DXVECTOR3& end,
                                 const plat::D3DXVECTOR3& bend);

// The homing curve toward a character found by id on the stage, not turned, bent in the chord's own
// axes. A character not found makes the end the start itself, and the whole path stays there.
class TBezierSeekMover : public TBezierHomingMover {
 public:
  TBezierSeekMover(float step, float homingStart, float heightOffset, const plat::D3DXVECTOR3& bend,
                   const plat::D3DXVECTOR3& start, uint32_t targetId, TEffectStage* stage);

  void Face(TBullet&, TFrame8*, TFrame8*) override {}
};

// The seeking curve, turned toward the view as it flies.
class TBezierTurningSeekMover : public TBezierSeekMover {
 public:
  using TBezierSeekMover::TBezierSeekMover;

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
};

// Circles a centre in the bullet frame's parent space: each step the angle grows by the angular
// speed and the radius by the growth, up to the limit; the head lies at (sin a * r, 0, cos a * r)
// from the centre. Turned toward the view.
class TOrbitMover : public TEffectMover {
 public:
  // The start angle in radians, the angular speed in degrees per step.
  TOrbitMover(const plat::D3DXVECTOR3& centre, float startAngle, float startRadius, float degreesPerStep,
              float growth, float limit, const plat::D3DXVECTOR3& offset);

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  float GetAngle() const { return angle; }
  float GetRadius() const { return radius; }
  float GetAngularSpeed() const { return angularSpeed; }
  float GetGrowth() const { return growth; }
  float GetLimit() const { return limit; }
  const plat::D3DXVECTOR3& GetCentre() const { return centre; }
  const plat::D3DXVECTOR3& GetOffset() const { return offset; }

 protected:
  // One step of angle and radius; the point on the circle about the centre.
  plat::D3DXVECTOR3 Advance();

  plat::D3DXVECTOR3 centre;
  float growth;
  float radius;
  float angularSpeed;  // radians per step
  float angle;
  float limit;
  plat::D3DXVECTOR3 offset;
};

// The orbit about a followed frame, which it shares: the circle's centre is the centre offset from
// the frame's world position, placed in world space; trailing bullets at the one ahead plus the
// offset.
class TOrbitFollowMover : public TOrbitMover {
 public:
  TOrbitFollowMover(const plat::D3DXVECTOR3& centreOffset, float startAngle, float startRadius, float degreesPerStep,
                    float growth, float limit, const TCountedPtr<TFrame8>& followed, const plat::D3DXVECTOR3& offset);

  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
  void Follow(TBullet& bullet, const TBullet& ahead) override;

  TFrame8* GetFollowed() const { return followed.Get(); }

 private:
  TCountedPtr<TFrame8> followed;
};
