#include "common/TDrawItem8.h"

#include "common/TMesh8.h"

namespace {

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
  if (!mesh || !mesh->GetData()) return;
  if (part < mesh->GetPartCount()) order = mesh->GetMaterial(part).GetDrawOrder();
  const TMeshBounds& bounds = mesh->GetData()->Bounds();
  plat::D3DXVECTOR3 centre(bounds.x, bounds.y, bounds.z);
  if (!IsExactIdentity(matrix)) {
    const plat::D3DXMATRIX world(matrix);
    const plat::D3DXVECTOR3 local = centre;
    plat::D3DXVec3TransformCoord(&centre, &local, &world);
  }
  depth = centre.z;
}

void TDrawItem8::Draw() const {
  if (mesh) mesh->DrawPart(matrix, view, part);
}
