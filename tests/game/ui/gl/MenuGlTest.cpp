// The field menu at rest as OpenGL draws it over a field of one colour: the field's picture halved
// by the overlay, the first panel opaque at its place and the second at alpha 127.
#include <gtest/gtest.h>

#include "common/TD3D8.h"
#include "game/ui/TMenuTop.h"
#include "platform/gfx/png/Picture.h"
#include "platform/gfx/png/Screenshot.h"
#include "tests/common/gl/GameGlFixture.h"
#include "tests/game/ui/MenuFixture.h"
#include "tests/platform/gfx/gl/GlFixture.h"

namespace {

using namespace gltest;

class MenuGl : public menutest::MenuFixture {
 protected:
  void StartDevice() override {
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    window.title = "menu test";
    window.width = 640;
    window.height = 480;
    ASSERT_TRUE(sdl.CreateNative(window)) << sdl.Failure();
    ASSERT_TRUE(InstallSdlAdapterTable());
    gl = std::make_shared<GlRenderer>();
    SetRendererFactory([r = gl] { return r; });
    TSprite8::SetScreenSize(640, 480, 640, 480);
    ASSERT_TRUE(TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new WindowDeviceBuilder(&window)),
                                        D3D_SDK_VERSION, "", "InitLog.txt"))
        << gl->Failure();
  }
  void TearDown() override {
    MenuFixture::TearDown();
    gl.reset();
    sdl.DestroyNative(window);
  }

  // The texel of a sprite's texture.
  static D3DCOLOR Texel(const TSprite8& sprite, UINT x, UINT y) {
    IDirect3DSurface8* level = nullptr;
    if (!sprite.texture.Object() || sprite.texture.Object()->GetSurfaceLevel(0, &level) != D3D_OK) return 0;
    Com<IDirect3DSurface8> held(level);
    D3DCOLOR c = 0;
    const D3DFORMAT format = level->Desc().Format;
    UnpackColor(format, level->Bits() + y * level->Pitch() + x * LayoutOf(format).blockBytes, c);
    return c;
  }

  SdlBackend& sdl = SdlEnvironment::Sdl();
  WindowObject window;
  std::shared_ptr<GlRenderer> gl;
};

TEST_F(MenuGl, AtRestTheFieldIsHalvedAndTheFirstPanelsShowOpaqueAndHalfClear) {
  TMenuTop& menu = OpenMenu();
  TD3D8::Instance()->EnablePresent(false);
  menu.Draw();
  TD3D8::Instance()->EnablePresent(true);
  IDirect3DSurface8* back = nullptr;
  ASSERT_EQ(TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
  Com<IDirect3DSurface8> held(back);
  Picture shot;
  ASSERT_TRUE(ReadSurface(*back, shot));
  SavePng(shot, dir / "menu.png");

  const double overlay = 127.0 / 255.0;
  const Rgba field = Of(kFieldColour);
  const Rgba halved{field.r * (1 - overlay), field.g * (1 - overlay), field.b * (1 - overlay)};
  const Rgba first = Of(Texel(menu.GetPanels().Panel(0).sprite, 4, 4));
  const Rgba second = Of(Texel(menu.GetPanels().Panel(1).sprite, 4, 4));
  const Rgba secondOver = Over(Rgba{second.r, second.g, second.b, overlay}, halved);
  struct Probe {
    UINT x, y;
    Rgba want;
    const char* what;
  };
  const Probe probes[] = {
      {400, 300, halved, "the field under the overlay"},
      {630, 470, halved, "the field's far corner"},
      {16, 16, first, "panel 0's corner, opaque"},
      {100, 30, first, "inside panel 0"},
      {24, 56, secondOver, "panel 1's corner at alpha 127"},
      {120, 70, secondOver, "inside panel 1"},
      {15, 16, halved, "left of panel 0"},
  };
  for (const Probe& p : probes) EXPECT_TRUE(Near(shot.At(p.x, p.y), p.want, 3)) << p.what << " at " << p.x << ", " << p.y;
}

}  // namespace
