// Drawing of TMesh8: each part queued into the render mode of its material, and drawn through the
// mesh's shader object when its mode flushes.
#include "common/TMesh8.h"
#include "common/TRenderModeTable.h"
#include "common/TVertexShader8.h"

void TMesh8::Queue(const plat::D3DMATRIX& world, TView8* view) {
  if (!data) return;
  for (uint32_t part = 0; part < partCount; ++part)
    TRenderModeTable::Find(materials[part].GetRenderMode())->Add(world, view, part, this);
}

void TMesh8::DrawPart(const plat::D3DMATRIX& world, TView8* view, uint32_t part) {
  if (!data || part >= GetPartCount() || data->GetPartTable().GetTriangleTotal(part) == 0 || !shader) return;
  shader->Draw(part, *this, view, world);
}
