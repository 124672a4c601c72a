#include "game/field/TCollisionTriangle.h"

#include <algorithm>
#include <cmath>

#include "common/TMaterial8.h"

namespace {

constexpr double kDegreesPerRadian = 57.295779513082321;
// A face built to lie exactly on a limit comes out of float arithmetic a few millionths of a degree
// to either side of it; within this slack it takes the class that the limit itself belongs to.
constexpr double kLimitSlack = 1e-4;
// Upper ends (exclusive) of the diffuse-red bands of surface codes 1..7.
constexpr float kSurfaceBands[] = {0.05f, 0.1f, 0.15f, 0.2f, 0.25f, 0.3f, 0.35f};

}  // namespace

uint32_t TCollisionTriangle::SurfaceCodeOf(const TMaterial8* material) {
  if (!material) return 0;
  const float red = material->GetMaterial().Diffuse.r;
  if (!(red >= 0.0f)) return 0;
  for (uint32_t i = 0; i < std::size(kSurfaceBands); ++i)
    if (red < kSurfaceBands[i]) return i + 1;
  return 0;
}

uint32_t TCollisionTriangle::SlopeClassOf(const plat::D3DXVECTOR3& normal) {
  const double angle = std::acos(std::clamp(double(normal.y), -1.0, 1.0)) * kDegreesPerRadian;
  if (angle <= 30 + kLimitSlack) return kFloor;
  if (angle < 89 - kLimitSlack) return kSlope;
  if (angle < 91 - kLimitSlack) return kWall;
  return kCeiling;
}

void TCollisionTriangle::OnSet(uint32_t code) {
  slopeClass = SlopeClassOf(normal);
  surfaceCode = code;
}
