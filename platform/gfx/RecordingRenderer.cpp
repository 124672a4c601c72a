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

// One packed pixel that a clear writes. Bits set in keep stay as they were (a depth clear keeps the
// stencil); bytes is 0 when the format has no such packing.
struct PixelFill {
  uint32_t bytes = 0;
  uint8_t set[4] = {}, keep[4] = {};
};

PixelFill ColorFill(D3DFORMAT format, D3DCOLOR color) {
  PixelFill f;
  if (PackColor(format, color, f.set)) f.bytes = LayoutOf(format).blockBytes;
  return f;
}

// Packed over a pixel of zeros and over one of ones: the bits that differ are the kept ones.
PixelFill DepthStencilFill(D3DFORMAT format, float z, DWORD stencil, bool writeDepth, bool writeStencil) {
  PixelFill f;
  uint8_t ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  if (!PackDepthStencil(format, z, stencil, writeDepth, writeStencil, f.set) ||
      !PackDepthStencil(format, z, stencil, writeDepth, writeStencil, ones))
    return f;
  f.bytes = LayoutOf(format).blockBytes;
  for (uint32_t i = 0; i < f.bytes; ++i) f.keep[i] = f.set[i] ^ ones[i];
  return f;
}

// Writes the pixel over the rectangle: the first row pixel by pixel and the others as copies of it,
// unless some bits are kept. A depth surface may be smaller than the target the rectangle fits.
void Fill(IDirect3DSurface8& s, const D3DRECT& r, const PixelFill& f, bool clip) {
  if (!f.bytes) return;
  const LONG right = clip ? std::min<LONG>(r.x2, LONG(s.Desc().Width)) : r.x2;
  const LONG bottom = clip ? std::min<LONG>(r.y2, LONG(s.Desc().Height)) : r.y2;
  if (right <= r.x1 || bottom <= r.y1) return;
  const size_t rowBytes = size_t(right - r.x1) * f.bytes;
  uint8_t* first = s.Bits() + size_t(r.y1) * s.Pitch() + size_t(r.x1) * f.bytes;
  const bool keeps = std::any_of(f.keep, f.keep + f.bytes, [](uint8_t k) { return k != 0; });
  for (LONG y = r.y1; y < bottom; ++y) {
    uint8_t* row = first + size_t(y - r.y1) * s.Pitch();
    if (keeps) {
      for (size_t at = 0; at < rowBytes; ++at) row[at] = uint8_t((row[at] & f.keep[at % f.bytes]) | f.set[at % f.bytes]);
    } else if (y == r.y1) {
      for (size_t at = 0; at < rowBytes; at += f.bytes) std::memcpy(row + at, f.set, f.bytes);
    } else {
      std::memcpy(row, first, rowBytes);
    }
  }
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
  const bool target = (request.flags & D3DCLEAR_TARGET) && request.renderTarget;
  const bool depth = (request.flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && request.depthStencil;
  PixelFill color, depthStencil;
  if (target) color = ColorFill(request.renderTarget->Desc().Format, request.color);
  if (depth)
    depthStencil = DepthStencilFill(request.depthStencil->Desc().Format, request.z, request.stencil,
                                    request.flags & D3DCLEAR_ZBUFFER, request.flags & D3DCLEAR_STENCIL);
  for (DWORD i = 0; i < request.rectCount; ++i) {
    const D3DRECT& r = request.rects[i];
    if (target) Fill(*request.renderTarget, r, color, false);
    if (depth) Fill(*request.depthStencil, r, depthStencil, true);
  }
}

void RecordingRenderer::Draw(const DrawRequest& request) {
  RecordedDraw& d = draws_.emplace_back(*request.state);
  d.type = request.type;
  d.primitiveCount = request.primitiveCount;
  d.vertexShader = request.state->vertexShader;
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
