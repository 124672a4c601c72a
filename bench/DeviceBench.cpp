// One frame of 2,000 indexed draws of 100 triangles each, with the state changes between draws that
// a render-mode flush makes, through the device and the recording renderer (vertices resolved by
// the vertex shader on the processor).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/D3DXShader.h"
#include "platform/gfx/RecordingRenderer.h"

using namespace plat;

namespace {

struct Vertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

const char kProgram[] =
    "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmul oD0, v1, c10\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";

void BM_FrameOf2000Draws(benchmark::State& state) {
  auto renderer = std::make_shared<RecordingRenderer>();
  SetRendererFactory([renderer] { return renderer; });
  IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params{640, 480, D3DFMT_X8R8G8B8, 1, 0, D3DSWAPEFFECT_DISCARD, nullptr, TRUE, TRUE,
                               D3DFMT_D16, 0, 0, 0};
  IDirect3DDevice8* device = nullptr;
  d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device);

  // A 10 x 5 grid of quads: 66 vertices, 100 triangles.
  std::vector<Vertex> vertices;
  for (int y = 0; y <= 5; ++y)
    for (int x = 0; x <= 10; ++x) vertices.push_back({x * 0.1f, y * 0.1f, 0.5f, 0xFFFFFFFF, x * 0.1f, y * 0.2f});
  std::vector<uint16_t> indices;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) {
      uint16_t a = static_cast<uint16_t>(y * 11 + x), b = a + 1, c = a + 11, d = c + 1;
      indices.insert(indices.end(), {a, b, c, b, d, c});
    }
  IDirect3DVertexBuffer8* vb = nullptr;
  IDirect3DIndexBuffer8* ib = nullptr;
  device->CreateVertexBuffer(static_cast<UINT>(vertices.size() * sizeof(Vertex)), 0, 0x142, D3DPOOL_MANAGED, &vb);
  device->CreateIndexBuffer(static_cast<UINT>(indices.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib);
  BYTE* p;
  vb->Lock(0, 0, &p, 0);
  std::memcpy(p, vertices.data(), vertices.size() * sizeof(Vertex));
  vb->Unlock();
  ib->Lock(0, 0, &p, 0);
  std::memcpy(p, indices.data(), indices.size() * 2);
  ib->Unlock();
  IDirect3DTexture8* textures[2] = {};
  for (IDirect3DTexture8*& t : textures) device->CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t);

  const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                               D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};
  ID3DXBuffer *code = nullptr, *errors = nullptr;
  D3DXAssembleShader(kProgram, sizeof kProgram - 1, 0, nullptr, &code, &errors);
  DWORD shader = 0;
  device->CreateVertexShader(declaration, static_cast<DWORD*>(code->GetBufferPointer()), &shader, 0);
  code->Release();

  const float fog[4] = {11, 0.001f, 0, 0}, depth[4] = {0, 0, 1, 0};
  device->SetVertexShaderConstant(8, fog, 1);
  device->SetVertexShaderConstant(6, depth, 1);
  device->SetVertexShader(shader);
  device->SetStreamSource(0, vb, sizeof(Vertex));
  device->SetIndices(ib, 0);

  const int kDraws = 2000;
  for (auto _ : state) {
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    for (int i = 0; i < kDraws; ++i) {
      const float world[16] = {1, 0, 0, i * 0.001f, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
      const float colour[4] = {1, 1, 1, (i % 10) * 0.1f};
      device->SetRenderState(D3DRS_ALPHABLENDENABLE, i & 1);
      device->SetRenderState(D3DRS_CULLMODE, i & 2 ? D3DCULL_NONE : D3DCULL_CCW);
      device->SetTexture(0, textures[i & 1]);
      device->SetVertexShaderConstant(0, world, 4);
      device->SetVertexShaderConstant(10, colour, 1);
      device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 66, 0, 100);
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(renderer->Draws().data());
    renderer->ClearLog();
  }
  state.counters["draws_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kDraws, benchmark::Counter::kIsRate);

  for (IDirect3DTexture8* t : textures) t->Release();
  vb->Release();
  ib->Release();
  device->Release();
  d3d->Release();
  SetRendererFactory(nullptr);
}
BENCHMARK(BM_FrameOf2000Draws)->Unit(benchmark::kMillisecond);

}  // namespace
