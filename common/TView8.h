// A scene's camera: the view taken from a camera frame, a left-handed perspective projection and
// a quick sphere test against the near and far distances and four side planes.
#pragma once
#include <cstdint>

#include "platform/gfx/D3DXMath.h"

class TFrame8;

class TView8 {
 public:
  TView8();
  virtual ~TView8() = default;

  // Field of view in degrees (vertical); the aspect is width / height.
  void SetProjection(float nearDistance, float farDistance, float fovDegrees, int32_t width, int32_t height);
  // The view becomes the inverse of the frame's world matrix. A singular matrix keeps the old view
  // and returns false, though the camera position of the sphere test is already the new one.
  bool SetViewFromFrame(const TFrame8& frame);

  // Takes a view and a projection as they are (the camera is the inverse of the view, the identity
  // when there is none); the angles of the sphere test stay as the last projection set them.
  void SetMatrices(const plat::D3DMATRIX& newView, const plat::D3DMATRIX& newProjection);

  const plat::D3DXMATRIX* GetView() const { return &view; }
  const plat::D3DXMATRIX* GetProjection() const { return &projection; }
  const plat::D3DXMATRIX* GetViewProjection() const { return &viewProjection; }
  float GetNear() const { return nearDistance; }
  float GetFar() const { return farDistance; }
  float GetFieldOfView() const { return fieldOfView; }
  float GetSideAngle() const { return sideAngle; }
  // The width of the view across the far distance: 2 x far x tan(field of view).
  float GetFarExtent() const;

  // The planes lean by the full angles, so every sphere inside the frustum passes; touching a
  // bound counts as visible.
  bool IsSphereVisible(const float sphere[4]) const;
  bool IsSphereVisible(float x, float y, float z, float radius) const;

 private:
  void Rebuild();

  plat::D3DXMATRIX view;
  plat::D3DXMATRIX camera;  // rows: right, up, forward, position
  plat::D3DXMATRIX projection;
  plat::D3DXMATRIX viewProjection;
  float nearDistance;
  float farDistance;
  float fieldOfView = 0;
  float sideAngle = 0;
  plat::D3DXVECTOR3 axis;
  plat::D3DXVECTOR3 upper, lower, left, right;
};
