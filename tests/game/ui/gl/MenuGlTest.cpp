// The field menu, the buy shop and the equipment screen at rest as OpenGL draws them over a field
// of one colour: the field's picture halved by the menu's overlay, the first panel opaque at its
// place and the second at alpha 127; the field under the shop's board at alpha 102 and the shop's
// windows at their places; the equipment screen's list, character panel and information window at
// theirs over the menu's halved field, the panel dimmed while the list is open.
#include <gtest/gtest.h>

#include <initializer_list>

#include "common/TD3D8.h"
#include "game/data/TGameData.h"
#include "game/ui/TEquipMenu.h"
#include "game/ui/TMenuTop.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TShop.h"
#include "platform/gfx/png/Picture.h"
#include "platform/gfx/png/Screenshot.h"
#include "tests/common/gl/GameGlFixture.h"
#include "tests/game/ui/MenuFixture.h"
#include "tests/platform/gfx/gl/GlFixture.h"
#include "tools/datakit/SampleMenuScreens.h"
#include "tools/datakit/SampleTextures.h"

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

  struct Probe {
    UINT x, y;
    Rgba want;
    const char* what;
  };
  static void ExpectProbes(const Picture& shot, std::initializer_list<Probe> probes) {
    for (const Probe& p : probes)
      EXPECT_TRUE(Near(shot.At(p.x, p.y), p.want, 3)) << p.what << " at " << p.x << ", " << p.y;
  }

  // The field's colour under the menu's overlay (alpha 127).
  static Rgba Halved() {
    const double overlay = 127.0 / 255.0;
    const Rgba field = Of(kFieldColour);
    return {field.r * (1 - overlay), field.g * (1 - overlay), field.b * (1 - overlay)};
  }

  // The back buffer after one drawing of the scene, also saved under the name.
  Picture Shot(TScene& scene, const char* name) {
    TD3D8::Instance()->EnablePresent(false);
    scene.Draw();
    TD3D8::Instance()->EnablePresent(true);
    Picture shot;
    IDirect3DSurface8* back = nullptr;
    EXPECT_EQ(TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    if (!back) return shot;
    Com<IDirect3DSurface8> held(back);
    EXPECT_TRUE(ReadSurface(*back, shot));
    SavePng(shot, dir / name);
    return shot;
  }

  SdlBackend& sdl = SdlEnvironment::Sdl();
  WindowObject window;
  std::shared_ptr<GlRenderer> gl;
};

TEST_F(MenuGl, AtRestTheFieldIsHalvedAndTheFirstPanelsShowOpaqueAndHalfClear) {
  TMenuTop& menu = OpenMenu();
  const Picture shot = Shot(menu, "menu.png");

  const double overlay = 127.0 / 255.0;
  const Rgba halved = Halved();
  const Rgba first = Of(Texel(menu.GetPanels().Panel(0).sprite, 4, 4));
  const Rgba second = Of(Texel(menu.GetPanels().Panel(1).sprite, 4, 4));
  const Rgba secondOver = Over(Rgba{second.r, second.g, second.b, overlay}, halved);
  ExpectProbes(shot, {
      {400, 300, halved, "the field under the overlay"},
      {630, 470, halved, "the field's far corner"},
      {16, 16, first, "panel 0's corner, opaque"},
      {100, 30, first, "inside panel 0"},
      {24, 56, secondOver, "panel 1's corner at alpha 127"},
      {120, 70, secondOver, "inside panel 1"},
      {15, 16, halved, "left of panel 0"},
  });
}

TEST_F(MenuGl, AtRestTheBuyShopDarkensTheFieldAndShowsItsWindowsAtTheirPlaces) {
  WriteHudPacks();
  field.scene = new menutest::PaintedField(*app, kFieldColour);
  app->SetScene(field.scene);
  Ticks(6);
  auto* shop = new TBuyShop(*app, {2, 1005, 2003, 2001});
  app->SetScene(shop);
  ASSERT_TRUE(TickUntil([shop] { return shop->InPhase(&TShop::Select); }));
  const Picture shot = Shot(*shop, "shop.png");

  const double board = 102.0 / 255.0;
  const Rgba field = Of(kFieldColour);
  const Rgba dark{field.r * (1 - board), field.g * (1 - board), field.b * (1 - board)};
  auto texel = [&](TShop::TWindowId n, UINT x, UINT y) {
    const Rgba t = Of(Texel(shop->GetWindow(n).sprite, x, y));
    return Over(t, dark);
  };
  ExpectProbes(shot, {
      {600, 20, dark, "the field under the board"},
      {20, 300, dark, "the field at the left"},
      {300, 24, texel(TShop::kList, 204, 0), "the list window's top edge"},
      {300, 23, dark, "above the list window"},
      {96, 327, texel(TShop::kList, 0, 303), "the list window's bottom-left corner"},
      {95, 327, dark, "left of the list window"},
      {543, 300, texel(TShop::kList, 447, 276), "the list window's right edge"},
      {544, 300, dark, "right of the list window"},
      {9, 9, texel(TShop::kGold, 1, 1), "the gold window's corner"},
      {7, 9, dark, "left of the gold window"},
      {64, 344, texel(TShop::kInfo, 0, 0), "the info window's corner"},
      {63, 344, dark, "left of the info window"},
      {64, 343, dark, "above the info window"},
  });
}

TEST_F(MenuGl, TheEquipmentScreensWeaponListStandsBesideThePanelAndAboveTheInformation) {
  WriteHudPacks();
  field.GetGauge().Refresh(field.player);
  TGameData::Instance()->AddItem(1001, 1);
  OpenMenu();
  auto* screen = new TEquipMenu(*app, *menu);
  app->SetScene(screen);
  ASSERT_TRUE(TickUntil([screen] { return screen->InPhase(&TEquipMenu::Slots); }));
  Tick(kButtonA);
  ASSERT_TRUE(TickUntil([screen] { return screen->InPhase(&TMenuListScreen::ListSelect); }));
  const Picture shot = Shot(*screen, "equipment.png");

  const Rgba halved = Halved();
  const Rgba list{datakit::kSampleMenuListColour.r / 255.0, datakit::kSampleMenuListColour.g / 255.0,
                  datakit::kSampleMenuListColour.b / 255.0};
  // The panel's frame at the grey it is dimmed to while a list is open.
  TMoveValue fade;
  fade.Set(1.0f, 0.7f, 10, 10);
  const double dim = (OpaqueGrey(fade.value) & 0xFF) / 255.0;
  const Rgba frame = Of(Texel(field.GetGauge().GetFrame(), 0, 0)) * Rgba{dim, dim, dim, 1};
  const Rgba info = Over(Of(Texel(screen->GetWindow(TMenuListScreen::kInfo).sprite, 0, 0)), halved);
  ExpectProbes(shot, {
      {342, 32, list, "the list window's corner"},
      {341, 32, halved, "left of the list window"},
      {342, 31, halved, "above the list window"},
      {629, 351, list, "the list window's far corner"},
      {64, 48, frame, "the panel's frame, dimmed"},
      {63, 48, halved, "left of the panel"},
      {64, 47, halved, "above the panel"},
      {64, 344, info, "the information window's corner"},
      {63, 344, halved, "left of the information window"},
      {64, 343, halved, "above the information window"},
  });
}

}  // namespace
