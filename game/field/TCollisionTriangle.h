// A triangle of collision geometry, classified once when it is set: by the slope of its face and
// by the ground kind that its material's diffuse red carries.
#pragma once
#include <cstdint>

#include "common/TTriangle8.h"

class TMaterial8;

class TCollisionTriangle : public TTriangle8 {
 public:
  static constexpr uint32_t kFloor = 1;
  static constexpr uint32_t kSlope = 2;
  static constexpr uint32_t kWall = 4;
  static constexpr uint32_t kCeiling = 8;

  // The surface code of a material: 1..7 for diffuse red in bands of 0.05 from 0 up to 0.35; 0
  // for a negative red, one of 0.35 and above, and no material.
  static uint32_t SurfaceCodeOf(const TMaterial8* material);
  // The slope class of a unit normal by its angle from straight up: up to 30 degrees a floor,
  // below 89 a slope, below 91 a wall, else a ceiling. An angle within a ten-thousandth of a
  // degree of a limit counts as on it.
  static uint32_t SlopeClassOf(const plat::D3DXVECTOR3& normal);

  bool IsGround() const { return slopeClass == kFloor || slopeClass == kSlope; }

  uint32_t slopeClass = 0;
  uint32_t surfaceCode = 0;

 protected:
  // Set's extra argument is the surface code.
  void OnSet(uint32_t code) override;
};
