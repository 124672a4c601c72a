// The drawable triangle mesh: a small value object (name, per-part materials, motion state, shader)
// sharing its reference-counted geometry with every copy made from it. Writes to vertices or
// indices first give the instance a private copy of the geometry.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/FitGridAxis.h"
#include "common/TCountedPtr.h"
#include "common/TMaterial8.h"
#include "common/TMesh8Data.h"
#include "platform/gfx/D3DXMath.h"

class TFile;
class TShaderBase8;
class TView8;

class TMesh8 {
 public:
  using Rows = std::vector<std::vector<TMesh8>>;
  // The part mask that selects every part.
  static constexpr uint32_t kAllParts = 0xFFFFFFFFu;

  // From parts: copies the name and materials, builds the geometry, computes the bounds and sets
  // the default shader. partIndices holds triangleCount entries.
  TMesh8(const std::string& name, const TCountedPtr<TMesh8Data::FrameArray>& frames, uint32_t vertexCount,
         uint32_t frameCount, const TCountedPtr<plat::IDirect3DIndexBuffer8>& indexBuffer,
         const uint32_t* partIndices, uint32_t triangleCount, const std::vector<TMaterial8>& materials,
         uint32_t materialCount, const TCountedPtr<TMesh8Data::ClipArray>& clips, uint32_t clipCount);
  TMesh8(const TMesh8& other);
  TMesh8& operator=(const TMesh8& other);
  ~TMesh8();

  static void SetFolder(const std::string& folder);
  static const std::string& GetFolder();

  // folder + name, ".msh" or ".tob" by its tag. A missing file throws my_error with the path (line
  // 40); a damaged one throws my_error naming it.
  static TMesh8 Load(const std::string& name);
  // The static layout from the name on; frame files embed it with the format 0x142.
  static TMesh8 ReadBody(TFile& file, uint32_t vertexFormat);
  // The morphing layout from the name on.
  static TMesh8 ReadBodyAlt(TFile& file, uint32_t vertexFormat);
  // "dmymsh": one part "dmymat", three zero vertices, one triangle, no clips.
  static TMesh8 CreateDummy(uint32_t vertexFormat);

  // Drops the geometry and the shader; the instance is empty afterwards.
  void Release();
  // A copy with a private geometry, mirrored on axis 1, 2 or 3 (0: none).
  TMesh8& Clone(TMesh8& out, uint32_t mirrorAxis) const;

  TMesh8Data* GetData() const { return data; }
  const std::string& GetName() const { return name; }
  void SetName(const std::string& newName) { name = newName; }
  uint16_t GetVertexCount() const { return static_cast<uint16_t>(data->GetVertexCount()); }
  uint16_t GetTriangleCount() const { return static_cast<uint16_t>(data->GetTriangleCount()); }
  uint32_t GetFrameCount() const { return data->GetFrameCount(); }
  bool HasMotion() const { return data->GetClipCount() != 0; }
  uint32_t GetVertexFormat() const;
  uint32_t GetPartCount() const { return data->GetPartTable().GetPartCount(); }
  const TMaterial8& GetMaterial(uint32_t part) const { return materials.at(part); }
  TMaterial8& GetMaterialForUpdate(uint32_t part);
  // The material of the part whose runs hold triangle n (16 bits); null when none does.
  const TMaterial8* GetMaterialOfFace(uint32_t n) const;
  // The bounds with the centre moved by the matrix unless it is exactly the identity.
  void GetBoundingSphere(TMeshBounds& out, const plat::D3DMATRIX& matrix) const;
  const TCountedPtr<TShaderBase8>& GetShader() const { return shader; }
  // A number no other live instance has; the fixed-function path tells fills apart by it.
  uint64_t GetInstanceId() const { return instanceId; }

  // Part -1 means every part. Colour and alpha mark the part dirty, render mode and order do not.
  void SetColor(float r, float g, float b, float a, uint32_t part);
  void SetColorRGB(float r, float g, float b, uint32_t part);
  void SetAlpha(float a, uint32_t part);
  void SetRenderMode(uint32_t code, uint32_t part);
  void SetDrawOrder(uint32_t order, uint32_t part);
  void SetShader(const TCountedPtr<TShaderBase8>& newShader);

  // Motion. Calls that need a clip do nothing when the current one does not exist.
  void SetMotion(uint32_t clipIndex);
  uint32_t GetMotion() const { return clip; }
  float GetMotionTime() const { return time; }
  void SetMotionTime(float t);
  bool AdvanceMotion(bool loop, float step);
  bool StepMotion(bool loop) { return AdvanceMotion(loop, 1.0f); }
  bool RewindMotion(float step);
  // Whether (clip, time) moved since the last blend; remembers the pair.
  bool MotionChanged();
  // The two morph frames drawn at the current time and the weight of the second.
  void GetBlendFrames(uint32_t& frameA, uint32_t& frameB, float& weight) const;

  // Geometry. Write locks make the geometry private and mark every part dirty.
  void* LockVertices(uint32_t frame);
  void UnlockVertices(uint32_t frame, bool recompute);
  const void* LockVerticesReadOnly(uint32_t frame) const;
  uint16_t* LockIndices();
  void UnlockIndices();
  const uint16_t* LockIndicesReadOnly() const;
  void UpdateBounds();
  void RebuildPartTable();
  void Scale(float x, float y, float z);
  void Transform(const plat::D3DMATRIX& matrix);
  void Mirror(uint32_t axis);
  void MakeUnique();
  // Splits the mesh into grid cells of the given sizes over x and z: rows run along z, columns
  // along x. The ranges receive the grid's extent; an empty cell holds the dummy mesh.
  static void Divide(TMesh8& mesh, float cellSizeX, float cellSizeZ, TAxisRange& xRange, TAxisRange& zRange,
                     uint32_t& columns, uint32_t& rows, TCountedPtr<Rows>& out);

  // Drawing: every part into the render mode of its material, and one part through the shader.
  void Queue(const plat::D3DMATRIX& world, TView8* view);
  void DrawPart(const plat::D3DMATRIX& world, TView8* view, uint32_t part);

 private:
  TMesh8() = default;
  // The cell's triangles (in list order) with their parts, materials and used vertices.
  TMesh8 CreateSubMesh(const std::vector<uint16_t>& triangles, const std::vector<uint32_t>& triangleParts,
                       const uint16_t* indices, const uint8_t* vertices) const;
  template <class F>
  void ForParts(uint32_t part, bool markDirty, F apply);
  void BakePositions(const plat::D3DXMATRIX& matrix);
  void AfterGeometryChange();

  std::string name;
  std::vector<TMaterial8> materials;
  uint32_t partCount = 0;
  uint32_t clip = 0;
  float time = 0.0f;
  int32_t blendedClip = -1;
  float blendedTime = -3.4028235e38f;
  TCountedPtr<TShaderBase8> shader;
  TMesh8Data* data = nullptr;
  uint64_t instanceId = 0;
};
