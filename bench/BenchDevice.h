// The device the headless benchmarks draw on: 640 x 480 on whatever renderer is installed (the
// recording one, in every benchmark that uses this).
#pragma once
#include "common/TD3D8.h"
#include "platform/gfx/D3D8Device.h"

namespace bench {

class DeviceBuilder : public TD3DDeviceBuilder8 {
 public:
  uint32_t Build(TD3D8*, plat::IDirect3DDevice8** device) override {
    plat::D3DPRESENT_PARAMETERS p = Params();
    return TD3D8::GetDirect3D()->CreateDevice(0, plat::D3DDEVTYPE_HAL, nullptr,
                                              plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, device) == plat::D3D_OK
               ? 0
               : 1;
  }
  bool GetPresentParams(plat::D3DPRESENT_PARAMETERS* out) override {
    *out = Params();
    return true;
  }
  static plat::D3DPRESENT_PARAMETERS Params() {
    return {640, 480, plat::D3DFMT_X8R8G8B8, 1, 0, plat::D3DSWAPEFFECT_DISCARD, nullptr, plat::TRUE, plat::TRUE,
            plat::D3DFMT_D16, 0, 0, 0};
  }
};

}  // namespace bench
