// The shapes in which map objects watch the player, shared by the exits and the triggers: a box the
// player walks into facing the way in, a plain box stood in, and a circle examined from inside
// while facing its centre. Angles are compared through their cosines, so a bound is met exactly.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TStagePlayer;

// cos 50 degrees (0.87266463 radians): the widest angle between the player's facing and the way
// into a box, or the centre of an examined circle.
constexpr float kCosFacingLimit = 0.642787635f;

// The player's position (its frame's translation).
plat::D3DXVECTOR3 PlayerPosition(TStagePlayer& player);
// The dot product of two unit vectors, clamped to [-1, 1].
float CosBetween(const plat::D3DXVECTOR3& a, const plat::D3DXVECTOR3& b);

// An axis-aligned box given by its minimum and maximum corners; a point on a face is inside.
class TMapBox {
 public:
  TMapBox(const plat::D3DXVECTOR3& corner1, const plat::D3DXVECTOR3& corner2);

  bool Contains(const plat::D3DXVECTOR3& point) const;

  const plat::D3DXVECTOR3& GetCorner1() const { return corner1; }
  const plat::D3DXVECTOR3& GetCorner2() const { return corner2; }
  const plat::D3DXVECTOR3& GetCentre() const { return centre; }

 private:
  plat::D3DXVECTOR3 corner1, corner2, centre;
};

// A box walked into: the player inside, walking or running (movement modes 2 and 3), facing less
// than 50 degrees off the entry direction (used as given), for 15 ticks in a row.
class TBoxEntry {
 public:
  static constexpr int32_t kFramesToEnter = 15;

  TBoxEntry(const plat::D3DXVECTOR3& corner1, const plat::D3DXVECTOR3& corner2, const plat::D3DXVECTOR3& direction);

  // One tick: true from the 15th qualifying tick in a row on; any other tick starts the count anew.
  bool Step(TStagePlayer& player);
  bool IsFacingEntry(TStagePlayer& player) const;

  const TMapBox& GetBox() const { return box; }
  const plat::D3DXVECTOR3& GetDirection() const { return direction; }
  int32_t GetFramesInside() const { return framesInside; }

 private:
  TMapBox box;
  plat::D3DXVECTOR3 direction;
  int32_t framesInside = 0;
};

// A circle examined from inside: the player nearer the centre than the radius presses the examine
// key facing the centre within 50 degrees, bound included. A radius of 0 is never examined.
class TExamineCircle {
 public:
  TExamineCircle(const plat::D3DXVECTOR3& centre, float radius);

  bool IsExamined(TStagePlayer& player) const;

  const plat::D3DXVECTOR3& GetCentre() const { return centre; }
  float GetRadius() const { return radius; }
  float GetHalfRadius() const { return halfRadius; }

 private:
  plat::D3DXVECTOR3 centre;
  float radius;
  float halfRadius;
};
