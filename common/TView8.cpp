#include "common/TView8.h"

#include <cfloat>

using namespace plat;

TView8::TView8() : nearZ(0.0f), farZ(FLT_MAX) {
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&cameraWorld);
  D3DXMatrixIdentity(&projection);
  D3DXMatrixIdentity(&viewProjection);
}

TView8::~TView8() = default;

void TView8::SetMatrices(const D3DMATRIX& newView, const D3DMATRIX& newProjection) {
  view = newView;
  projection = newProjection;
  D3DXMatrixMultiply(&viewProjection, &view, &projection);
  if (!D3DXMatrixInverse(&cameraWorld, nullptr, &view)) D3DXMatrixIdentity(&cameraWorld);
}
