// The Bezier movers: the head flies along a cubic curve from a start to an end point whose two
// middle control points are one bend point, the parameter advancing by a fixed step each frame and
// never clamped (past 1 the curve extrapolates; the shot's lifetime ends the flight). The homing
// form keeps moving its end point onto a character for the first part of the flight, and the heal
// form heals that character at the end of it.
#pragma once
#include <cstdint>

#include "game/effect/TEffectMover.h"

class TEffectActor;
class TEffectStage;

// start + A * bend.x + (0, bend.y, 0) + B * bend.z, with A the horizontal side direction of the
// chord from start to end and B its horizontal forward direction. A chord without a horizontal
// part bends by (0, bend.y, 0) alone.
plat::D3DXVECTOR3 BendPoint(const plat::D3DXVECTOR3& start, const plat::D3DXVECTOR3& end,
                            const plat::D3DXVECTOR3& bend);

class TBezierMover : public TEffectMover {
 public:
  void Face(TBullet&, TFrame8*, TFrame8*) override {}
  // t += step, then the curve's point at t becomes the bullet frame's local position.
  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  float GetT() const { return t; }
  float GetStep() const { return step; }
  // Control point 0 to 3.
  const plat::D3DXVECTOR3& GetPoint(int index) const { return points[index]; }
  // The curve at parameter u.
  plat::D3DXVECTOR3 PointAt(float u) const;

 protected:
  TBezierMover(float step, const plat::D3DXVECTOR3& bend, const plat::D3DXVECTOR3& start,
               const plat::D3DXVECTOR3& end);
  // P3 = end; P1 = P2 = the bend point from P0 to it.
  void SetEnd(const plat::D3DXVECTOR3& end, const plat::D3DXVECTOR3& bend);

  float t = 0.0f;
  float step;
  plat::D3DXVECTOR3 points[4];
};

// The plain curve, the bullet turned toward the view.
class TBezierPathMover : public TBezierMover {
 public:
  TBezierPathMover(float step, const plat::D3DXVECTOR3& bend, const plat::D3DXVECTOR3& start,
                   const plat::D3DXVECTOR3& end);

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
};

// The curve toward a character found by object id on the stage: it starts at the character's
// frame position raised by its height (at the start itself when the character is not found), and
// while t is below the homing limit each step first moves the end onto the character's position
// raised by the height offset. A character that has gone leaves the end where it was.
class TBezierHomingMover : public TBezierMover {
 public:
  // The stage is not owned and has to outlive the mover; null finds nobody.
  TBezierHomingMover(float step, float homingLimit, float heightOffset, const plat::D3DXVECTOR3& bend,
                     const plat::D3DXVECTOR3& start, uint32_t targetId, TEffectStage* stage);

  void Face(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;
  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  uint32_t GetTargetId() const { return targetId; }
  float GetHomingLimit() const { return homingLimit; }
  float GetHeightOffset() const { return heightOffset; }

 protected:
  TEffectActor* FindTarget() const;

  TEffectStage* stage;
  uint32_t targetId;
  float homingLimit;
  float heightOffset;
};

// The homing curve that, on every step with t above 0.98, lets the character recover the heal
// amount of hit points while it is still found.
class TBezierHealMover : public TBezierHomingMover {
 public:
  TBezierHealMover(float step, float homingLimit, float heightOffset, const plat::D3DXVECTOR3& bend,
                   const plat::D3DXVECTOR3& start, uint32_t targetId, TEffectStage* stage, uint32_t healAmount);

  void Step(TBullet& bullet, TFrame8* view1, TFrame8* view2) override;

  uint32_t GetHealAmount() const { return healAmount; }

 private:
  uint32_t healAmount;
};
