#include "platform/gfx/png/Screenshot.h"

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/FormatInfo.h"

namespace plat {

bool ReadSurface(IDirect3DSurface8& surface, Picture& picture) {
  if (surface.IsRenderTarget() && surface.Device()) surface.Device()->GetRenderer().ReadBack(surface);
  const D3DSURFACE_DESC& d = surface.Desc();
  Picture p;
  p.width = d.Width;
  p.height = d.Height;
  p.pixels.resize(size_t(d.Width) * d.Height);
  for (UINT y = 0; y < d.Height; ++y)
    if (!UnpackColors(d.Format, surface.Bits() + size_t(y) * surface.Pitch(), d.Width, &p.pixels[size_t(y) * d.Width]))
      return false;
  picture = std::move(p);
  return true;
}

bool SaveBackBufferPng(IDirect3DDevice8& device, const std::string& path) {
  IDirect3DSurface8* back = nullptr;
  if (device.GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back) != D3D_OK) return false;
  Picture picture;
  const bool ok = ReadSurface(*back, picture) && SavePng(picture, path);
  back->Release();
  return ok;
}

}  // namespace plat
