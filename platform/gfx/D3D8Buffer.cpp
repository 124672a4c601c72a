#include "platform/gfx/D3D8Buffer.h"

namespace plat {

D3DBuffer8::D3DBuffer8(IDirect3DDevice8* device, UINT length, DWORD usage, D3DPOOL pool)
    : D3DResource8(device, pool, usage, true), bytes_(length, 0) {}

HRESULT D3DBuffer8::Lock(UINT offset, UINT size, BYTE** data, DWORD flags) {
  if (!data || offset > bytes_.size() || size > bytes_.size() - offset) return D3DERR_INVALIDCALL;
  *data = bytes_.data() + offset;
  ++locks_;
  if (!(flags & D3DLOCK_READONLY)) written_ = true;
  return D3D_OK;
}

HRESULT D3DBuffer8::Unlock() {
  if (locks_ == 0) return D3DERR_INVALIDCALL;
  if (--locks_ == 0 && written_) {
    written_ = false;
    Changed();
  }
  return D3D_OK;
}

HRESULT IDirect3DVertexBuffer8::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, Usage(), Pool(), Length(), fvf_};
  return D3D_OK;
}

HRESULT IDirect3DIndexBuffer8::GetDesc(D3DINDEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = {format_, D3DRTYPE_INDEXBUFFER, Usage(), Pool(), Length()};
  return D3D_OK;
}

}  // namespace plat
