// The device's life, swap chain, scenes, clears, presents, resets and resources.
#include "platform/gfx/D3D8Device.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/FormatInfo.h"

namespace plat {

IDirect3DDevice8::IDirect3DDevice8(IDirect3D8* direct3D, UINT adapter, D3DDEVTYPE type, DWORD behaviorFlags,
                                   const D3DPRESENT_PARAMETERS& params, const D3DDISPLAYMODE& mode,
                                   const D3DCAPS8& caps, std::shared_ptr<Renderer> renderer)
    : direct3D_(direct3D),
      adapter_(adapter),
      deviceType_(type),
      behavior_(behaviorFlags),
      params_(params),
      displayMode_(mode),
      caps_(caps),
      renderer_(std::move(renderer)) {
  direct3D_->AddRef();
  BuildSwapChain();
  ResetState();
}

IDirect3DDevice8::~IDirect3DDevice8() {
  recording_.reset();
  blocks_.clear();
  shaders_.clear();
  UnbindAll();
  ReleaseSwapChain();
  // Whatever the game still holds outlives the device, detached from it.
  for (D3DResource8* r : live_) r->Detach();
  live_.clear();
  direct3D_->Release();
}

void IDirect3DDevice8::Forget(D3DResource8* resource) {
  live_.erase(resource);
  renderer_->Forget(resource->Id());
}

void IDirect3DDevice8::BuildSwapChain() {
  const D3DPRESENT_PARAMETERS& p = params_;
  bool lockable = (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) && p.MultiSampleType == D3DMULTISAMPLE_NONE;
  for (UINT i = 0; i < p.BackBufferCount; ++i) {
    D3DSURFACE_DESC d{p.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, 0,
                      p.MultiSampleType, p.BackBufferWidth, p.BackBufferHeight};
    backBuffers_.push_back(new IDirect3DSurface8(this, SurfaceKind::BackBuffer, d, lockable, nullptr, 0));
  }
  if (p.EnableAutoDepthStencil) {
    D3DSURFACE_DESC d{p.AutoDepthStencilFormat, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, 0,
                      p.MultiSampleType, p.BackBufferWidth, p.BackBufferHeight};
    autoDepthStencil_ = new IDirect3DSurface8(this, SurfaceKind::DepthStencil, d,
                                              p.AutoDepthStencilFormat == D3DFMT_D16_LOCKABLE, nullptr, 0);
  }
}

void IDirect3DDevice8::ReleaseSwapChain() {
  for (IDirect3DSurface8* s : backBuffers_) s->Release();
  backBuffers_.clear();
  if (autoDepthStencil_) autoDepthStencil_->Release();
  autoDepthStencil_ = nullptr;
}

D3DVIEWPORT8 IDirect3DDevice8::FullViewport() const {
  const D3DSURFACE_DESC& d = renderTarget_->Desc();
  return {0, 0, d.Width, d.Height, 0.0f, 1.0f};
}

void IDirect3DDevice8::ResetState() {
  Rebind(renderTarget_, backBuffers_.front());
  Rebind(depthStencil_, autoDepthStencil_);
  state_.SetDefaults(autoDepthStencil_ != nullptr, FullViewport());
  std::fill(std::begin(constants_), std::end(constants_), ShaderFloat4{});
  inScene_ = false;
}

void IDirect3DDevice8::UnbindAll() {
  for (IDirect3DBaseTexture8*& t : state_.textures) Rebind(t, static_cast<IDirect3DBaseTexture8*>(nullptr));
  for (StreamSource& s : state_.streams) Rebind(s.buffer, static_cast<IDirect3DVertexBuffer8*>(nullptr));
  Rebind(state_.indices, static_cast<IDirect3DIndexBuffer8*>(nullptr));
  Rebind(renderTarget_, static_cast<IDirect3DSurface8*>(nullptr));
  Rebind(depthStencil_, static_cast<IDirect3DSurface8*>(nullptr));
}

bool IDirect3DDevice8::Lost() { return renderer_->CooperativeLevel() != D3D_OK; }

HRESULT IDirect3DDevice8::TestCooperativeLevel() { return renderer_->CooperativeLevel(); }

HRESULT IDirect3DDevice8::GetDirect3D(IDirect3D8** direct3D) {
  if (!direct3D) return D3DERR_INVALIDCALL;
  direct3D_->AddRef();
  *direct3D = direct3D_;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetDeviceCaps(D3DCAPS8* caps) {
  if (!caps) return D3DERR_INVALIDCALL;
  *caps = caps_;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetDisplayMode(D3DDISPLAYMODE* mode) {
  if (!mode) return D3DERR_INVALIDCALL;
  *mode = displayMode_;
  return D3D_OK;
}

// A reset loses every state, state block and vertex shader, and refuses while the game still holds
// anything of the default pool (render targets, depth surfaces, default-pool textures and buffers,
// or a reference to a back buffer).
HRESULT IDirect3DDevice8::Reset(D3DPRESENT_PARAMETERS* params) {
  if (!params) return D3DERR_INVALIDCALL;
  if (renderer_->CooperativeLevel() == D3DERR_DEVICELOST) return D3DERR_DEVICELOST;
  HRESULT r;
  const AdapterDesc* a = direct3D_->Find(adapter_, deviceType_, &r);
  D3DPRESENT_PARAMETERS next = *params;
  D3DDISPLAYMODE mode{};
  if (!a || (r = direct3D_->CheckPresentParams(*a, adapter_, deviceType_, next, mode)) != D3D_OK) {
    params->BackBufferCount = next.BackBufferCount;
    return D3DERR_INVALIDCALL;
  }

  recording_.reset();
  blocks_.clear();
  shaders_.clear();
  UnbindAll();
  bool held = std::any_of(live_.begin(), live_.end(), [&](D3DResource8* res) {
    bool own = std::find(backBuffers_.begin(), backBuffers_.end(), res) != backBuffers_.end() ||
               res == autoDepthStencil_;
    return own ? res->RefCount() > 1 : res->Pool() == D3DPOOL_DEFAULT;
  });
  if (held) {
    ResetState();
    return D3DERR_INVALIDCALL;
  }
  if ((r = renderer_->Reset(next)) != D3D_OK) {
    ResetState();
    return r;
  }
  ReleaseSwapChain();
  params_ = next;
  *params = next;
  displayMode_ = mode;
  BuildSwapChain();
  ResetState();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::Present(const RECT*, const RECT*, HWND, const void*) {
  if (Lost()) return D3DERR_DEVICELOST;
  if (inScene_) return D3DERR_INVALIDCALL;
  renderer_->Present(*backBuffers_.front());
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (index >= backBuffers_.size() || type != D3DBACKBUFFER_TYPE_MONO) return D3DERR_INVALIDCALL;
  backBuffers_[index]->AddRef();
  *surface = backBuffers_[index];
  return D3D_OK;
}

HRESULT IDirect3DDevice8::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  inScene_ = false;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                                DWORD stencil) {
  if (flags == 0 || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) || (count && !rects))
    return D3DERR_INVALIDCALL;
  if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_STENCIL) && !LayoutOf(depthStencil_->Desc().Format).stencil) return D3DERR_INVALIDCALL;
  if ((flags & D3DCLEAR_ZBUFFER) && !(z >= 0.0f && z <= 1.0f)) return D3DERR_INVALIDCALL;
  if (Lost()) return D3D_OK;

  const D3DVIEWPORT8& vp = state_.viewport;
  const D3DRECT view{LONG(vp.X), LONG(vp.Y), LONG(vp.X + vp.Width), LONG(vp.Y + vp.Height)};
  std::vector<D3DRECT> areas;
  for (DWORD i = 0; i < (count ? count : 1); ++i) {
    const D3DRECT& r = count ? rects[i] : view;
    D3DRECT a{std::max(r.x1, view.x1), std::max(r.y1, view.y1), std::min(r.x2, view.x2), std::min(r.y2, view.y2)};
    if (a.x1 < a.x2 && a.y1 < a.y2) areas.push_back(a);
  }
  if (areas.empty()) return D3D_OK;
  renderer_->Clear({static_cast<DWORD>(areas.size()), areas.data(), flags, color, z, stencil, renderTarget_,
                    depthStencil_});
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetRenderTarget(IDirect3DSurface8* renderTarget, IDirect3DSurface8* depthStencil) {
  IDirect3DSurface8* target = renderTarget ? renderTarget : renderTarget_;
  if (!target->IsRenderTarget()) return D3DERR_INVALIDCALL;
  if (depthStencil) {
    const D3DSURFACE_DESC& d = depthStencil->Desc();
    const D3DSURFACE_DESC& t = target->Desc();
    if (!(d.Usage & D3DUSAGE_DEPTHSTENCIL) || d.Width < t.Width || d.Height < t.Height ||
        d.MultiSampleType != t.MultiSampleType)
      return D3DERR_INVALIDCALL;
  }
  Rebind(renderTarget_, target);
  Rebind(depthStencil_, depthStencil);
  state_.viewport = FullViewport();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetRenderTarget(IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  renderTarget_->AddRef();
  *surface = renderTarget_;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetDepthStencilSurface(IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = depthStencil_;
  if (!depthStencil_) return D3DERR_NOTFOUND;
  depthStencil_->AddRef();
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CheckFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format) {
  return direct3D_->CheckDeviceFormat(adapter_, deviceType_, displayMode_.Format, usage, type, format);
}

HRESULT IDirect3DDevice8::CheckMultiSample(D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample) {
  return direct3D_->CheckDeviceMultiSampleType(adapter_, deviceType_, format, params_.Windowed, multiSample);
}

HRESULT IDirect3DDevice8::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                        D3DPOOL pool, IDirect3DTexture8** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  const bool target = usage & D3DUSAGE_RENDERTARGET;
  if (width == 0 || height == 0 || width > caps_.MaxTextureWidth || height > caps_.MaxTextureHeight ||
      pool > D3DPOOL_SYSTEMMEM || (usage & D3DUSAGE_DEPTHSTENCIL) || (target && pool != D3DPOOL_DEFAULT) ||
      LayoutOf(format).blockBytes == 0 || LayoutOf(format).depth)
    return D3DERR_INVALIDCALL;
  if (CheckFormat(usage & D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, format) != D3D_OK) return D3DERR_INVALIDCALL;
  UINT full = IDirect3DTexture8::FullChainLength(width, height);
  if (levels > full) return D3DERR_INVALIDCALL;
  *texture = new IDirect3DTexture8(this, width, height, levels ? levels : full, usage, format, pool);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                             IDirect3DVertexBuffer8** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || pool > D3DPOOL_SYSTEMMEM || (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)))
    return D3DERR_INVALIDCALL;
  if (fvf) {
    FvfLayout layout = LayoutOfFvf(fvf);
    if (!layout.valid || length < layout.stride) return D3DERR_INVALIDCALL;
  }
  *buffer = new IDirect3DVertexBuffer8(this, length, usage, fvf, pool);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DIndexBuffer8** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (length == 0 || pool > D3DPOOL_SYSTEMMEM || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32) ||
      (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)))
    return D3DERR_INVALIDCALL;
  *buffer = new IDirect3DIndexBuffer8(this, length, usage, format, pool);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                             D3DMULTISAMPLE_TYPE multiSample, BOOL lockable,
                                             IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (width == 0 || height == 0 || (lockable && multiSample != D3DMULTISAMPLE_NONE) ||
      CheckFormat(D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, format) != D3D_OK ||
      CheckMultiSample(format, multiSample) != D3D_OK)
    return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC d{format, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, 0, multiSample, width, height};
  *surface = new IDirect3DSurface8(this, SurfaceKind::RenderTarget, d, lockable, nullptr, 0);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                    D3DMULTISAMPLE_TYPE multiSample, IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (width == 0 || height == 0 || CheckFormat(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, format) != D3D_OK ||
      CheckMultiSample(params_.BackBufferFormat, multiSample) != D3D_OK)
    return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC d{format, D3DRTYPE_SURFACE, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, 0, multiSample, width, height};
  *surface = new IDirect3DSurface8(this, SurfaceKind::DepthStencil, d, format == D3DFMT_D16_LOCKABLE, nullptr, 0);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::CreateImageSurface(UINT width, UINT height, D3DFORMAT format,
                                             IDirect3DSurface8** surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  *surface = nullptr;
  if (width == 0 || height == 0 || LayoutOf(format).blockBytes == 0 || LayoutOf(format).depth)
    return D3DERR_INVALIDCALL;
  D3DSURFACE_DESC d{format, D3DRTYPE_SURFACE, 0, D3DPOOL_SYSTEMMEM, 0, D3DMULTISAMPLE_NONE, width, height};
  *surface = new IDirect3DSurface8(this, SurfaceKind::Image, d, true, nullptr, 0);
  return D3D_OK;
}

// Copies whole pixels between two surfaces of one format; no stretching, no conversion.
HRESULT IDirect3DDevice8::CopyRects(IDirect3DSurface8* source, const RECT* sourceRects, UINT count,
                                    IDirect3DSurface8* dest, const POINT* destPoints) {
  if (!source || !dest || source == dest) return D3DERR_INVALIDCALL;
  const D3DSURFACE_DESC& s = source->Desc();
  const D3DSURFACE_DESC& d = dest->Desc();
  const FormatLayout& layout = LayoutOf(s.Format);
  if (s.Format != d.Format || layout.depth || layout.blockSize != 1 || s.MultiSampleType != D3DMULTISAMPLE_NONE ||
      d.MultiSampleType != D3DMULTISAMPLE_NONE || source->IsLocked() || dest->IsLocked())
    return D3DERR_INVALIDCALL;

  const RECT whole{0, 0, LONG(s.Width), LONG(s.Height)};
  const UINT n = sourceRects ? count : 1;
  for (UINT i = 0; i < n; ++i) {  // check everything before copying anything
    const RECT& r = sourceRects ? sourceRects[i] : whole;
    POINT at = destPoints ? destPoints[i] : POINT{r.left, r.top};
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || UINT(r.right) > s.Width ||
        UINT(r.bottom) > s.Height || at.x < 0 || at.y < 0 || UINT(at.x + (r.right - r.left)) > d.Width ||
        UINT(at.y + (r.bottom - r.top)) > d.Height)
      return D3DERR_INVALIDCALL;
  }
  // A drawn surface's bytes may lag behind the renderer's picture: both sides come up to date first,
  // so the copy neither reads stale pixels nor loses what was drawn around its rectangles.
  if (source->IsRenderTarget()) renderer_->ReadBack(*source);
  if (dest->IsRenderTarget()) renderer_->ReadBack(*dest);
  for (UINT i = 0; i < n; ++i) {
    const RECT& r = sourceRects ? sourceRects[i] : whole;
    POINT at = destPoints ? destPoints[i] : POINT{r.left, r.top};
    size_t rowBytes = size_t(r.right - r.left) * layout.blockBytes;
    for (LONG y = r.top; y < r.bottom; ++y)
      std::memcpy(dest->Bits() + size_t(at.y + (y - r.top)) * dest->Pitch() + size_t(at.x) * layout.blockBytes,
                  source->Bits() + size_t(y) * source->Pitch() + size_t(r.left) * layout.blockBytes, rowBytes);
  }
  dest->MarkChanged();
  return D3D_OK;
}

}  // namespace plat
