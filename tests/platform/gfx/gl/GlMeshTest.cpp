// 3D drawing through the OpenGL renderer: the fixed-function path with the game's lighting set-up,
// linear vertex fog, depth and culling; the game's vertex-shader programs; viewports, clears and
// the present into the window.
#include <SDL.h>

#include <bit>
#include <numbers>

#include "platform/gfx/D3DXShader.h"
#include "platform/gfx/gl/GlApi.h"
#include "tests/platform/gfx/gl/GlFixture.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace gltest {
namespace {

constexpr D3DCOLOR kBackground = 0xFF183050, kFog = 0xFF202080, kTexel = 0xFFC0E0FF;

class GlMesh : public GlFixture {
 protected:
  void SetUp() override {
    GlFixture::SetUp();
    if (HasFatalFailure()) return;
    D3DXMatrixPerspectiveFovLH(&projection, std::numbers::pi_v<float> / 2, 640.0f / 480.0f, 1.0f, 200.0f);
    D3DXMatrixIdentity(&view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetTransform(D3DTS_VIEW, &view);
    texture = Texture(2, 2, D3DFMT_A8R8G8B8, {kTexel});
    Apply(texture.get());
  }
  void TearDown() override {
    if (device) device->SetTexture(0, nullptr);
    texture.reset();
    GlFixture::TearDown();
  }

  // Linear vertex fog from 10 to 110 in view depth, as the device object sets it.
  void Fog(bool fixedFunction) {
    device->SetRenderState(D3DRS_FOGENABLE, 1);
    device->SetRenderState(D3DRS_FOGCOLOR, kFog);
    if (!fixedFunction) return;
    device->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_NONE);
    device->SetRenderState(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRS_RANGEFOGENABLE, 0);
    device->SetRenderState(D3DRS_FOGSTART, std::bit_cast<DWORD>(10.0f));
    device->SetRenderState(D3DRS_FOGEND, std::bit_cast<DWORD>(110.0f));
  }

  // A quad facing the camera, wound clockwise on the screen (Direct3D's front).
  static void AddQuad(std::vector<MeshVertex>& v, std::vector<uint16_t>& i, float x0, float x1, float y0, float y1,
                      float z, D3DCOLOR color) {
    const auto first = static_cast<uint16_t>(v.size());
    v.push_back({x0, y1, z, color, 0, 0});
    v.push_back({x1, y1, z, color, 1, 0});
    v.push_back({x0, y0, z, color, 0, 1});
    v.push_back({x1, y0, z, color, 1, 1});
    for (uint16_t k : {0, 1, 2, 1, 3, 2}) i.push_back(static_cast<uint16_t>(first + k));
  }

  template <class T>
  Com<IDirect3DVertexBuffer8> VertexBuffer(const std::vector<T>& vertices, DWORD fvf) {
    IDirect3DVertexBuffer8* vb = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(static_cast<UINT>(vertices.size() * sizeof(T)), 0, fvf, D3DPOOL_MANAGED, &vb),
              D3D_OK);
    BYTE* p = nullptr;
    vb->Lock(0, 0, &p, 0);
    std::memcpy(p, vertices.data(), vertices.size() * sizeof(T));
    vb->Unlock();
    return Com<IDirect3DVertexBuffer8>(vb);
  }
  Com<IDirect3DIndexBuffer8> IndexBuffer(const std::vector<uint16_t>& indices) {
    IDirect3DIndexBuffer8* ib = nullptr;
    EXPECT_EQ(device->CreateIndexBuffer(static_cast<UINT>(indices.size() * 2), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib),
              D3D_OK);
    BYTE* p = nullptr;
    ib->Lock(0, 0, &p, 0);
    std::memcpy(p, indices.data(), indices.size() * 2);
    ib->Unlock();
    return Com<IDirect3DIndexBuffer8>(ib);
  }

  // c0-c3 and c4-c7: the transposed world x view x projection and world x view.
  void ShaderMatrices() {
    D3DXMATRIX world, worldView, worldViewProjection, t;
    D3DXMatrixIdentity(&world);
    D3DXMatrixMultiply(&worldView, &world, &view);
    D3DXMatrixMultiply(&worldViewProjection, &worldView, &projection);
    D3DXMatrixTranspose(&t, &worldViewProjection);
    device->SetVertexShaderConstant(0, &t, 4);
    D3DXMatrixTranspose(&t, &worldView);
    device->SetVertexShaderConstant(4, &t, 4);
    const float fog[4] = {110.0f / 100.0f, 1.0f / 100.0f, 0, 0};  // c8 for fog from 10 to 110
    device->SetVertexShaderConstant(8, fog, 1);
  }

  DWORD Shader(const char* source, const DWORD* declaration) {
    ID3DXBuffer *code = nullptr, *errors = nullptr;
    EXPECT_EQ(D3DXAssembleShader(source, static_cast<UINT>(std::strlen(source)), 0, nullptr, &code, &errors), D3D_OK);
    Com<ID3DXBuffer> heldCode(code), heldErrors(errors);
    DWORD handle = 0;
    EXPECT_EQ(device->CreateVertexShader(declaration, static_cast<DWORD*>(code->GetBufferPointer()), &handle, 0),
              D3D_OK);
    return handle;
  }

  D3DXMATRIX projection, view;
  Com<IDirect3DTexture8> texture;
};

// 90 degrees of view over 4:3: a point (x, y, z) lands on pixel (320 + 240 x / z, 240 - 240 y / z).
TEST_F(GlMesh, FixedFunctionMeshShowsVertexColourTimesTexelInLinearFogWithDepthAndCulling) {
  const D3DCOLOR nearColour = 0xFFFF8040, farColour = 0xFF40FF80;
  std::vector<MeshVertex> v;
  std::vector<uint16_t> i;
  AddQuad(v, i, -4, 4, -3, 5, 20, nearColour);   // pixels 272..368 x 180..276
  AddQuad(v, i, 0, 40, -30, 30, 60, farColour);  // pixels 320..480 x 120..360, behind the first
  const auto back = static_cast<uint16_t>(v.size());
  v.push_back({-12, 2, 10, 0xFFFFFFFF, 0, 0});  // wound counter-clockwise on the screen: culled
  v.push_back({-6, -2, 10, 0xFFFFFFFF, 0, 0});
  v.push_back({-6, 2, 10, 0xFFFFFFFF, 0, 0});
  for (uint16_t k : {0, 1, 2}) i.push_back(static_cast<uint16_t>(back + k));
  auto vb = VertexBuffer(v, kMeshFvf);
  auto ib = IndexBuffer(i);

  device->SetVertexShader(kMeshFvf);
  device->SetRenderState(D3DRS_ZENABLE, 1);
  device->SetRenderState(D3DRS_ZWRITEENABLE, 1);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  Fog(true);
  Begin(kBackground);
  device->SetStreamSource(0, vb.get(), sizeof(MeshVertex));
  device->SetIndices(ib.get(), 0);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(v.size()), 0, 4), D3D_OK);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(v.size()), 12, 1), D3D_OK);
  const Picture shot = Shot();

  const Rgba nearWant = Fogged(Of(nearColour) * Of(kTexel), Of(kFog), 0.9);  // (110 - 20) / 100
  const Rgba farWant = Fogged(Of(farColour) * Of(kTexel), Of(kFog), 0.5);   // (110 - 60) / 100
  EXPECT_TRUE(Near(shot.At(300, 240), nearWant)) << "the near quad alone";
  EXPECT_TRUE(Near(shot.At(300, 182), nearWant)) << "up is up";
  EXPECT_TRUE(Near(shot.At(340, 240), nearWant)) << "the near quad wins where the far one lies behind it";
  EXPECT_TRUE(Near(shot.At(450, 240), farWant)) << "the far quad alone";
  EXPECT_TRUE(Near(shot.At(152, 216), Of(kBackground), 0)) << "the back-facing triangle is culled";
  EXPECT_TRUE(Near(shot.At(100, 400), Of(kBackground), 0)) << "clears know no fog";
  // Inside the projected edges and just outside them.
  EXPECT_TRUE(Near(shot.At(273, 181), nearWant));
  EXPECT_TRUE(Near(shot.At(300, 278), Of(kBackground), 0));
  EXPECT_TRUE(Near(shot.At(270, 240), Of(kBackground), 0));
  EXPECT_TRUE(Near(shot.At(478, 300), farWant));
  EXPECT_TRUE(Near(shot.At(482, 300), Of(kBackground), 0));

  // Culling clockwise instead draws that triangle and drops the quads.
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  Begin(kBackground);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, static_cast<UINT>(v.size()), 0, 5), D3D_OK);
  const Picture flipped = Shot();
  EXPECT_TRUE(Near(flipped.At(152, 216), Fogged(Of(kTexel), Of(kFog), 1.0)));
  EXPECT_TRUE(Near(flipped.At(300, 240), Of(kBackground), 0));
  device->SetStreamSource(0, nullptr, 0);
  device->SetIndices(nullptr, 0);
}

// The single-frame program of the shader set whose colour is vertex colour x material (c10), with
// its fog from c8; and a morph program blending two frames from two streams with c9's weights.
TEST_F(GlMesh, TheGamesVertexShaderProgramsPlaceColourAndFogTheirVertices) {
  const char* single =
      "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmul oD0, v1, c10\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";
  const DWORD singleDeclaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                                     D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};
  const D3DCOLOR colour = 0xFFFF8040;
  const float material[4] = {1.0f, 0.5f, 0.75f, 1.0f};
  std::vector<MeshVertex> v;
  std::vector<uint16_t> i;
  AddQuad(v, i, -8, 8, -6, 10, 40, colour);  // pixels 272..368 x 180..276
  auto vb = VertexBuffer(v, 0);
  auto ib = IndexBuffer(i);
  const DWORD handle = Shader(single, singleDeclaration);
  ASSERT_NE(handle, 0u);
  ASSERT_EQ(device->SetVertexShader(handle), D3D_OK);
  ShaderMatrices();
  device->SetVertexShaderConstant(10, material, 1);
  Fog(false);
  Begin(kBackground);
  device->SetStreamSource(0, vb.get(), sizeof(MeshVertex));
  device->SetIndices(ib.get(), 0);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
  const Picture shot = Shot();
  const Rgba lit = Of(colour) * Rgba{material[0], material[1], material[2], material[3]} * Of(kTexel);
  EXPECT_TRUE(Near(shot.At(320, 240), Fogged(lit, Of(kFog), 0.7)));  // (110 - 40) / 100
  EXPECT_TRUE(Near(shot.At(274, 182), Fogged(lit, Of(kFog), 0.7)));
  EXPECT_TRUE(Near(shot.At(320, 278), Of(kBackground), 0));
  EXPECT_TRUE(Near(shot.At(270, 240), Of(kBackground), 0));

  // Morph: frame a a red quad from x -16 to 0, frame b a blue one from 0 to 16; weights 3/4 and
  // 1/4 put the quad from -12 to 4 (pixels 248..344) in three parts red to one part blue.
  const char* morph =
      "vs.1.0\nmul r0, v0, c9.x\nmad r0, v1, c9.y, r0\nm4x4 oPos, r0, c0\ndp4 r8.z, r0, c6\nmul r1, v2, c9.x\n"
      "mad oD0, v3, c9.y, r1\nmul r2, v4, c9.x\nmad oT0.xy, v5, c9.y, r2\nmad oFog.x, -r8.z, c8.y, c8.x\n";
  const DWORD morphDeclaration[] = {D3DVSD_STREAM(0),
                                    D3DVSD_REG(0, D3DVSDT_FLOAT3),
                                    D3DVSD_REG(2, D3DVSDT_D3DCOLOR),
                                    D3DVSD_REG(4, D3DVSDT_FLOAT2),
                                    D3DVSD_STREAM(1),
                                    D3DVSD_REG(1, D3DVSDT_FLOAT3),
                                    D3DVSD_REG(3, D3DVSDT_D3DCOLOR),
                                    D3DVSD_REG(5, D3DVSDT_FLOAT2),
                                    D3DVSD_END()};
  std::vector<MeshVertex> a, b;
  std::vector<uint16_t> unused;
  AddQuad(a, unused, -16, 0, -6, 6, 40, 0xFFFF0000);
  AddQuad(b, unused, 0, 16, -6, 6, 40, 0xFF0000FF);
  auto vbA = VertexBuffer(a, 0), vbB = VertexBuffer(b, 0);
  const DWORD morphHandle = Shader(morph, morphDeclaration);
  ASSERT_EQ(device->SetVertexShader(morphHandle), D3D_OK);
  const float weights[4] = {0.75f, 0.25f, 0, 0};
  device->SetVertexShaderConstant(9, weights, 1);
  device->SetRenderState(D3DRS_FOGENABLE, 0);
  Begin(kBackground);
  device->SetStreamSource(0, vbA.get(), sizeof(MeshVertex));
  device->SetStreamSource(1, vbB.get(), sizeof(MeshVertex));
  device->SetIndices(ib.get(), 0);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
  const Picture blended = Shot();
  EXPECT_TRUE(Near(blended.At(300, 240), Rgba{0.75, 0, 0.25, 1} * Of(kTexel)));
  EXPECT_TRUE(Near(blended.At(250, 240), Rgba{0.75, 0, 0.25, 1} * Of(kTexel)));
  EXPECT_TRUE(Near(blended.At(230, 240), Of(kBackground), 0)) << "where frame a alone would be";
  EXPECT_TRUE(Near(blended.At(360, 240), Of(kBackground), 0)) << "where frame b alone would be";
  device->SetStreamSource(0, nullptr, 0);
  device->SetStreamSource(1, nullptr, 0);
  device->SetIndices(nullptr, 0);
}

// Clears reach only their rectangles; a transformed quad larger than the view fills exactly the
// viewport; edges fall between pixels as in Direct3D.
TEST_F(GlMesh, ClearRectanglesAndTheViewportBoundWhatIsDrawn) {
  Begin(kBackground);
  const D3DRECT rects[2] = {{10, 10, 30, 20}, {600, 400, 640, 480}};
  ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0), D3D_OK);
  const D3DVIEWPORT8 viewport{100, 120, 200, 150, 0.0f, 1.0f};
  ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
  std::vector<MeshVertex> v;
  std::vector<uint16_t> i;
  AddQuad(v, i, -100, 100, -100, 100, 20, 0xFF00FF00);
  device->SetVertexShader(kMeshFvf);
  device->SetRenderState(D3DRS_ZENABLE, 0);
  Apply(nullptr);
  ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, i.data(), D3DFMT_INDEX16, v.data(),
                                           sizeof(MeshVertex)),
            D3D_OK);
  // Direct3D's pixel centres lie on whole coordinates: an edge at x 400.3 leaves pixel 400 out.
  const D3DVIEWPORT8 full{0, 0, 640, 480, 0.0f, 1.0f};
  ASSERT_EQ(device->SetViewport(&full), D3D_OK);
  v.clear();
  i.clear();
  AddQuad(v, i, 80.3f / 240 * 20, 10, -1, 1, 20, 0xFF00FF00);
  ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, i.data(), D3DFMT_INDEX16, v.data(),
                                           sizeof(MeshVertex)),
            D3D_OK);
  const Picture shot = Shot();
  EXPECT_TRUE(Near(shot.At(400, 240), Of(kBackground), 0));
  EXPECT_TRUE(Near(shot.At(401, 240), Of(0xFF00FF00), 0));
  const std::pair<int, int> magenta[] = {{10, 10}, {29, 19}, {600, 400}, {639, 479}};
  const std::pair<int, int> green[] = {{100, 120}, {299, 120}, {100, 269}, {299, 269}};
  const std::pair<int, int> background[] = {{9, 10}, {30, 19}, {10, 20}, {599, 479}, {99, 150}, {300, 150},
                                            {150, 119}, {150, 270}};
  for (auto [x, y] : magenta) EXPECT_TRUE(Near(shot.At(x, y), Of(0xFFFF00FF), 0)) << x << ", " << y;
  for (auto [x, y] : green) EXPECT_TRUE(Near(shot.At(x, y), Of(0xFF00FF00), 0)) << x << ", " << y;
  for (auto [x, y] : background) EXPECT_TRUE(Near(shot.At(x, y), Of(kBackground), 0)) << x << ", " << y;
}

// A present shows the back buffer in the window the right way up (as the X server has it).
TEST_F(GlMesh, PresentShowsTheBackBufferUprightInTheWindow) {
  SDL_Window* sw = SdlBackend::NativeWindow(&window);
  SDL_ShowWindow(sw);
  const D3DRECT top{0, 0, 640, 240}, bottom{0, 240, 640, 480};
  device->Clear(1, &top, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
  device->Clear(1, &bottom, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  glFinish();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(sw, &info));
  ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
  XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, 640, 480, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(XGetPixel(image, 320, 10) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(XGetPixel(image, 320, 470) & 0xFFFFFF, 0x0000FFu);
  XDestroyImage(image);
}

}  // namespace
}  // namespace gltest
