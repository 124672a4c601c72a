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

#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/D3DXShader.h"
#include "platform/gfx/gl/GlRenderer.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/window/SdlBackend.h"

using namespace plat;

namespace {

struct Vertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

const char kProgram[] =
    "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmul oD0, v1, c10\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";

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

  // A 10 x 5 grid of quads in front of the camera: 66 vertices, 100 triangles.
  std::vector<Vertex> vertices;
  for (int y = 0; y <= 5; ++y)
    for (int x = 0; x <= 10; ++x)
      vertices.push_back({x * 2.0f - 10, 5 - y * 2.0f, 30, 0xFFFFFFFF - 0x00100010u * (x + y), x * 0.1f, y * 0.2f});
  std::vector<uint16_t> indices;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) {
      auto a = static_cast<uint16_t>(y * 11 + x), b = static_cast<uint16_t>(a + 1), c = static_cast<uint16_t>(a + 11),
           d = static_cast<uint16_t>(c + 1);
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
    const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                                 D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};
    ID3DXBuffer *code = nullptr, *errors = nullptr;
    D3DXAssembleShader(kProgram, sizeof kProgram - 1, 0, nullptr, &code, &errors);
    DWORD handle = 0;
    device->CreateVertexShader(declaration, static_cast<DWORD*>(code->GetBufferPointer()), &handle, 0);
    code->Release();
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
  device->SetStreamSource(0, vb, sizeof(Vertex));
  device->SetIndices(ib, 0);

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
  vb->Release();
  ib->Release();
  device->Release();
  d3d->Release();
  SetRendererFactory(nullptr);
  ResetAdapterTable();
  sdl.DestroyNative(window);
}
BENCHMARK(BM_GlFramesOf2000TexturedTriangles)->Arg(0)->Arg(1)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
