#include "game/field/MapRecords.h"

using plat::D3DXVECTOR3;

TCameraPoint::TCameraPoint(const D3DXVECTOR3& at, float pointValue, float x, float z, float pointDistance,
                           float pointHeight)
    : position(at), value(pointValue), dx(x), dz(z), distance(pointDistance), height(pointHeight) {
  const D3DXVECTOR3 flat(dx, 0.0f, dz);
  D3DXVec3Normalize(&direction, &flat);
  offset = D3DXVECTOR3(direction.x * distance, height, direction.z * distance);
}

TCameraPoint::TCameraPoint(const D3DXVECTOR3& at, float pointValue, const D3DXVECTOR3& cameraPosition)
    : kind(1), position(at), value(pointValue), fixedPosition(cameraPosition) {}

D3DXVECTOR3 TCameraPoint::GetCameraPosition(const D3DXVECTOR3& target) const {
  if (kind == 1) return fixedPosition;
  return D3DXVECTOR3(target.x + offset.x, target.y + offset.y, target.z + offset.z);
}
