#include "common/TDrawBatch8.h"

#include <algorithm>
#include <cstring>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "common/TVertexShader8.h"
#include "common/TView8.h"
#include "platform/gfx/VertexLayout.h"

using namespace plat;

namespace {

// The mesh vertex as the programs read it: position, colour, texture coordinates.
constexpr uint32_t kMeshStride = 24;
constexpr uint32_t kColorOffset = 12, kUvOffset = 16;
constexpr uint32_t kBatchFloats = kBatchStride / sizeof(float);
// 16-bit indices reach this many vertices.
constexpr size_t kMaxBatchVertices = 0xFFFF;
constexpr uint32_t kBlendColors = 1, kBlendUv = 2;

const TView8& ViewOrDefault(const TView8* view) {
  static const TView8 identity;
  return view ? *view : identity;
}

void SetTransposed(IDirect3DDevice8* device, DWORD reg, const D3DXMATRIX* m) {
  D3DXMATRIX transposed;
  D3DXMatrixTranspose(&transposed, m);
  device->SetVertexShaderConstant(reg, &transposed, 4);
}

IDirect3DTexture8* AppliedTexture(const TTexture8& texture) { return texture.IsValid() ? texture.Object() : nullptr; }

// One mesh vertex as the program's input registers hold it.
struct MeshVertex {
  ShaderFloat4 position, colour;
  float u, v;
};

MeshVertex Fetch(const uint8_t* vertex) {
  MeshVertex out;
  float xyz[3];
  std::memcpy(xyz, vertex, sizeof xyz);
  out.position = {xyz[0], xyz[1], xyz[2], 1.0f};
  D3DCOLOR packed;
  std::memcpy(&packed, vertex + kColorOffset, sizeof packed);
  out.colour = ColorToFloat4(packed);
  std::memcpy(&out.u, vertex + kUvOffset, sizeof(float));
  std::memcpy(&out.v, vertex + kUvOffset + sizeof(float), sizeof(float));
  return out;
}

// a x wa + b x wb, as the morph programs blend (mul, then mad).
float Mix(float a, float b, float wa, float wb) { return b * wb + a * wa; }
ShaderFloat4 Mix(const ShaderFloat4& a, const ShaderFloat4& b, float wa, float wb) {
  return {Mix(a.x, b.x, wa, wb), Mix(a.y, b.y, wa, wb), Mix(a.z, b.z, wa, wb), Mix(a.w, b.w, wa, wb)};
}

// The point under the matrix, as D3DXVec3TransformCoord gives it.
D3DXVECTOR3 Moved(const ShaderFloat4& p, const D3DXMATRIX& m) {
  const float w = p.x * m._14 + p.y * m._24 + p.z * m._34 + m._44;
  D3DXVECTOR3 r(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
                p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43);
  if (w != 1.0f && w != 0.0f) r = D3DXVECTOR3(r.x / w, r.y / w, r.z / w);
  return r;
}

ShaderFloat4 Times(const ShaderFloat4& a, const ShaderFloat4& b) { return {a.x * b.x, a.y * b.y, a.z * b.z, a.w * b.w}; }

}  // namespace

bool TDrawBatch8::Batchable(const TDrawItem8& item, Key& key, Span& span) {
  const TMesh8* mesh = item.mesh;
  if (!mesh || !mesh->GetData() || item.part >= mesh->GetPartCount() || !mesh->GetShader()) return false;
  const TShaderBase8& shader = *mesh->GetShader();
  if (shader.GetColorRule() == TShaderColor::kNone || BatchShaderHandle() == 0) return false;
  if (!TD3D8::GetDevice() || !TD3D8::Instance()->UseVertexShader()) return false;
  const TMesh8Data& data = *mesh->GetData();
  const uint32_t vertexCount = data.GetVertexCount();
  const uint32_t triangles = data.GetPartTable().GetTriangleTotal(item.part);
  if (vertexCount == 0 || triangles == 0 || triangles > kMaxPartTriangles) return false;
  span = {};
  if (shader.GetMorphKind() != 0) mesh->GetBlendFrames(span.frameA, span.frameB, span.weight);
  for (const uint32_t frame : {span.frameA, span.frameB}) {
    const IDirect3DVertexBuffer8* vertices = data.GetVertexBuffer(frame);
    if (!vertices || uint64_t(vertexCount) * kMeshStride > vertices->Length()) return false;
  }
  const IDirect3DIndexBuffer8* indices = data.GetIndexBuffer();
  if (!indices || indices->Format() != D3DFMT_INDEX16) return false;
  // Whatever a lone draw would refuse stays a lone draw.
  const auto* index = reinterpret_cast<const uint16_t*>(indices->Bytes());
  uint32_t low = vertexCount, high = 0;
  for (const TMeshRun& run : data.GetPartTable().GetRuns(item.part)) {
    if (uint64_t(3) * (uint64_t(run.first) + run.count) * 2 > indices->Length()) return false;
    for (uint32_t i = 3 * run.first; i < 3 * (run.first + run.count); ++i) {
      if (index[i] >= vertexCount) return false;
      low = std::min<uint32_t>(low, index[i]);
      high = std::max<uint32_t>(high, index[i]);
    }
  }
  if (low > high || high - low >= kMaxPartVertices) return false;
  span.first = low;
  span.count = high - low + 1;
  key.view = item.view;
  key.texture = AppliedTexture(mesh->GetMaterial(item.part).GetTexture());
  return true;
}

void TDrawBatch8::DrawAll(const std::vector<TDrawItem8>& items, bool orderFree) {
  if (!orderFree) {
    for (const TDrawItem8& item : items) Draw(item);
    Flush();
    return;
  }
  groupKeys_.clear();
  grouped_.clear();
  uint32_t groups = 0;
  for (uint32_t i = 0; i < items.size(); ++i) {
    Sorted& entry = grouped_.emplace_back();
    entry.item = i;
    entry.group = groups;  // an item that batches with nothing is a group of its own
    entry.batchable = Batchable(items[i], entry.key, entry.span);
    if (entry.batchable) {
      auto known = std::find_if(groupKeys_.begin(), groupKeys_.end(), [&](const auto& g) { return g.first == entry.key; });
      if (known != groupKeys_.end())
        entry.group = known->second;
      else
        groupKeys_.emplace_back(entry.key, entry.group);
    }
    if (entry.group == groups) ++groups;
  }
  // By group, each in queue order.
  std::sort(grouped_.begin(), grouped_.end(),
            [](const Sorted& a, const Sorted& b) { return a.group != b.group ? a.group < b.group : a.item < b.item; });
  for (const Sorted& entry : grouped_) Place(items[entry.item], entry.batchable, entry.key, entry.span);
  Flush();
}

void TDrawBatch8::Draw(const TDrawItem8& item) {
  Key key;
  Span span;
  const bool batchable = Batchable(item, key, span);
  Place(item, batchable, key, span);
}

void TDrawBatch8::Place(const TDrawItem8& item, bool batchable, const Key& key, const Span& span) {
  if (!batchable) {
    Flush();
    item.Draw();
    return;
  }
  if (!items_.empty() && (!(key == key_) || vertices_.size() / kBatchFloats + span.count > kMaxBatchVertices))
    Flush();
  key_ = key;
  items_.push_back(&item);
  Append(item, span);
}

void TDrawBatch8::Flush() {
  if (items_.size() == 1)
    items_.front()->Draw();
  else if (items_.size() > 1)
    Submit();
  items_.clear();
  vertices_.clear();
  indices_.clear();
}

void TDrawBatch8::Append(const TDrawItem8& item, const Span& span) {
  const TMesh8& mesh = *item.mesh;
  const TMesh8Data& data = *mesh.GetData();
  const TShaderColor rule = mesh.GetShader()->GetColorRule();
  const uint32_t kind = mesh.GetShader()->GetMorphKind();
  const D3DCOLORVALUE& e = mesh.GetMaterial(item.part).GetMaterial().Emissive;
  const ShaderFloat4 material{e.r, e.g, e.b, e.a};
  const uint8_t* frameA = data.GetVertexBuffer(span.frameA)->Bytes();
  const uint8_t* frameB = data.GetVertexBuffer(span.frameB)->Bytes();
  const bool blend = span.frameA != span.frameB;
  const float wa = 1.0f - span.weight, wb = span.weight;
  // Where the part's first vertex lands; indices below it are not used.
  const auto base = static_cast<int32_t>(vertices_.size() / kBatchFloats) - static_cast<int32_t>(span.first);
  const D3DXMATRIX world(item.matrix);
  const size_t at = vertices_.size();
  vertices_.resize(at + size_t(span.count) * kBatchFloats);
  float* out = vertices_.data() + at;
  for (uint32_t k = span.first; k < span.first + span.count; ++k, out += kBatchFloats) {
    MeshVertex v = Fetch(frameA + size_t(k) * kMeshStride);
    if (blend) {
      const MeshVertex b = Fetch(frameB + size_t(k) * kMeshStride);
      v.position = Mix(v.position, b.position, wa, wb);
      if (kind & kBlendColors) v.colour = Mix(v.colour, b.colour, wa, wb);
      if (kind & kBlendUv) v.u = Mix(v.u, b.u, wa, wb), v.v = Mix(v.v, b.v, wa, wb);
    }
    const ShaderFloat4 colour =
        rule == TShaderColor::kMaterial ? material : rule == TShaderColor::kVertex ? v.colour : Times(v.colour, material);
    const D3DXVECTOR3 position = Moved(v.position, world);
    const float values[kBatchFloats] = {position.x, position.y, position.z, colour.x, colour.y, colour.z, colour.w,
                                        v.u, v.v};
    std::memcpy(out, values, sizeof values);
  }
  const auto* index = reinterpret_cast<const uint16_t*>(data.GetIndexBuffer()->Bytes());
  for (const TMeshRun& run : data.GetPartTable().GetRuns(item.part))
    for (uint32_t i = 3 * run.first; i < 3 * (run.first + run.count); ++i)
      indices_.push_back(static_cast<uint16_t>(base + index[i]));
}

void TDrawBatch8::Submit() {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device) return;
  const TView8& view = ViewOrDefault(key_.view);
  device->SetVertexShader(BatchShaderHandle());
  // The vertices are in world space already: the matrices are the view's alone.
  SetTransposed(device, 0, view.GetViewProjection());
  SetTransposed(device, 4, view.GetView());
  const TDrawItem8& first = *items_.front();
  first.mesh->GetMaterial(first.part).ApplyTexture(0);
  const auto vertexCount = static_cast<UINT>(vertices_.size() / kBatchFloats);
  device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexCount, static_cast<UINT>(indices_.size() / 3),
                                 indices_.data(), D3DFMT_INDEX16, vertices_.data(), kBatchStride);
}
