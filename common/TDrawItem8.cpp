#include "common/TDrawItem8.h"

namespace {

TMeshPartCalls& Calls() {
  static TMeshPartCalls calls;
  return calls;
}

// Exactly the identity: the diagonal bitwise 1.0, everything else equal to 0.0.
bool IsExactIdentity(const plat::D3DMATRIX& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      if (r == c) {
        if (m.m[r][c] != 1.0f) return false;
      } else if (m.m[r][c] != 0.0f) {
        return false;
      }
    }
  return true;
}

}  // namespace

TDrawItem8::TDrawItem8(const plat::D3DMATRIX& world, TView8* itemView, uint32_t itemPart,
                       TMesh8* itemMesh)
    : order(0), depth(0.0f), matrix(world), part(itemPart), view(itemView), mesh(itemMesh) {
  const TMeshPartCalls& calls = Calls();
  if (!mesh) return;
  if (calls.drawOrder) order = calls.drawOrder(*mesh, part);
  plat::D3DXVECTOR3 centre;
  if (calls.sphereCentre) centre = calls.sphereCentre(*mesh);
  if (!IsExactIdentity(matrix)) {
    const plat::D3DXMATRIX world(matrix);
    const plat::D3DXVECTOR3 local = centre;
    plat::D3DXVec3TransformCoord(&centre, &local, &world);
  }
  depth = centre.z;
}

void TDrawItem8::Draw() const {
  const TMeshPartCalls& calls = Calls();
  if (mesh && calls.drawPart) calls.drawPart(*mesh, part, matrix, view);
}

void TDrawItem8::SetMeshPartCalls(const TMeshPartCalls& calls) { Calls() = calls; }
const TMeshPartCalls& TDrawItem8::GetMeshPartCalls() { return Calls(); }
