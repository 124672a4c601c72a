#include "platform/gfx/D3D8Resource.h"

#include <algorithm>
#include <atomic>

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/FormatInfo.h"

namespace plat {

namespace {
std::atomic<uint64_t> g_nextResourceId{1};
}

D3DResource8::D3DResource8(IDirect3DDevice8* device, D3DPOOL pool, DWORD usage, bool tracked)
    : device_(device), id_(g_nextResourceId++), pool_(pool), usage_(usage), tracked_(tracked) {
  if (device_ && tracked_) device_->Track(this);
}

D3DResource8::~D3DResource8() {
  if (device_) device_->Forget(this);
}

IDirect3DSurface8::IDirect3DSurface8(IDirect3DDevice8* device, SurfaceKind kind, const D3DSURFACE_DESC& desc,
                                     bool lockable, IDirect3DTexture8* container, UINT level)
    : D3DResource8(device, desc.Pool, desc.Usage, container == nullptr),
      kind_(kind),
      desc_(desc),
      lockable_(lockable),
      container_(container),
      level_(level),
      pitch_(plat::RowPitch(desc.Format, desc.Width)) {
  storage_.assign(size_t(pitch_) * RowCount(), 0);
  desc_.Size = static_cast<UINT>(storage_.size());
  bits_ = storage_.data();
}

uint32_t IDirect3DSurface8::RowCount() const { return plat::RowCount(desc_.Format, desc_.Height); }

ULONG IDirect3DSurface8::AddRef() { return container_ ? container_->AddRef() : D3DResource8::AddRef(); }
ULONG IDirect3DSurface8::Release() { return container_ ? container_->Release() : D3DResource8::Release(); }

HRESULT IDirect3DSurface8::GetDesc(D3DSURFACE_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = desc_;
  return D3D_OK;
}

HRESULT IDirect3DSurface8::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (!locked || !lockable_ || locked_) return D3DERR_INVALIDCALL;
  const FormatLayout& layout = LayoutOf(desc_.Format);
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        UINT(rect->right) > desc_.Width || UINT(rect->bottom) > desc_.Height)
      return D3DERR_INVALIDCALL;
    offset = size_t(rect->top / layout.blockSize) * pitch_ + size_t(rect->left / layout.blockSize) * layout.blockBytes;
  }
  if (IsRenderTarget() && Device()) Device()->GetRenderer().ReadBack(*this);
  locked->Pitch = static_cast<int32_t>(pitch_);
  locked->pBits = bits_ + offset;
  locked_ = true;
  writeLocked_ = !(flags & D3DLOCK_READONLY);
  return D3D_OK;
}

HRESULT IDirect3DSurface8::UnlockRect() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  if (writeLocked_) MarkChanged();
  return D3D_OK;
}

void IDirect3DSurface8::MarkChanged() {
  Changed();
  if (container_) container_->LevelChanged();
}

UINT IDirect3DTexture8::FullChainLength(UINT width, UINT height) {
  UINT n = 1;
  while (width > 1 || height > 1) {
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
    ++n;
  }
  return n;
}

IDirect3DTexture8::IDirect3DTexture8(IDirect3DDevice8* device, UINT width, UINT height, UINT levels, DWORD usage,
                                     D3DFORMAT format, D3DPOOL pool)
    : IDirect3DBaseTexture8(device, pool, usage, true), format_(format), width_(width), height_(height) {
  for (UINT i = 0; i < levels; ++i) {
    D3DSURFACE_DESC d{format, D3DRTYPE_SURFACE, usage, pool, 0, D3DMULTISAMPLE_NONE,
                      std::max(1u, width >> i), std::max(1u, height >> i)};
    levels_.push_back(new IDirect3DSurface8(device, SurfaceKind::TextureLevel, d, Lockable(), this, i));
  }
}

IDirect3DTexture8::~IDirect3DTexture8() {
  for (IDirect3DSurface8* level : levels_) delete level;
}

void IDirect3DTexture8::Detach() {
  D3DResource8::Detach();
  for (IDirect3DSurface8* level : levels_) level->Detach();
}

bool IDirect3DTexture8::Lockable() const { return Pool() != D3DPOOL_DEFAULT; }

HRESULT IDirect3DTexture8::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->GetDesc(desc);
}

HRESULT IDirect3DTexture8::GetSurfaceLevel(UINT level, IDirect3DSurface8** surface) {
  if (!surface || level >= levels_.size()) return D3DERR_INVALIDCALL;
  AddRef();
  *surface = levels_[level];
  return D3D_OK;
}

HRESULT IDirect3DTexture8::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->LockRect(locked, rect, flags);
}

HRESULT IDirect3DTexture8::UnlockRect(UINT level) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->UnlockRect();
}

}  // namespace plat
