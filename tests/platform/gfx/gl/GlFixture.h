// A device over the SDL desktop's adapter table drawing through the OpenGL renderer into a hidden
// SDL window (on the X display the test command started), with the states the game sets up and
// helpers to draw quads and to read pictures back through PNG files.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/FormatInfo.h"
#include "platform/gfx/gl/GlRenderer.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/gfx/png/Screenshot.h"
#include "platform/window/SdlBackend.h"
#include "tests/support/TempDir.h"

namespace gltest {

using namespace plat;

struct Releaser {
  void operator()(D3DUnknown* p) const {
    if (p) p->Release();
  }
};
template <class T>
using Com = std::unique_ptr<T, Releaser>;

// A colour as four 0..1 channels, for working out what a pixel should be.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
};
inline Rgba Of(D3DCOLOR c) {
  return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, (c >> 24) / 255.0};
}
inline Rgba operator*(Rgba x, Rgba y) { return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a}; }
// Linear fog: f of the colour, the rest fog colour; alpha stays.
inline Rgba Fogged(Rgba c, Rgba fog, double f) {
  return {c.r * f + fog.r * (1 - f), c.g * f + fog.g * (1 - f), c.b * f + fog.b * (1 - f), c.a};
}
// Source alpha over the destination.
inline Rgba Over(Rgba src, Rgba dst) {
  return {src.r * src.a + dst.r * (1 - src.a), src.g * src.a + dst.g * (1 - src.a), src.b * src.a + dst.b * (1 - src.a),
          1};
}

inline std::string Hex(D3DCOLOR c) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(c));
  return text;
}

// Every channel within tolerance (in 1/255 steps); alpha only when asked.
inline ::testing::AssertionResult Near(D3DCOLOR got, Rgba want, int tolerance = 2, bool alpha = false) {
  const double channels[4][2] = {{Of(got).r, want.r}, {Of(got).g, want.g}, {Of(got).b, want.b}, {Of(got).a, want.a}};
  for (int i = 0; i < (alpha ? 4 : 3); ++i) {
    if (std::fabs(channels[i][0] * 255.0 - std::clamp(channels[i][1], 0.0, 1.0) * 255.0) > tolerance + 0.5) {
      char text[96];
      std::snprintf(text, sizeof text, "got %08X, want about (%.0f, %.0f, %.0f, %.0f)", static_cast<unsigned>(got),
                    want.a * 255, want.r * 255, want.g * 255, want.b * 255);
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

// The pre-transformed vertex of the 2D layer (XYZRHW | DIFFUSE | SPECULAR | TEX1).
struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR diffuse, specular;
  float u, v;
};
constexpr DWORD kScreenFvf = 0x1C4;

// The mesh vertex of the fixed-function path (XYZ | DIFFUSE | TEX1) and of the shaders' stream.
struct MeshVertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kMeshFvf = 0x142;

// One SDL for the whole program: a virtual X server starts over whenever its last client leaves,
// and a test that connected in that moment would find no display.
class SdlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { sdl = std::make_unique<SdlBackend>(); }
  void TearDown() override { sdl.reset(); }
  static SdlBackend& Sdl() { return *sdl; }

 private:
  static inline std::unique_ptr<SdlBackend> sdl;
};
inline ::testing::Environment* const kSdlEnvironment = ::testing::AddGlobalTestEnvironment(new SdlEnvironment);

class GlFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    window.title = "gl renderer test";
    window.width = 640;
    window.height = 480;
    ASSERT_TRUE(sdl.CreateNative(window)) << sdl.Failure();
    ASSERT_TRUE(InstallSdlAdapterTable());
    renderer = std::make_shared<GlRenderer>();
    SetRendererFactory([r = renderer] { return r; });
    d3d.reset(Direct3DCreate8(D3D_SDK_VERSION));
    ASSERT_TRUE(d3d);
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = 640;
    p.BackBufferHeight = 480;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.hDeviceWindow = &window;
    p.Windowed = TRUE;
    p.EnableAutoDepthStencil = TRUE;
    p.AutoDepthStencilFormat = D3DFMT_D16;
    IDirect3DDevice8* created = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, &window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, &created),
              D3D_OK)
        << renderer->Failure();
    device.reset(created);
    GameDefaults();
  }

  void TearDown() override {
    device.reset();
    d3d.reset();
    renderer.reset();
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    sdl.DestroyNative(window);
  }

  // The default states the game's device builder sets (linear filters, as the sample settings).
  void GameDefaults() {
    const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
        {D3DRS_ALPHATESTENABLE, 1}, {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},  {D3DRS_ALPHAREF, 0},
        {D3DRS_ALPHAFUNC, D3DCMP_NOTEQUAL}, {D3DRS_SPECULARENABLE, 0}, {D3DRS_LIGHTING, 1},
        {D3DRS_AMBIENT, 0},         {D3DRS_FOGVERTEXMODE, 0},         {D3DRS_COLORVERTEX, 1},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR1}};
    for (auto [state, value] : states) device->SetRenderState(state, value);
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stage0[] = {
        {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
        {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}, {D3DTSS_MAGFILTER, D3DTEXF_LINEAR}, {D3DTSS_MINFILTER, D3DTEXF_LINEAR}};
    for (auto [type, value] : stage0) device->SetTextureStageState(0, type, value);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }

  // The states of a 2D blend mode: 0 opaque, 1 alpha, 2 multiply, 3 add, 4 inverse.
  void TwoD(int mode) {
    const DWORD blends[5][3] = {{D3DBLEND_ONE, D3DBLEND_ZERO, 0},
                                {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 1},
                                {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 1},
                                {D3DBLEND_ONE, D3DBLEND_ONE, 1},
                                {D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, 1}};
    device->SetRenderState(D3DRS_SRCBLEND, blends[mode][0]);
    device->SetRenderState(D3DRS_DESTBLEND, blends[mode][1]);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, blends[mode][2]);
    device->SetVertexShader(kScreenFvf);
    device->SetRenderState(D3DRS_ZENABLE, 0);
    device->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_FOGENABLE, 0);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
  }

  // Binds a texture as the 2D layer does: texture colour and alpha, or the diffuse ones without.
  void Apply(IDirect3DTexture8* texture, DWORD stage = 0) {
    device->SetTexture(stage, texture);
    device->SetTextureStageState(stage, D3DTSS_COLORARG1, texture ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
    device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, texture ? D3DTA_TEXTURE : D3DTA_DIFFUSE);
  }

  // A quad of the 2D layer at (x, y), w x h pixels, with the half-pixel shift of sprite draws.
  void Quad(float x, float y, float w, float h, D3DCOLOR color, float u1 = 1.0f, float v1 = 1.0f) {
    const ScreenVertex v[4] = {{x - 0.5f, y - 0.5f, 0, 1, color, 0xFFFFFFFF, 0, 0},
                               {x + w - 0.5f, y - 0.5f, 0, 1, color, 0xFFFFFFFF, u1, 0},
                               {x - 0.5f, y + h - 0.5f, 0, 1, color, 0xFFFFFFFF, 0, v1},
                               {x + w - 0.5f, y + h - 0.5f, 0, 1, color, 0xFFFFFFFF, u1, v1}};
    const uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, v, sizeof v[0]),
              D3D_OK);
  }

  // A managed texture of one level whose texels are given as raw little-endian values.
  Com<IDirect3DTexture8> RawTexture(UINT w, UINT h, D3DFORMAT format, const std::vector<uint32_t>& texels) {
    IDirect3DTexture8* t = nullptr;
    EXPECT_EQ(device->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &t), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    const uint32_t bytes = LayoutOf(format).blockBytes;
    for (UINT y = 0; y < h; ++y)
      for (UINT x = 0; x < w; ++x) {
        const uint32_t value = texels[(size_t(y) * w + x) % texels.size()];
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + x * bytes, &value, bytes);
      }
    t->UnlockRect(0);
    return Com<IDirect3DTexture8>(t);
  }
  // The same with ARGB colours packed into the format.
  Com<IDirect3DTexture8> Texture(UINT w, UINT h, D3DFORMAT format, const std::vector<D3DCOLOR>& colors) {
    std::vector<uint32_t> raw;
    for (D3DCOLOR c : colors) {
      uint32_t value = 0;
      PackColor(format, c, reinterpret_cast<uint8_t*>(&value));
      raw.push_back(value);
    }
    return RawTexture(w, h, format, raw);
  }

  void Begin(D3DCOLOR background) {
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
  }

  // The surface's picture, by way of a PNG file.
  Picture Shot(IDirect3DSurface8& surface) {
    Picture drawn, loaded;
    EXPECT_TRUE(ReadSurface(surface, drawn));
    const std::string path = dir / (std::to_string(shots++) + ".png");
    EXPECT_TRUE(SavePng(drawn, path));
    EXPECT_TRUE(LoadPng(path, loaded));
    return loaded;
  }
  // The back buffer's picture, after the scene ends.
  Picture Shot() {
    EXPECT_EQ(device->EndScene(), D3D_OK);
    IDirect3DSurface8* back = nullptr;
    EXPECT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    Com<IDirect3DSurface8> held(back);
    return Shot(*back);
  }

  SdlBackend& sdl = SdlEnvironment::Sdl();
  WindowObject window;
  std::shared_ptr<GlRenderer> renderer;
  Com<IDirect3D8> d3d;
  Com<IDirect3DDevice8> device;
  testkit::TempDir dir;
  int shots = 0;
};

}  // namespace gltest
