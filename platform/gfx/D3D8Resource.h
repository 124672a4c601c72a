// The device's resources: reference-counted objects whose pixels and bytes live in CPU memory, so
// locks hand out real pointers and pitches. Each resource has an id and a change count, by which a
// renderer knows when to upload it again.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/D3D8Types.h"

namespace plat {

class IDirect3DDevice8;
class IDirect3DTexture8;

// AddRef/Release as COM counts them; the last Release destroys the object.
class D3DUnknown {
 public:
  virtual ULONG AddRef() { return ++refs_; }
  virtual ULONG Release() {
    ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  D3DUnknown(const D3DUnknown&) = delete;
  D3DUnknown& operator=(const D3DUnknown&) = delete;
  ULONG RefCount() const { return refs_; }

 protected:
  D3DUnknown() = default;
  virtual ~D3DUnknown() = default;

 private:
  ULONG refs_ = 1;
};

class D3DResource8 : public D3DUnknown {
 public:
  uint64_t Id() const { return id_; }
  uint32_t ChangeCount() const { return changes_; }
  D3DPOOL Pool() const { return pool_; }
  DWORD Usage() const { return usage_; }
  // A name for logs (texture packs name their textures); the device itself never reads it.
  void SetName(const std::string& name) { name_ = name; }
  const std::string& GetName() const { return name_; }
  // The device that made it; null once that device is gone.
  IDirect3DDevice8* Device() const { return device_; }

 protected:
  D3DResource8(IDirect3DDevice8* device, D3DPOOL pool, DWORD usage, bool tracked);
  ~D3DResource8() override;
  void Changed() { ++changes_; }
  // The device is going; whatever this holds of it (a texture's levels too) lets go.
  virtual void Detach() { device_ = nullptr; }

 private:
  friend class IDirect3DDevice8;
  IDirect3DDevice8* device_;
  uint64_t id_;
  uint32_t changes_ = 0;
  D3DPOOL pool_;
  DWORD usage_;
  bool tracked_;  // counted among the device's live resources (texture levels are not)
  std::string name_;
};

// What a surface is for; it decides lockability and whether it may be drawn into.
enum class SurfaceKind { Image, RenderTarget, DepthStencil, BackBuffer, TextureLevel };

class IDirect3DSurface8 : public D3DResource8 {
 public:
  // Level surfaces share their texture's count, as a container's sub-objects do.
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT GetDesc(D3DSURFACE_DESC* desc);
  HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
  HRESULT UnlockRect();

  // For the device and the renderers.
  SurfaceKind Kind() const { return kind_; }
  const D3DSURFACE_DESC& Desc() const { return desc_; }
  uint32_t Pitch() const { return pitch_; }
  uint8_t* Bits() { return bits_; }
  const uint8_t* Bits() const { return bits_; }
  size_t ByteSize() const { return size_t(pitch_) * RowCount(); }
  uint32_t RowCount() const;
  bool IsLocked() const { return locked_; }
  bool IsRenderTarget() const { return desc_.Usage & D3DUSAGE_RENDERTARGET; }
  IDirect3DTexture8* Container() const { return container_; }
  UINT Level() const { return level_; }
  // Marks CPU-side changes (a copy into it) for the renderer.
  void MarkChanged();

 private:
  friend class IDirect3DDevice8;
  friend class IDirect3DTexture8;
  IDirect3DSurface8(IDirect3DDevice8* device, SurfaceKind kind, const D3DSURFACE_DESC& desc, bool lockable,
                    IDirect3DTexture8* container, UINT level);

  SurfaceKind kind_;
  D3DSURFACE_DESC desc_;
  bool lockable_;
  bool locked_ = false;
  bool writeLocked_ = false;
  IDirect3DTexture8* container_;
  UINT level_;
  uint32_t pitch_;
  std::vector<uint8_t> storage_;
  uint8_t* bits_;
};

class IDirect3DBaseTexture8 : public D3DResource8 {
 public:
  virtual DWORD GetLevelCount() = 0;

 protected:
  using D3DResource8::D3DResource8;
};

class IDirect3DTexture8 : public IDirect3DBaseTexture8 {
 public:
  DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
  HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc);
  HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface8** surface);
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
  HRESULT UnlockRect(UINT level);

  // For the renderers: the levels' pixels, and the sum of their changes.
  IDirect3DSurface8& LevelSurface(UINT level) { return *levels_[level]; }
  const IDirect3DSurface8& LevelSurface(UINT level) const { return *levels_[level]; }
  D3DFORMAT Format() const { return format_; }
  UINT Width() const { return width_; }
  UINT Height() const { return height_; }

  // The number of levels of a full chain for this size.
  static UINT FullChainLength(UINT width, UINT height);

 private:
  friend class IDirect3DDevice8;
  friend class IDirect3DSurface8;
  IDirect3DTexture8(IDirect3DDevice8* device, UINT width, UINT height, UINT levels, DWORD usage,
                    D3DFORMAT format, D3DPOOL pool);
  ~IDirect3DTexture8() override;
  void Detach() override;
  void LevelChanged() { Changed(); }
  bool Lockable() const;

  D3DFORMAT format_;
  UINT width_, height_;
  std::vector<IDirect3DSurface8*> levels_;
};

}  // namespace plat
