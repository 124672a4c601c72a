#include "common/TVertexShader8.h"

#include <string>
#include <vector>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "common/TMeshFill.h"
#include "common/TSystemInfo.h"
#include "common/TView8.h"

using namespace plat;

namespace {

constexpr uint32_t kRows = 15;
constexpr uint32_t kStride = 24;
constexpr DWORD kFixedFunctionFormat = 0x142;  // position, diffuse, one texture coordinate pair
// The kinds of the four rows of each morph variant, in set order.
constexpr uint32_t kKindOrder[4] = {3, 1, 2, 0};

const DWORD kSingleFrameDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3),
                                         D3DVSD_REG(1, D3DVSDT_D3DCOLOR), D3DVSD_REG(2, D3DVSDT_FLOAT2),
                                         D3DVSD_END()};
const DWORD kMorphDeclaration[] = {D3DVSD_STREAM(0),
                                   D3DVSD_REG(0, D3DVSDT_FLOAT3),
                                   D3DVSD_REG(2, D3DVSDT_D3DCOLOR),
                                   D3DVSD_REG(4, D3DVSDT_FLOAT2),
                                   D3DVSD_STREAM(1),
                                   D3DVSD_REG(1, D3DVSDT_FLOAT3),
                                   D3DVSD_REG(3, D3DVSDT_D3DCOLOR),
                                   D3DVSD_REG(5, D3DVSDT_FLOAT2),
                                   D3DVSD_END()};

// A batch vertex: the colour as the program's float register, so no colour is rounded.
const DWORD kBatchDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_FLOAT4),
                                   D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};

enum ColorRule { kVertexColor, kMaterialColor, kProduct };

std::string SingleFrameProgram(ColorRule rule) {
  static const char* const kColorLine[] = {"mov oD0, v1", "mov oD0, c10", "mul oD0, v1, c10"};
  return std::string("vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\n") + kColorLine[rule] +
         "\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";
}

std::string MorphProgram(ColorRule rule, uint32_t kind) {
  const bool blendColors = kind & 1, blendUv = kind & 2;
  std::string text = "vs.1.0\nmul r0, v0, c9.x\nmad r0, v1, c9.y, r0\nm4x4 oPos, r0, c0\ndp4 r8.z, r0, c6\n";
  if (rule == kVertexColor)
    text += blendColors ? "mul r1, v2, c9.x\nmad oD0, v3, c9.y, r1\n" : "mov oD0, v2\n";
  else if (rule == kMaterialColor)
    text += "mov oD0, c10\n";
  else
    text += blendColors ? "mul r1, v2, c9.x\nmad r3, v3, c9.y, r1\nmul oD0, r3, c10\n" : "mul oD0, v2, c10\n";
  text += blendUv ? "mul r2, v4, c9.x\nmad oT0.xy, v5, c9.y, r2\n" : "mov oT0.xy, v4.xy\n";
  return text + "mad oFog.x, -r8.z, c8.y, c8.x\n";
}

struct ShaderSet {
  std::string sources[kRows];
  uint32_t cells[kRows] = {};
  std::string batchSource;
  uint32_t batchCell = 0;
  std::vector<TCountedPtr<TShaderBase8>> list;
  TCountedPtr<TSystemInfo> systemInfo;

  ShaderSet() {
    for (int rule = 0; rule < 3; ++rule) {
      sources[rule] = SingleFrameProgram(ColorRule(rule));
      for (uint32_t k = 0; k < 4; ++k) sources[3 + 4 * rule + k] = MorphProgram(ColorRule(rule), kKindOrder[k]);
    }
    batchSource = SingleFrameProgram(kVertexColor);
  }
};

ShaderSet& Set() {
  static ShaderSet set;
  return set;
}

// The row of a kind within its variant's four rows.
uint32_t RowOfKind(uint32_t kind) {
  for (uint32_t k = 0; k < 4; ++k)
    if (kKindOrder[k] == (kind & 3)) return k;
  return 0;
}

const TView8& ViewOrDefault(TView8* view) {
  static const TView8 identity;
  return view ? *view : identity;
}

void SetMatrixConstant(IDirect3DDevice8* device, DWORD reg, const D3DXMATRIX& world, const D3DXMATRIX* second) {
  D3DXMATRIX product, transposed;
  D3DXMatrixMultiply(&product, &world, second);
  D3DXMatrixTranspose(&transposed, &product);
  device->SetVertexShaderConstant(reg, &transposed, 4);
}

void DrawRuns(IDirect3DDevice8* device, TMesh8& mesh, uint32_t part) {
  for (const TMeshRun& run : mesh.GetData()->GetPartTable().GetRuns(part))
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, mesh.GetVertexCount(), 3 * run.first, run.count);
}

}  // namespace

TShaderBase8::~TShaderBase8() = default;
void TShaderBase8::DrawMesh(uint32_t, TMesh8&) {}

TVertexShader8::TVertexShader8(const char* text, uint32_t* cell, uint32_t* singleCell)
    : source(text), handleCell(cell), singleFrameCell(singleCell) {}

void TVertexShader8::Create() {
  Release();
  TD3D8* d3d = TD3D8::Instance();
  if (d3d->UseVertexShader())
    *handleCell = d3d->CreateVertexShader(source, singleFrameCell ? kMorphDeclaration : kSingleFrameDeclaration);
}

void TVertexShader8::Release() { DeleteVertexShaderHandle(handleCell); }

void TVertexShader8::Draw(uint32_t part, TMesh8& mesh, TView8* view, const D3DMATRIX& world) {
  if (!TD3D8::Instance()->UseVertexShader())
    DrawFixedFunction(part, mesh, view, world);
  else
    DrawWithShader(part, mesh, view, world);
}

void TVertexShader8::DrawWithShader(uint32_t part, TMesh8& mesh, TView8* view, const D3DMATRIX& world) {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device || part >= mesh.GetPartCount()) return;
  const TView8& v = ViewOrDefault(view);
  const D3DXMATRIX w(world);
  SetMatrixConstant(device, 0, w, v.GetViewProjection());
  SetMatrixConstant(device, 4, w, v.GetView());
  const TMaterial8& material = mesh.GetMaterial(part);
  device->SetVertexShaderConstant(10, &material.GetMaterial().Emissive, 1);
  material.ApplyTexture(0);
  TMesh8Data& data = *mesh.GetData();
  device->SetIndices(data.GetIndexBuffer(), 0);

  if (!singleFrameCell) {
    device->SetVertexShader(*handleCell);
    device->SetStreamSource(0, data.GetVertexBuffer(0), kStride);
  } else {
    uint32_t a, b;
    float weight;
    mesh.GetBlendFrames(a, b, weight);
    if (a == b) {
      device->SetVertexShader(*singleFrameCell);
      device->SetStreamSource(0, data.GetVertexBuffer(a), kStride);
    } else {
      device->SetVertexShader(*handleCell);
      const float weights[4] = {1.0f - weight, weight, 0.0f, 0.0f};
      device->SetVertexShaderConstant(9, weights, 1);
      device->SetStreamSource(0, data.GetVertexBuffer(a), kStride);
      device->SetStreamSource(1, data.GetVertexBuffer(b), kStride);
    }
  }
  DrawRuns(device, mesh, part);
}

void TVertexShader8::DrawFixedFunction(uint32_t part, TMesh8& mesh, TView8* view, const D3DMATRIX& world) {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device || part >= mesh.GetPartCount()) return;
  DrawMesh(part, mesh);
  TMesh8Data& data = *mesh.GetData();
  if (!data.GetScratchBuffer()) return;
  const TView8& v = ViewOrDefault(view);
  device->SetVertexShader(kFixedFunctionFormat);
  device->SetTransform(D3DTS_WORLD, &world);
  device->SetTransform(D3DTS_PROJECTION, v.GetProjection());
  device->SetTransform(D3DTS_VIEW, v.GetView());
  mesh.GetMaterial(part).ApplyTexture(0);
  device->SetIndices(data.GetIndexBuffer(), 0);
  device->SetStreamSource(0, data.GetScratchBuffer(), kStride);
  DrawRuns(device, mesh, part);
}

void TVertexShader8::Register(TShaderBase8* shader) {
  TCountedPtr<TShaderBase8> owned(shader);
  shader->Create();
  Set().list.push_back(owned);
}

TVertexColorShader8::TVertexColorShader8() : TVertexShader8(ShaderSetSource(0), ShaderSetCell(0), nullptr) {}
void TVertexColorShader8::DrawMesh(uint32_t part, TMesh8& mesh) { CopyPartVertices(part, 0, mesh, false); }

TConstColorShader8::TConstColorShader8() : TVertexShader8(ShaderSetSource(1), ShaderSetCell(1), nullptr) {}
void TConstColorShader8::DrawMesh(uint32_t part, TMesh8& mesh) { CopyPartVerticesConstColor(part, 0, mesh, false); }

TModulateColorShader8::TModulateColorShader8() : TVertexShader8(ShaderSetSource(2), ShaderSetCell(2), nullptr) {}
void TModulateColorShader8::DrawMesh(uint32_t part, TMesh8& mesh) { CopyPartVerticesModulate(part, 0, mesh, false); }

TMorphVertexShader8::TMorphVertexShader8(uint32_t firstRow, uint32_t singleFrameRow, uint32_t kind)
    : TVertexShader8(ShaderSetSource(firstRow + RowOfKind(kind)), ShaderSetCell(firstRow + RowOfKind(kind)),
                     ShaderSetCell(singleFrameRow)),
      morphKind(kind) {}

TVertexColorMorphShader8::TVertexColorMorphShader8(uint32_t kind) : TMorphVertexShader8(3, 0, kind) {}
void TVertexColorMorphShader8::DrawMesh(uint32_t part, TMesh8& mesh) { DrawMorphMeshA(part, mesh, morphKind); }

TConstColorMorphShader8::TConstColorMorphShader8(uint32_t kind) : TMorphVertexShader8(7, 1, kind) {}
void TConstColorMorphShader8::DrawMesh(uint32_t part, TMesh8& mesh) { DrawMorphMeshB(part, mesh, morphKind); }

TMorphShader8::TMorphShader8(bool blendColors, bool blendTextureCoordinates)
    : TMorphVertexShader8(11, 2, 0x80000000u | (blendColors ? 1u : 0u) | (blendTextureCoordinates ? 2u : 0u)) {}
void TMorphShader8::DrawMesh(uint32_t part, TMesh8& mesh) { DrawMorphMeshC(part, mesh, morphKind); }

uint32_t BatchShaderHandle() { return Set().batchCell; }

namespace {

void CreateBatchShader() {
  ShaderSet& set = Set();
  DeleteVertexShaderHandle(&set.batchCell);
  TD3D8* d3d = TD3D8::Instance();
  if (d3d->UseVertexShader()) set.batchCell = d3d->CreateVertexShader(set.batchSource.c_str(), kBatchDeclaration);
}

}  // namespace

const char* ShaderSetSource(uint32_t row) { return Set().sources[row < kRows ? row : 0].c_str(); }
uint32_t* ShaderSetCell(uint32_t row) { return &Set().cells[row < kRows ? row : 0]; }
size_t RegisteredShaderCount() { return Set().list.size(); }

void DeleteVertexShaderHandle(uint32_t* cell) {
  if (!cell || *cell == 0) return;
  if (IDirect3DDevice8* device = TD3D8::GetDevice()) device->DeleteVertexShader(*cell);
  *cell = 0;
}

void CreateShaderSet() {
  ShaderSet& set = Set();
  set.systemInfo = MakeCounted<TSystemInfo>();
  ReleaseShaderHandles();
  set.list.clear();
  TVertexShader8::Register(new TVertexColorShader8);
  TVertexShader8::Register(new TConstColorShader8);
  TVertexShader8::Register(new TModulateColorShader8);
  for (uint32_t kind : kKindOrder) TVertexShader8::Register(new TVertexColorMorphShader8(0x80000000u | kind));
  for (uint32_t kind : kKindOrder) TVertexShader8::Register(new TConstColorMorphShader8(0x80000000u | kind));
  for (uint32_t kind : kKindOrder) TVertexShader8::Register(new TMorphShader8(kind & 1, kind & 2));
  CreateBatchShader();
}

void ReleaseShaderHandles() {
  for (const TCountedPtr<TShaderBase8>& shader : Set().list) shader->Release();
  DeleteVertexShaderHandle(&Set().batchCell);
}

void RecreateShaderHandles() {
  for (const TCountedPtr<TShaderBase8>& shader : Set().list) shader->Create();
  CreateBatchShader();
}

void ReleaseShaderSet() {
  ShaderSet& set = Set();
  ReleaseShaderHandles();
  set.list.clear();
  set.systemInfo.Reset();
}

TCountedPtr<TShaderBase8> MakeDefaultShader(const TMesh8& mesh) {
  if (mesh.GetFrameCount() != 1) return TCountedPtr<TShaderBase8>(new TConstColorMorphShader8(0x80000003u));
  return TCountedPtr<TShaderBase8>(new TConstColorShader8);
}
