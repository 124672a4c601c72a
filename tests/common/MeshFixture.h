// The device object's real device over a recording renderer, with the shader set hooked in, and a
// mesh folder in a temporary directory. The vertex-shader path by default; a fixture built with
// shaders off runs on a device that reports no vertex-shader support (the fixed-function path).
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TVertexShader8.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/MeshWriter.h"

namespace testkit {

// A windowed 640x480 device in the desktop's format, with lighting off so that drawn vertices keep
// the colours the mesh gives them.
class MeshTestBuilder : public TD3DDeviceBuilder8 {
 public:
  uint32_t Build(TD3D8* layer, plat::IDirect3DDevice8** device) override {
    windowed = 1;
    plat::D3DDISPLAYMODE desktop;
    TD3D8::GetDirect3D()->GetAdapterDisplayMode(0, &desktop);
    // Record 1 is the windowed HAL variant; its mode gives the texture formats.
    chosenRecord = 1;
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == 640 && d[1] == 480 && d[3] == desktop.Format) chosenMode = static_cast<int32_t>(m);
    }
    params = {640, 480, desktop.Format, 1, 0, plat::D3DSWAPEFFECT_DISCARD, nullptr, plat::TRUE, plat::TRUE,
              plat::D3DFMT_D16, 0, 0, 0};
    plat::D3DPRESENT_PARAMETERS p = params;
    return TD3D8::GetDirect3D()->CreateDevice(0, plat::D3DDEVTYPE_HAL, nullptr,
                                              plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, device) == plat::D3D_OK
               ? 0
               : 1;
  }
  bool GetPresentParams(plat::D3DPRESENT_PARAMETERS* out) override {
    *out = params;
    return true;
  }
  void ApplyDefaultStates(plat::IDirect3DDevice8* device) override {
    device->SetRenderState(plat::D3DRS_LIGHTING, plat::FALSE);
  }
  plat::D3DPRESENT_PARAMETERS params{};
};

class MeshFixture : public CommonFixture {
 protected:
  explicit MeshFixture(bool vertexShaders = true) : vertexShaders_(vertexShaders) {}

  void SetUp() override {
    CommonFixture::SetUp();
    renderer = std::make_shared<plat::RecordingRenderer>();
    plat::SetRendererFactory([r = renderer] { return r; });
    plat::AdapterTable table = plat::DefaultAdapterTable();
    if (!vertexShaders_) table.adapters[0].vertexShaderVersion = 0;
    plat::SetAdapterTable(table);
    TDeviceHooks::Get() = TDeviceHooks::Real();
    ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new MeshTestBuilder), plat::D3D_SDK_VERSION,
                                        "", "InitLog.txt"));
    ASSERT_EQ(TD3D8::Instance()->UseVertexShader(), vertexShaders_);
    TD3D8::Instance()->SetDefaultStates(false);  // what a render mode's block would apply
    TMesh8::SetFolder(dir.path() + "/");
  }
  void TearDown() override {
    TD3D8::Instance()->Cleanup();
    TMesh8::SetFolder("");
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
    CommonFixture::TearDown();
  }

  plat::IDirect3DDevice8& Device() { return *TD3D8::GetDevice(); }
  // Writes a mesh file into the folder and loads it.
  TMesh8 Save(const std::string& name, const datakit::ByteWriter& bytes) {
    bytes.Save(dir / name);
    return TMesh8::Load(name);
  }

  std::shared_ptr<plat::RecordingRenderer> renderer;

 private:
  bool vertexShaders_;
};

class FixedFunctionFixture : public MeshFixture {
 protected:
  FixedFunctionFixture() : MeshFixture(false) {}
};

}  // namespace testkit
