// The game window's screen capture on the recording device: the covered scene drawn into the
// capture name's texture, the sprite over it, the off-screen copy, and device resets around them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TOffscreenTarget8.h"
#include "game/shell/TScreenCapture.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/FormatInfo.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/GraphicsFixture.h"
#include "tests/game/shell/ShellFixture.h"

using namespace plat;
using namespace shelltest;

namespace {

constexpr D3DCOLOR kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// Identity of a surface the device hands out, without keeping the reference.
IDirect3DSurface8* Peek(IDirect3DSurface8* surface) {
  if (surface) surface->Release();
  return surface;
}

IDirect3DSurface8* LevelZero(const TTexture8& texture) {
  IDirect3DSurface8* level = nullptr;
  if (texture.Object()) texture.Object()->GetSurfaceLevel(0, &level);
  return Peek(level);
}

// A scene whose Draw brackets its own drawing as the game's draw states do: it clears to its
// colour, draws a full-screen quad and notes how the device stood meanwhile.
class PaintScene : public TScene {
 public:
  PaintScene(TGameWnd& app, D3DCOLOR colour) : TScene(app), colour(colour) {}
  SceneResult Run() override { return kSceneRunning; }
  void Draw() override {
    ++draws;
    TD3D8& d3d = *TD3D8::Instance();
    if (!d3d.CheckDevice()) return;
    TD3D8::Clear(colour, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr);
    began = TD3D8::BeginScene() == D3D_OK;
    if (!began) return;
    target = Peek(d3d.GetRenderTarget());
    depth = Peek(d3d.GetDepthStencilSurface());
    if (depth) depthDesc = depth->Desc();  // a depth surface made for one capture is gone after it
    TD3D8::GetDevice()->GetViewport(&viewport);
    scale[0] = TSprite8::ScaleX();
    scale[1] = TSprite8::ScaleY();
    presenting = d3d.IsPresentEnabled();
    TSprite8::SetBlendMode(1);
    quad.DrawRect(0, 0, 640, 480, false);
    TD3D8::EndScene();
    d3d.Present();
  }

  D3DCOLOR colour;
  int draws = 0;
  bool began = false;
  IDirect3DSurface8* target = nullptr;
  IDirect3DSurface8* depth = nullptr;
  D3DSURFACE_DESC depthDesc{};
  D3DVIEWPORT8 viewport{};
  float scale[2] = {};
  bool presenting = true;
  TSprite8 quad;
};

class ScreenCapture : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    SetRendererFactory([r = renderer] { return r; });
    TDeviceHooks::Get() = TDeviceHooks::Real();
  }
  void TearDown() override {
    TD3D8::Instance()->Cleanup();
    TSprite8::SetScreenSize(640, 480, 640, 480);
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    ShellFixture::TearDown();
  }

  // An 800×600 windowed device on the X8R8G8B8 desktop, the sprite screen set as start-up sets it.
  void StartDevice() {
    TCountedPtr<TD3DDeviceBuilder8> builder(new TestDeviceBuilder(800, 600));
    ASSERT_TRUE(TD3D8::Instance()->Init(builder, D3D_SDK_VERSION, "", "InitLog.txt"));
    TSprite8::SetScreenSize(640, 480, 800, 600);
    MakeApp();
  }
  // The device goes through lost and not-reset; the reset must succeed.
  void LoseAndReset() {
    const uint32_t resets = renderer->ResetCount();
    renderer->SetCooperativeLevel(D3DERR_DEVICELOST);
    EXPECT_FALSE(TD3D8::Instance()->CheckDevice());
    renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
    EXPECT_FALSE(TD3D8::Instance()->CheckDevice());
    EXPECT_EQ(renderer->ResetCount(), resets + 1) << "the device refused the reset: something still held";
    EXPECT_TRUE(TD3D8::Instance()->CheckDevice());
  }
  IDirect3DSurface8* BackBuffer() {
    IDirect3DSurface8* back = nullptr;
    TD3D8::GetDevice()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
    return Peek(back);
  }
  // The colour (without alpha) at a pixel of a capture name's texture.
  static D3DCOLOR CapturedAt(UINT x, UINT y, const std::string& name = "sTMenuTopLoop") {
    TTexture8* texture = TTexture8::Find(TScreenCapture::TextureName(name));
    IDirect3DSurface8* level = texture ? LevelZero(*texture) : nullptr;
    if (!level) return 0xDEADBEEF;
    const D3DFORMAT format = level->Desc().Format;
    D3DCOLOR c = 0;
    UnpackColor(format, level->Bits() + y * level->Pitch() + x * LayoutOf(format).blockBytes, c);
    return c & 0xFFFFFF;
  }
  // Nothing of the capture is left behind on the device.
  void ExpectDeviceRestored() {
    EXPECT_EQ(Peek(TD3D8::Instance()->GetRenderTarget()), BackBuffer());
    D3DVIEWPORT8 vp;
    TD3D8::GetDevice()->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 800u);
    EXPECT_EQ(vp.Height, 600u);
    EXPECT_FLOAT_EQ(TSprite8::ScaleX(), 1.25f);
    EXPECT_FLOAT_EQ(TSprite8::ScaleY(), 1.25f);
    EXPECT_TRUE(TD3D8::Instance()->IsPresentEnabled());
  }

  std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
};

// The capture texture may already be cached at another size: the viewport covers at most the
// texture, the 2D screen maps onto that viewport and the sprite's extents onto the part drawn.
TEST_F(ScreenCapture, TheCoveredSceneIsDrawnIntoTheNamesTextureAndShownByA640x480Sprite) {
  struct Case {
    UINT cachedWidth, cachedHeight;  // 0: nothing cached before
    UINT viewWidth, viewHeight;
    float u, v;
  };
  const Case cases[] = {
      {0, 0, 800, 600, 1.0f, 1.0f},
      {1024, 1024, 800, 600, 800.0f / 1024, 600.0f / 1024},
      {400, 300, 400, 300, 1.0f, 1.0f},
  };
  StartDevice();
  IDirect3DSurface8* ownDepth = Peek(TD3D8::Instance()->GetDepthStencilSurface());
  const std::string textureName = TScreenCapture::TextureName("sTYesNoLoop");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cachedWidth);
    TTexture8::Purge(1);
    renderer->ClearLog();
    if (c.cachedWidth)
      TTexture8::Create(textureName, c.cachedWidth, c.cachedHeight, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                        D3DUSAGE_RENDERTARGET);
    PaintScene covered(*app, kRed);
    TSprite8 sprite = app->CaptureScreen("sTYesNoLoop", &covered);

    TTexture8* cached = TTexture8::Find(textureName);
    ASSERT_NE(cached, nullptr);
    ASSERT_NE(cached->Object(), nullptr);
    EXPECT_EQ(cached->GetFormat(), static_cast<uint32_t>(D3DFMT_X8R8G8B8)) << "the chosen capture format";
    EXPECT_EQ(cached->GetPool(), static_cast<uint32_t>(D3DPOOL_DEFAULT));
    D3DSURFACE_DESC desc;
    ASSERT_TRUE(cached->GetLevelDesc(0, &desc));
    EXPECT_NE(desc.Usage & D3DUSAGE_RENDERTARGET, 0u);
    if (!c.cachedWidth) {
      EXPECT_EQ(desc.Width, 800u) << "made the size of the back buffer";
      EXPECT_EQ(desc.Height, 600u);
    }

    // The scene drew into the texture, inside a scene bracket of its own joining the capture's.
    EXPECT_EQ(covered.draws, 1);
    EXPECT_TRUE(covered.began);
    EXPECT_EQ(covered.target, LevelZero(*cached));
    ASSERT_NE(covered.depth, nullptr);
    if (c.cachedWidth > 800)
      EXPECT_EQ(covered.depthDesc.Width, c.cachedWidth) << "the device's own is too small for it";
    else
      EXPECT_EQ(covered.depth, ownDepth);
    EXPECT_EQ(covered.viewport.Width, c.viewWidth);
    EXPECT_EQ(covered.viewport.Height, c.viewHeight);
    EXPECT_FLOAT_EQ(covered.scale[0], c.viewWidth / 640.0f);
    EXPECT_FLOAT_EQ(covered.scale[1], c.viewHeight / 480.0f);
    EXPECT_FALSE(covered.presenting);
    EXPECT_EQ(renderer->PresentCount(), 0u);
    ASSERT_EQ(renderer->Draws().size(), 1u);
    EXPECT_EQ(renderer->Draws()[0].renderTarget, LevelZero(*cached)->Id());
    EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kRed & 0xFFFFFF);
    EXPECT_EQ(CapturedAt(c.viewWidth - 1, c.viewHeight - 1, "sTYesNoLoop"), kRed & 0xFFFFFF);
    ExpectDeviceRestored();

    // The sprite: the caller's name, 640×480, the name's texture, extents over the part drawn.
    EXPECT_EQ(sprite.texture.GetName(), "sTYesNoLoop");
    EXPECT_EQ(sprite.texture.Object(), cached->Object());
    EXPECT_EQ(sprite.width, 640u);
    EXPECT_EQ(sprite.height, 480u);
    ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
    sprite.DrawAt(0, 0, false);
    TD3D8::EndScene();
    ASSERT_EQ(renderer->Draws().size(), 2u);
    const RecordedDraw& shown = renderer->Draws()[1];
    EXPECT_EQ(shown.textures[0].name, textureName);
    EXPECT_EQ(shown.renderTarget, BackBuffer()->Id());
    const ResolvedVertex& corner = shown.Vertex(4);  // indices 0 1 2 1 3 2: the bottom-right
    EXPECT_FLOAT_EQ(corner.screen.x, 799.5f);
    EXPECT_FLOAT_EQ(corner.screen.y, 599.5f);
    EXPECT_FLOAT_EQ(corner.texcoord[0].x, c.u);
    EXPECT_FLOAT_EQ(corner.texcoord[0].y, c.v);
  }

  // A capture of the same name reuses its texture.
  const IDirect3DTexture8* first = TTexture8::Find(textureName)->Object();
  size_t cachedCount = TTexture8::CachedCount();
  PaintScene other(*app, kBlue);
  TSprite8 again = app->CaptureScreen("sTYesNoLoop", &other);
  EXPECT_EQ(again.texture.Object(), first);
  EXPECT_EQ(TTexture8::CachedCount(), cachedCount);
  EXPECT_EQ(CapturedAt(10, 10, "sTYesNoLoop"), kBlue & 0xFFFFFF);
}

// An overlay over an overlay: the upper one's capture draws the lower one, whose background is
// its own capture, into a texture of its own; the lower one's picture stays as it was.
TEST_F(ScreenCapture, EachCaptureNameKeepsItsOwnTexture) {
  StartDevice();
  PaintScene field(*app, kRed);
  TSprite8 menuBackground = app->CaptureScreen("sTMenuTopLoop", &field);
  ASSERT_NE(menuBackground.texture.Object(), nullptr);

  // The menu: its captured picture over the whole screen, then a blue panel.
  class Overlay : public TScene {
   public:
    Overlay(TGameWnd& app, TSprite8& background) : TScene(app), background(background) {}
    SceneResult Run() override { return kSceneRunning; }
    void Draw() override {
      TD3D8::Clear(kBlue, D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);  // stands for its panels
      TSprite8::SetBlendMode(0);
      background.Draw(0, 0, 640, 480, false);
    }
    TSprite8& background;
  } menu(*app, menuBackground);
  renderer->ClearLog();
  TSprite8 dialogBackground = app->CaptureScreen("sTYesNoLoop", &menu);
  ASSERT_NE(dialogBackground.texture.Object(), nullptr);
  EXPECT_NE(dialogBackground.texture.Object(), menuBackground.texture.Object());
  ASSERT_EQ(renderer->Draws().size(), 1u);
  const RecordedDraw& drawn = renderer->Draws()[0];
  EXPECT_EQ(drawn.textures[0].name, TScreenCapture::TextureName("sTMenuTopLoop"));
  EXPECT_EQ(drawn.renderTarget, LevelZero(dialogBackground.texture)->Id()) << "never into its own source";
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kBlue & 0xFFFFFF);
  EXPECT_EQ(CapturedAt(0, 0, "sTMenuTopLoop"), kRed & 0xFFFFFF) << "the menu's field picture is intact";

  // The copy refreshes the newest capture only.
  PaintScene green(*app, 0xFF00FF00);
  app->CopyBackBuffer(0, &green);
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), 0x00FF00u);
  EXPECT_EQ(CapturedAt(0, 0, "sTMenuTopLoop"), kRed & 0xFFFFFF);

  // A texture that nothing shows any more goes with the next purge.
  dialogBackground = TSprite8();
  TTexture8::Purge(0);
  EXPECT_EQ(TTexture8::Find(TScreenCapture::TextureName("sTYesNoLoop")), nullptr);
  EXPECT_NE(TTexture8::Find(TScreenCapture::TextureName("sTMenuTopLoop")), nullptr);
}

TEST_F(ScreenCapture, WithoutAPictureTheSpriteHasAnEmptyTextureRecord) {
  enum class Why { NoScene, DeviceLost, NoRenderTargetTexture, NoDevice };
  for (Why why : {Why::NoScene, Why::DeviceLost, Why::NoRenderTargetTexture, Why::NoDevice}) {
    SCOPED_TRACE(static_cast<int>(why));
    AdapterTable table = DefaultAdapterTable();
    if (why == Why::NoRenderTargetTexture) table.adapters[0].renderTargetTextureFormats.clear();
    SetAdapterTable(table);
    if (why == Why::NoDevice)
      MakeApp();
    else
      StartDevice();
    if (why == Why::DeviceLost) renderer->SetCooperativeLevel(D3DERR_DEVICELOST);
    PaintScene covered(*app, kRed);

    TSprite8 sprite = app->CaptureScreen("sTDieLoop", why == Why::NoScene ? nullptr : &covered);
    EXPECT_EQ(sprite.texture.Object(), nullptr);
    EXPECT_EQ(sprite.texture.GetName(), "sTDieLoop");
    EXPECT_EQ(sprite.width, 640u);
    EXPECT_EQ(sprite.height, 480u);
    EXPECT_EQ(covered.draws, 0);
    if (why == Why::NoDevice) {
      EXPECT_EQ(TTexture8::Find(TScreenCapture::TextureName("sTDieLoop")), nullptr);
    } else {
      renderer->SetCooperativeLevel(D3D_OK);
      ExpectDeviceRestored();
    }
    TD3D8::Instance()->Cleanup();
  }
}

TEST_F(ScreenCapture, CaptureAndCopySurviveALostDeviceAndItsReset) {
  StartDevice();
  PaintScene covered(*app, kRed);
  TSprite8 overlay = app->CaptureScreen("sTMenuTopLoop", &covered);
  app->CopyBackBuffer(0, &covered);
  ASSERT_TRUE(TOffscreenTarget8::Exists());
  ASSERT_NE(overlay.texture.Object(), nullptr);

  LoseAndReset();
  EXPECT_EQ(TTexture8::Find(TScreenCapture::TextureName("sTMenuTopLoop")), nullptr);
  EXPECT_FALSE(TOffscreenTarget8::Exists());
  // The overlay's picture went with the device: it draws nothing rather than a released texture.
  EXPECT_EQ(overlay.texture.Object(), nullptr);
  renderer->ClearLog();
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  overlay.DrawAt(0, 0, false);
  TD3D8::EndScene();
  EXPECT_TRUE(renderer->Draws().empty());

  covered.colour = kBlue;
  TSprite8 second = app->CaptureScreen("sTMenuTopLoop", &covered);
  ASSERT_NE(second.texture.Object(), nullptr);
  EXPECT_EQ(TTexture8::Find(TScreenCapture::TextureName("sTMenuTopLoop"))->Object(), second.texture.Object())
      << "made again after the reset";
  EXPECT_EQ(CapturedAt(0, 0), kBlue & 0xFFFFFF);
  covered.colour = kRed;
  app->CopyBackBuffer(0, &covered);
  EXPECT_EQ(CapturedAt(0, 0), kRed & 0xFFFFFF);

  LoseAndReset();  // and again, with both made anew
}

// Mode 1 only draws the scene off-screen; any other mode also copies the picture into the capture
// texture, which the sprites of earlier captures show.
TEST_F(ScreenCapture, CopyBackBufferRefreshesTheCaptureUnlessModeIsOne) {
  StartDevice();
  IDirect3DSurface8* back = BackBuffer();
  for (int mode : {0, 1, 2}) {
    SCOPED_TRACE(mode);
    PaintScene covered(*app, kRed);
    TSprite8 background = app->CaptureScreen("sTMenuTopLoop", &covered);
    covered.colour = kBlue;
    app->CopyBackBuffer(mode, &covered);

    EXPECT_EQ(covered.draws, 2);
    EXPECT_TRUE(covered.began);
    ASSERT_NE(covered.target, nullptr);
    EXPECT_NE(covered.target, back);
    EXPECT_NE(covered.target, LevelZero(background.texture));
    EXPECT_EQ(covered.target->Desc().Width, 800u);
    EXPECT_EQ(covered.target->Desc().Height, 600u);
    EXPECT_EQ(covered.target->Desc().Format, back->Desc().Format);
    ASSERT_NE(covered.depth, nullptr);
    EXPECT_EQ(covered.depthDesc.Width, 800u);
    EXPECT_FALSE(covered.presenting);
    EXPECT_EQ(CapturedAt(400, 300), (mode == 1 ? kRed : kBlue) & 0xFFFFFF);
    ExpectDeviceRestored();
  }
}

TEST_F(ScreenCapture, ACopyThatFailsLeavesTheCaptureBlack) {
  // The capture texture takes R5G6B5, the back buffer is X8R8G8B8: the rectangle copy refuses.
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].renderTargetTextureFormats = {D3DFMT_R5G6B5};
  SetAdapterTable(table);
  StartDevice();
  PaintScene covered(*app, kRed);
  TSprite8 background = app->CaptureScreen("sTMenuTopLoop", &covered);
  ASSERT_EQ(background.texture.GetFormat(), static_cast<uint32_t>(D3DFMT_R5G6B5));
  ASSERT_EQ(CapturedAt(5, 5), kRed & 0xFFFFFF);

  app->CopyBackBuffer(0, &covered);
  EXPECT_EQ(covered.draws, 2);
  EXPECT_EQ(CapturedAt(5, 5), 0u);
  EXPECT_EQ(CapturedAt(799, 599), 0u);
  ExpectDeviceRestored();
}

TEST_F(ScreenCapture, WithoutASceneTheCurrentSceneIsDrawn) {
  StartDevice();
  auto* current = new PaintScene(*app, kRed);
  app->SetScene(current);
  PaintScene given(*app, kBlue);

  TSprite8 picture = app->CaptureScreen("sTYesNoLoop");
  EXPECT_EQ(current->draws, 1);
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kRed & 0xFFFFFF);
  picture = app->CaptureScreen("sTYesNoLoop", &given);
  EXPECT_EQ(current->draws, 1);
  EXPECT_EQ(given.draws, 1);
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kBlue & 0xFFFFFF);

  app->CopyBackBuffer(0);
  EXPECT_EQ(current->draws, 2);
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kRed & 0xFFFFFF);
  app->CopyBackBuffer(0, &given);
  EXPECT_EQ(given.draws, 2);
  EXPECT_EQ(CapturedAt(0, 0, "sTYesNoLoop"), kBlue & 0xFFFFFF);
}

}  // namespace
