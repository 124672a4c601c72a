// The game's own drawing pieces on the OpenGL renderer: a mesh file queued through the render-mode
// table under a camera and drawn in linear fog, once on a device with vertex shaders (the shader
// set's programs) and once on one without (the fixed-function fill); a sprite from a texture pack
// blended over it; a text texture added on top. The pixels are worked out from the inputs.
#include <unistd.h>

#include <numbers>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TFontObject.h"
#include "common/TMesh8.h"
#include "common/TRenderModeTable.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "common/TVertexShader8.h"
#include "common/TView8.h"
#include "tests/common/Fixtures.h"
#include "tests/platform/gfx/gl/GlFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/PtxWriter.h"

namespace gltest {
namespace {

constexpr D3DCOLOR kBackground = 0xFF183050, kFog = 0xFF4060A0;

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

// A 4x4 picture of four 2x2 quadrants (top-left, top-right, bottom-left, bottom-right), each of one
// palette colour and alpha.
datakit::PtxPicture Quadrants(uint32_t kind, const D3DCOLOR (&colours)[4]) {
  datakit::PtxPicture p;
  p.kind = kind;
  p.width = p.height = 4;
  p.pixels.resize(16);
  p.alpha.resize(16);
  for (uint8_t q = 0; q < 4; ++q)
    p.palette[q] = {uint8_t(colours[q] >> 16), uint8_t(colours[q] >> 8), uint8_t(colours[q])};
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 4; ++x) {
      const uint8_t q = static_cast<uint8_t>((y / 2) * 2 + x / 2);
      p.Pixel(x, y) = q;
      p.Alpha(x, y) = uint8_t(colours[q] >> 24);
    }
  return p;
}

// The parameter: whether the device offers vertex shaders.
class GameDrawingGl : public CommonFixture, public ::testing::WithParamInterface<bool> {
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

// The box's front face lies at view depth 19 (camera at z -10, box centre at 10, half depth 1) and,
// under 90 degrees of view over 4:3, covers pixels 269.5..370.5 both ways. The face shows u left to
// right and v bottom to top, so the texture's top row is at the face's bottom. Probes sit where
// linear filtering (with the mesh's wrapping) reads one quadrant only: x 295 / 345, y 215 / 265.
// The sprite's 128x128 pixels from (320, 180) cover 32 pixels per texel: its probes at (345, 215)
// and (345, 265) lie over the face, (415, *) over the background.
TEST_P(GameDrawingGl, MeshInFogSpriteAndTextShowTheColoursWorkedOutFromTheirInputs) {
  if (access("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf", R_OK) != 0)
    GTEST_SKIP() << "IPA Gothic is not installed";
  const D3DCOLOR meshTexels[4] = {0xFFFF8040, 0xFF40FF80, 0xFF8040FF, 0xFFFFFFFF};
  const D3DCOLOR spriteTexels[4] = {0x80FFFFFF, 0xFF20C0FF, 0x00FF0000, 0x40FFFF00};
  const D3DCOLOR vertexColour = 0xFFFFE0C0, spriteColour = 0xFFFFC080;
  const Rgba material{1.0, 0.75, 0.5, 1.0};
  datakit::PtxWriter().Add("quads", Quadrants(0, meshTexels)).Save(dir / "mesh.ptx");
  datakit::PtxWriter().Add("window", Quadrants(1, spriteTexels)).Save(dir / "sprite.ptx");
  datakit::MeshMaterial boxMaterial = datakit::MeshMaterial::Colored("box", 1.0f, 0.75f, 0.5f);
  boxMaterial.texture = "mesh.ptx/quads";
  datakit::MeshFile::FromShape("box", datakit::BoxShape(8, 8, 2, vertexColour), {boxMaterial})
      .Msh()
      .Save(dir / "box.msh");

  TMesh8 box = TMesh8::Load("box.msh");
  box.SetShader(TCountedPtr<TShaderBase8>(new TModulateColorShader8));  // vertex colour x material
  ASSERT_EQ(box.GetMaterial(0).GetRenderMode(), 1200) << "an opaque part, fogged";
  TView8 camera;
  camera.SetProjection(1.0f, 200.0f, 90.0f, 640, 480);
  D3DXMATRIX view, world;
  D3DXMatrixTranslation(&view, 0, 0, 10);
  D3DXMatrixTranslation(&world, 0, 0, 10);
  camera.SetMatrices(view, *camera.GetProjection());
  TD3D8::Instance()->SetFog(true, 9.0f, 49.0f, kFog);  // (49 - 19) / 40: three quarters the face's colour

  TSprite8 sprite = LoadSprite("sprite.ptx/window", D3DPOOL_MANAGED, 0);
  ASSERT_EQ(sprite.texture.GetFormat(), D3DFMT_A8R8G8B8);
  sprite.SetColor(spriteColour, -1);
  TFontObject font(0, 24, "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e", 700, 0, 0, 0, 0);  // ＭＳ ゴシック
  TText8 text("title", 128, 32, 255, 224, 160, D3DPOOL_MANAGED, 0);
  text.DrawString(4, 2, "Duskwheel", font, true);

  ASSERT_EQ(TD3D8::Clear(kBackground, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr), D3D_OK);
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  box.Queue(world, &camera);
  TRenderModeTable::FlushAll();
  TSprite8::SetBlendMode(1);
  sprite.Draw(320, 180, 128, 128, false);
  TSprite8::SetBlendMode(3);  // the text's black ground adds nothing
  text.DrawAt(40, 400, false);
  ASSERT_EQ(TD3D8::EndScene(), D3D_OK);
  const Picture shot = Shot();

  // Screen quadrant of the face -> the texture's quadrant (v runs up the screen).
  auto face = [&](int screenQuadrant) {
    const int q = screenQuadrant ^ 2;
    return Fogged(Of(vertexColour) * material * Of(meshTexels[q]), Of(kFog), 0.75);
  };
  const Rgba bg = Of(kBackground);
  auto over = [&](int q, Rgba under) {
    return (spriteTexels[q] >> 24) ? Over(Of(spriteColour) * Of(spriteTexels[q]), under) : under;
  };
  struct Probe {
    int x, y;
    Rgba want;
    const char* what;
  };
  const Probe probes[] = {
      {295, 215, face(0), "face, top left"},
      {295, 265, face(2), "face, bottom left"},
      {345, 215, over(0, face(1)), "half-clear sprite texel over the face"},
      {345, 265, over(2, face(3)), "sprite texel of alpha 0 (tested away) over the face"},
      {415, 215, over(1, bg), "opaque sprite texel"},
      {415, 265, over(3, bg), "sprite texel of a quarter alpha"},
      {265, 240, bg, "left of the face"},
      {320, 295, bg, "below the face"},
      {100, 100, bg, "the clear colour"},
  };
  for (const Probe& p : probes) EXPECT_TRUE(Near(shot.At(p.x, p.y), p.want)) << p.what << " at " << p.x << ", " << p.y;

  // Every pixel of the text texture, drawn 1:1, adds its texel to the background.
  int inked = 0;
  for (uint32_t y = 0; y < 32; ++y)
    for (uint32_t x = 0; x < 128; ++x) {
      D3DCOLOR texel = 0;
      ASSERT_TRUE(UnpackColor(static_cast<D3DFORMAT>(text.texture.GetFormat()),
                              text.GetBits() + y * text.GetPitch() + x * 2, texel));
      const Rgba t = Of(texel);
      inked += (texel & 0xFFFFFF) != 0;
      const Rgba want{std::min(1.0, bg.r + t.r), std::min(1.0, bg.g + t.g), std::min(1.0, bg.b + t.b)};
      ASSERT_TRUE(Near(shot.At(40 + x, 400 + y), want)) << "text pixel " << x << ", " << y;
    }
  EXPECT_GT(inked, 200) << "the text left ink in its texture";
}

INSTANTIATE_TEST_SUITE_P(Device, GameDrawingGl, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "VertexShader" : "FixedFunction");
                         });

}  // namespace
}  // namespace gltest
