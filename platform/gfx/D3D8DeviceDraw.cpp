// Vertex shaders, shader constants and the indexed draws. A draw is checked completely (every
// index reaches inside every stream it reads) before the renderer sees it, so bad indices or short
// buffers fail with D3DERR_INVALIDCALL instead of reading past the end.
#include <algorithm>
#include <cstring>

#include "platform/gfx/D3D8Device.h"

namespace plat {

namespace {

bool IndexCountOf(D3DPRIMITIVETYPE type, UINT primitives, UINT& count) {
  uint64_t n;
  switch (type) {
    case D3DPT_POINTLIST: n = primitives; break;
    case D3DPT_LINELIST: n = 2ull * primitives; break;
    case D3DPT_LINESTRIP: n = primitives + 1ull; break;
    case D3DPT_TRIANGLELIST: n = 3ull * primitives; break;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: n = primitives + 2ull; break;
    default: return false;
  }
  if (n > 0xFFFFFFFFull) return false;
  count = static_cast<UINT>(n);
  return true;
}

UINT IndexSize(D3DFORMAT format) { return format == D3DFMT_INDEX16 ? 2 : 4; }

uint32_t IndexAt(const void* indices, D3DFORMAT format, UINT i) {
  if (format == D3DFMT_INDEX16) {
    uint16_t v;
    std::memcpy(&v, static_cast<const uint8_t*>(indices) + 2 * size_t(i), 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(indices) + 4 * size_t(i), 4);
  return v;
}

bool ShadersAvailable(DWORD version) { return (version >> 16) == 0xFFFE && (version & 0xFFFF) >= 0x100; }

}  // namespace

const VertexShaderObject* IDirect3DDevice8::FindVertexShader(DWORD handle) const {
  auto it = shaders_.find(handle);
  return it == shaders_.end() ? nullptr : it->second.get();
}

HRESULT IDirect3DDevice8::CreateVertexShader(const DWORD* declaration, const DWORD* function, DWORD* handle,
                                             DWORD usage) {
  if (!handle) return D3DERR_INVALIDCALL;
  *handle = 0;
  auto shader = std::make_unique<VertexShaderObject>();
  const size_t length = VertexShaderTokenLength(function);
  if (!ParseVertexDeclaration(declaration, shader->declaration) || length == 0 ||
      !ShadersAvailable(caps_.VertexShaderVersion))
    return D3DERR_INVALIDCALL;
  shader->function.assign(function, function + length);
  shader->program = DecodeVertexShader(shader->function.data(), shader->function.size());
  if (!shader->program) return D3DERR_INVALIDCALL;
  shader->usage = usage;
  *handle = nextShader_;  // odd, so no handle reads as a vertex format
  nextShader_ += 2;
  shaders_[*handle] = std::move(shader);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetVertexShader(DWORD handle) {
  const VertexShaderObject* shader = nullptr;
  if (handle & 1) {
    if (!(shader = FindVertexShader(handle))) return D3DERR_INVALIDCALL;
  } else if (!LayoutOfFvf(handle).valid) {
    return D3DERR_INVALIDCALL;
  }
  if (recording_) {
    recording_->vertexShader = handle;
    return D3D_OK;
  }
  state_.vertexShader = handle;
  if (shader)
    for (const auto& [reg, value] : shader->declaration.constants) constants_[reg] = value;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetVertexShader(DWORD* handle) {
  if (!handle) return D3DERR_INVALIDCALL;
  *handle = state_.vertexShader;
  return D3D_OK;
}

HRESULT IDirect3DDevice8::DeleteVertexShader(DWORD handle) {
  auto it = shaders_.find(handle);
  if (it == shaders_.end()) return D3DERR_INVALIDCALL;
  shaders_.erase(it);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::SetVertexShaderConstant(DWORD reg, const void* data, DWORD count) {
  if (!data || reg >= kVertexShaderConstants || count > kVertexShaderConstants - reg) return D3DERR_INVALIDCALL;
  std::memcpy(&constants_[reg], data, sizeof(ShaderFloat4) * count);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::GetVertexShaderConstant(DWORD reg, void* data, DWORD count) {
  if (!data || reg >= kVertexShaderConstants || count > kVertexShaderConstants - reg) return D3DERR_INVALIDCALL;
  std::memcpy(data, &constants_[reg], sizeof(ShaderFloat4) * count);
  return D3D_OK;
}

HRESULT IDirect3DDevice8::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                               UINT startIndex, UINT primitiveCount) {
  UINT count;
  if (!inScene_ || !IndexCountOf(type, primitiveCount, count) || !state_.indices) return D3DERR_INVALIDCALL;
  const IDirect3DIndexBuffer8& ib = *state_.indices;
  const UINT size = IndexSize(ib.Format());
  if ((uint64_t(startIndex) + count) * size > ib.Length()) return D3DERR_INVALIDCALL;

  DrawRequest request{};
  request.type = type;
  request.primitiveCount = primitiveCount;
  request.indices = ib.Bytes() + size_t(startIndex) * size;
  request.indexFormat = ib.Format();
  request.indexCount = count;
  request.baseVertexIndex = static_cast<INT>(state_.baseVertexIndex);
  request.minIndex = minIndex;
  request.numVertices = numVertices;
  for (UINT s = 0; s < kMaxStreams; ++s)
    if (const IDirect3DVertexBuffer8* vb = state_.streams[s].buffer)
      request.streams[s] = {vb->Bytes(), vb->Length(), state_.streams[s].stride, vb};
  return Submit(request);
}

HRESULT IDirect3DDevice8::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertexIndices,
                                                 UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                                 const void* vertexData, UINT stride) {
  UINT count;
  if (!inScene_ || !indexData || !vertexData || stride == 0 || numVertexIndices == 0 ||
      (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32) ||
      !IndexCountOf(type, primitiveCount, count))
    return D3DERR_INVALIDCALL;
  // The caller's vertices are known only by the range it names; every index must lie inside it.
  for (UINT i = 0; i < count; ++i) {
    uint32_t index = IndexAt(indexData, indexFormat, i);
    if (index < minVertexIndex || index - minVertexIndex >= numVertexIndices) return D3DERR_INVALIDCALL;
  }
  DrawRequest request{};
  request.type = type;
  request.primitiveCount = primitiveCount;
  request.indices = indexData;
  request.indexFormat = indexFormat;
  request.indexCount = count;
  request.minIndex = minVertexIndex;
  request.numVertices = numVertexIndices;
  const uint64_t bytes = (uint64_t(minVertexIndex) + numVertexIndices) * stride;
  if (bytes > 0xFFFFFFFFull) return D3DERR_INVALIDCALL;
  request.streams[0] = {static_cast<const uint8_t*>(vertexData), static_cast<UINT>(bytes), stride, nullptr};
  HRESULT r = Submit(request);
  // As on the original, an UP draw leaves stream 0 and the indices unbound.
  Rebind(state_.streams[0].buffer, static_cast<IDirect3DVertexBuffer8*>(nullptr));
  state_.streams[0].stride = 0;
  Rebind(state_.indices, static_cast<IDirect3DIndexBuffer8*>(nullptr));
  state_.baseVertexIndex = 0;
  return r;
}

HRESULT IDirect3DDevice8::Submit(DrawRequest& request) {
  if (request.primitiveCount == 0) return D3D_OK;
  uint32_t need[kMaxStreams] = {};
  uint32_t mask;
  const DWORD vs = state_.vertexShader;
  if (vs & 1) {
    const VertexShaderObject* shader = FindVertexShader(vs);
    if (!shader) return D3DERR_INVALIDCALL;
    std::copy(std::begin(shader->declaration.streamBytes), std::end(shader->declaration.streamBytes), need);
    mask = shader->declaration.streamMask;
    request.shader = shader;
  } else {
    FvfLayout layout = LayoutOfFvf(vs);
    if (!layout.valid) return D3DERR_INVALIDCALL;
    need[0] = layout.stride;
    mask = 1;
    request.fvf = vs;
  }

  uint64_t last = 0;
  for (UINT i = 0; i < request.indexCount; ++i)
    last = std::max<uint64_t>(last, IndexAt(request.indices, request.indexFormat, i));
  last += static_cast<uint64_t>(request.baseVertexIndex);
  for (UINT s = 0; s < kMaxStreams; ++s) {
    if (!(mask & (1u << s))) continue;
    const DrawStream& stream = request.streams[s];
    if (!stream.data || stream.stride < need[s] || last * stream.stride + need[s] > stream.size)
      return D3DERR_INVALIDCALL;
  }
  if (Lost()) return D3D_OK;
  request.constants = constants_;
  request.state = &state_;
  request.renderTarget = renderTarget_;
  request.depthStencil = depthStencil_;
  renderer_->Draw(request);
  return D3D_OK;
}

}  // namespace plat
