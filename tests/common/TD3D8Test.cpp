#include "common/TD3D8.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/TDeviceHooks.h"
#include "platform/core/FileSystem.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/Fixtures.h"

using namespace plat;

namespace {

// A builder that makes a windowed 640x480 device in the desktop's format, or fails on request.
class StandInBuilder : public TD3DDeviceBuilder8 {
 public:
  uint32_t failWith = 0;
  bool paramsAvailable = true;
  uint32_t usage = 0, pool = D3DPOOL_MANAGED;
  int builds = 0;

  uint32_t Build(TD3D8* layer, IDirect3DDevice8** device) override {
    ++builds;
    if (failWith) return failWith;
    windowed = 1;
    D3DDISPLAYMODE desktop;
    TD3D8::GetDirect3D()->GetAdapterDisplayMode(0, &desktop);
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == 640 && d[1] == 480 && d[3] == desktop.Format) {
        chosenRecord = 1;
        chosenMode = static_cast<int32_t>(m);
        break;
      }
    }
    params = {640, 480, desktop.Format, 1, 0, D3DSWAPEFFECT_DISCARD, nullptr, TRUE, TRUE, D3DFMT_D16, 0, 0, 0};
    D3DPRESENT_PARAMETERS p = params;
    return TD3D8::GetDirect3D()->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p,
                                              device) == D3D_OK
               ? 0
               : 0x11;
  }
  bool GetPresentParams(D3DPRESENT_PARAMETERS* out) override {
    *out = params;
    return paramsAvailable;
  }
  void ApplyDefaultStates(IDirect3DDevice8* device) override {
    device->SetRenderState(D3DRS_ALPHAREF, 0x42);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  uint32_t GetShaderUsage() override { return usage; }
  uint32_t GetBufferUsage() override { return usage; }
  uint32_t GetDefaultPool() override { return pool; }

  D3DPRESENT_PARAMETERS params{};
};

class D3D8Test : public CommonFixture {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    renderer = std::make_shared<RecordingRenderer>();
    SetRendererFactory([r = renderer] { return r; });
    builderObject = new StandInBuilder;
    builder = TCountedPtr<TD3DDeviceBuilder8>(builderObject);
    // Stand-ins for the pieces later parts of the graphics layer plug in, recording the order.
    TDeviceHooks& h = TDeviceHooks::Get();
    auto note = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
    h.createRenderModes = note("createRenderModes");
    h.releaseRenderModes = note("releaseRenderModes");
    h.restoreRenderModes = note("restoreRenderModes");
    h.destroyRenderModes = note("destroyRenderModes");
    h.createShaderSet = note("createShaderSet");
    h.releaseShaders = note("releaseShaders");
    h.recreateShaders = note("recreateShaders");
    h.destroyShaderSet = note("destroyShaderSet");
    h.recordBlendStates = note("recordBlendStates");
    h.releaseBlendStates = note("releaseBlendStates");
    h.releaseDefaultPool = note("releaseDefaultPool");
    h.purgeTextures = [this](int mode) { calls.push_back("purgeTextures " + std::to_string(mode)); };
  }
  void TearDown() override {
    d3d.reset();
    TDeviceHooks::Get() = TDeviceHooks{};
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    CommonFixture::TearDown();
  }
  bool Init(const std::string& report = "") { return d3d->Init(builder, D3D_SDK_VERSION, report, "InitLog.txt"); }
  IDirect3DDevice8& Device() { return *TD3D8::GetDevice(); }

  std::shared_ptr<RecordingRenderer> renderer;
  StandInBuilder* builderObject;
  TCountedPtr<TD3DDeviceBuilder8> builder;
  std::unique_ptr<TD3D8> d3d = std::make_unique<TD3D8>();
  std::vector<std::string> calls;
};

TEST_F(D3D8Test, WithoutDirect3DInitStopsBeforeTheEnumeration) {
  AdapterTable none;
  none.available = false;
  SetAdapterTable(none);
  EXPECT_FALSE(Init(dir / "DeviceLog.txt"));
  EXPECT_EQ(d3d->GetAdapterList(), nullptr);
  EXPECT_EQ(builderObject->builds, 0);
  EXPECT_EQ(GetFileAttributes(dir / "DeviceLog.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(d3d->IsInitialized());
  d3d->Cleanup();  // nothing to release, nothing breaks
  EXPECT_TRUE(calls.empty());
}

TEST_F(D3D8Test, AFailedBuildLeavesTheReportButNoDevice) {
  builderObject->failWith = 0x11;
  EXPECT_FALSE(Init(dir / "DeviceLog.txt"));
  EXPECT_NE(GetFileAttributes(dir / "DeviceLog.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(d3d->GetAdapterList(), nullptr);
  EXPECT_EQ(TD3D8::GetDevice(), nullptr);
  EXPECT_FALSE(d3d->IsInitialized());
  EXPECT_TRUE(calls.empty());
}

TEST_F(D3D8Test, InitBuildsTheDeviceAndItsPieces) {
  ASSERT_TRUE(Init());
  EXPECT_TRUE(d3d->IsInitialized());
  EXPECT_TRUE(d3d->IsWindowed());
  EXPECT_TRUE(d3d->UseVertexShader());
  EXPECT_EQ(d3d->GetWidth(), 640u);
  EXPECT_EQ(d3d->GetHeight(), 480u);
  EXPECT_EQ(d3d->GetSecondFileName(), "InitLog.txt");
  EXPECT_EQ(calls, (std::vector<std::string>{"createRenderModes", "createShaderSet", "recordBlendStates"}));
  bool enable;
  float start, end;
  uint32_t color;
  d3d->GetFog(enable, start, end, color);
  EXPECT_FALSE(enable);
  EXPECT_EQ(start, 10000.0f);
  EXPECT_EQ(end, 11000.0f);
  EXPECT_EQ(color, 0xFFFFFFFFu);

  // The default states were recorded, not applied; applying the block puts them in force.
  DWORD v;
  Device().GetRenderState(D3DRS_CULLMODE, &v);
  EXPECT_EQ(v, D3DCULL_CCW);
  Device().SetRenderState(D3DRS_ALPHAREF, 7);
  d3d->SetDefaultStates(false);
  Device().GetRenderState(D3DRS_CULLMODE, &v);
  EXPECT_EQ(v, D3DCULL_NONE);
  Device().GetRenderState(D3DRS_ALPHAREF, &v);
  EXPECT_EQ(v, 0x42u);
  EXPECT_EQ(Device().StateBlockCount(), 1u);
}

// The flag follows the device of each Init: a later device with shaders uses them, one without
// does not, whatever the device before it had.
TEST_F(D3D8Test, EachInitDecidesTheVertexShaderPathAfresh) {
  for (unsigned version : {0u, D3DVS_VERSION(1, 1), 0u}) {
    AdapterTable table = DefaultAdapterTable();
    table.adapters[0].vertexShaderVersion = version;
    SetAdapterTable(table);
    ASSERT_TRUE(Init()) << version;
    EXPECT_EQ(d3d->UseVertexShader(), version != 0) << version;
    d3d->Cleanup();
  }
}

TEST_F(D3D8Test, ReportsGoWhereNamedOrNowhere) {
  ASSERT_TRUE(Init(dir / "missing/DeviceLog.txt"));  // an unopenable report does not stop Init
  d3d->Cleanup();
  ASSERT_TRUE(Init(""));
  EXPECT_EQ(GetFileAttributes(dir / "DeviceLog.txt"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(D3D8Test, TextureFormatSlotsPerDisplayFormat) {
  struct Case {
    std::vector<D3DFORMAT> available;
    D3DFORMAT display;
    D3DFORMAT expected[4];
  };
  const std::vector<D3DFORMAT> standard = DefaultAdapterTable().adapters[0].textureFormats;
  const D3DFORMAT kept = 77;  // what the slots held before
  const Case cases[] = {
      {standard, D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5}},
      {standard, D3DFMT_R5G6B5, {D3DFMT_R5G6B5, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5}},
      {{D3DFMT_A8R8G8B8}, D3DFMT_X8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8, 0}},
      {{D3DFMT_X1R5G5B5, D3DFMT_A4R4G4B4},
       D3DFMT_R5G6B5,
       {D3DFMT_X1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_A4R4G4B4, D3DFMT_X1R5G5B5}},
      {standard, D3DFMT_X1R5G5B5, {0, 0, 0, 0}},  // the record lists nothing for that display format
      {standard, D3DFMT_R8G8B8, {kept, kept, kept, kept}},
      {standard, D3DFMT_P8, {kept, kept, kept, kept}},
  };
  for (const Case& c : cases) {
    AdapterTable table = DefaultAdapterTable();
    table.adapters[0].textureFormats = c.available;
    SetAdapterTable(table);
    IDirect3D8* object = Direct3DCreate8(D3D_SDK_VERSION);
    TAdapterList8 list(object);
    D3DFORMAT slots[4] = {kept, kept, kept, kept};
    TD3D8::ChooseTextureFormats(c.display, list.GetAdapter(0), slots);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(slots[s], c.expected[s]) << "display " << c.display << " slot " << s;
    object->Release();
  }
}

TEST_F(D3D8Test, InitPicksTheSlotsOfTheDesktopsFormat) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].desktop.Format = D3DFMT_R5G6B5;
  SetAdapterTable(table);
  ASSERT_TRUE(Init());
  EXPECT_EQ(d3d->GetTextureFormat(0), D3DFMT_R5G6B5);
  EXPECT_EQ(d3d->GetTextureFormat(1), D3DFMT_A4R4G4B4);
  EXPECT_EQ(d3d->GetTextureFormat(2), D3DFMT_A1R5G5B5);
  EXPECT_EQ(d3d->GetTextureFormat(3), D3DFMT_R5G6B5);
  EXPECT_EQ(d3d->GetTextureFormat(4), D3DFMT_UNKNOWN);
}

// Lost: nothing is touched. Not reset: the pieces are released in their order, the device reset,
// the pieces restored, and that frame is skipped; the next frame draws.
TEST_F(D3D8Test, LostNotResetResetCycle) {
  ASSERT_TRUE(Init());
  calls.clear();
  EXPECT_TRUE(d3d->CheckDevice());

  renderer->SetCooperativeLevel(D3DERR_DEVICELOST);
  EXPECT_FALSE(d3d->CheckDevice());
  EXPECT_FALSE(d3d->CheckDevice());
  EXPECT_TRUE(calls.empty());

  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  renderer->FailReset(D3DERR_INVALIDCALL);
  EXPECT_FALSE(d3d->CheckDevice());
  const std::vector<std::string> release = {"releaseBlendStates", "releaseShaders", "releaseRenderModes",
                                            "releaseDefaultPool"};
  EXPECT_EQ(calls, release);
  EXPECT_EQ(Device().StateBlockCount(), 0u);  // the default block went with them

  calls.clear();
  builderObject->paramsAvailable = false;
  EXPECT_FALSE(d3d->CheckDevice());
  EXPECT_EQ(calls, release);  // released again, though nothing was left
  EXPECT_EQ(renderer->ResetCount(), 1u);

  calls.clear();
  builderObject->paramsAvailable = true;
  EXPECT_FALSE(d3d->CheckDevice());  // the frame of the reset is skipped
  EXPECT_EQ(calls, (std::vector<std::string>{"releaseBlendStates", "releaseShaders", "releaseRenderModes",
                                              "releaseDefaultPool", "restoreRenderModes", "recreateShaders",
                                              "recordBlendStates"}));
  EXPECT_EQ(renderer->ResetCount(), 2u);
  EXPECT_EQ(Device().StateBlockCount(), 1u);
  EXPECT_TRUE(d3d->CheckDevice());
  d3d->SetDefaultStates(false);
  DWORD v;
  Device().GetRenderState(D3DRS_ALPHAREF, &v);
  EXPECT_EQ(v, 0x42u);
}

TEST_F(D3D8Test, PresentWaitsForTheFlagButDrawingDoesNot) {
  ASSERT_TRUE(Init());
  d3d->EnablePresent(false);
  EXPECT_EQ(TD3D8::BeginScene(), D3D_OK);
  EXPECT_EQ(TD3D8::Clear(0xFF000000, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 1.0f, 0, 0, nullptr), D3D_OK);
  EXPECT_EQ(TD3D8::EndScene(), D3D_OK);
  d3d->Present();
  EXPECT_EQ(renderer->PresentCount(), 0u);
  EXPECT_EQ(renderer->Clears().size(), 1u);
  d3d->EnablePresent(true);
  d3d->Present();
  EXPECT_EQ(renderer->PresentCount(), 1u);
}

// The device refuses a present inside a scene, which shows whether its scene is still open.
TEST_F(D3D8Test, ABeginInsideAnOpenSceneJoinsItUntilTheOutermostEnd) {
  ASSERT_TRUE(Init());
  auto deviceInScene = [&] { return Device().Present(nullptr, nullptr, nullptr, nullptr) != D3D_OK; };
  EXPECT_EQ(TD3D8::EndScene(), D3DERR_INVALIDCALL) << "nothing to end";
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK) << "a draw state's own bracket inside another";
  ASSERT_EQ(TD3D8::EndScene(), D3D_OK);
  EXPECT_TRUE(deviceInScene()) << "the inner end leaves the outer scene open";
  ASSERT_EQ(TD3D8::EndScene(), D3D_OK);
  EXPECT_FALSE(deviceInScene());
  EXPECT_EQ(TD3D8::EndScene(), D3DERR_INVALIDCALL);

  // A reset ends the device's scene: the next begin opens a real one, which one end closes.
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  EXPECT_FALSE(d3d->CheckDevice());
  ASSERT_EQ(renderer->ResetCount(), 1u);
  ASSERT_EQ(TD3D8::BeginScene(), D3D_OK);
  EXPECT_TRUE(deviceInScene());
  ASSERT_EQ(TD3D8::EndScene(), D3D_OK);
  EXPECT_FALSE(deviceInScene());
}

TEST_F(D3D8Test, FogReachesTheShaderConstantOrTheFixedFunctionStates) {
  ASSERT_TRUE(Init());
  float c8[4];
  DWORD v;
  d3d->SetFog(false, 10.0f, 20.0f, 0xFF808080);
  d3d->ApplyFog(true);
  Device().GetVertexShaderConstant(8, c8, 1);
  EXPECT_FLOAT_EQ(c8[0], 11.0f);
  EXPECT_FLOAT_EQ(c8[1], 0.001f);
  EXPECT_EQ(c8[2], 0.0f);
  Device().GetRenderState(D3DRS_FOGENABLE, &v);
  EXPECT_EQ(v, 0u);
  Device().GetRenderState(D3DRS_FOGCOLOR, &v);
  EXPECT_EQ(v, 0xFF808080u);

  d3d->SetFog(true, 10.0f, 20.0f, 0xFF808080);
  d3d->ApplyFog(true);
  Device().GetVertexShaderConstant(8, c8, 1);
  EXPECT_FLOAT_EQ(c8[0], 2.0f);
  EXPECT_FLOAT_EQ(c8[1], 0.1f);
  Device().GetRenderState(D3DRS_FOGENABLE, &v);
  EXPECT_EQ(v, 1u);
  d3d->ApplyFog(false);  // a render mode without fog
  Device().GetVertexShaderConstant(8, c8, 1);
  EXPECT_FLOAT_EQ(c8[0], 11.0f);

  // A card without vertex shaders takes linear vertex fog.
  d3d->Cleanup();
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].vertexShaderVersion = 0;
  SetAdapterTable(table);
  ASSERT_TRUE(Init());
  EXPECT_FALSE(d3d->UseVertexShader());
  d3d->SetFog(true, 10.0f, 20.0f, 0xFF808080);
  d3d->ApplyFog(true);
  const DeviceState& s = Device().State();
  EXPECT_EQ(s.renderStates[D3DRS_FOGVERTEXMODE], D3DFOG_LINEAR);
  EXPECT_EQ(s.renderStates[D3DRS_FOGTABLEMODE], D3DFOG_NONE);
  EXPECT_EQ(s.renderStates[D3DRS_FOGSTART], std::bit_cast<DWORD>(10.0f));
  EXPECT_EQ(s.renderStates[D3DRS_FOGEND], std::bit_cast<DWORD>(20.0f));
}

TEST_F(D3D8Test, BuffersTakeTheirSizesAndTheBuildersUsageAndPool) {
  builderObject->usage = D3DUSAGE_SOFTWAREPROCESSING;
  builderObject->pool = D3DPOOL_SYSTEMMEM;
  ASSERT_TRUE(Init());
  struct {
    D3DFORMAT format;
    UINT size;
  } indexCases[] = {{D3DFMT_INDEX32, 12000}, {D3DFMT_INDEX16, 6000}};
  for (const auto& c : indexCases) {
    TCountedPtr<IDirect3DIndexBuffer8> ib(d3d->CreateIndexBuffer(1000, c.format, D3DPOOL_MANAGED, 0));
    ASSERT_TRUE(ib);
    D3DINDEXBUFFER_DESC d;
    ib->GetDesc(&d);
    EXPECT_EQ(d.Size, c.size);
    EXPECT_EQ(d.Pool, D3DPOOL_MANAGED);
  }
  TCountedPtr<IDirect3DVertexBuffer8> vb(d3d->CreateVertexBuffer(10, 0x142, TD3D8::kDefaultPool, D3DUSAGE_WRITEONLY));
  ASSERT_TRUE(vb);
  D3DVERTEXBUFFER_DESC d;
  vb->GetDesc(&d);
  EXPECT_EQ(d.Size, 240u);
  EXPECT_EQ(d.Usage, D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING);
  EXPECT_EQ(d.Pool, D3DPOOL_SYSTEMMEM);

  BYTE* p;
  vb->Lock(0, 0, &p, 0);
  for (int i = 0; i < 240; ++i) p[i] = static_cast<BYTE>(i);
  vb->Unlock();
  TCountedPtr<IDirect3DVertexBuffer8> copy(TD3D8::DuplicateVertexBuffer(vb.Get()));
  ASSERT_TRUE(copy);
  D3DVERTEXBUFFER_DESC cd;
  copy->GetDesc(&cd);
  EXPECT_EQ(std::memcmp(&cd, &d, sizeof d), 0);
  EXPECT_EQ(std::memcmp(copy->Bytes(), vb->Bytes(), 240), 0);
  EXPECT_FALSE(copy->IsLocked());
  EXPECT_FALSE(vb->IsLocked());
  EXPECT_EQ(TD3D8::DuplicateIndexBuffer(nullptr), nullptr);
}

TEST_F(D3D8Test, CountedPointersReleaseDeviceObjects) {
  ASSERT_TRUE(Init());
  IDirect3DTexture8* texture = d3d->CreateTexture(16, 16, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->GetLevelCount(), 5u);  // a full chain
  texture->AddRef();
  {
    TCountedPtr<IDirect3DTexture8> a(texture);
    TCountedPtr<IDirect3DTexture8> b = a;
    EXPECT_EQ(texture->RefCount(), 2u);
  }
  EXPECT_EQ(texture->RefCount(), 1u);
  texture->Release();
}

TEST_F(D3D8Test, ShaderSourcesAssembleOrThrow) {
  builderObject->usage = D3DUSAGE_SOFTWAREPROCESSING;
  ASSERT_TRUE(Init());
  const uint32_t declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
  const uint32_t handle = d3d->CreateVertexShader("vs.1.0\nm4x4 oPos, v0, c0\n", declaration);
  ASSERT_TRUE(handle & 1);
  EXPECT_EQ(Device().FindVertexShader(handle)->usage, D3DUSAGE_SOFTWAREPROCESSING);
  try {
    d3d->CreateVertexShader("vs.1.0\nnotaninstruction r0\n", declaration);
    FAIL() << "no exception";
  } catch (const my_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("file : TD3D8\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("line : 988\r\n"), std::string::npos);
    EXPECT_NE(text.find("error : line 2"), std::string::npos) << text;  // the assembler's own text
  }
}

TEST_F(D3D8Test, CleanupReleasesInItsOrder) {
  ASSERT_TRUE(Init());
  IDirect3DTexture8* held = d3d->CreateTexture(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, 0);
  calls.clear();
  d3d->Cleanup();
  EXPECT_EQ(calls, (std::vector<std::string>{"releaseBlendStates", "releaseDefaultPool", "purgeTextures 1",
                                              "destroyShaderSet", "destroyRenderModes"}));
  EXPECT_FALSE(d3d->IsInitialized());
  EXPECT_EQ(TD3D8::GetDevice(), nullptr);
  EXPECT_EQ(TD3D8::GetDirect3D(), nullptr);
  EXPECT_EQ(d3d->GetAdapterList(), nullptr);
  EXPECT_EQ(held->Device(), nullptr);  // the device is gone
  held->Release();
}

}  // namespace
