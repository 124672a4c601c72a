// One frame of 2,000 indexed draws of 100 triangles each, with the state changes between draws that
// a render-mode flush makes, through the device and the recording renderer (vertices resolved by
// the vertex shader on the processor).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchGrid.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/RecordingRenderer.h"

using namespace plat;

namespace {

void BM_FrameOf2000Draws(benchmark::State& state) {
  auto renderer = std::make_shared<RecordingRenderer>();
  SetRendererFactory([renderer] { return renderer; });
  IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params{640, 480, D3DFMT_X8R8G8B8, 1, 0, D3DSWAPEFFECT_DISCARD, nullptr, TRUE, TRUE,
                               D3DFMT_D16, 0, 0, 0};
  IDirect3DDevice8* device = nullptr;
  d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device);

  bench::Grid grid = bench::CreateGrid(device, [](int x, int y) {
    return bench::Vertex{x * 0.1f, y * 0.1f, 0.5f, 0xFFFFFFFF, x * 0.1f, y * 0.2f};
  });
  IDirect3DTexture8* textures[2] = {};
  for (IDirect3DTexture8*& t : textures) device->CreateTexture(64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t);

  const DWORD shader = bench::CreateGameShader(device);

  const float fog[4] = {11, 0.001f, 0, 0}, depth[4] = {0, 0, 1, 0};
  device->SetVertexShaderConstant(8, fog, 1);
  device->SetVertexShaderConstant(6, depth, 1);
  device->SetVertexShader(shader);
  device->SetStreamSource(0, grid.vertices, sizeof(bench::Vertex));
  device->SetIndices(grid.indices, 0);

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
  grid.Release();
  device->Release();
  d3d->Release();
  SetRendererFactory(nullptr);
}
BENCHMARK(BM_FrameOf2000Draws)->Unit(benchmark::kMillisecond);

}  // namespace
