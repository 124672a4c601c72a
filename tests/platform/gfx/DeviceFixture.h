// A device over the default adapter table (or one a test sets) with a recording renderer that the
// test keeps, so it can inject failures and read the draw log.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/D3D8Device.h"
#include "platform/gfx/D3D8Object.h"
#include "platform/gfx/RecordingRenderer.h"

namespace testkit {

// Releases a COM-style object when it goes.
struct Releaser {
  void operator()(plat::D3DUnknown* p) const {
    if (p) p->Release();
  }
};
template <class T>
using Com = std::unique_ptr<T, Releaser>;

inline plat::D3DPRESENT_PARAMETERS WindowedParams(plat::UINT width = 640, plat::UINT height = 480) {
  plat::D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = width;
  p.BackBufferHeight = height;
  p.BackBufferFormat = plat::D3DFMT_X8R8G8B8;
  p.BackBufferCount = 1;
  p.SwapEffect = plat::D3DSWAPEFFECT_DISCARD;
  p.Windowed = plat::TRUE;
  p.EnableAutoDepthStencil = plat::TRUE;
  p.AutoDepthStencilFormat = plat::D3DFMT_D16;
  return p;
}

class DeviceFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    renderer = std::make_shared<plat::RecordingRenderer>();
    plat::SetRendererFactory([r = renderer] { return r; });
  }
  void TearDown() override {
    device.reset();
    d3d.reset();
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
  }
  // Creates the Direct3D object over the current table and a device; params receive what the
  // creation left in them.
  plat::HRESULT Create(plat::D3DPRESENT_PARAMETERS& params,
                       plat::DWORD flags = plat::D3DCREATE_HARDWARE_VERTEXPROCESSING) {
    if (!d3d) d3d.reset(plat::Direct3DCreate8(plat::D3D_SDK_VERSION));
    plat::IDirect3DDevice8* created = nullptr;
    plat::HRESULT r = d3d->CreateDevice(0, plat::D3DDEVTYPE_HAL, nullptr, flags, &params, &created);
    device.reset(created);
    return r;
  }
  plat::HRESULT Create(plat::DWORD flags = plat::D3DCREATE_HARDWARE_VERTEXPROCESSING) {
    plat::D3DPRESENT_PARAMETERS params = WindowedParams();
    return Create(params, flags);
  }

  std::shared_ptr<plat::RecordingRenderer> renderer;
  Com<plat::IDirect3D8> d3d;
  Com<plat::IDirect3DDevice8> device;
};

}  // namespace testkit
