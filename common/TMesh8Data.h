// The geometry that mesh instances share: one vertex buffer per morph frame, the 16-bit index
// buffer, the motion clips, the bounds and the part table; for the fixed-function path also the
// scratch vertex buffer that blends and colour copies are written into, with its dirty marks.
#pragma once
#include <cstdint>
#include <vector>

#include "common/TCountedPtr.h"
#include "platform/gfx/D3D8Buffer.h"

struct TMeshRun {
  uint32_t first;
  uint32_t count;
};

// Per part, the maximal runs of consecutive triangles of that part in file order; for the
// fixed-function path also each part's vertex indices (three per triangle, in run order).
class TMeshPartTable {
 public:
  // partIndices holds one part number below partCount per triangle; indices three per triangle
  // (only read when withLists).
  TMeshPartTable(const uint16_t* indices, const uint32_t* partIndices, uint32_t triangleCount, uint32_t partCount,
                 bool withLists);

  uint32_t GetPartCount() const { return static_cast<uint32_t>(parts.size()); }
  const std::vector<TMeshRun>& GetRuns(uint32_t part) const { return parts[part]; }
  uint32_t GetTriangleTotal(uint32_t part) const { return totals[part]; }
  // Empty when the table was built for vertex shaders.
  const std::vector<uint32_t>& GetIndexList(uint32_t part) const;
  // The first part with a run holding triangle n; -1 when none.
  int32_t FindPartOfTriangle(uint32_t n) const;
  // The part number of every triangle, from the runs.
  std::vector<uint32_t> PartIndices(uint32_t triangleCount) const;

 private:
  std::vector<std::vector<TMeshRun>> parts;
  std::vector<std::vector<uint32_t>> indexLists;
  std::vector<uint32_t> totals;
};

// One motion clip: the morph frame shown at each clip frame and how far the time moves per step
// while it stands there. Both arrays hold frameCount entries.
struct TMotionClip8 {
  std::vector<uint32_t> frameMap;
  std::vector<float> speeds;
  uint32_t frameCount = 0;
};

struct TMeshBounds {
  float x = 0, y = 0, z = 0;
  float radius = 0;
  float halfRadius = 0;
};

class TMesh8Data {
 public:
  using VertexBuffer = TCountedPtr<plat::IDirect3DVertexBuffer8>;
  using FrameArray = std::vector<VertexBuffer>;
  using ClipArray = std::vector<TMotionClip8>;

  // Takes the buffers and clips by reference and builds the part table; without vertex shaders
  // also the index lists, the scratch buffer and the dirty marks (all set). A scratch buffer the
  // device refuses throws my_error.
  TMesh8Data(const TCountedPtr<FrameArray>& frames, uint32_t vertexCount, uint32_t frameCount,
             const TCountedPtr<plat::IDirect3DIndexBuffer8>& indexBuffer, const uint32_t* partIndices,
             uint32_t triangleCount, uint32_t partCount, const TCountedPtr<ClipArray>& clips, uint32_t clipCount);
  // A private deep copy: buffers duplicated with their contents, clips and part table shared. A
  // buffer the device cannot duplicate throws my_error.
  static TMesh8Data* Copy(const TMesh8Data& other);
  TMesh8Data(const TMesh8Data&) = delete;
  TMesh8Data& operator=(const TMesh8Data&) = delete;

  void AddRef() { ++refCount; }
  // Destroys the geometry when the count reaches 0; returns what is left.
  uint32_t Release();
  uint32_t GetRefCount() const { return refCount; }

  const TMeshPartTable& GetPartTable() const { return *partTable; }
  void SetPartTable(const TCountedPtr<TMeshPartTable>& table) { partTable = table; }
  bool SharesPartTable(const TMesh8Data& other) const { return partTable.SharesWith(other.partTable); }
  // Null for an index outside the clips.
  const TMotionClip8* GetClip(uint32_t index) const;
  plat::IDirect3DIndexBuffer8* GetIndexBuffer() const { return indexBuffer.Get(); }
  // Null for a frame outside the morph frames.
  plat::IDirect3DVertexBuffer8* GetVertexBuffer(uint32_t frame) const;
  plat::IDirect3DVertexBuffer8* GetScratchBuffer() const { return scratch.Get(); }

  uint32_t GetVertexCount() const { return vertexCount; }
  uint32_t GetFrameCount() const { return frameCount; }
  uint32_t GetTriangleCount() const { return triangleCount; }
  uint32_t GetClipCount() const { return clipCount; }
  TMeshBounds& Bounds() { return bounds; }
  const TMeshBounds& Bounds() const { return bounds; }

  // Dirty marks (fixed-function path only; nothing happens without them). part -1: every part.
  void MarkDirty(uint32_t part);
  // The part's dirty byte, cleared.
  uint8_t TestAndClearDirty(uint32_t part);
  // Whether instance `filler` must fill the part again: it is dirty, or another instance filled it
  // last. Clears the mark and records the filler.
  bool TakeRefill(uint32_t part, uint64_t filler);
  // The part was just filled from the current values of instance `filler`: clean, and its.
  void MarkFilled(uint32_t part, uint64_t filler);

 private:
  TMesh8Data() = default;
  ~TMesh8Data() = default;
  void CreateFixedFunctionData(uint32_t partCount);

  TCountedPtr<FrameArray> frames;
  uint32_t vertexCount = 0;
  uint32_t frameCount = 0;
  TCountedPtr<ClipArray> clips;
  uint32_t clipCount = 0;
  TCountedPtr<plat::IDirect3DIndexBuffer8> indexBuffer;
  uint32_t triangleCount = 0;
  TMeshBounds bounds;
  TCountedPtr<TMeshPartTable> partTable;
  std::vector<uint8_t> dirty;
  std::vector<uint64_t> filledBy;  // the instance whose values the scratch part holds (0 none)
  VertexBuffer scratch;
  uint32_t refCount = 1;
};
