// Vertex and index buffers: bytes in CPU memory behind Lock/Unlock. Locks nest, as the original
// allows; the change count moves when the last writing lock is released.
#pragma once
#include <vector>

#include "platform/gfx/D3D8Resource.h"

namespace plat {

class D3DBuffer8 : public D3DResource8 {
 public:
  HRESULT Lock(UINT offset, UINT size, BYTE** data, DWORD flags);
  HRESULT Unlock();

  const uint8_t* Bytes() const { return bytes_.data(); }
  UINT Length() const { return static_cast<UINT>(bytes_.size()); }
  bool IsLocked() const { return locks_ > 0; }

 protected:
  D3DBuffer8(IDirect3DDevice8* device, UINT length, DWORD usage, D3DPOOL pool);

 private:
  std::vector<uint8_t> bytes_;
  uint32_t locks_ = 0;
  bool written_ = false;
};

class IDirect3DVertexBuffer8 : public D3DBuffer8 {
 public:
  HRESULT GetDesc(D3DVERTEXBUFFER_DESC* desc);
  DWORD Fvf() const { return fvf_; }

 private:
  friend class IDirect3DDevice8;
  IDirect3DVertexBuffer8(IDirect3DDevice8* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
      : D3DBuffer8(device, length, usage, pool), fvf_(fvf) {}
  DWORD fvf_;
};

class IDirect3DIndexBuffer8 : public D3DBuffer8 {
 public:
  HRESULT GetDesc(D3DINDEXBUFFER_DESC* desc);
  D3DFORMAT Format() const { return format_; }

 private:
  friend class IDirect3DDevice8;
  IDirect3DIndexBuffer8(IDirect3DDevice8* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
      : D3DBuffer8(device, length, usage, pool), format_(format) {}
  D3DFORMAT format_;
};

}  // namespace plat
