#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "platform/gfx/D3DXMath.h"
#include "platform/gfx/D3DXShader.h"
#include "platform/gfx/FormatInfo.h"
#include "tests/platform/gfx/DeviceFixture.h"

using namespace plat;
using testkit::Com;
using testkit::WindowedParams;

namespace {

using DeviceTest = testkit::DeviceFixture;

struct CreateCase {
  const char* what;
  DWORD flags;
  void (*edit)(D3DPRESENT_PARAMETERS&, AdapterTable&);
  HRESULT expected;
  UINT countAfter;  // BackBufferCount left in the parameters
};

TEST_F(DeviceTest, CreateDeviceChecksFlagsAndParameters) {
  const DWORD hw = D3DCREATE_HARDWARE_VERTEXPROCESSING, sw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  const CreateCase cases[] = {
      {"plain windowed", hw, [](D3DPRESENT_PARAMETERS&, AdapterTable&) {}, D3D_OK, 1},
      {"no processing flag", D3DCREATE_FPU_PRESERVE, [](D3DPRESENT_PARAMETERS&, AdapterTable&) {}, D3DERR_INVALIDCALL, 1},
      {"two processing flags", hw | sw, [](D3DPRESENT_PARAMETERS&, AdapterTable&) {}, D3DERR_INVALIDCALL, 1},
      {"pure software", sw | D3DCREATE_PUREDEVICE, [](D3DPRESENT_PARAMETERS&, AdapterTable&) {}, D3DERR_INVALIDCALL, 1},
      {"hardware on a software-only adapter", hw,
       [](D3DPRESENT_PARAMETERS&, AdapterTable& t) { t.adapters[0].hardwareVertexProcessing = false; },
       D3DERR_INVALIDCALL, 1},
      {"software on a software-only adapter", sw,
       [](D3DPRESENT_PARAMETERS&, AdapterTable& t) { t.adapters[0].hardwareVertexProcessing = false; }, D3D_OK, 1},
      {"four back buffers come back as three", hw, [](D3DPRESENT_PARAMETERS& p, AdapterTable&) { p.BackBufferCount = 4; },
       D3DERR_INVALIDCALL, 3},
      {"an adapter of two back buffers", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable& t) {
         p.BackBufferCount = 3;
         t.adapters[0].maxBackBufferCount = 2;
       },
       D3DERR_INVALIDCALL, 2},
      {"zero back buffers mean one", hw, [](D3DPRESENT_PARAMETERS& p, AdapterTable&) { p.BackBufferCount = 0; }, D3D_OK, 1},
      {"16-bit back buffer on a 32-bit desktop", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) { p.BackBufferFormat = D3DFMT_R5G6B5; }, D3DERR_INVALIDCALL, 1},
      {"full screen in a listed mode", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) {
         p.Windowed = FALSE;
         p.BackBufferFormat = D3DFMT_R5G6B5;
       },
       D3D_OK, 1},
      {"full screen in a size the adapter lacks", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) {
         p.Windowed = FALSE;
         p.BackBufferWidth = 700;
       },
       D3DERR_INVALIDCALL, 1},
      {"a depth format the adapter lacks", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) { p.AutoDepthStencilFormat = D3DFMT_D32; }, D3DERR_INVALIDCALL, 1},
      {"multisampling with a lockable back buffer", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) {
         p.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
         p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
       },
       D3DERR_INVALIDCALL, 1},
      {"multisampling the adapter lacks", hw,
       [](D3DPRESENT_PARAMETERS& p, AdapterTable&) { p.MultiSampleType = 8; }, D3DERR_INVALIDCALL, 1},
  };
  for (const CreateCase& c : cases) {
    AdapterTable table = DefaultAdapterTable();
    D3DPRESENT_PARAMETERS params = WindowedParams();
    c.edit(params, table);
    SetAdapterTable(table);
    d3d.reset();
    EXPECT_EQ(Create(params, c.flags), c.expected) << c.what;
    EXPECT_EQ(device != nullptr, c.expected == D3D_OK) << c.what;
    EXPECT_EQ(device ? device->PresentParams().BackBufferCount : params.BackBufferCount, c.countAfter) << c.what;
    device.reset();
  }
}

TEST_F(DeviceTest, RendererFailuresReachTheCaller) {
  renderer->FailCreate(D3DERR_NOTAVAILABLE, 1);
  D3DPRESENT_PARAMETERS params = WindowedParams();
  params.BackBufferCount = 2;
  d3d.reset(Direct3DCreate8(D3D_SDK_VERSION));
  IDirect3DDevice8* created = nullptr;
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &created),
            D3DERR_NOTAVAILABLE);
  EXPECT_EQ(created, nullptr);
  EXPECT_EQ(params.BackBufferCount, 1u);
  EXPECT_EQ(Create(), D3D_OK);  // the next one succeeds
  ASSERT_EQ(renderer->Creates().size(), 2u);
  EXPECT_EQ(renderer->Creates()[1].info.behaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
}

TEST_F(DeviceTest, NoDirect3DWithoutTheRightVersionOrTable) {
  EXPECT_EQ(Direct3DCreate8(120), nullptr);
  AdapterTable none;
  none.available = false;
  SetAdapterTable(none);
  EXPECT_EQ(Direct3DCreate8(D3D_SDK_VERSION), nullptr);
}

TEST_F(DeviceTest, CapsReportVertexShaders) {
  ASSERT_EQ(Create(), D3D_OK);
  D3DCAPS8 caps;
  ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
  EXPECT_EQ(caps.VertexShaderVersion, D3DVS_VERSION(1, 1));
  EXPECT_EQ(caps.MaxVertexShaderConst, 96u);
  EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);

  // A card without shaders has none in hardware; software processing runs them all the same.
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].vertexShaderVersion = 0;
  SetAdapterTable(table);
  d3d.reset();
  ASSERT_EQ(Create(), D3D_OK);
  device->GetDeviceCaps(&caps);
  EXPECT_EQ(caps.VertexShaderVersion, 0u);
  device.reset();
  ASSERT_EQ(Create(D3DCREATE_SOFTWARE_VERTEXPROCESSING), D3D_OK);
  device->GetDeviceCaps(&caps);
  EXPECT_EQ(caps.VertexShaderVersion, D3DVS_VERSION(1, 1));
}

TEST_F(DeviceTest, StatesStartAtTheDefaultsAndRejectUnknownNumbers) {
  ASSERT_EQ(Create(), D3D_OK);
  DWORD v = 0;
  struct {
    D3DRENDERSTATETYPE state;
    DWORD value;
  } defaults[] = {{D3DRS_ZENABLE, 1}, {D3DRS_CULLMODE, D3DCULL_CCW}, {D3DRS_LIGHTING, 1},
                  {D3DRS_FOGEND, std::bit_cast<DWORD>(1.0f)}, {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL}};
  for (const auto& d : defaults) {
    ASSERT_EQ(device->GetRenderState(d.state, &v), D3D_OK);
    EXPECT_EQ(v, d.value) << d.state;
  }
  device->GetTextureStageState(0, D3DTSS_COLOROP, &v);
  EXPECT_EQ(v, D3DTOP_MODULATE);
  device->GetTextureStageState(1, D3DTSS_COLOROP, &v);
  EXPECT_EQ(v, D3DTOP_DISABLE);
  device->GetTextureStageState(3, D3DTSS_TEXCOORDINDEX, &v);
  EXPECT_EQ(v, 3u);

  EXPECT_EQ(device->SetRenderState(1, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetRenderState(174, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetTextureStageState(8, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetTextureStageState(0, 12, 1), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetTransform(4, nullptr), D3DERR_INVALIDCALL);
  D3DMATRIX m{};
  EXPECT_EQ(device->SetTransform(D3DTS_WORLDMATRIX(4), &m), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, StateBlocksRecordAndReplayExactlyWhatWasSet) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DTexture8* raw = nullptr;
  ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &raw), D3D_OK);
  Com<IDirect3DTexture8> texture(raw);
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1, 2, 3);

  ASSERT_EQ(device->BeginStateBlock(), D3D_OK);
  EXPECT_EQ(device->BeginStateBlock(), D3DERR_INVALIDCALL);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);  // the last value counts
  device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
  device->SetTransform(D3DTS_WORLD, &world);
  device->SetTexture(0, texture.get());
  device->SetVertexShader(0x1C4);
  // Recording leaves the device as it was.
  DWORD v;
  device->GetRenderState(D3DRS_ALPHABLENDENABLE, &v);
  EXPECT_EQ(v, 0u);
  IDirect3DBaseTexture8* bound = nullptr;
  device->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  EXPECT_EQ(device->ApplyStateBlock(1), D3DERR_INVALIDCALL);
  DWORD token = 0;
  ASSERT_EQ(device->EndStateBlock(&token), D3D_OK);
  EXPECT_NE(token, 0u);
  EXPECT_NE(token, 0xFFFFFFFFu);
  EXPECT_EQ(texture->RefCount(), 2u);  // the block holds the texture

  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);  // not in the block
  ASSERT_EQ(device->ApplyStateBlock(token), D3D_OK);
  const DeviceState& s = device->State();
  EXPECT_EQ(s.renderStates[D3DRS_ALPHABLENDENABLE], 1u);
  EXPECT_EQ(s.renderStates[D3DRS_SRCBLEND], D3DBLEND_SRCALPHA);
  EXPECT_EQ(s.renderStates[D3DRS_CULLMODE], D3DCULL_NONE);
  EXPECT_EQ(s.renderStates[D3DRS_DESTBLEND], D3DBLEND_ZERO);
  EXPECT_EQ(s.stageStates[0][D3DTSS_ADDRESSU], D3DTADDRESS_CLAMP);
  EXPECT_EQ(s.stageStates[0][D3DTSS_ADDRESSV], D3DTADDRESS_WRAP);
  EXPECT_EQ(s.world[0]._42, 2.0f);
  EXPECT_EQ(s.textures[0], texture.get());
  EXPECT_EQ(s.vertexShader, 0x1C4u);

  ASSERT_EQ(device->DeleteStateBlock(token), D3D_OK);
  EXPECT_EQ(device->DeleteStateBlock(token), D3DERR_INVALIDCALL);
  device->SetTexture(0, nullptr);
  EXPECT_EQ(texture->RefCount(), 1u);
}

TEST_F(DeviceTest, TexturesHaveFullChainsAndRealPitches) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DTexture8* raw = nullptr;
  ASSERT_EQ(device->CreateTexture(256, 64, 0, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &raw), D3D_OK);
  Com<IDirect3DTexture8> texture(raw);
  ASSERT_EQ(texture->GetLevelCount(), 9u);
  D3DSURFACE_DESC d;
  ASSERT_EQ(texture->GetLevelDesc(8, &d), D3D_OK);
  EXPECT_EQ(d.Width, 1u);
  EXPECT_EQ(d.Height, 1u);
  texture->GetLevelDesc(2, &d);
  EXPECT_EQ(d.Width, 64u);
  EXPECT_EQ(d.Height, 16u);
  EXPECT_EQ(d.Format, D3DFMT_R5G6B5);
  EXPECT_EQ(texture->GetLevelDesc(9, &d), D3DERR_INVALIDCALL);

  // A narrow texture: its rows are wider than its pixels, and the bytes stay where they were put.
  ASSERT_EQ(device->CreateTexture(5, 3, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &raw), D3D_OK);
  Com<IDirect3DTexture8> narrow(raw);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(narrow->LockRect(0, &locked, nullptr, 0), D3D_OK);
  EXPECT_EQ(locked.Pitch, 16);
  EXPECT_EQ(narrow->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
  auto* bits = static_cast<uint8_t*>(locked.pBits);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x) bits[y * locked.Pitch + x] = static_cast<uint8_t>(16 * y + x);
  uint32_t changes = narrow->ChangeCount();
  ASSERT_EQ(narrow->UnlockRect(0), D3D_OK);
  EXPECT_EQ(narrow->ChangeCount(), changes + 1);
  EXPECT_EQ(narrow->UnlockRect(0), D3DERR_INVALIDCALL);

  const RECT part{2, 1, 4, 3};
  ASSERT_EQ(narrow->LockRect(0, &locked, &part, D3DLOCK_READONLY), D3D_OK);
  bits = static_cast<uint8_t*>(locked.pBits);
  EXPECT_EQ(bits[0], 16 + 4);                     // row 1, pixel 2
  EXPECT_EQ(bits[locked.Pitch + 1], 2 * 16 + 5);  // row 2, pixel 2, high byte
  narrow->UnlockRect(0);
  EXPECT_EQ(narrow->ChangeCount(), changes + 1);  // a read-only lock changes nothing

  const RECT outside{4, 0, 6, 1};
  EXPECT_EQ(narrow->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, TextureCreationChecks) {
  ASSERT_EQ(Create(), D3D_OK);
  struct {
    UINT w, h, levels;
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
    HRESULT expected;
  } cases[] = {
      {64, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3D_OK},
      {0, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
      {4096, 64, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
      {64, 64, 8, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
      {64, 64, 0, 0, D3DFMT_A8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},  // not in the adapter's list
      {64, 64, 0, 0, D3DFMT_D16, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
      {640, 480, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, D3D_OK},
      {640, 480, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, D3DERR_INVALIDCALL},
      {64, 64, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, D3D_OK},
  };
  for (const auto& c : cases) {
    IDirect3DTexture8* raw = nullptr;
    EXPECT_EQ(device->CreateTexture(c.w, c.h, c.levels, c.usage, c.format, c.pool, &raw), c.expected)
        << c.w << "x" << c.h << " format " << c.format;
    EXPECT_EQ(raw != nullptr, c.expected == D3D_OK);
    if (raw) raw->Release();
  }
  IDirect3DTexture8* raw = nullptr;
  device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &raw);
  Com<IDirect3DTexture8> target(raw);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(target->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // default pool
}

TEST_F(DeviceTest, LevelSurfacesShareTheirTexturesCount) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DTexture8* raw = nullptr;
  device->CreateTexture(16, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &raw);
  Com<IDirect3DTexture8> texture(raw);
  IDirect3DSurface8* level = nullptr;
  ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
  EXPECT_EQ(texture->RefCount(), 2u);
  EXPECT_EQ(level->Container(), texture.get());
  D3DLOCKED_RECT locked;
  ASSERT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);
  static_cast<uint8_t*>(locked.pBits)[0] = 0x5A;
  level->UnlockRect();
  ASSERT_EQ(texture->LockRect(1, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[0], 0x5A);
  texture->UnlockRect(1);
  EXPECT_EQ(texture->ChangeCount(), 1u);
  level->Release();
  EXPECT_EQ(texture->RefCount(), 1u);
}

TEST_F(DeviceTest, BuffersLockWithinTheirLength) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DVertexBuffer8* vb = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(240, D3DUSAGE_WRITEONLY, 0x142, D3DPOOL_MANAGED, &vb), D3D_OK);
  Com<IDirect3DVertexBuffer8> vertices(vb);
  D3DVERTEXBUFFER_DESC vd;
  ASSERT_EQ(vertices->GetDesc(&vd), D3D_OK);
  EXPECT_EQ(vd.Size, 240u);
  EXPECT_EQ(vd.FVF, 0x142u);
  EXPECT_EQ(vd.Usage, D3DUSAGE_WRITEONLY);
  EXPECT_EQ(vd.Format, D3DFMT_VERTEXDATA);

  BYTE *a = nullptr, *b = nullptr;
  ASSERT_EQ(vertices->Lock(0, 0, &a, 0), D3D_OK);
  ASSERT_EQ(vertices->Lock(24, 24, &b, D3DLOCK_READONLY), D3D_OK);  // locks nest
  EXPECT_EQ(b, a + 24);
  a[239] = 7;
  EXPECT_EQ(vertices->Lock(200, 41, &b, 0), D3DERR_INVALIDCALL);
  vertices->Unlock();
  EXPECT_EQ(vertices->ChangeCount(), 0u);  // still locked once
  vertices->Unlock();
  EXPECT_EQ(vertices->ChangeCount(), 1u);
  EXPECT_EQ(vertices->Unlock(), D3DERR_INVALIDCALL);
  EXPECT_EQ(vertices->Bytes()[239], 7);

  IDirect3DIndexBuffer8* ib = nullptr;
  EXPECT_EQ(device->CreateIndexBuffer(60, 0, D3DFMT_INDEX32, D3DPOOL_SYSTEMMEM, &ib), D3D_OK);
  Com<IDirect3DIndexBuffer8> indices(ib);
  D3DINDEXBUFFER_DESC id;
  indices->GetDesc(&id);
  EXPECT_EQ(id.Format, D3DFMT_INDEX32);
  EXPECT_EQ(id.Pool, D3DPOOL_SYSTEMMEM);
  EXPECT_EQ(device->CreateIndexBuffer(60, 0, D3DFMT_D16, D3DPOOL_MANAGED, &ib), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CreateVertexBuffer(10, 0, 0x142, D3DPOOL_MANAGED, &vb), D3DERR_INVALIDCALL);  // under one vertex
}

TEST_F(DeviceTest, ClearsFillTheViewportOfTheTargetAndItsDepth) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].depthFormats.push_back(D3DFMT_D16_LOCKABLE);
  SetAdapterTable(table);
  D3DPRESENT_PARAMETERS params = WindowedParams(64, 32);
  params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  params.AutoDepthStencilFormat = D3DFMT_D16_LOCKABLE;
  ASSERT_EQ(Create(params), D3D_OK);
  const D3DVIEWPORT8 vp{8, 4, 16, 8, 0, 1};
  ASSERT_EQ(device->SetViewport(&vp), D3D_OK);
  const D3DRECT rects[] = {{0, 0, 12, 12}, {30, 30, 40, 40}};  // the second lies outside
  ASSERT_EQ(device->Clear(2, rects, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF102030, 0.5f, 0), D3D_OK);
  ASSERT_EQ(renderer->Clears().size(), 1u);
  const RecordedClear& c = renderer->Clears()[0];
  ASSERT_EQ(c.rects.size(), 1u);
  EXPECT_EQ(c.rects[0].x1, 8);
  EXPECT_EQ(c.rects[0].y1, 4);
  EXPECT_EQ(c.rects[0].x2, 12);
  EXPECT_EQ(c.rects[0].y2, 12);

  IDirect3DSurface8* raw = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &raw), D3D_OK);
  Com<IDirect3DSurface8> back(raw);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(back->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  auto pixel = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + 4 * x, 4);
    return v & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(8, 4), 0x102030u);
  EXPECT_EQ(pixel(11, 11), 0x102030u);
  EXPECT_EQ(pixel(12, 4), 0u);
  EXPECT_EQ(pixel(7, 4), 0u);
  back->UnlockRect();

  IDirect3DSurface8* depth = nullptr;
  ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
  Com<IDirect3DSurface8> depthSurface(depth);
  ASSERT_EQ(depth->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
  uint16_t z;
  std::memcpy(&z, static_cast<uint8_t*>(locked.pBits) + 4 * locked.Pitch + 16, 2);
  EXPECT_EQ(z, 0x8000);
  depth->UnlockRect();

  EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 1), D3DERR_INVALIDCALL);  // D16 has none
  EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetRenderTarget(nullptr, nullptr), D3D_OK);
  EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->GetDepthStencilSurface(&depth), D3DERR_NOTFOUND);
}

// A clear of the depth alone keeps the stencil and the other way round; a 16-bit target takes the
// packed colour in every pixel of the rectangle and none beside it.
TEST_F(DeviceTest, ClearsWriteOnlyThePartsTheyName) {
  D3DPRESENT_PARAMETERS params = WindowedParams(40, 20);
  params.AutoDepthStencilFormat = D3DFMT_D24S8;
  ASSERT_EQ(Create(params), D3D_OK);
  IDirect3DSurface8* rawTarget = nullptr;
  ASSERT_EQ(device->CreateRenderTarget(40, 20, D3DFMT_R5G6B5, D3DMULTISAMPLE_NONE, FALSE, &rawTarget), D3D_OK);
  Com<IDirect3DSurface8> target(rawTarget);
  IDirect3DSurface8* rawDepth = nullptr;
  ASSERT_EQ(device->GetDepthStencilSurface(&rawDepth), D3D_OK);
  Com<IDirect3DSurface8> depth(rawDepth);
  ASSERT_EQ(device->SetRenderTarget(target.get(), depth.get()), D3D_OK);

  auto depthAt = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, depth->Bits() + y * depth->Pitch() + 4 * x, 4);
    return v;
  };
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0x5A), D3D_OK);
  EXPECT_EQ(depthAt(39, 19), 0xFFFFFF5Au);
  const D3DRECT corner{0, 0, 3, 2};
  ASSERT_EQ(device->Clear(1, &corner, D3DCLEAR_ZBUFFER, 0, 0.0f, 0), D3D_OK);
  EXPECT_EQ(depthAt(2, 1), 0x0000005Au) << "the stencil stays";
  EXPECT_EQ(depthAt(3, 1), 0xFFFFFF5Au);
  ASSERT_EQ(device->Clear(1, &corner, D3DCLEAR_STENCIL, 0, 1.0f, 0x0F), D3D_OK);
  EXPECT_EQ(depthAt(0, 0), 0x0000000Fu) << "the depth stays";

  const D3DRECT band{5, 3, 35, 9};
  ASSERT_EQ(device->Clear(1, &band, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
  auto colorAt = [&](int x, int y) {
    uint16_t v;
    std::memcpy(&v, target->Bits() + y * target->Pitch() + 2 * x, 2);
    return v;
  };
  EXPECT_EQ(colorAt(5, 3), 0xF800);
  EXPECT_EQ(colorAt(34, 8), 0xF800);
  EXPECT_EQ(colorAt(20, 6), 0xF800);
  EXPECT_EQ(colorAt(4, 3), 0);
  EXPECT_EQ(colorAt(35, 8), 0);
  EXPECT_EQ(colorAt(5, 9), 0);
}

TEST_F(DeviceTest, BackBuffersLockOnlyWhenAskedFor) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DSurface8* raw = nullptr;
  ASSERT_EQ(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &raw), D3D_OK);
  Com<IDirect3DSurface8> back(raw);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(back->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->GetBackBuffer(1, D3DBACKBUFFER_TYPE_MONO, &raw), D3DERR_INVALIDCALL);
  EXPECT_EQ(raw, nullptr);
}

TEST_F(DeviceTest, RenderTargetsResetTheViewportAndNeedADepthAsLarge) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DSurface8 *target = nullptr, *small = nullptr, *large = nullptr;
  ASSERT_EQ(device->CreateRenderTarget(256, 128, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, FALSE, &target), D3D_OK);
  ASSERT_EQ(device->CreateDepthStencilSurface(128, 128, D3DFMT_D16, D3DMULTISAMPLE_NONE, &small), D3D_OK);
  ASSERT_EQ(device->CreateDepthStencilSurface(256, 256, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, &large), D3D_OK);
  Com<IDirect3DSurface8> t(target), s(small), l(large);
  EXPECT_EQ(device->SetRenderTarget(target, small), D3DERR_INVALIDCALL);
  ASSERT_EQ(device->SetRenderTarget(target, large), D3D_OK);
  D3DVIEWPORT8 vp;
  device->GetViewport(&vp);
  EXPECT_EQ(vp.Width, 256u);
  EXPECT_EQ(vp.Height, 128u);
  const D3DVIEWPORT8 tooWide{0, 0, 300, 100, 0, 1};
  EXPECT_EQ(device->SetViewport(&tooWide), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetRenderTarget(large, nullptr), D3DERR_INVALIDCALL);  // not a colour target
  IDirect3DSurface8* refused = nullptr;
  EXPECT_EQ(device->CreateRenderTarget(64, 64, D3DFMT_A8, D3DMULTISAMPLE_NONE, FALSE, &refused), D3DERR_INVALIDCALL);
  EXPECT_EQ(refused, nullptr);
  IDirect3DSurface8* current = nullptr;
  device->GetRenderTarget(&current);
  EXPECT_EQ(current, target);
  current->Release();
}

TEST_F(DeviceTest, CopyRectsMovesPixelsBetweenSurfacesOfOneFormat) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DSurface8 *a = nullptr, *b = nullptr, *other = nullptr;
  ASSERT_EQ(device->CreateImageSurface(4, 4, D3DFMT_A8R8G8B8, &a), D3D_OK);
  ASSERT_EQ(device->CreateImageSurface(8, 8, D3DFMT_A8R8G8B8, &b), D3D_OK);
  ASSERT_EQ(device->CreateImageSurface(8, 8, D3DFMT_R5G6B5, &other), D3D_OK);
  Com<IDirect3DSurface8> src(a), dst(b), wrong(other);
  D3DLOCKED_RECT locked;
  src->LockRect(&locked, nullptr, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      uint32_t v = 0xFF000000u | (y << 8) | x;
      std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + 4 * x, &v, 4);
    }
  src->UnlockRect();

  const RECT rect{1, 1, 3, 4};
  const POINT at{5, 2};
  ASSERT_EQ(device->CopyRects(a, &rect, 1, b, &at), D3D_OK);
  dst->LockRect(&locked, nullptr, D3DLOCK_READONLY);
  auto pixel = [&](int x, int y) {
    uint32_t v;
    std::memcpy(&v, static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch + 4 * x, 4);
    return v;
  };
  EXPECT_EQ(pixel(5, 2), 0xFF000101u);
  EXPECT_EQ(pixel(6, 4), 0xFF000302u);
  EXPECT_EQ(pixel(7, 2), 0u);
  EXPECT_EQ(pixel(5, 5), 0u);
  dst->UnlockRect();
  EXPECT_EQ(dst->ChangeCount(), 1u);

  const POINT overflow{7, 0};
  EXPECT_EQ(device->CopyRects(a, &rect, 1, b, &overflow), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CopyRects(a, nullptr, 0, other, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CopyRects(a, nullptr, 0, a, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(dst->ChangeCount(), 1u);
}

// The cycle the game's frame check walks: lost (nothing to do), not reset (reset allowed once the
// default-pool objects are gone), then working again with every state back at its default.
TEST_F(DeviceTest, LostDevicesResetOnlyWhenNothingOfTheDefaultPoolIsHeld) {
  ASSERT_EQ(Create(), D3D_OK);
  renderer->SetCooperativeLevel(D3DERR_DEVICELOST);
  EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
  D3DPRESENT_PARAMETERS params = WindowedParams();
  EXPECT_EQ(device->Reset(&params), D3DERR_DEVICELOST);
  EXPECT_EQ(renderer->PresentCount(), 0u);

  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  IDirect3DSurface8* raw = nullptr;
  device->CreateRenderTarget(32, 32, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, FALSE, &raw);
  Com<IDirect3DSurface8> target(raw);
  DWORD block;
  device->BeginStateBlock();
  device->SetRenderState(D3DRS_ZENABLE, 0);
  device->EndStateBlock(&block);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);
  target.reset();

  renderer->FailReset(D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(device->Reset(&params), D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
  ASSERT_EQ(device->Reset(&params), D3D_OK);
  EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
  DWORD v;
  device->GetRenderState(D3DRS_CULLMODE, &v);
  EXPECT_EQ(v, D3DCULL_CCW);
  EXPECT_EQ(device->ApplyStateBlock(block), D3DERR_INVALIDCALL);  // blocks do not survive a reset
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(renderer->PresentCount(), 1u);
}

TEST_F(DeviceTest, ManagedTexturesAndHeldBackBuffersAcrossAReset) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DTexture8* raw = nullptr;
  device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &raw);
  Com<IDirect3DTexture8> managed(raw);
  device->SetTexture(0, raw);
  IDirect3DSurface8* back = nullptr;
  device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back);
  D3DPRESENT_PARAMETERS params = WindowedParams();
  EXPECT_EQ(device->Reset(&params), D3DERR_INVALIDCALL);  // the back buffer is still held
  back->Release();
  EXPECT_EQ(device->Reset(&params), D3D_OK);
  EXPECT_EQ(managed->RefCount(), 1u);  // unbound by the reset, alive all the same
}

struct FixedVertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};

TEST_F(DeviceTest, FixedFunctionDrawsResolveThroughTheTransforms) {
  ASSERT_EQ(Create(), D3D_OK);
  const FixedVertex vertices[] = {{0, 0, 0.5f, 0x80FF0000, 0.25f, 0.75f}, {-1, 1, 0, 0xFF00FF00, 1, 0},
                                  {-1, -1, 1, 0xFF0000FF, 0, 1}};
  IDirect3DVertexBuffer8* vb = nullptr;
  IDirect3DIndexBuffer8* ib = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(sizeof vertices, 0, 0x142, D3DPOOL_MANAGED, &vb), D3D_OK);
  ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3D_OK);
  Com<IDirect3DVertexBuffer8> vbuf(vb);
  Com<IDirect3DIndexBuffer8> ibuf(ib);
  BYTE* p;
  vb->Lock(0, 0, &p, 0);
  std::memcpy(p, vertices, sizeof vertices);
  vb->Unlock();
  const uint16_t indices[] = {9, 9, 0, 1, 2, 0};  // the draw starts at index 2
  ib->Lock(0, 0, &p, 0);
  std::memcpy(p, indices, sizeof indices);
  ib->Unlock();

  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1, 0, 0);
  device->SetTransform(D3DTS_WORLD, &world);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetVertexShader(0x142);
  device->SetStreamSource(0, vb, 24);
  device->SetIndices(ib, 0);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 2, 1), D3DERR_INVALIDCALL);  // no scene
  device->BeginScene();
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 2, 1), D3D_OK);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3DERR_INVALIDCALL);  // vertex 9
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 2, 2), D3DERR_INVALIDCALL);  // past the end
  device->SetIndices(ib, 1);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 2, 1), D3DERR_INVALIDCALL);  // base 1 + 2
  device->EndScene();

  ASSERT_EQ(renderer->Draws().size(), 1u);
  const RecordedDraw& d = renderer->Draws()[0];
  EXPECT_EQ(d.type, D3DPT_TRIANGLELIST);
  EXPECT_EQ(d.vertexShader, 0x142u);
  ASSERT_EQ(d.IndexCount(), 3u);
  struct {
    float clipX, clipY, screenX, screenY, z;
  } expected[] = {{1, 0, 640, 240, 0.5f}, {0, 1, 320, 0, 0}, {0, -1, 320, 480, 1}};
  for (int i = 0; i < 3; ++i) {
    const ResolvedVertex& v = d.Vertex(i);
    EXPECT_FLOAT_EQ(v.position.x, expected[i].clipX) << i;
    EXPECT_FLOAT_EQ(v.position.y, expected[i].clipY) << i;
    EXPECT_FLOAT_EQ(v.position.w, 1.0f) << i;
    EXPECT_FLOAT_EQ(v.screen.x, expected[i].screenX) << i;
    EXPECT_FLOAT_EQ(v.screen.y, expected[i].screenY) << i;
    EXPECT_FLOAT_EQ(v.screen.z, expected[i].z) << i;
  }
  EXPECT_FLOAT_EQ(d.Vertex(0).diffuse.x, 1.0f);
  EXPECT_FLOAT_EQ(d.Vertex(0).diffuse.w, 128 / 255.0f);
  EXPECT_FLOAT_EQ(d.Vertex(0).texcoord[0].x, 0.25f);
  EXPECT_FLOAT_EQ(d.Vertex(0).texcoord[0].y, 0.75f);
  EXPECT_EQ(d.state.renderStates[D3DRS_LIGHTING], 0u);
  EXPECT_EQ(d.state.streams[0].buffer, nullptr);  // the log keeps no pointers
}

// With lighting on and no normals, only the emissive and ambient terms remain: the game's default
// states take the emissive colour from the vertex, so its meshes keep their colours.
TEST_F(DeviceTest, FixedFunctionLightingTakesItsColoursFromTheMaterialSources) {
  ASSERT_EQ(Create(), D3D_OK);
  const FixedVertex v[] = {{0, 0, 0, 0x80FF8000, 0, 0}};
  const uint16_t index[] = {0};
  D3DMATERIAL8 material{};
  material.Emissive = {0, 0, 1, 1};
  device->SetMaterial(&material);
  device->SetVertexShader(0x142);
  struct {
    DWORD lighting, emissiveSource;
    float r, g, b, a;
  } cases[] = {{0, D3DMCS_MATERIAL, 1, 128 / 255.0f, 0, 128 / 255.0f},
               {1, D3DMCS_MATERIAL, 0, 0, 1, 128 / 255.0f},
               {1, D3DMCS_COLOR1, 1, 128 / 255.0f, 0, 128 / 255.0f}};
  device->BeginScene();
  for (const auto& c : cases) {
    device->SetRenderState(D3DRS_LIGHTING, c.lighting);
    device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, c.emissiveSource);
    ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_POINTLIST, 0, 1, 1, index, D3DFMT_INDEX16, v, 24), D3D_OK);
    const ShaderFloat4& d = renderer->Draws().back().Vertex(0).diffuse;
    EXPECT_FLOAT_EQ(d.x, c.r);
    EXPECT_FLOAT_EQ(d.y, c.g);
    EXPECT_FLOAT_EQ(d.z, c.b);
    EXPECT_FLOAT_EQ(d.w, c.a);
  }
}

TEST_F(DeviceTest, PretransformedQuadsFromUserMemory) {
  ASSERT_EQ(Create(), D3D_OK);
  struct Vertex2D {
    float x, y, z, rhw;
    D3DCOLOR diffuse, specular;
    float u, v;
  } quad[4] = {{9.5f, 19.5f, 0, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0}, {73.5f, 19.5f, 0, 1, 0xFFFFFFFF, 0xFFFFFFFF, 1, 0},
               {9.5f, 51.5f, 0, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0, 1}, {73.5f, 51.5f, 0, 1, 0xFFFFFFFF, 0xFFFFFFFF, 1, 1}};
  const uint16_t indices[] = {0, 1, 2, 1, 3, 2};
  IDirect3DVertexBuffer8* vb = nullptr;
  device->CreateVertexBuffer(128, 0, 0x1C4, D3DPOOL_MANAGED, &vb);
  Com<IDirect3DVertexBuffer8> held(vb);
  device->SetStreamSource(0, vb, 32);
  device->SetVertexShader(0x1C4);
  device->BeginScene();
  ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, quad, 32), D3D_OK);
  const uint16_t beyond[] = {0, 1, 4};
  EXPECT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 1, beyond, D3DFMT_INDEX16, quad, 32),
            D3DERR_INVALIDCALL);
  device->EndScene();
  IDirect3DVertexBuffer8* bound = nullptr;
  UINT stride = 99;
  device->GetStreamSource(0, &bound, &stride);
  EXPECT_EQ(bound, nullptr);  // an UP draw unbinds stream 0
  EXPECT_EQ(stride, 0u);
  EXPECT_EQ(held->RefCount(), 1u);

  ASSERT_EQ(renderer->Draws().size(), 1u);
  const RecordedDraw& d = renderer->Draws()[0];
  ASSERT_EQ(d.IndexCount(), 6u);
  EXPECT_EQ(d.vertices.size(), 4u);  // each corner runs once
  EXPECT_EQ(d.vertexNumbers[4], 3u);
  EXPECT_FLOAT_EQ(d.Vertex(0).screen.x, 9.5f);
  EXPECT_FLOAT_EQ(d.Vertex(0).screen.y, 19.5f);
  EXPECT_FLOAT_EQ(d.Vertex(4).screen.x, 73.5f);
  EXPECT_FLOAT_EQ(d.Vertex(4).screen.y, 51.5f);
  EXPECT_FLOAT_EQ(d.Vertex(4).texcoord[0].x, 1.0f);
}

const char* const kSingleFrameProgram =
    "vs.1.0\nm4x4 oPos, v0, c0\ndp4 r8.z, v0, c6\nmov oD0, v1\nmov oT0.xy, v2\nmad oFog.x, -r8.z, c8.y, c8.x\n";
const char* const kMorphProgram =
    "vs.1.0\nmul r0, v0, c9.x\nmad r0, v1, c9.y, r0\nm4x4 oPos, r0, c0\ndp4 r8.z, r0, c6\nmov oD0, v2\n"
    "mov oT0.xy, v4.xy\nmad oFog.x, -r8.z, c8.y, c8.x\n";

DWORD MakeShader(IDirect3DDevice8& device, const char* source, const DWORD* declaration) {
  ID3DXBuffer *code = nullptr, *errors = nullptr;
  EXPECT_EQ(D3DXAssembleShader(source, static_cast<UINT>(std::strlen(source)), 0, nullptr, &code, &errors), D3D_OK);
  Com<ID3DXBuffer> held(code), heldErrors(errors);
  DWORD handle = 0;
  EXPECT_EQ(device.CreateVertexShader(declaration, static_cast<DWORD*>(code->GetBufferPointer()), &handle, 0), D3D_OK);
  return handle;
}

// The mesh shader of the graphics layer, through the device: declaration registers from the
// stream, constants as set, outputs as the evaluator computes them.
TEST_F(DeviceTest, VertexShaderDrawsResolveThroughTheProgram) {
  ASSERT_EQ(Create(), D3D_OK);
  const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(1, D3DVSDT_D3DCOLOR),
                               D3DVSD_REG(2, D3DVSDT_FLOAT2), D3DVSD_END()};
  const DWORD handle = MakeShader(*device, kSingleFrameProgram, declaration);
  ASSERT_TRUE(handle & 1);
  // c0..c3: the transposed matrix scale (2, 3, 1) then move by (1, 0, 0); c6 the depth row; c8 fog 0..1.
  const float constants[] = {2, 0, 0, 1, 0, 3, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  device->SetVertexShaderConstant(0, constants, 4);
  const float depthRow[] = {0, 0, 1, 0}, fog[] = {1, 1, 0, 0};
  device->SetVertexShaderConstant(6, depthRow, 1);
  device->SetVertexShaderConstant(8, fog, 1);
  ASSERT_EQ(device->SetVertexShader(handle), D3D_OK);
  const FixedVertex v[] = {{0, 0, 0.25f, 0xFF00FF00, 0.5f, 0.25f}, {-1, 0.5f, 1, 0x00FF0000, 1, 1}};
  const uint16_t indices[] = {0, 1};
  device->BeginScene();
  ASSERT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_LINELIST, 0, 2, 1, indices, D3DFMT_INDEX16, v, 24), D3D_OK);
  const RecordedDraw& d = renderer->Draws().back();
  EXPECT_EQ(d.vertexShader, handle);
  const ResolvedVertex& a = d.Vertex(0);
  EXPECT_FLOAT_EQ(a.position.x, 1.0f);
  EXPECT_FLOAT_EQ(a.position.y, 0.0f);
  EXPECT_FLOAT_EQ(a.position.z, 0.25f);
  EXPECT_FLOAT_EQ(a.position.w, 1.0f);
  EXPECT_FLOAT_EQ(a.screen.x, 640.0f);
  EXPECT_FLOAT_EQ(a.fog, 0.75f);
  EXPECT_FLOAT_EQ(a.diffuse.y, 1.0f);
  EXPECT_FLOAT_EQ(a.diffuse.x, 0.0f);
  EXPECT_FLOAT_EQ(a.texcoord[0].x, 0.5f);
  EXPECT_FLOAT_EQ(a.texcoord[0].y, 0.25f);
  const ResolvedVertex& b = d.Vertex(1);
  EXPECT_FLOAT_EQ(b.position.x, -1.0f);
  EXPECT_FLOAT_EQ(b.position.y, 1.5f);
  EXPECT_FLOAT_EQ(b.fog, 0.0f);
  EXPECT_FLOAT_EQ(b.diffuse.w, 0.0f);

  ASSERT_EQ(device->DeleteVertexShader(handle), D3D_OK);
  EXPECT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_LINELIST, 0, 2, 1, indices, D3DFMT_INDEX16, v, 24),
            D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetVertexShader(handle), D3DERR_INVALIDCALL);
}

// The morph shader reads two frames from two streams and blends them by c9.
TEST_F(DeviceTest, MorphShadersBlendTwoStreams) {
  ASSERT_EQ(Create(), D3D_OK);
  const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_REG(2, D3DVSDT_D3DCOLOR),
                               D3DVSD_REG(4, D3DVSDT_FLOAT2), D3DVSD_STREAM(1), D3DVSD_REG(1, D3DVSDT_FLOAT3),
                               D3DVSD_REG(3, D3DVSDT_D3DCOLOR), D3DVSD_REG(5, D3DVSDT_FLOAT2), D3DVSD_END()};
  const DWORD handle = MakeShader(*device, kMorphProgram, declaration);
  const FixedVertex frameA[] = {{0, 0, 0, 0xFFFFFFFF, 0, 0}}, frameB[] = {{4, 8, 0, 0xFFFFFFFF, 1, 1}};
  IDirect3DVertexBuffer8 *a = nullptr, *b = nullptr;
  IDirect3DIndexBuffer8* ib = nullptr;
  device->CreateVertexBuffer(24, 0, 0, D3DPOOL_MANAGED, &a);
  device->CreateVertexBuffer(24, 0, 0, D3DPOOL_MANAGED, &b);
  device->CreateIndexBuffer(2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib);
  Com<IDirect3DVertexBuffer8> ha(a), hb(b);
  Com<IDirect3DIndexBuffer8> hi(ib);
  BYTE* p;
  a->Lock(0, 0, &p, 0), std::memcpy(p, frameA, 24), a->Unlock();
  b->Lock(0, 0, &p, 0), std::memcpy(p, frameB, 24), b->Unlock();
  const float identity[] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const float weights[] = {0.75f, 0.25f, 0, 0};
  device->SetVertexShaderConstant(0, identity, 4);
  device->SetVertexShaderConstant(9, weights, 1);
  device->SetVertexShader(handle);
  device->SetIndices(ib, 0);
  device->SetStreamSource(0, a, 24);
  device->BeginScene();
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_POINTLIST, 0, 1, 0, 1), D3DERR_INVALIDCALL);  // stream 1 missing
  device->SetStreamSource(1, b, 24);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_POINTLIST, 0, 1, 0, 1), D3D_OK);
  const ResolvedVertex& v = renderer->Draws().back().Vertex(0);
  EXPECT_FLOAT_EQ(v.position.x, 1.0f);
  EXPECT_FLOAT_EQ(v.position.y, 2.0f);
  EXPECT_FLOAT_EQ(v.position.w, 1.0f);
}

TEST_F(DeviceTest, ShaderCreationChecks) {
  ASSERT_EQ(Create(), D3D_OK);
  const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
  const DWORD badRegister[] = {D3DVSD_STREAM(0), D3DVSD_REG(16, D3DVSDT_FLOAT3), D3DVSD_END()};
  const DWORD noStream[] = {D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
  const DWORD notTokens[] = {0x12345678, 0, 0};
  DWORD handle = 7;
  EXPECT_EQ(device->CreateVertexShader(declaration, notTokens, &handle, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(handle, 0u);
  ID3DXBuffer *code = nullptr, *errors = nullptr;
  const char* source = "vs.1.1\nmov oPos, v0\n";
  ASSERT_EQ(D3DXAssembleShader(source, std::strlen(source), 0, nullptr, &code, &errors), D3D_OK);
  Com<ID3DXBuffer> held(code);
  auto* function = static_cast<const DWORD*>(code->GetBufferPointer());
  EXPECT_EQ(device->CreateVertexShader(badRegister, function, &handle, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CreateVertexShader(noStream, function, &handle, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CreateVertexShader(declaration, function, &handle, 0), D3D_OK);

  // Constants a declaration carries are loaded when its shader is selected.
  const float one = 1.0f, two = 2.0f;
  const DWORD withConstant[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_CONST(20, 1),
                                std::bit_cast<DWORD>(one), std::bit_cast<DWORD>(two), 0, 0, D3DVSD_END()};
  DWORD second = 0;
  ASSERT_EQ(device->CreateVertexShader(withConstant, function, &second, 0), D3D_OK);
  device->SetVertexShader(second);
  float c[4];
  device->GetVertexShaderConstant(20, c, 1);
  EXPECT_EQ(c[1], 2.0f);
  EXPECT_EQ(device->SetVertexShaderConstant(95, c, 2), D3DERR_INVALIDCALL);

  const char* broken = "vs.1.1\nfrobnicate r0, v0\n";
  EXPECT_EQ(D3DXAssembleShader(broken, std::strlen(broken), 0, nullptr, &code, &errors), D3DXERR_INVALIDDATA);
  ASSERT_NE(errors, nullptr);
  Com<ID3DXBuffer> heldErrors(errors);
  EXPECT_GT(std::strlen(static_cast<const char*>(errors->GetBufferPointer())), 0u);

  // A card without vertex shaders refuses them.
  device.reset();
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].vertexShaderVersion = 0;
  SetAdapterTable(table);
  d3d.reset();
  ASSERT_EQ(Create(), D3D_OK);
  EXPECT_EQ(device->CreateVertexShader(declaration, function, &handle, 0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, LostDevicesAcceptDrawsWithoutDrawing) {
  ASSERT_EQ(Create(), D3D_OK);
  const FixedVertex v[] = {{0, 0, 0, 0, 0, 0}};
  const uint16_t index[] = {0};
  device->SetVertexShader(0x142);
  device->BeginScene();
  renderer->SetCooperativeLevel(D3DERR_DEVICELOST);
  EXPECT_EQ(device->DrawIndexedPrimitiveUP(D3DPT_POINTLIST, 0, 1, 1, index, D3DFMT_INDEX16, v, 24), D3D_OK);
  EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1, 0), D3D_OK);
  EXPECT_EQ(device->EndScene(), D3D_OK);
  EXPECT_TRUE(renderer->Draws().empty());
  EXPECT_TRUE(renderer->Clears().empty());
}

TEST_F(DeviceTest, ResourcesOutliveTheirDeviceDetached) {
  ASSERT_EQ(Create(), D3D_OK);
  IDirect3DTexture8* raw = nullptr;
  device->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &raw);
  device->SetTexture(0, raw);
  device.reset();
  EXPECT_EQ(raw->Device(), nullptr);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(raw->LockRect(0, &locked, nullptr, 0), D3D_OK);
  raw->UnlockRect(0);
  EXPECT_EQ(raw->Release(), 0u);
}

TEST(FormatInfo, ColoursPackAndUnpackPerFormat) {
  struct {
    D3DFORMAT format;
    D3DCOLOR in, back;
  } cases[] = {{D3DFMT_A8R8G8B8, 0x80102030, 0x80102030}, {D3DFMT_X8R8G8B8, 0x80102030, 0xFF102030},
               {D3DFMT_R5G6B5, 0xFFFF8000, 0xFFFF8200},   {D3DFMT_A1R5G5B5, 0x7FFFFFFF, 0x00FFFFFF},
               {D3DFMT_A4R4G4B4, 0xFF00FF00, 0xFF00FF00}};
  for (const auto& c : cases) {
    uint8_t pixel[4] = {};
    ASSERT_TRUE(PackColor(c.format, c.in, pixel)) << c.format;
    D3DCOLOR out = 0;
    ASSERT_TRUE(UnpackColor(c.format, pixel, out));
    EXPECT_EQ(out, c.back) << c.format;
  }
  uint8_t pixel[4];
  EXPECT_FALSE(PackColor(D3DFMT_DXT1, 0, pixel));
  EXPECT_EQ(RowPitch(D3DFMT_DXT1, 10), 32u);  // three blocks of 8 bytes, aligned
  EXPECT_EQ(RowCount(D3DFMT_DXT1, 10), 3u);
}

// The desktop's adapter: the usual sizes up to the desktop's own (640x480 always) in both display
// families, the desktop in its own format, and the depth mapped as the device builder expects.
TEST(DesktopAdapterTable, UsualSizesUpToTheDesktopInBothFamilies) {
  auto sizes = [](const AdapterDesc& a, D3DFORMAT format) {
    std::vector<std::pair<UINT, UINT>> s;
    for (const D3DDISPLAYMODE& m : a.modes)
      if (m.Format == format) s.emplace_back(m.Width, m.Height);
    return s;
  };
  const AdapterDesc wide = DesktopAdapterTable(1366, 768, 0, 24).adapters[0];
  const std::vector<std::pair<UINT, UINT>> expected = {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1366, 768}};
  EXPECT_EQ(sizes(wide, D3DFMT_X8R8G8B8), expected);
  EXPECT_EQ(sizes(wide, D3DFMT_R5G6B5), expected);
  EXPECT_TRUE(sizes(wide, D3DFMT_X1R5G5B5).empty());
  EXPECT_EQ(wide.desktop.Format, D3DFMT_X8R8G8B8);
  EXPECT_EQ(wide.desktop.RefreshRate, 60u) << "an unknown rate counts as 60 Hz";
  EXPECT_TRUE(wide.multiSampleTypes.empty());

  const AdapterDesc small = DesktopAdapterTable(640, 400, 75, 15).adapters[0];
  const std::vector<std::pair<UINT, UINT>> smallSizes = {{640, 480}, {640, 400}};
  EXPECT_EQ(sizes(small, D3DFMT_X1R5G5B5), smallSizes) << "a 15-bit desktop lists its own format too";
  EXPECT_EQ(small.desktop.Format, D3DFMT_X1R5G5B5);

  const std::pair<UINT, D3DFORMAT> depths[] = {{32, D3DFMT_X8R8G8B8}, {24, D3DFMT_X8R8G8B8}, {16, D3DFMT_R5G6B5},
                                               {15, D3DFMT_X1R5G5B5}, {8, D3DFMT_P8}, {30, D3DFMT_UNKNOWN}};
  for (auto [bits, format] : depths) EXPECT_EQ(DesktopFormatOfDepth(bits), format) << bits;
}

}  // namespace
