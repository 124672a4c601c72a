#include "common/TOffscreenTarget8.h"

#include "common/TD3D8.h"

using namespace plat;

namespace {

struct Surfaces {
  TCountedPtr<IDirect3DSurface8> target;
  TCountedPtr<IDirect3DSurface8> depth;
};

Surfaces& Kept() {
  static Surfaces surfaces;
  return surfaces;
}

bool DescOf(IDirect3DSurface8* surface, D3DSURFACE_DESC& desc) {
  TCountedPtr<IDirect3DSurface8> held(surface);  // takes the reference the query added
  return surface && surface->GetDesc(&desc) == D3D_OK;
}

}  // namespace

bool TOffscreenTarget8::Get(IDirect3DSurface8*& target, IDirect3DSurface8*& depth) {
  target = depth = nullptr;
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return false;
  Surfaces& kept = Kept();
  if (!kept.target) {
    IDirect3DSurface8* backBuffer = nullptr;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    D3DSURFACE_DESC back, ownDepth;
    if (!DescOf(backBuffer, back)) return false;
    TD3D8& d3d = *TD3D8::Instance();
    TCountedPtr<IDirect3DSurface8> made(
        d3d.CreateRenderTarget(back.Width, back.Height, back.Format, D3DMULTISAMPLE_NONE, false));
    if (!made) return false;
    TCountedPtr<IDirect3DSurface8> madeDepth;
    if (DescOf(d3d.GetDepthStencilSurface(), ownDepth)) {
      madeDepth.Reset(d3d.CreateDepthStencilSurface(back.Width, back.Height, ownDepth.Format, D3DMULTISAMPLE_NONE));
      if (!madeDepth) return false;
    }
    kept.target = made;
    kept.depth = madeDepth;
  }
  target = kept.target.Get();
  depth = kept.depth.Get();
  return true;
}

void TOffscreenTarget8::Release() {
  Kept().target.Reset();
  Kept().depth.Reset();
}

bool TOffscreenTarget8::Exists() { return Kept().target.Get() != nullptr; }
