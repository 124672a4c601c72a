// A device made through the device object over the OpenGL renderer, on a hidden SDL window of the
// X display that the test command starts, as the game's builder makes it; the parameter says
// whether the device offers vertex shaders. Texture and mesh folders lie in the test's folder.
#pragma once
#include <memory>
#include <string>
#include <utility>

#include "common/TD3D8.h"
#include "common/TD3DDeviceBuilder8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "tests/common/Fixtures.h"
#include "tests/platform/gfx/gl/GlFixture.h"

namespace gltest {

// A windowed 640x480 device on the test's window with the default states of the game's builder
// (lighting on without lights, colour from the vertices, linear filters, the alpha test on).
class WindowDeviceBuilder : public TD3DDeviceBuilder8 {
 public:
  explicit WindowDeviceBuilder(HWND window) : TD3DDeviceBuilder8(window) {}

  uint32_t Build(TD3D8* layer, IDirect3DDevice8** device) override {
    windowed = 1;
    D3DDISPLAYMODE desktop;
    TD3D8::GetDirect3D()->GetAdapterDisplayMode(0, &desktop);
    chosenRecord = 1;  // the windowed HAL record
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == 640 && d[1] == 480 && d[3] == desktop.Format) chosenMode = static_cast<int32_t>(m);
    }
    params = {640, 480, desktop.Format, 1, D3DMULTISAMPLE_NONE, D3DSWAPEFFECT_DISCARD, window, TRUE, TRUE,
              D3DFMT_D16, 0, 0, 0};
    D3DPRESENT_PARAMETERS p = params;
    return TD3D8::GetDirect3D()->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p,
                                              device) == D3D_OK
               ? 0
               : 1;
  }
  bool GetPresentParams(D3DPRESENT_PARAMETERS* out) override {
    *out = params;
    return true;
  }
  void ApplyDefaultStates(IDirect3DDevice8* device) override {
    const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
        {D3DRS_ALPHATESTENABLE, 1}, {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},  {D3DRS_ALPHAREF, 0},
        {D3DRS_ALPHAFUNC, D3DCMP_NOTEQUAL}, {D3DRS_SPECULARENABLE, 0}, {D3DRS_LIGHTING, 1},
        {D3DRS_AMBIENT, 0},         {D3DRS_FOGVERTEXMODE, D3DFOG_NONE}, {D3DRS_COLORVERTEX, 1},
        {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR1}};
    for (auto [state, value] : states) device->SetRenderState(state, value);
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stage0[] = {
        {D3DTSS_COLOROP, D3DTOP_MODULATE},     {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
        {D3DTSS_ALPHAOP, D3DTOP_MODULATE},     {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
        {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP},   {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
        {D3DTSS_MAGFILTER, D3DTEXF_LINEAR},    {D3DTSS_MINFILTER, D3DTEXF_LINEAR}};
    for (auto [type, value] : stage0) device->SetTextureStageState(0, type, value);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
  }

 private:
  D3DPRESENT_PARAMETERS params{};
};

// The parameter: whether the device offers vertex shaders.
class GameGlFixture : public CommonFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    window.title = "game drawing test";
    window.width = 640;
    window.height = 480;
    ASSERT_TRUE(sdl.CreateNative(window)) << sdl.Failure();
    ASSERT_TRUE(InstallSdlAdapterTable());
    if (!GetParam()) {
      AdapterTable table = GetAdapterTable();
      table.adapters[0].vertexShaderVersion = 0;
      SetAdapterTable(table);
    }
    renderer = std::make_shared<GlRenderer>();
    SetRendererFactory([r = renderer] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TTexture8::SetFolder(dir.path() + "/");
    TMesh8::SetFolder(dir.path() + "/");
    TSprite8::SetScreenSize(640, 480, 640, 480);
    ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new WindowDeviceBuilder(&window)),
                                        D3D_SDK_VERSION, "", "InitLog.txt"))
        << renderer->Failure();
    ASSERT_EQ(TD3D8::Instance()->UseVertexShader(), GetParam());
  }
  void TearDown() override {
    TD3D8::Instance()->Cleanup();
    TTexture8::SetFolder("");
    TMesh8::SetFolder("");
    SetRendererFactory(nullptr);
    renderer.reset();
    ResetAdapterTable();
    sdl.DestroyNative(window);
    CommonFixture::TearDown();
  }

  // The back buffer as saved into a PNG file and read back.
  Picture Shot() {
    IDirect3DSurface8* back = nullptr;
    EXPECT_EQ(TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    Com<IDirect3DSurface8> held(back);
    Picture drawn, loaded;
    EXPECT_TRUE(ReadSurface(*back, drawn));
    const std::string path = dir / (GetParam() ? "vertex-shader.png" : "fixed-function.png");
    EXPECT_TRUE(SavePng(drawn, path));
    EXPECT_TRUE(LoadPng(path, loaded));
    return loaded;
  }

  SdlBackend& sdl = SdlEnvironment::Sdl();
  WindowObject window;
  std::shared_ptr<GlRenderer> renderer;
};

}  // namespace gltest
