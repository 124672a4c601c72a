#include "platform/gfx/RecordingRenderer.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/gfx/D3D8Resource.h"
#include "platform/gfx/FormatInfo.h"

namespace plat {

namespace {

RecordedTexture Describe(const IDirect3DBaseTexture8* base) {
  RecordedTexture t;
  auto* texture = dynamic_cast<const IDirect3DTexture8*>(base);
  if (!texture) return t;
  t.id = texture->Id();
  t.name = texture->GetName();
  t.width = texture->Width();
  t.height = texture->Height();
  t.format = texture->Format();
  t.changeCount = texture->ChangeCount();
  return t;
}

uint32_t IndexAt(const void* indices, D3DFORMAT format, UINT i) {
  const auto* bytes = static_cast<const uint8_t*>(indices);
  if (format == D3DFMT_INDEX16) {
    uint16_t v;
    std::memcpy(&v, bytes + 2 * size_t(i), 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, bytes + 4 * size_t(i), 4);
  return v;
}

}  // namespace

void RecordingRenderer::FailCreate(HRESULT result, UINT reducedBackBufferCount) {
  createFailures_.push_back({result, reducedBackBufferCount});
}

void RecordingRenderer::FailReset(HRESULT result) { resetFailures_.push_back(result); }

void RecordingRenderer::ClearLog() {
  draws_.clear();
  clears_.clear();
  creates_.clear();
  presents_ = 0;
  resets_ = 0;
}

HRESULT RecordingRenderer::CreateDevice(const DeviceCreateInfo& info, D3DPRESENT_PARAMETERS& params) {
  HRESULT result = D3D_OK;
  if (!createFailures_.empty()) {
    Failure f = createFailures_.front();
    createFailures_.pop_front();
    result = f.result;
    if (f.backBufferCount) params.BackBufferCount = f.backBufferCount;
  }
  creates_.push_back({info, params, result});
  if (result == D3D_OK) level_ = D3D_OK;
  return result;
}

HRESULT RecordingRenderer::Reset(D3DPRESENT_PARAMETERS&) {
  ++resets_;
  if (!resetFailures_.empty()) {
    HRESULT r = resetFailures_.front();
    resetFailures_.pop_front();
    return r;
  }
  level_ = D3D_OK;
  return D3D_OK;
}

// Clears reach the target's bytes, so a read of the back buffer shows the clear colour.
void RecordingRenderer::Clear(const ClearRequest& request) {
  clears_.push_back({request.flags, request.color, request.z, request.stencil,
                     std::vector<D3DRECT>(request.rects, request.rects + request.rectCount),
                     request.renderTarget ? request.renderTarget->Id() : 0});
  for (DWORD i = 0; i < request.rectCount; ++i) {
    const D3DRECT& r = request.rects[i];
    if ((request.flags & D3DCLEAR_TARGET) && request.renderTarget) {
      IDirect3DSurface8& t = *request.renderTarget;
      const uint32_t bytes = LayoutOf(t.Desc().Format).blockBytes;
      for (LONG y = r.y1; y < r.y2; ++y)
        for (LONG x = r.x1; x < r.x2; ++x) PackColor(t.Desc().Format, request.color, t.Bits() + y * t.Pitch() + x * bytes);
    }
    if ((request.flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && request.depthStencil) {
      IDirect3DSurface8& d = *request.depthStencil;
      const uint32_t bytes = LayoutOf(d.Desc().Format).blockBytes;
      LONG right = std::min<LONG>(r.x2, LONG(d.Desc().Width)), bottom = std::min<LONG>(r.y2, LONG(d.Desc().Height));
      for (LONG y = r.y1; y < bottom; ++y)
        for (LONG x = r.x1; x < right; ++x)
          PackDepthStencil(d.Desc().Format, request.z, request.stencil, request.flags & D3DCLEAR_ZBUFFER,
                           request.flags & D3DCLEAR_STENCIL, d.Bits() + y * d.Pitch() + x * bytes);
    }
  }
}

void RecordingRenderer::Draw(const DrawRequest& request) {
  RecordedDraw& d = draws_.emplace_back();
  d.type = request.type;
  d.primitiveCount = request.primitiveCount;
  d.vertexShader = request.state->vertexShader;
  d.state = *request.state;
  for (DWORD stage = 0; stage < kMaxTextureStages; ++stage) {
    d.textures[stage] = Describe(request.state->textures[stage]);
    d.state.textures[stage] = nullptr;
  }
  for (StreamSource& s : d.state.streams) s.buffer = nullptr;
  d.state.indices = nullptr;
  d.renderTarget = request.renderTarget ? request.renderTarget->Id() : 0;

  d.vertexNumbers.resize(request.indexCount);
  for (UINT i = 0; i < request.indexCount; ++i)
    d.vertexNumbers[i] = IndexAt(request.indices, request.indexFormat, i) + uint32_t(request.baseVertexIndex);
  if (!resolve_) return;
  // Each vertex runs once, however many indices name it.
  VertexProcessor processor(request);
  d.slots.resize(request.indexCount);
  const auto [low, high] = std::minmax_element(d.vertexNumbers.begin(), d.vertexNumbers.end());
  const uint32_t first = low == d.vertexNumbers.end() ? 0 : *low;
  const uint64_t range = low == d.vertexNumbers.end() ? 0 : uint64_t(*high) - first + 1;
  std::vector<int32_t> dense(range <= 65536 ? range : 0, -1);
  std::unordered_map<uint32_t, uint32_t> sparse;
  d.vertices.reserve(std::min<uint64_t>(range, request.indexCount));
  for (UINT i = 0; i < request.indexCount; ++i) {
    const uint32_t v = d.vertexNumbers[i];
    const uint32_t next = static_cast<uint32_t>(d.vertices.size());
    uint32_t slot;
    if (!dense.empty()) {
      int32_t& known = dense[v - first];
      if (known < 0) known = static_cast<int32_t>(next);
      slot = static_cast<uint32_t>(known);
    } else {
      slot = sparse.emplace(v, next).first->second;
    }
    if (slot == next) d.vertices.push_back(processor.Process(v));
    d.slots[i] = slot;
  }
}

void RecordingRenderer::Present(IDirect3DSurface8&) { ++presents_; }

}  // namespace plat
