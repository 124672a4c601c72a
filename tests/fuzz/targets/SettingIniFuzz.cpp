// "setting.ini": the settings read by the device builder as start-up builds the device from them
// (adapter, size, colour depth, window or full screen, and the rest). Then what the game does with
// a device: the sprite screen scaled to its back buffer, a picture of a sprite drawn and presented,
// the device reset as after a lost device, and the device let go of again.
#include "common/TD3D8.h"
#include "common/TSprite8.h"
#include "common/TTexture8.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleTextures.h"

namespace {

void Start() {
  static const bool started = [] {
    fuzz::Folder();
    datakit::SampleItemIconPack().Save("itm_icon.ptx");
    TTexture8::SetFolder("");
    return true;
  }();
  (void)started;
}

void DrawPicture() {
  TSprite8 sprite = LoadSprite("itm_icon.ptx/itm00_icon", plat::D3DPOOL_MANAGED, 0);
  TD3D8::Clear(0xFF204060, plat::D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);
  if (TD3D8::BeginScene() >= 0) {
    TSprite8::SetBlendMode(1);
    sprite.DrawAt(100, 100, false);
    TD3D8::EndScene();
  }
  TD3D8::Instance()->Present();
}

}  // namespace

DW_FUZZ_TARGET(setting_ini) {
  Start();
  fuzz::WriteFile("fuzz-setting.ini", data, size);
  fuzz::Guard([&] {
    if (!fuzz::StartDevice("./fuzz-setting.ini")) return;
    DrawPicture();
    fuzz::Renderer().SetCooperativeLevel(plat::D3DERR_DEVICENOTRESET);
    TD3D8::Instance()->CheckDevice();
    fuzz::Renderer().SetCooperativeLevel(plat::D3D_OK);
    DrawPicture();
  });
  TTexture8::Purge(1);
  fuzz::StopDevice();
  fuzz::ForgetRecords();
}
