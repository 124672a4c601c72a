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
#include "tests/common/gl/GameGlFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"
#include "tools/datakit/PtxWriter.h"

namespace gltest {
namespace {

constexpr D3DCOLOR kBackground = 0xFF183050, kFog = 0xFF4060A0;

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

using GameDrawingGl = GameGlFixture;

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
