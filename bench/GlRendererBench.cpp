// Frames of 2,000 textured triangles (20 draws of a 100-triangle grid, two textures, the state
// changes of a render-mode flush) drawn by the OpenGL renderer into a 640x480 window and presented:
// through the fixed-function path (argument 0) and the game's vertex-shader program (argument 1).
// It needs a display (Xvfb will do); without one it says so and measures nothing.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "bench/BenchGrid.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/gl/GlRenderer.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/window/SdlBackend.h"

using namespace plat;

namespace {

// One SDL for the program: a virtual X server starts over when its last client leaves, and the
// next benchmark could come in that moment.
SdlBackend& Sdl() {
  static SdlBackend sdl;
  return sdl;
}

void BM_GlFramesOf2000TexturedTriangles(benchmark::State& state) {
  SdlBackend& sdl = Sdl();
  WindowObject window;
  window.title = "gl renderer benchmark";
  window.width = 640;
  window.height = 480;
  window.visible = true;
  if (!sdl.Ready() || !sdl.CreateNative(window) || !InstallSdlAdapterTable()) {
    state.SkipWithError(("no display: " + sdl.Failure()).c_str());
    return;
  }
  UseGlRenderer();
  IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params{640, 480, D3DFMT_X8R8G8B8, 1, 0, D3DSWAPEFFECT_DISCARD, &window, TRUE, TRUE,
                               D3DFMT_D16, 0, 0, 0};
  IDirect3DDevice8* device = nullptr;
  if (d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device) != D3D_OK) {
    state.SkipWithError("no OpenGL device");
    d3d->Release();
    SetRendererFactory(nullptr);
    sdl.DestroyNative(window);
    return;
  }

  // The grid stands in front of the camera.
  bench::Grid grid = bench::CreateGrid(device, [](int x, int y) {
    return bench::Vertex{x * 2.0f - 10, 5 - y * 2.0f, 30, 0xFFFFFFFF - 0x00100010u * (x + y), x * 0.1f, y * 0.2f};
  });
  IDirect3DTexture8* textures[2] = {};
  for (int t = 0; t < 2; ++t) {
    device->CreateTexture(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &textures[t]);
    D3DLOCKED_RECT locked{};
    textures[t]->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        static_cast<uint32_t*>(locked.pBits)[y * locked.Pitch / 4 + x] = ((x ^ y) & 8) ? 0xFFFFFFFF : 0xC0406080 + t;
    textures[t]->UnlockRect(0);
  }

  D3DXMATRIX projection, view, worldView, worldViewProjection, transposed;
  D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 3, 4.0f / 3.0f, 1.0f, 200.0f);
  D3DXMatrixIdentity(&view);
  device->SetTransform(D3DTS_PROJECTION, &projection);
  device->SetTransform(D3DTS_VIEW, &view);
  const bool shader = state.range(0) == 1;
  if (shader) {
    const DWORD handle = bench::CreateGameShader(device);
    device->SetVertexShader(handle);
    const float fog[4] = {1.1f, 0.01f, 0, 0};
    device->SetVertexShaderConstant(8, fog, 1);
  } else {
    device->SetVertexShader(0x142);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_FOGSTART, std::bit_cast<DWORD>(10.0f));
    device->SetRenderState(D3DRS_FOGEND, std::bit_cast<DWORD>(110.0f));
  }
  device->SetRenderState(D3DRS_FOGENABLE, 1);
  device->SetRenderState(D3DRS_FOGCOLOR, 0xFF8090A0);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetStreamSource(0, grid.vertices, sizeof(bench::Vertex));
  device->SetIndices(grid.indices, 0);

  const int kDraws = 20;
  for (auto _ : state) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    device->BeginScene();
    for (int i = 0; i < kDraws; ++i) {
      D3DXMATRIX world;
      D3DXMatrixTranslation(&world, (i % 5) * 0.5f - 1.0f, (i / 5) * 0.5f - 1.0f, i * 0.5f);
      device->SetTransform(D3DTS_WORLD, &world);
      if (shader) {
        D3DXMatrixMultiply(&worldView, &world, &view);
        D3DXMatrixMultiply(&worldViewProjection, &worldView, &projection);
        D3DXMatrixTranspose(&transposed, &worldViewProjection);
        device->SetVertexShaderConstant(0, &transposed, 4);
        D3DXMatrixTranspose(&transposed, &worldView);
        device->SetVertexShaderConstant(4, &transposed, 4);
        const float colour[4] = {1, 1, 1, 0.5f + (i % 2) * 0.5f};
        device->SetVertexShaderConstant(10, colour, 1);
      }
      device->SetRenderState(D3DRS_ALPHABLENDENABLE, i & 1);
      device->SetRenderState(D3DRS_CULLMODE, i & 2 ? D3DCULL_NONE : D3DCULL_CCW);
      device->SetTexture(0, textures[i & 1]);
      device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 66, 0, 100);
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["triangles_per_frame"] = kDraws * 100;

  device->SetTexture(0, nullptr);
  device->SetStreamSource(0, nullptr, 0);
  device->SetIndices(nullptr, 0);
  for (IDirect3DTexture8* t : textures) t->Release();
  grid.Release();
  device->Release();
  d3d->Release();
  SetRendererFactory(nullptr);
  ResetAdapterTable();
  sdl.DestroyNative(window);
}
BENCHMARK(BM_GlFramesOf2000TexturedTriangles)->Arg(0)->Arg(1)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
