// Drawing of TMesh8: each part queued into the render mode of its material, and drawn through the
// mesh's shader object when its mode flushes.
#include "common/TDrawItem8.h"
#include "common/TMesh8.h"
#include "common/TRenderModeTable.h"
#include "common/TVertexShader8.h"

namespace {

// What a queued draw item asks of its mesh.
uint16_t DrawOrderOf(const TMesh8& mesh, uint32_t part) {
  return part < mesh.GetPartCount() ? mesh.GetMaterial(part).GetDrawOrder() : uint16_t(0);
}

plat::D3DXVECTOR3 CentreOf(const TMesh8& mesh) {
  const TMeshBounds& b = mesh.GetData()->Bounds();
  return plat::D3DXVECTOR3(b.x, b.y, b.z);
}

void DrawPartOf(TMesh8& mesh, uint32_t part, const plat::D3DMATRIX& world, TView8* view) {
  mesh.DrawPart(world, view, part);
}

}  // namespace

void TMesh8::Queue(const plat::D3DMATRIX& world, TView8* view) {
  if (!data) return;
  if (TDrawItem8::GetMeshPartCalls().drawPart != &DrawPartOf)
    TDrawItem8::SetMeshPartCalls({&DrawOrderOf, &CentreOf, &DrawPartOf});
  for (uint32_t part = 0; part < partCount; ++part)
    TRenderModeTable::Find(materials[part].GetRenderMode())->Add(world, view, part, this);
}

void TMesh8::DrawPart(const plat::D3DMATRIX& world, TView8* view, uint32_t part) {
  if (!data || part >= GetPartCount() || data->GetPartTable().GetTriangleTotal(part) == 0 || !shader) return;
  shader->Draw(part, *this, view, world);
}
