#include "game/field/TSky.h"

#include <cstring>

#include "common/TD3D8.h"
#include "common/TMeshFill.h"
#include "common/TView8.h"

using namespace plat;

namespace {

constexpr uint32_t kStride = 24;
constexpr uint32_t kUvOffset = 16;
constexpr DWORD kFixedFunctionFormat = 0x142;
constexpr float kNoFogNear = 100000.0f, kNoFogFar = 110000.0f;
const char kDomeMesh[] = "sky/sky00.msh";

// The texture coordinates are the world x and z, scaled by c9.xy and moved by c9.zw.
const char kSource[] =
    "vs.1.0\n"
    "m4x4 oPos, v0, c0\n"
    "dp4 r8.z, v0, c6\n"
    "dp4 r7.x, v0, c10\n"
    "dp4 r7.z, v0, c12\n"
    "mov oD0, v1\n"
    "mad oT0.xy, r7.xz, c9.xy, c9.zw\n"
    "mad oFog.x, -r8.z, c8.y, c8.x\n";

const DWORD kDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                              D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};

uint32_t g_handle = 0;

const TView8& ViewOrDefault(TView8* view) {
  static const TView8 identity;
  return view ? *view : identity;
}

void SetTransposed(IDirect3DDevice8* device, DWORD reg, const D3DXMATRIX& m) {
  D3DXMATRIX transposed;
  D3DXMatrixTranspose(&transposed, &m);
  device->SetVertexShaderConstant(reg, &transposed, 4);
}

void DrawRuns(IDirect3DDevice8* device, TMesh8& mesh, uint32_t part) {
  for (const TMeshRun& run : mesh.GetData()->GetPartTable().GetRuns(part))
    device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, mesh.GetVertexCount(), 3 * run.first, run.count);
}

// Past 1 starts again at 0, below 0 at 1.
float Wrapped(float offset) {
  if (offset > 1.0f) return 0.0f;
  if (offset < 0.0f) return 1.0f;
  return offset;
}

}  // namespace

TSky::TSky() : mesh(TMesh8::Load(kDomeMesh)) { SetFogRange(0, 0); }

TSky::TSky(float su, float sv, float du, float dv, float fogNearDistance, float fogFarDistance, uint32_t colour)
    : scaleU(su), scaleV(sv), scrollU(du), scrollV(dv), fogColour(colour), mesh(TMesh8::Load(kDomeMesh)) {
  SetFogRange(fogNearDistance, fogFarDistance);
}

TSky::~TSky() = default;

const char* TSky::GetSource() { return kSource; }
uint32_t TSky::GetHandle() { return g_handle; }

void TSky::Create() {
  Release();
  TD3D8* d3d = TD3D8::Instance();
  if (d3d->UseVertexShader() && TD3D8::GetDevice()) g_handle = d3d->CreateVertexShader(kSource, kDeclaration);
}

void TSky::Release() { DeleteVertexShaderHandle(&g_handle); }

void TSky::SetFogRange(float nearDistance, float farDistance) {
  fogNear = nearDistance;
  fogFar = farDistance;
  if (!(nearDistance < farDistance)) {
    fogNear = kNoFogNear;
    fogFar = kNoFogFar;
  }
}

void TSky::Scroll() {
  offsetU = Wrapped(offsetU + scrollU);
  offsetV = Wrapped(offsetV + scrollV);
}

void TSky::Draw(uint32_t part, TMesh8& target, TView8* view, const D3DMATRIX& world) {
  TD3D8* d3d = TD3D8::Instance();
  bool enable;
  float start, end;
  uint32_t colour;
  d3d->GetFog(enable, start, end, colour);
  d3d->SetFog(true, fogNear, fogFar, fogColour);
  d3d->ApplyFog(true);
  if (part == 0) Scroll();
  if (d3d->UseVertexShader())
    DrawWithShader(part, target, view, world);
  else
    DrawFixedFunction(part, target, view, world);
  d3d->SetFog(enable, start, end, colour);
}

void TSky::DrawWithShader(uint32_t part, TMesh8& target, TView8* view, const D3DMATRIX& world) {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device || g_handle == 0 || part >= target.GetPartCount()) return;
  const TView8& v = ViewOrDefault(view);
  const D3DXMATRIX w(world);
  D3DXMATRIX product;
  SetTransposed(device, 0, *D3DXMatrixMultiply(&product, &w, v.GetViewProjection()));
  SetTransposed(device, 4, *D3DXMatrixMultiply(&product, &w, v.GetView()));
  const float texture[4] = {scaleU, scaleV, offsetU, offsetV};
  device->SetVertexShaderConstant(9, texture, 1);
  SetTransposed(device, 10, w);
  target.GetMaterial(part).ApplyTexture(0);
  TMesh8Data& data = *target.GetData();
  device->SetVertexShader(g_handle);
  device->SetStreamSource(0, data.GetVertexBuffer(0), kStride);
  device->SetIndices(data.GetIndexBuffer(), 0);
  DrawRuns(device, target, part);
}

void TSky::DrawFixedFunction(uint32_t part, TMesh8& target, TView8* view, const D3DMATRIX& world) {
  IDirect3DDevice8* device = TD3D8::GetDevice();
  if (!device || part >= target.GetPartCount()) return;
  TMesh8Data& data = *target.GetData();
  IDirect3DVertexBuffer8* scratch = data.GetScratchBuffer();
  if (!scratch) return;
  // The vertex colours as they are, then the texture coordinates the shader would give.
  CopyPartVertices(part, 0, target, true);
  BYTE* bytes = nullptr;
  if (scratch->Lock(0, 0, &bytes, 0) != D3D_OK) return;
  const uint32_t vertexCount = data.GetVertexCount();
  if (scratch->Length() >= uint64_t(kStride) * vertexCount) {
    const D3DXMATRIX w(world);
    for (uint32_t k : data.GetPartTable().GetIndexList(part)) {
      if (k >= vertexCount) continue;
      uint8_t* vertex = bytes + size_t(kStride) * k;
      D3DXVECTOR3 local, placed;
      std::memcpy(&local, vertex, sizeof local);
      D3DXVec3TransformCoord(&placed, &local, &w);
      const float uv[2] = {placed.x * scaleU + offsetU, placed.z * scaleV + offsetV};
      std::memcpy(vertex + kUvOffset, uv, sizeof uv);
    }
  }
  scratch->Unlock();
  const TView8& v = ViewOrDefault(view);
  device->SetVertexShader(kFixedFunctionFormat);
  device->SetTransform(D3DTS_WORLD, &world);
  device->SetTransform(D3DTS_PROJECTION, v.GetProjection());
  device->SetTransform(D3DTS_VIEW, v.GetView());
  target.GetMaterial(part).ApplyTexture(0);
  device->SetIndices(data.GetIndexBuffer(), 0);
  device->SetStreamSource(0, scratch, kStride);
  DrawRuns(device, target, part);
}
