// The shader objects that draw mesh parts. With vertex shaders a small assembled program does the
// transform, the colour rule and the morph blend; without them the object fills the mesh's scratch
// buffer on the CPU and draws it through the fixed-function pipeline. Created shader handles live
// in one handle cell per variant, shared by every object of that variant; a global list owns one
// object per variant and creates, releases and re-creates the handles with the device.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/TCountedPtr.h"
#include "platform/gfx/D3DXMath.h"

class TMesh8;
class TView8;

// How a one-frame program colours a vertex: what a batch of world-space vertices works out on the
// CPU instead. kNone: the program cannot be batched.
enum class TShaderColor : int8_t { kNone = -1, kVertex, kMaterial, kProduct };

class TShaderBase8 {
 public:
  TShaderBase8() = default;
  TShaderBase8(const TShaderBase8&) = delete;
  TShaderBase8& operator=(const TShaderBase8&) = delete;

  virtual void Draw(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world) = 0;
  // Fills the mesh's scratch buffer for the part before a fixed-function draw.
  virtual void DrawMesh(uint32_t part, TMesh8& mesh);
  virtual void Create() = 0;
  virtual void Release() = 0;
  virtual TShaderColor GetColorRule() const { return TShaderColor::kNone; }
  // 0x80000000 + 1 (blend the vertex colours) + 2 (blend the texture coordinates) for the programs
  // that blend two morph frames; 0 for the one-frame programs.
  virtual uint32_t GetMorphKind() const { return 0; }
  virtual ~TShaderBase8();
};

class TVertexShader8 : public TShaderBase8 {
 public:
  // singleFrameCell: the cell of the one-frame program a morph variant draws with when both frames
  // are the same; null for the one-frame variants.
  TVertexShader8(const char* source, uint32_t* handleCell, uint32_t* singleFrameCell);

  void Draw(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world) override;
  // Deletes the handle, then assembles and creates the shader when the device uses vertex shaders
  // (an assembly failure throws my_error).
  void Create() override;
  void Release() override;

  // Creates the object's shader and keeps an owning reference in the global list.
  static void Register(TShaderBase8* shader);

  const char* GetSource() const { return source; }
  uint32_t* GetHandleCell() const { return handleCell; }
  uint32_t* GetSingleFrameCell() const { return singleFrameCell; }

 private:
  void DrawWithShader(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world);
  void DrawFixedFunction(uint32_t part, TMesh8& mesh, TView8* view, const plat::D3DMATRIX& world);

  const char* source;
  uint32_t* handleCell;
  uint32_t* singleFrameCell;
};

// One morph frame; colour = vertex colour, material colour, or their product.
class TVertexColorShader8 : public TVertexShader8 {
 public:
  TVertexColorShader8();
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kVertex; }
};

class TConstColorShader8 : public TVertexShader8 {
 public:
  TConstColorShader8();
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kMaterial; }
};

class TModulateColorShader8 : public TVertexShader8 {
 public:
  TModulateColorShader8();
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kProduct; }
};

// Two morph frames blended by the motion time. Kind 0x80000000 + 1 (blend the vertex colours)
// + 2 (blend the texture coordinates).
class TMorphVertexShader8 : public TVertexShader8 {
 public:
  uint32_t GetMorphKind() const override { return morphKind; }

 protected:
  TMorphVertexShader8(uint32_t firstRow, uint32_t singleFrameRow, uint32_t kind);
  uint32_t morphKind;
};

class TVertexColorMorphShader8 : public TMorphVertexShader8 {
 public:
  explicit TVertexColorMorphShader8(uint32_t kind = 0x80000003u);
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kVertex; }
};

class TConstColorMorphShader8 : public TMorphVertexShader8 {
 public:
  explicit TConstColorMorphShader8(uint32_t kind = 0x80000003u);
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kMaterial; }
};

class TMorphShader8 : public TMorphVertexShader8 {
 public:
  TMorphShader8(bool blendColors, bool blendTextureCoordinates);
  void DrawMesh(uint32_t part, TMesh8& mesh) override;
  TShaderColor GetColorRule() const override { return TShaderColor::kProduct; }
};

// When the cell holds a handle, deletes that shader and sets the cell to 0.
void DeleteVertexShaderHandle(uint32_t* cell);
// Device creation: a fresh list with the fifteen objects of the set, their shaders created.
void CreateShaderSet();
// Before a reset, and after it.
void ReleaseShaderHandles();
void RecreateShaderHandles();
// Device cleanup: handles deleted, the list emptied.
void ReleaseShaderSet();
// The shader a new mesh draws with: material colour, with or without the morph blend.
TCountedPtr<TShaderBase8> MakeDefaultShader(const TMesh8& mesh);

// The program that draws batches: world-space vertices of position, float RGBA colour and one
// texture coordinate pair (kBatchStride bytes), transformed by c0..c3, fogged by c4..c7 and c8.
// 0 while the device has no vertex shaders.
constexpr uint32_t kBatchStride = 36;
uint32_t BatchShaderHandle();

// The set's programs: row 0..14 of the set (single-frame vertex colour, material colour, product;
// then four kinds each of the three morph variants in the kind order 3, 1, 2, 0).
const char* ShaderSetSource(uint32_t row);
uint32_t* ShaderSetCell(uint32_t row);
// The objects the global list holds.
size_t RegisteredShaderCount();
