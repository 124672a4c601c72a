#include "common/TMeshFill.h"

#include <cstring>

#include "common/TMesh8.h"
#include "common/Truncate.h"

using namespace plat;

namespace {

constexpr uint32_t kStride = 24;  // position 3 floats, colour, u, v
constexpr uint32_t kColorOffset = 12;

enum class ColorRule { Vertex, Material, Modulate };

uint32_t ColorAt(const uint8_t* vertex) {
  uint32_t c;
  std::memcpy(&c, vertex + kColorOffset, 4);
  return c;
}

void SetColorAt(uint8_t* vertex, uint32_t c) { std::memcpy(vertex + kColorOffset, &c, 4); }

// Each channel (c x m) >> 8, m = material channel x 256 truncated; alpha with alpha and so on.
uint32_t Modulate(uint32_t color, const D3DCOLORVALUE& m) {
  const float factors[4] = {m.b, m.g, m.r, m.a};  // from the low byte up
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) {
    const int64_t c = (color >> (8 * i)) & 0xFF;
    const int64_t scaled = (c * TruncateToInt(factors[i] * 256.0)) >> 8;
    out |= (static_cast<uint32_t>(scaled) & 0xFF) << (8 * i);
  }
  return out;
}

// Each 8-bit channel ((cb - ca) x W >> 8) + ca.
uint32_t BlendColor(uint32_t a, uint32_t b, int32_t weight) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) {
    const int32_t ca = (a >> (8 * i)) & 0xFF, cb = (b >> (8 * i)) & 0xFF;
    out |= (static_cast<uint32_t>(((cb - ca) * weight >> 8) + ca) & 0xFF) << (8 * i);
  }
  return out;
}

// Locks a buffer for the length of a fill.
class Locked {
 public:
  Locked(IDirect3DVertexBuffer8* buffer, DWORD flags) : buffer_(buffer) {
    if (buffer_ && buffer_->Lock(0, 0, &bytes_, flags) != D3D_OK) bytes_ = nullptr;
  }
  ~Locked() {
    if (bytes_) buffer_->Unlock();
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  uint8_t* Bytes() const { return bytes_; }
  // Whether the lock holds `count` vertices of the fill's layout.
  bool Holds(uint32_t count) const { return bytes_ && buffer_->Length() >= uint64_t(kStride) * count; }

 private:
  IDirect3DVertexBuffer8* buffer_;
  BYTE* bytes_ = nullptr;
};

void CopyPart(ColorRule rule, uint32_t part, uint32_t frame, TMesh8& mesh, bool force) {
  TMesh8Data& data = *mesh.GetData();
  if (part >= mesh.GetPartCount()) return;
  if (force)
    data.MarkFilled(part, mesh.GetInstanceId());
  else if (!data.TakeRefill(part, mesh.GetInstanceId()))
    return;
  Locked scratch(data.GetScratchBuffer(), 0), source(data.GetVertexBuffer(frame), D3DLOCK_READONLY);
  const uint32_t vertexCount = data.GetVertexCount();
  if (!scratch.Holds(vertexCount) || !source.Holds(vertexCount)) return;
  const D3DCOLORVALUE& material = mesh.GetMaterial(part).GetMaterial().Emissive;
  const uint32_t materialColor = mesh.GetMaterial(part).PackedColor();
  for (uint32_t k : data.GetPartTable().GetIndexList(part)) {
    if (k >= vertexCount) continue;
    uint8_t* out = scratch.Bytes() + size_t(kStride) * k;
    std::memcpy(out, source.Bytes() + size_t(kStride) * k, kStride);
    if (rule == ColorRule::Material)
      SetColorAt(out, materialColor);
    else if (rule == ColorRule::Modulate)
      SetColorAt(out, Modulate(ColorAt(out), material));
  }
}

void MorphPart(ColorRule rule, uint32_t part, TMesh8& mesh, uint32_t kind) {
  TMesh8Data& data = *mesh.GetData();
  if (part >= mesh.GetPartCount() || !data.GetScratchBuffer()) return;
  uint32_t first = part, last = part + 1;
  if (mesh.MotionChanged()) {
    first = 0;
    last = mesh.GetPartCount();
  } else if (!data.TakeRefill(part, mesh.GetInstanceId())) {
    return;
  }
  uint32_t frameA, frameB;
  float w;
  mesh.GetBlendFrames(frameA, frameB, w);
  if (frameA == frameB) {
    for (uint32_t p = first; p < last; ++p) CopyPart(rule, p, frameA, mesh, true);
    return;
  }
  Locked scratch(data.GetScratchBuffer(), 0), a(data.GetVertexBuffer(frameA), D3DLOCK_READONLY),
      b(data.GetVertexBuffer(frameB), D3DLOCK_READONLY);
  const uint32_t vertexCount = data.GetVertexCount();
  if (!scratch.Holds(vertexCount) || !a.Holds(vertexCount) || !b.Holds(vertexCount) || kind < 0x80000000u ||
      kind > 0x80000003u)
    return;
  const bool blendColors = kind & 1, blendUv = kind & 2;
  const int32_t weight = TruncateToInt(w * 256.0);
  for (uint32_t p = first; p < last; ++p) {
    data.MarkFilled(p, mesh.GetInstanceId());
    const TMaterial8& material = mesh.GetMaterial(p);
    const uint32_t materialColor = material.PackedColor();
    for (uint32_t k : data.GetPartTable().GetIndexList(p)) {
      if (k >= vertexCount) continue;
      const size_t at = size_t(kStride) * k;
      float va[6], vb[6], out[6];
      std::memcpy(va, a.Bytes() + at, kStride);
      std::memcpy(vb, b.Bytes() + at, kStride);
      for (int i = 0; i < 3; ++i) out[i] = va[i] + (vb[i] - va[i]) * w;
      for (int i = 4; i < 6; ++i) out[i] = blendUv ? va[i] + (vb[i] - va[i]) * w : va[i];
      uint8_t* target = scratch.Bytes() + at;
      std::memcpy(target, out, kStride);
      const uint32_t ca = ColorAt(a.Bytes() + at), cb = ColorAt(b.Bytes() + at);
      const uint32_t mixed = blendColors ? BlendColor(ca, cb, weight) : ca;
      SetColorAt(target, rule == ColorRule::Material   ? materialColor
                         : rule == ColorRule::Modulate ? Modulate(mixed, material.GetMaterial().Emissive)
                                                       : mixed);
    }
  }
}

}  // namespace

void CopyPartVertices(uint32_t part, uint32_t frame, TMesh8& mesh, bool force) {
  CopyPart(ColorRule::Vertex, part, frame, mesh, force);
}
void CopyPartVerticesConstColor(uint32_t part, uint32_t frame, TMesh8& mesh, bool force) {
  CopyPart(ColorRule::Material, part, frame, mesh, force);
}
void CopyPartVerticesModulate(uint32_t part, uint32_t frame, TMesh8& mesh, bool force) {
  CopyPart(ColorRule::Modulate, part, frame, mesh, force);
}

void DrawMorphMeshA(uint32_t part, TMesh8& mesh, uint32_t kind) { MorphPart(ColorRule::Vertex, part, mesh, kind); }
void DrawMorphMeshB(uint32_t part, TMesh8& mesh, uint32_t kind) { MorphPart(ColorRule::Material, part, mesh, kind); }
void DrawMorphMeshC(uint32_t part, TMesh8& mesh, uint32_t kind) { MorphPart(ColorRule::Modulate, part, mesh, kind); }
