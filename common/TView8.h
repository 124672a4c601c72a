// A scene's camera view and projection, as the mesh draws read them: the fixed-function path sends
// the view and the projection to the device, the vertex-shader paths use their product.
#pragma once
#include "platform/gfx/D3DXMath.h"

class TView8 {
 public:
  TView8();
  virtual ~TView8();

  const plat::D3DXMATRIX* GetView() const { return &view; }
  const plat::D3DXMATRIX* GetProjection() const { return &projection; }
  const plat::D3DXMATRIX* GetViewProjection() const { return &viewProjection; }
  float GetFar() const { return farZ; }

  // Stores a view and a projection and their product. The camera operations (projection from a
  // field of view, view from a camera frame, the sphere test) build on these fields.
  void SetMatrices(const plat::D3DMATRIX& newView, const plat::D3DMATRIX& newProjection);

 protected:
  plat::D3DXMATRIX view;
  plat::D3DXMATRIX cameraWorld;
  plat::D3DXMATRIX projection;
  plat::D3DXMATRIX viewProjection;
  float nearZ;
  float farZ;
  float fieldOfView = 0.0f;
  float sideAngle = 0.0f;
  plat::D3DXVECTOR3 axis;
  plat::D3DXVECTOR3 normals[4];  // upper, lower, left, right
};
