#include "common/TMesh8Data.h"

#include <algorithm>
#include <cstring>

#include "common/TD3D8.h"
#include "common/my_error.h"

using namespace plat;

TMeshPartTable::TMeshPartTable(const uint16_t* indices, const uint32_t* partIndices, uint32_t triangleCount,
                               uint32_t partCount, bool withLists)
    : parts(partCount), totals(partCount, 0) {
  for (uint32_t first = 0; first < triangleCount;) {
    const uint32_t part = partIndices[first];
    uint32_t end = first + 1;
    while (end < triangleCount && partIndices[end] == part) ++end;
    if (part < partCount) {
      parts[part].push_back({first, end - first});
      totals[part] += end - first;
    }
    first = end;
  }
  if (!withLists) return;
  indexLists.resize(partCount);
  for (uint32_t part = 0; part < partCount; ++part) {
    std::vector<uint32_t>& list = indexLists[part];
    list.reserve(3 * size_t(totals[part]));
    for (const TMeshRun& run : parts[part])
      for (uint32_t i = 3 * run.first; i < 3 * (run.first + run.count); ++i) list.push_back(indices[i]);
  }
}

const std::vector<uint32_t>& TMeshPartTable::GetIndexList(uint32_t part) const {
  static const std::vector<uint32_t> kNone;
  return part < indexLists.size() ? indexLists[part] : kNone;
}

int32_t TMeshPartTable::FindPartOfTriangle(uint32_t n) const {
  for (size_t part = 0; part < parts.size(); ++part)
    for (const TMeshRun& run : parts[part])
      if (n >= run.first && n - run.first < run.count) return static_cast<int32_t>(part);
  return -1;
}

std::vector<uint32_t> TMeshPartTable::PartIndices(uint32_t triangleCount) const {
  std::vector<uint32_t> result(triangleCount, 0);
  for (size_t part = 0; part < parts.size(); ++part)
    for (const TMeshRun& run : parts[part])
      for (uint32_t t = run.first; t < run.first + run.count && t < triangleCount; ++t)
        result[t] = static_cast<uint32_t>(part);
  return result;
}

namespace {

// The 16-bit indices of a buffer, read through a read-only lock.
std::vector<uint16_t> ReadIndices(IDirect3DIndexBuffer8* buffer, uint32_t count) {
  std::vector<uint16_t> out(count, 0);
  BYTE* bytes = nullptr;
  if (buffer && buffer->Lock(0, 0, &bytes, D3DLOCK_READONLY) == D3D_OK) {
    std::memcpy(out.data(), bytes, std::min<size_t>(buffer->Length(), out.size() * 2));
    buffer->Unlock();
  }
  return out;
}

DWORD FormatOf(IDirect3DVertexBuffer8* buffer) {
  D3DVERTEXBUFFER_DESC desc{};
  return buffer && buffer->GetDesc(&desc) == D3D_OK ? desc.FVF : 0;
}

}  // namespace

TMesh8Data::TMesh8Data(const TCountedPtr<FrameArray>& frameBuffers, uint32_t vertices, uint32_t frames,
                       const TCountedPtr<IDirect3DIndexBuffer8>& indices, const uint32_t* partIndices,
                       uint32_t triangles, uint32_t partCount, const TCountedPtr<ClipArray>& clipArray,
                       uint32_t clipTotal)
    : frames(frameBuffers),
      vertexCount(vertices),
      frameCount(frames),
      clips(clipArray),
      clipCount(clipTotal),
      indexBuffer(indices),
      triangleCount(triangles) {
  const bool fixedFunction = !TD3D8::Instance()->UseVertexShader();
  const std::vector<uint16_t> indexCopy = ReadIndices(fixedFunction ? indexBuffer.Get() : nullptr, 3 * triangles);
  partTable = MakeCounted<TMeshPartTable>(indexCopy.data(), partIndices, triangles, partCount, fixedFunction);
  if (fixedFunction) CreateFixedFunctionData(partCount);
}

void TMesh8Data::CreateFixedFunctionData(uint32_t partCount) {
  scratch.Reset(TD3D8::Instance()->CreateVertexBuffer(vertexCount, FormatOf(GetVertexBuffer(0)),
                                                      TD3D8::kDefaultPool, 0));
  if (!scratch) throw my_error("the device refused a mesh's scratch vertex buffer", __FILE__, __LINE__);
  dirty.assign(partCount, 1);
  filledBy.assign(partCount, 0);
}

TMesh8Data* TMesh8Data::Copy(const TMesh8Data& other) {
  auto duplicate = [](auto* source) {
    auto* copy = TD3D8::DuplicateVertexBuffer(source);
    if (!copy) throw my_error("the device could not copy a mesh's vertex buffer", __FILE__, __LINE__);
    return copy;
  };
  TMesh8Data* data = new TMesh8Data;
  try {
    data->frames = MakeCounted<FrameArray>();
    for (const VertexBuffer& frame : *other.frames) data->frames->push_back(VertexBuffer(duplicate(frame.Get())));
    data->vertexCount = other.vertexCount;
    data->frameCount = other.frameCount;
    data->triangleCount = other.triangleCount;
    data->clips = other.clips;
    data->clipCount = other.clipCount;
    data->indexBuffer.Reset(TD3D8::DuplicateIndexBuffer(other.indexBuffer.Get()));
    if (!data->indexBuffer) throw my_error("the device could not copy a mesh's index buffer", __FILE__, __LINE__);
    data->bounds = other.bounds;
    data->partTable = other.partTable;
    if (other.scratch) {
      data->scratch.Reset(duplicate(other.scratch.Get()));
      data->dirty = other.dirty;
      data->filledBy = other.filledBy;
    }
  } catch (...) {
    delete data;
    throw;
  }
  return data;
}

uint32_t TMesh8Data::Release() {
  const uint32_t left = --refCount;
  if (left == 0) delete this;
  return left;
}

const TMotionClip8* TMesh8Data::GetClip(uint32_t index) const {
  return clips && index < clipCount && index < clips->size() ? &(*clips)[index] : nullptr;
}

IDirect3DVertexBuffer8* TMesh8Data::GetVertexBuffer(uint32_t frame) const {
  return frames && frame < frames->size() ? (*frames)[frame].Get() : nullptr;
}

void TMesh8Data::MarkDirty(uint32_t part) {
  if (part == 0xFFFFFFFFu)
    dirty.assign(dirty.size(), 1);
  else if (part < dirty.size())
    dirty[part] = 1;
}

uint8_t TMesh8Data::TestAndClearDirty(uint32_t part) {
  if (part >= dirty.size()) return 0;
  const uint8_t was = dirty[part];
  dirty[part] = 0;
  return was;
}

bool TMesh8Data::TakeRefill(uint32_t part, uint64_t filler) {
  if (part >= dirty.size()) return false;
  const bool refill = dirty[part] || filledBy[part] != filler;
  dirty[part] = 0;
  filledBy[part] = filler;
  return refill;
}

void TMesh8Data::MarkFilled(uint32_t part, uint64_t filler) {
  if (part >= filledBy.size()) return;
  dirty[part] = 0;
  filledBy[part] = filler;
}
