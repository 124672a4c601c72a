// A device made through the device object, as start-up makes it, on the recording renderer; the
// texture folder in a temporary folder holding the sample "sprite.ptx".
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/SampleTextures.h"

// A windowed device of the requested back-buffer size in the desktop's format.
class TestDeviceBuilder : public TD3DDeviceBuilder8 {
 public:
  TestDeviceBuilder(plat::UINT width, plat::UINT height) : width_(width), height_(height) {}

  uint32_t Build(TD3D8* layer, plat::IDirect3DDevice8** device) override {
    windowed = 1;
    plat::D3DDISPLAYMODE desktop;
    TD3D8::GetDirect3D()->GetAdapterDisplayMode(0, &desktop);
    // Record 1 is the windowed HAL variant of the adapter.
    chosenRecord = 1;
    chosenMode = 0;
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == width_ && d[1] == height_ && d[3] == desktop.Format) chosenMode = static_cast<int32_t>(m);
    }
    params_ = {};
    params_.BackBufferWidth = width_;
    params_.BackBufferHeight = height_;
    params_.BackBufferFormat = desktop.Format;
    params_.BackBufferCount = 1;
    params_.SwapEffect = plat::D3DSWAPEFFECT_DISCARD;
    params_.Windowed = plat::TRUE;
    params_.EnableAutoDepthStencil = plat::TRUE;
    params_.AutoDepthStencilFormat = plat::D3DFMT_D16;
    plat::D3DPRESENT_PARAMETERS p = params_;
    return TD3D8::GetDirect3D()->CreateDevice(0, plat::D3DDEVTYPE_HAL, nullptr,
                                              plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, &p,
                                              device) == plat::D3D_OK
               ? 0
               : 1;
  }
  bool GetPresentParams(plat::D3DPRESENT_PARAMETERS* out) override {
    *out = params_;
    return true;
  }
  // A default that no piece sets, so tests can see that a block starts from the defaults.
  void ApplyDefaultStates(plat::IDirect3DDevice8* device) override {
    device->SetRenderState(plat::D3DRS_ALPHAREF, 0x42);
  }

 private:
  plat::UINT width_, height_;
  plat::D3DPRESENT_PARAMETERS params_{};
};

class GraphicsFixture : public CommonFixture {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    renderer = std::make_shared<plat::RecordingRenderer>();
    plat::SetRendererFactory([r = renderer] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TTexture8::SetFolder(dir.path() + "/data/ptx03/");
    datakit::SampleSpritePack().Save(dir / "data/ptx03/sprite.ptx");
  }
  void TearDown() override {
    TD3D8::Instance()->Cleanup();
    TSprite8::SetScreenSize(640, 480, 640, 480);
    TTexture8::SetFolder("");
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
    CommonFixture::TearDown();
  }

  // Starts the device and a scene to draw in; the sprite scale follows the back buffer as
  // start-up sets it.
  void StartDevice(plat::UINT width = 640, plat::UINT height = 480) {
    TCountedPtr<TD3DDeviceBuilder8> builder(new TestDeviceBuilder(width, height));
    ASSERT_TRUE(TD3D8::Instance()->Init(builder, plat::D3D_SDK_VERSION, "", "InitLog.txt"));
    TSprite8::SetScreenSize(640, 480, static_cast<int>(width), static_cast<int>(height));
    ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
  }
  // Only these texture formats on the adapter (set before StartDevice).
  void OfferTextureFormats(std::vector<plat::D3DFORMAT> formats) {
    plat::AdapterTable table = plat::DefaultAdapterTable();
    table.adapters[0].textureFormats = std::move(formats);
    plat::SetAdapterTable(table);
  }

  plat::IDirect3DDevice8& Device() { return *TD3D8::GetDevice(); }
  const plat::DeviceState& State() { return Device().State(); }
  plat::DWORD RenderState(plat::D3DRENDERSTATETYPE s) { return State().renderStates[s]; }
  const std::vector<plat::RecordedDraw>& Draws() { return renderer->Draws(); }

  std::shared_ptr<plat::RecordingRenderer> renderer;
};
