// 2D drawing through the OpenGL renderer: screen-space quads with the 2D layer's states, textures
// in every offered format, the texture stages, render targets and what reaches GL when bytes change.
#include "tests/platform/gfx/gl/GlFixture.h"

namespace gltest {
namespace {

class GlTwoD : public GlFixture {};

constexpr D3DCOLOR kBackground = 0xFF204060;

// A 2x2 texture magnified onto a 64x64 quad: clamped, linear filtering leaves the corner texels
// pure near the corners, and the quad covers exactly its 64x64 pixels.
TEST_F(GlTwoD, SpriteQuadBlendsInEachTwoDModeAndCoversExactlyItsPixels) {
  const D3DCOLOR texels[4] = {0xFFFF0000, 0x80FFFFFF, 0x00FFFFFF, 0xC000FF80};  // TL, TR, BL (clear), BR
  const D3DCOLOR vertex = 0xFFFFC080;
  auto texture = Texture(2, 2, D3DFMT_A8R8G8B8, {texels[0], texels[1], texels[2], texels[3]});
  const int x0 = 100, y0 = 80;
  struct Probe {
    int x, y, texel;  // texel -1: the background
  };
  const Probe probes[] = {{4, 4, 0},   {59, 4, 1},  {59, 59, 3}, {4, 59, 2},  {0, 4, 0},  {63, 4, 1},
                          {59, 63, 3}, {-1, 4, -1}, {64, 4, -1}, {4, -1, -1}, {59, 64, -1}};
  for (int mode = 0; mode < 5; ++mode) {
    SCOPED_TRACE("blend mode " + std::to_string(mode));
    TwoD(mode);
    Begin(kBackground);
    Apply(texture.get());
    Quad(x0, y0, 64, 64, vertex);
    const Picture shot = Shot();
    for (const Probe& p : probes) {
      const Rgba bg = Of(kBackground);
      Rgba want = bg;
      if (p.texel >= 0 && (texels[p.texel] >> 24) != 0) {  // the alpha test drops alpha 0
        const Rgba src = Of(vertex) * Of(texels[p.texel]);
        switch (mode) {
          case 0: want = src; break;
          case 1: want = Over(src, bg); break;
          case 2: want = bg * src; break;
          case 3: want = {std::min(1.0, src.r + bg.r), std::min(1.0, src.g + bg.g), std::min(1.0, src.b + bg.b)}; break;
          case 4: want = {src.r * (1 - bg.r), src.g * (1 - bg.g), src.b * (1 - bg.b)}; break;
        }
      }
      EXPECT_TRUE(Near(shot.At(x0 + p.x, y0 + p.y), want)) << "at " << p.x << ", " << p.y;
    }
  }
}

// A text texture (white glyph pixels whose alpha ramps 0..255 across 16 columns) drawn 1:1 in the
// alpha mode: linear filtering at 1:1 hits texel centres, so each column is exact.
TEST_F(GlTwoD, TextTexturesBlendTheirAlphaLevelsInTheTextColour) {
  const D3DCOLOR textColour = 0xFFFFD080, background = 0xFF102030;
  for (D3DFORMAT format : {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4}) {
    SCOPED_TRACE("format " + std::to_string(format));
    std::vector<D3DCOLOR> glyph;
    for (int y = 0; y < 4; ++y)
      for (uint32_t c = 0; c < 16; ++c) glyph.push_back(c * 17 << 24 | 0xFFFFFF);
    auto text = Texture(16, 4, format, glyph);
    TwoD(1);
    Begin(background);
    Apply(text.get());
    Quad(200, 300, 16, 4, textColour);
    const Picture shot = Shot();
    for (uint32_t c = 0; c < 16; ++c) {
      const Rgba src{Of(textColour).r, Of(textColour).g, Of(textColour).b, c * 17 / 255.0};
      EXPECT_TRUE(Near(shot.At(200 + c, 301), Over(src, Of(background)), 1)) << "column " << c;
    }
  }
}

// Each texture format of the desktop adapter, one texel drawn into an A8R8G8B8 render-target
// texture with texture colour and alpha selected, blending and the alpha test off.
TEST_F(GlTwoD, EveryOfferedTextureFormatArrivesWithItsColourAndAlpha) {
  struct Row {
    D3DFORMAT format;
    uint32_t raw;
    D3DCOLOR want;
  };
  const Row rows[] = {
      {D3DFMT_A8R8G8B8, 0x80FF4020, 0x80FF4020}, {D3DFMT_X8R8G8B8, 0x00123456, 0xFF123456},
      {D3DFMT_R5G6B5, 0xF81F, 0xFFFF00FF},       {D3DFMT_X1R5G5B5, 0x03E0, 0xFF00FF00},
      {D3DFMT_A1R5G5B5, 0x7C00, 0x00FF0000},     {D3DFMT_A4R4G4B4, 0x8F0F, 0x88FF00FF},
      {D3DFMT_R3G3B2, 0xE3, 0xFFFF00FF},         {D3DFMT_A8, 0x40, 0x40FFFFFF},
      {D3DFMT_A8R3G3B2, 0x801C, 0x8000FF00},     {D3DFMT_X4R4G4B4, 0x0F00, 0xFFFF0000},
      {D3DFMT_L8, 0x80, 0xFF808080},             {D3DFMT_A8L8, 0x40C0, 0x40C0C0C0},
      {D3DFMT_A4L4, 0x3C, 0x33CCCCCC},
  };
  const AdapterTable table = GetAdapterTable();
  for (D3DFORMAT offered : table.adapters[0].textureFormats)
    EXPECT_TRUE(std::any_of(std::begin(rows), std::end(rows), [&](const Row& r) { return r.format == offered; }))
        << "format " << offered << " is offered but not drawn here";

  IDirect3DTexture8* rt = nullptr;
  ASSERT_EQ(device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rt), D3D_OK);
  Com<IDirect3DTexture8> target(rt);
  IDirect3DSurface8* level = nullptr;
  ASSERT_EQ(target->GetSurfaceLevel(0, &level), D3D_OK);
  Com<IDirect3DSurface8> surface(level);
  ASSERT_EQ(device->SetRenderTarget(surface.get(), nullptr), D3D_OK);
  TwoD(0);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  for (const Row& row : rows) {
    auto texture = RawTexture(4, 4, row.format, {row.raw});
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->BeginScene();
    Apply(texture.get());
    Quad(0, 0, 8, 8, 0xFFFFFFFF);
    device->EndScene();
    EXPECT_TRUE(Near(Shot(*surface).At(3, 3), Of(row.want), 1, true)) << "format " << row.format;
  }
  device->SetTexture(0, nullptr);
}

// The stage operations and arguments, on a texel T, diffuse D and texture factor F, worked out by
// hand from the operations' definitions.
TEST_F(GlTwoD, TextureStagesCombineAsTheirOperationsSay) {
  const D3DCOLOR T = 0x80C04020, D = 0xFF408040, F = 0x40204080;
  const Rgba t = Of(T), d = Of(D), f = Of(F);
  struct Row {
    const char* name;
    DWORD op, arg1, arg2, alphaOp, alphaArg1, alphaArg2;
    Rgba want;
  };
  const Row rows[] = {
      {"modulate", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, t * d},
      {"modulate 2x", D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE,
       {2 * t.r * d.r, 2 * t.g * d.g, 2 * t.b * d.b, d.a}},
      {"add", D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TFACTOR, D3DTA_DIFFUSE,
       {std::min(1.0, t.r + d.r), t.g + d.g, t.b + d.b, f.a}},
      {"subtract", D3DTOP_SUBTRACT, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE,
       {t.r - d.r, 0, 0, t.a}},
      {"add signed", D3DTOP_ADDSIGNED, D3DTA_TEXTURE, D3DTA_TFACTOR, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE,
       {t.r + f.r - 0.5, t.g + f.g - 0.5, t.b + f.b - 0.5, t.a}},
      {"blend texture alpha", D3DTOP_BLENDTEXTUREALPHA, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
       D3DTA_TEXTURE, D3DTA_DIFFUSE,
       {t.r * t.a + d.r * (1 - t.a), t.g * t.a + d.g * (1 - t.a), t.b * t.a + d.b * (1 - t.a), t.a}},
      {"complement", D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, D3DTOP_SELECTARG1,
       D3DTA_DIFFUSE | D3DTA_COMPLEMENT, D3DTA_DIFFUSE, {1 - t.r, 1 - t.g, 1 - t.b, 0}},
      {"alpha replicate", D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_TFACTOR | D3DTA_ALPHAREPLICATE, D3DTOP_SELECTARG1,
       D3DTA_TEXTURE, D3DTA_DIFFUSE, {f.a, f.a, f.a, t.a}},
  };
  IDirect3DTexture8* rt = nullptr;
  ASSERT_EQ(device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &rt), D3D_OK);
  Com<IDirect3DTexture8> target(rt);
  IDirect3DSurface8* level = nullptr;
  ASSERT_EQ(target->GetSurfaceLevel(0, &level), D3D_OK);
  Com<IDirect3DSurface8> surface(level);
  ASSERT_EQ(device->SetRenderTarget(surface.get(), nullptr), D3D_OK);
  auto texture = Texture(2, 2, D3DFMT_A8R8G8B8, {T});
  TwoD(0);
  device->SetRenderState(D3DRS_ALPHATESTENABLE, 0);
  device->SetRenderState(D3DRS_TEXTUREFACTOR, F);
  device->SetTexture(0, texture.get());
  for (const Row& row : rows) {
    device->SetTextureStageState(0, D3DTSS_COLOROP, row.op);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, row.arg1);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, row.arg2);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, row.alphaOp);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, row.alphaArg1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, row.alphaArg2);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    device->BeginScene();
    Quad(0, 0, 8, 8, D);
    device->EndScene();
    EXPECT_TRUE(Near(Shot(*surface).At(4, 4), row.want, 1, true)) << row.name;
  }

  // A second stage works on the first one's result.
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
  device->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_CURRENT);
  device->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_TFACTOR);
  device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_CURRENT);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
  device->BeginScene();
  Quad(0, 0, 8, 8, D);
  device->EndScene();
  const Rgba td = t * d;
  EXPECT_TRUE(Near(Shot(*surface).At(4, 4), {td.r + f.r, td.g + f.g, td.b + f.b, t.a}, 1, true)) << "two stages";
  device->SetTexture(0, nullptr);
}

// The screen capture's way: a scene drawn into a render-target texture with its own depth surface,
// then that texture drawn 1:1 on the back buffer shows the same pixels.
TEST_F(GlTwoD, ASceneDrawnIntoARenderTargetTextureShowsAgainAsASprite) {
  IDirect3DTexture8* rt = nullptr;
  ASSERT_EQ(device->CreateTexture(640, 480, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &rt), D3D_OK);
  Com<IDirect3DTexture8> capture(rt);
  IDirect3DSurface8 *level = nullptr, *depth = nullptr, *back = nullptr, *backDepth = nullptr;
  ASSERT_EQ(capture->GetSurfaceLevel(0, &level), D3D_OK);
  ASSERT_EQ(device->CreateDepthStencilSurface(640, 480, D3DFMT_D16, D3DMULTISAMPLE_NONE, &depth), D3D_OK);
  ASSERT_EQ(device->GetRenderTarget(&back), D3D_OK);
  ASSERT_EQ(device->GetDepthStencilSurface(&backDepth), D3D_OK);
  Com<IDirect3DSurface8> captureSurface(level), captureDepth(depth), backSurface(back), backDepthSurface(backDepth);

  auto sprite = Texture(2, 2, D3DFMT_A8R8G8B8, {0xFFFF8000, 0xFF0080FF, 0xFF00FF00, 0xFFFFFFFF});
  ASSERT_EQ(device->SetRenderTarget(level, depth), D3D_OK);
  TwoD(1);
  Begin(0xFF402010);
  Apply(sprite.get());
  Quad(300, 200, 100, 50, 0xFFFFFFFF);
  device->EndScene();
  const Picture scene = Shot(*captureSurface);

  ASSERT_EQ(device->SetRenderTarget(back, backDepth), D3D_OK);
  Begin(0xFF000000);
  Apply(capture.get());
  Quad(0, 0, 640, 480, 0xFFFFFFFF);
  const Picture shown = Shot();
  for (auto [x, y] : {std::pair{10, 10}, {305, 205}, {395, 205}, {305, 245}, {395, 245}, {350, 225}, {630, 470}})
    EXPECT_TRUE(Near(shown.At(x, y), Of(scene.At(x, y)), 1)) << "at " << x << ", " << y << ": " << Hex(scene.At(x, y));
  EXPECT_TRUE(Near(scene.At(305, 205), Of(0xFFFF8000), 1));
  EXPECT_TRUE(Near(scene.At(10, 10), Of(0xFF402010), 0));
  device->SetTexture(0, nullptr);
}

// Bytes the CPU changes reach GL before the next draw: a texture relocked, a vertex buffer
// rewritten, a drawn render target copied into a texture; released resources free their GL objects.
TEST_F(GlTwoD, ChangedBytesAreUploadedAgainAndReleasedResourcesLetGo) {
  Begin(kBackground);
  Shot();
  const size_t before = renderer->ResourceCount();  // the back buffer's picture, depth and framebuffers
  auto texture = Texture(2, 2, D3DFMT_A8R8G8B8, {0xFFFF0000});
  IDirect3DVertexBuffer8* vb = nullptr;
  IDirect3DIndexBuffer8* ib = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(ScreenVertex), 0, kScreenFvf, D3DPOOL_MANAGED, &vb), D3D_OK);
  ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3D_OK);
  Com<IDirect3DVertexBuffer8> vertices(vb);
  Com<IDirect3DIndexBuffer8> indices(ib);
  auto fill = [&](D3DCOLOR color) {
    BYTE* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    const ScreenVertex v[4] = {{9.5f, 9.5f, 0, 1, color, 0, 0, 0},
                               {49.5f, 9.5f, 0, 1, color, 0, 1, 0},
                               {9.5f, 49.5f, 0, 1, color, 0, 0, 1},
                               {49.5f, 49.5f, 0, 1, color, 0, 1, 1}};
    std::memcpy(p, v, sizeof v);
    vb->Unlock();
  };
  auto draw = [&] {
    Begin(kBackground);
    device->SetStreamSource(0, vb, sizeof(ScreenVertex));
    device->SetIndices(ib, 0);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    return Shot().At(30, 30);
  };
  BYTE* p = nullptr;
  ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
  const uint16_t quad[6] = {0, 1, 2, 1, 3, 2};
  std::memcpy(p, quad, sizeof quad);
  ib->Unlock();
  TwoD(0);
  Apply(texture.get());
  fill(0xFFFFFFFF);
  EXPECT_TRUE(Near(draw(), Of(0xFFFF0000), 0));

  D3DLOCKED_RECT locked{};
  ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) PackColor(D3DFMT_A8R8G8B8, 0xFF00FF00, static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + x * 4);
  texture->UnlockRect(0);
  EXPECT_TRUE(Near(draw(), Of(0xFF00FF00), 0)) << "the relocked texture";

  fill(0xFF8080FF);
  EXPECT_TRUE(Near(draw(), Of(0xFF008000), 1)) << "the rewritten vertex colours";

  // What GL drew into a render target comes back through CopyRects into a texture's level.
  IDirect3DSurface8* rtSurface = nullptr;
  ASSERT_EQ(device->CreateRenderTarget(64, 64, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, FALSE, &rtSurface), D3D_OK);
  Com<IDirect3DSurface8> offscreen(rtSurface);
  auto copy = Texture(64, 64, D3DFMT_X8R8G8B8, {0xFF000000});
  IDirect3DSurface8 *back = nullptr, *backDepth = nullptr, *copyLevel = nullptr;
  device->GetRenderTarget(&back);
  device->GetDepthStencilSurface(&backDepth);
  copy->GetSurfaceLevel(0, &copyLevel);
  Com<IDirect3DSurface8> backSurface(back), backDepthSurface(backDepth), copySurface(copyLevel);
  device->SetRenderTarget(rtSurface, nullptr);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
  const RECT part{0, 0, 32, 64};
  const POINT at{0, 0};
  ASSERT_EQ(device->CopyRects(rtSurface, &part, 1, copyLevel, &at), D3D_OK);
  device->SetRenderTarget(back, backDepth);
  Apply(copy.get());
  TwoD(0);
  Begin(kBackground);
  Quad(0, 0, 64, 64, 0xFFFFFFFF);
  const Picture shot = Shot();
  EXPECT_TRUE(Near(shot.At(10, 30), Of(0xFF0000FF), 0)) << "the copied half";
  EXPECT_TRUE(Near(shot.At(50, 30), Of(0xFF000000), 0)) << "the half left as it was";

  device->SetTexture(0, nullptr);
  device->SetStreamSource(0, nullptr, 0);
  device->SetIndices(nullptr, 0);
  texture.reset();
  copySurface.reset();
  copy.reset();
  vertices.reset();
  indices.reset();
  offscreen.reset();
  EXPECT_EQ(renderer->ResourceCount(), before) << "the released resources' GL objects are gone";
}

}  // namespace
}  // namespace gltest
