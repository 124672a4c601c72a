// The character panel as OpenGL draws it: the HP bar is as long as the HP's share of 174 pixels
// from x 70, showing the bar's own colour up to its end and the panel's frame beyond.
#include <gtest/gtest.h>

#include <cmath>

#include "common/TD3D8.h"
#include "game/ui/TGauge.h"
#include "platform/gfx/png/Picture.h"
#include "platform/gfx/png/Screenshot.h"
#include "tests/common/gl/GameGlFixture.h"
#include "tests/game/ui/HudFixture.h"
#include "tests/platform/gfx/gl/GlFixture.h"

namespace {

using namespace gltest;

class HudGl : public HudFixture {
 protected:
  void StartDevice() override {
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    window.title = "hud test";
    window.width = 640;
    window.height = 480;
    ASSERT_TRUE(sdl.CreateNative(window)) << sdl.Failure();
    ASSERT_TRUE(InstallSdlAdapterTable());
    gl = std::make_shared<GlRenderer>();
    SetRendererFactory([r = gl] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TTexture8::SetFolder(dir / "Duskwheel03/data/ptx03/");
    TMesh8::SetFolder(dir / "Duskwheel03/data/msh03/");
    TSprite8::SetScreenSize(640, 480, 640, 480);
    ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new WindowDeviceBuilder(&window)),
                                        D3D_SDK_VERSION, "", "InitLog.txt"))
        << gl->Failure();
  }
  void TearDown() override {
    HudFixture::TearDown();
    TTexture8::Purge(1);
    TD3D8::Instance()->Cleanup();
    TTexture8::SetFolder("");
    TMesh8::SetFolder("");
    SetRendererFactory(nullptr);
    gl.reset();
    ResetAdapterTable();
    sdl.DestroyNative(window);
  }

  // The gauge of the player drawn at (0, 0) over black, read back from the back buffer.
  Picture DrawGauge(const std::string& file) {
    const TCountedPtr<TGauge> gauge = TGauge::Create(glyphs.get());
    gauge->Refresh(player);
    gauge->Update(player);
    TD3D8::Clear(0xFF000000, D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);
    gauge->Draw(0, 0);
    TD3D8::EndScene();
    IDirect3DSurface8* back = nullptr;
    EXPECT_EQ(TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    Com<IDirect3DSurface8> held(back);
    Picture shot;
    EXPECT_TRUE(ReadSurface(*back, shot));
    SavePng(shot, dir / file);
    TD3D8::BeginScene();
    return shot;
  }

  // A texel of a texture of the sprite pack, as loaded.
  static Rgba TexelOf(const std::string& name, UINT x, UINT y) {
    const TSprite8 sprite = LoadSprite(name, D3DPOOL_MANAGED, 0);
    IDirect3DSurface8* level = nullptr;
    if (!sprite.texture.Object() || sprite.texture.Object()->GetSurfaceLevel(0, &level) != D3D_OK) return {};
    Com<IDirect3DSurface8> held(level);
    D3DCOLOR c = 0;
    const D3DFORMAT format = level->Desc().Format;
    UnpackColor(format, level->Bits() + y * level->Pitch() + x * LayoutOf(format).blockBytes, c);
    return Of(c);
  }

  SdlBackend& sdl = SdlEnvironment::Sdl();
  WindowObject window;
  std::shared_ptr<GlRenderer> gl;
};

TEST_F(HudGl, AtHalfItsHpTheHpBarEndsAtX156) {
  const Rgba bar = TexelOf("sprite.ptx/bar00", 10, 10);  // the HP row of the bar sheet
  const Rgba frame = TexelOf("sprite.ptx/guage09", 200, 24);
  ASSERT_GT(std::fabs(bar.r - frame.r), 0.3) << "the bar and the frame tell apart";

  player.hp = 50;
  player.maxHp = 100;
  const Picture half = DrawGauge("hp50.png");
  struct Probe {
    UINT x;
    Rgba want;
    const char* what;
  };
  const UINT y = 24;  // the bar's rows are 20-27
  const Probe probes[] = {
      {100, bar, "inside the bar"},
      {156, bar, "the bar's last column: 70 + 87 - 1"},
      {158, frame, "past the bar: the frame"},
      {200, frame, "the frame"},
  };
  for (const Probe& p : probes) EXPECT_TRUE(Near(half.At(p.x, y), p.want, 3)) << p.what << " at x " << p.x;

  player.hp = 100;
  const Picture full = DrawGauge("hp100.png");
  EXPECT_TRUE(Near(full.At(158, y), bar, 3)) << "a full bar reaches past 158";
  EXPECT_TRUE(Near(full.At(243, y), bar, 3)) << "to x 243";
  EXPECT_TRUE(Near(full.At(245, y), frame, 3));
}

}  // namespace
