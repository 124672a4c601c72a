#include "game/shell/TBasicD3DDeviceBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "game/shell/ViewScale.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tests/common/Fixtures.h"
#include "tools/datakit/IniWriter.h"
#include "tools/datakit/SampleSettings.h"

using namespace plat;

namespace {

class BuilderTest : public CommonFixture {
 protected:
  void SetUp() override {
    CommonFixture::SetUp();
    renderer = std::make_shared<RecordingRenderer>();
    SetRendererFactory([r = renderer] { return r; });
    // The builder alone: the graphics pieces would leave their own states on the device.
    TDeviceHooks::Get() = TDeviceHooks{};
  }
  void TearDown() override {
    d3d.reset();
    TDeviceHooks::Get() = TDeviceHooks::Real();
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    SetViewScale(1.0f);
    CommonFixture::TearDown();
  }
  // Builds through the device object, as start-up does; returns the builder's code.
  uint32_t Build(const datakit::IniWriter& ini, const AdapterTable& table = DefaultAdapterTable()) {
    ini.Save(dir / "setting.ini");
    SetAdapterTable(table);
    builder = new TBasicD3DDeviceBuilder(nullptr, dir / "setting.ini");
    held = TCountedPtr<TD3DDeviceBuilder8>(builder);
    initResult = d3d->Init(held, D3D_SDK_VERSION, "", "InitLog.txt");
    return builder->GetLastResult();
  }
  // The parameters of the last device creation attempt.
  const D3DPRESENT_PARAMETERS& Params() const { return renderer->Creates().back().params; }
  DWORD Flags() const { return renderer->Creates().back().info.behaviorFlags; }

  std::shared_ptr<RecordingRenderer> renderer;
  std::unique_ptr<TD3D8> d3d = std::make_unique<TD3D8>();
  TBasicD3DDeviceBuilder* builder = nullptr;
  TCountedPtr<TD3DDeviceBuilder8> held;
  bool initResult = false;
};

// A full-screen 640x480 32-bit "setting.ini"; more adds keys to its first section (replacing a
// default of the same name) and sections after it.
datakit::IniWriter Full(std::function<void(datakit::IniWriter&)> more = nullptr) {
  datakit::IniWriter extra;
  if (more) more(extra);
  const std::string text = "\r\n" + extra.Text();
  datakit::IniWriter ini;
  ini.Section("CurrentSetting");
  const std::pair<const char*, const char*> defaults[] = {{"ScreenWidth", "640"}, {"ScreenHeight", "480"},
                                                          {"BitDepth", "32"}};
  for (const auto& [key, value] : defaults)
    if (text.find("\r\n" + std::string(key) + "=") == std::string::npos) ini.Key(key, value);
  if (!extra.Text().empty()) ini.Line(extra.Text().substr(0, extra.Text().size() - 2));
  return ini;
}

TEST_F(BuilderTest, OnlyAWindowedScreenMode) {
  datakit::IniWriter ini;
  ini.Section("CurrentSetting").Key("ScreenMode", "WINDOW");
  ASSERT_EQ(Build(ini), 0u);
  EXPECT_TRUE(initResult);
  EXPECT_TRUE(d3d->IsWindowed());
  const D3DPRESENT_PARAMETERS& p = Params();
  EXPECT_EQ(p.Windowed, TRUE);
  EXPECT_EQ(p.BackBufferWidth, 640u);
  EXPECT_EQ(p.BackBufferHeight, 480u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);  // the desktop's
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.EnableAutoDepthStencil, FALSE);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(Flags(), D3DCREATE_HARDWARE_VERTEXPROCESSING);
  EXPECT_EQ(builder->GetBitDepth(), 32u);
  EXPECT_EQ(d3d->GetWidth(), 640u);
}

TEST_F(BuilderTest, TheSampleGameSettingsBuildADevice) {
  ASSERT_EQ(Build(datakit::SampleSettingIni()), 0u);
  EXPECT_EQ(Params().AutoDepthStencilFormat, D3DFMT_D16);
  EXPECT_EQ(Params().MultiSampleType, D3DMULTISAMPLE_NONE);
}

// The real desktop's adapter table: the sample game's windowed 640x480 finds its mode on an
// ordinary desktop of any depth and runs in the desktop's format.
TEST_F(BuilderTest, TheSampleGameSettingsBuildOnEveryOrdinaryDesktop) {
  const std::pair<UINT, D3DFORMAT> desktops[] = {
      {32, D3DFMT_X8R8G8B8}, {24, D3DFMT_X8R8G8B8}, {16, D3DFMT_R5G6B5}, {15, D3DFMT_X1R5G5B5}};
  for (auto [depth, format] : desktops) {
    SCOPED_TRACE("a " + std::to_string(depth) + "-bit desktop");
    d3d = std::make_unique<TD3D8>();
    ASSERT_EQ(Build(datakit::SampleSettingIni(), DesktopAdapterTable(1366, 768, 60, depth)), 0u);
    EXPECT_TRUE(initResult);
    EXPECT_EQ(Params().Windowed, TRUE);
    EXPECT_EQ(Params().BackBufferFormat, format);
    EXPECT_EQ(Params().BackBufferWidth, 640u);
    EXPECT_EQ(Params().AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(d3d->GetTextureFormat(3), D3DFMT_R5G6B5) << "the text textures' slot";
  }
}

struct RuleCase {
  const char* what;
  std::function<void(datakit::IniWriter&)> settings;
  uint32_t code;
  std::function<void(const D3DPRESENT_PARAMETERS&, DWORD flags, const TBasicD3DDeviceBuilder&)> check;
};

TEST_F(BuilderTest, SettingRules) {
  using W = datakit::IniWriter;
  const auto none = [](const D3DPRESENT_PARAMETERS&, DWORD, const TBasicD3DDeviceBuilder&) {};
  const RuleCase cases[] = {
      {"full screen at 32 bits", [](W&) {}, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.Windowed, FALSE);
         EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
       }},
      {"BitDepth 24 stays 24 and matches no full-screen mode", [](W& w) { w.Key("BitDepth", 24); }, 0x05,
       [](const D3DPRESENT_PARAMETERS&, DWORD, const TBasicD3DDeviceBuilder& b) { EXPECT_EQ(b.GetBitDepth(), 24u); }},
      {"BitDepth 8 becomes 16", [](W& w) { w.Key("BitDepth", 8); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
       }},
      {"a size without a mode", [](W& w) { w.Key("ScreenWidth", 720); }, 0x05, none},
      {"BackBufferCount 5 becomes 3", [](W& w) { w.Key("BackBufferCount", 5); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) { EXPECT_EQ(p.BackBufferCount, 3u); }},
      {"lockable back buffer", [](W& w) { w.Key("BackBufferLockEnable", "On"); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) { EXPECT_EQ(p.Flags, 1u); }},
      {"pure device with mixed processing ends as hardware and pure",
       [](W& w) {
         w.Section("DeviceBehavior").Key("VertexProcessingMode", "D3DCREATE_MIXED_VERTEXPROCESSING").Key("PureDevice", "yes");
       },
       0, [](const D3DPRESENT_PARAMETERS&, DWORD f, const TBasicD3DDeviceBuilder&) { EXPECT_EQ(f, 0x50u); }},
      {"mixed processing", [](W& w) { w.Section("DeviceBehavior").Key("VertexProcessingMode", "D3DCREATE_MIXED_VERTEXPROCESSING"); },
       0, [](const D3DPRESENT_PARAMETERS&, DWORD f, const TBasicD3DDeviceBuilder&) { EXPECT_EQ(f, 0x80u); }},
      {"any other processing name is software, with its usages and pool",
       [](W& w) { w.Section("DeviceBehavior").Key("VertexProcessingMode", "d3dcreate_hardware_vertexprocessing"); }, 0,
       [](const D3DPRESENT_PARAMETERS&, DWORD f, const TBasicD3DDeviceBuilder& b) {
         EXPECT_EQ(f, 0x20u);
         TBasicD3DDeviceBuilder& m = const_cast<TBasicD3DDeviceBuilder&>(b);
         EXPECT_EQ(m.GetShaderUsage(), D3DUSAGE_SOFTWAREPROCESSING);
         EXPECT_EQ(m.GetBufferUsage(), D3DUSAGE_SOFTWAREPROCESSING);
         EXPECT_EQ(m.GetDefaultPool(), D3DPOOL_SYSTEMMEM);
       }},
      {"FPU and threading flags add to hardware",
       [](W& w) { w.Section("DeviceBehavior").Key("FpuPreserve", "TRUE").Key("MultiThreaded", "on"); }, 0,
       [](const D3DPRESENT_PARAMETERS&, DWORD f, const TBasicD3DDeviceBuilder&) { EXPECT_EQ(f, 0x46u); }},
      {"a depth section with none of its keys means no depth surface",
       [](W& w) { w.Section("DepthStencilFormat").Key("Format", "D3DFMT_D16").Key("Format43", "D3DFMT_D16"); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.EnableAutoDepthStencil, FALSE);
       }},
      {"the first allowed depth format the mode supports",
       [](W& w) { w.Section("DepthStencilFormat").Key("Format00", "D3DFMT_D32").Key("Format07", "D3DFMT_D24X8"); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
         EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24X8);
       }},
      {"no allowed depth format supported", [](W& w) { w.Section("DepthStencilFormat").Key("Format00", "D3DFMT_D32"); },
       0x09, none},
      {"format names are case-sensitive", [](W& w) { w.Section("DepthStencilFormat").Key("Format00", "d3dfmt_d16"); },
       0x09, none},
      {"the first allowed multisample type supported",
       [](W& w) {
         w.Key("MultiSample", "YES");
         w.Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_8_SAMPLES").Key("Type03", "D3DMULTISAMPLE_4_SAMPLES");
       },
       0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
       }},
      {"an unsupported multisample type is only a warning",
       [](W& w) {
         w.Key("MultiSample", "true");
         w.Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_8_SAMPLES");
       },
       0x82,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
       }},
      {"multisampling not wanted", [](W& w) { w.Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_4_SAMPLES"); }, 0,
       [](const D3DPRESENT_PARAMETERS& p, DWORD, const TBasicD3DDeviceBuilder&) {
         EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
       }},
  };
  for (const RuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    renderer->ClearLog();
    d3d = std::make_unique<TD3D8>();
    EXPECT_EQ(Build(Full(c.settings)), c.code);
    EXPECT_EQ(initResult, !(c.code & 1));
    if (!renderer->Creates().empty()) c.check(Params(), Flags(), *builder);
    if (renderer->Creates().empty()) c.check(D3DPRESENT_PARAMETERS{}, 0, *builder);
  }
}

// One builder built twice: the second build reads the allowed lists afresh, so settings that no
// longer list depth formats or multisample types ask for neither.
TEST_F(BuilderTest, EveryBuildReadsTheAllowedListsAfresh) {
  ASSERT_EQ(Build(Full([](datakit::IniWriter& w) {
              w.Key("MultiSample", "YES");
              w.Section("DepthStencilFormat").Key("Format00", "D3DFMT_D24X8");
              w.Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_4_SAMPLES");
            })),
            0u);
  EXPECT_EQ(Params().EnableAutoDepthStencil, TRUE);
  EXPECT_EQ(Params().MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
  d3d->Cleanup();
  Full([](datakit::IniWriter& w) { w.Key("MultiSample", "YES"); }).Save(dir / "setting.ini");
  ASSERT_TRUE(d3d->Init(held, D3D_SDK_VERSION, "", "InitLog.txt"));
  EXPECT_EQ(builder->GetLastResult(), 0u);
  EXPECT_EQ(Params().EnableAutoDepthStencil, FALSE);
  EXPECT_EQ(Params().MultiSampleType, D3DMULTISAMPLE_NONE);
}

TEST_F(BuilderTest, UnreadableSettingsGive0x41) {
  datakit::IniWriter empty;
  empty.Section("CurrentSetting").Key("ScreenMode", "window").Section("DepthStencilFormat");
  EXPECT_EQ(Build(empty), 0x41u);  // a section without keys
  EXPECT_FALSE(initResult);
  d3d = std::make_unique<TD3D8>();
  SetAdapterTable(DefaultAdapterTable());
  builder = new TBasicD3DDeviceBuilder(nullptr, dir / "absent.ini");
  held = TCountedPtr<TD3DDeviceBuilder8>(builder);
  EXPECT_FALSE(d3d->Init(held, D3D_SDK_VERSION, "", ""));
  EXPECT_EQ(builder->GetLastResult(), 0x41u);
}

TEST_F(BuilderTest, BackBufferCountsAndTheirLowerBound) {
  struct {
    int count, lower;  // 0: key missing
    uint32_t expectedCount, expectedLowest;
  } cases[] = {{3, 2, 3, 2}, {1, 2, 1, 1}, {3, 5, 3, 3}, {3, 0, 3, 1}, {0, 0, 1, 1}, {-4, 1, 1, 1}};
  for (const auto& c : cases) {
    d3d = std::make_unique<TD3D8>();
    Build(Full([&](datakit::IniWriter& w) {
      if (c.count) w.Key("BackBufferCount", c.count);
      if (c.lower) w.Key("BackBufferCountLower", c.lower);
    }));
    EXPECT_EQ(builder->GetBackBufferCount(), c.expectedCount) << c.count << "/" << c.lower;
    EXPECT_EQ(builder->GetLowestBackBufferCount(), c.expectedLowest) << c.count << "/" << c.lower;
  }
}

TEST_F(BuilderTest, FiltersAndTheirNamesGoToTheDefaultStates) {
  struct {
    const char *min, *mag, *mip;  // nullptr: key missing
    DWORD expectMin, expectMag;
  } cases[] = {{"D3DTEXF_LINEAR", nullptr, "D3DTEXF_LINEAR", D3DTEXF_LINEAR, D3DTEXF_LINEAR},
               {"D3DTEXF_POINT", "D3DTEXF_ANISOTROPIC", nullptr, D3DTEXF_POINT, D3DTEXF_ANISOTROPIC},
               {"d3dtexf_linear", "D3DTEXF_GAUSSIANCUBIC", nullptr, D3DTEXF_NONE, D3DTEXF_GAUSSIANCUBIC},
               {nullptr, nullptr, nullptr, D3DTEXF_NONE, D3DTEXF_NONE}};
  for (const auto& c : cases) {
    d3d = std::make_unique<TD3D8>();
    ASSERT_EQ(Build(Full([&](datakit::IniWriter& w) {
                if (c.min) w.Key("MinFilter", c.min);
                if (c.mag) w.Key("MagFilter", c.mag);
                if (c.mip) w.Key("MipFilter", c.mip);
              })),
              0u);
    d3d->SetDefaultStates(false);
    const DeviceState& s = TD3D8::GetDevice()->State();
    EXPECT_EQ(s.stageStates[0][D3DTSS_MINFILTER], c.expectMin) << (c.min ? c.min : "-");
    EXPECT_EQ(s.stageStates[0][D3DTSS_MAGFILTER], c.expectMag);
    EXPECT_EQ(s.stageStates[0][D3DTSS_MIPFILTER], D3DTEXF_NONE);
  }
}

TEST_F(BuilderTest, DefaultStatesDifferFromTheDevicesOwn) {
  ASSERT_EQ(Build(Full()), 0u);
  d3d->SetDefaultStates(false);
  const DeviceState& s = TD3D8::GetDevice()->State();
  EXPECT_EQ(s.renderStates[D3DRS_ALPHATESTENABLE], 1u);
  EXPECT_EQ(s.renderStates[D3DRS_ALPHAFUNC], D3DCMP_NOTEQUAL);
  EXPECT_EQ(s.renderStates[D3DRS_AMBIENTMATERIALSOURCE], D3DMCS_COLOR1);
  EXPECT_EQ(s.renderStates[D3DRS_EMISSIVEMATERIALSOURCE], D3DMCS_COLOR1);
  EXPECT_EQ(s.renderStates[D3DRS_CULLMODE], D3DCULL_CCW);  // not among them
  EXPECT_EQ(s.stageStates[0][D3DTSS_COLORARG2], D3DTA_DIFFUSE);
  EXPECT_EQ(s.stageStates[0][D3DTSS_ALPHAOP], D3DTOP_MODULATE);
  EXPECT_EQ(s.stageStates[1][D3DTSS_COLOROP], D3DTOP_DISABLE);
  EXPECT_EQ(s.stageStates[1][D3DTSS_ALPHAOP], D3DTOP_DISABLE);
}

TEST_F(BuilderTest, ViewScaleReachesTheField) {
  Build(Full([](datakit::IniWriter& w) { w.Key("View", 150); }));
  EXPECT_FLOAT_EQ(builder->GetViewScale(), 1.5f);
  EXPECT_FLOAT_EQ(GetViewScale(), 1.5f);
  d3d = std::make_unique<TD3D8>();
  Build(Full());
  EXPECT_FLOAT_EQ(GetViewScale(), 1.0f);
}

struct FallBackCase {
  const char* what;
  int count, lower;
  bool unsatisfiedMultiSample;
  std::vector<std::pair<HRESULT, UINT>> failures;  // injected, one per creation attempt
  uint32_t code;
  std::vector<std::pair<UINT, DWORD>> attempts;  // back-buffer count and flags of each attempt
};

TEST_F(BuilderTest, CreationFallBacks) {
  const HRESULT bad = D3DERR_INVALIDCALL;
  const DWORD hw = 0x40, sw = 0x20;
  const FallBackCase cases[] = {
      {"count reduced below the lowest goes on to the fall-back", 3, 2, false, {{bad, 1}}, 0x202, {{3, hw}, {2, hw}}},
      {"a reduced count is taken", 3, 1, false, {{bad, 2}}, 0x102, {{3, hw}, {2, hw}}},
      {"a reduced count after a multisample warning", 3, 1, true, {{bad, 2}}, 0x182, {{3, hw}, {2, hw}}},
      {"a failure without a reduced count", 2, 1, false, {{bad, 0}}, 0x202, {{2, hw}, {1, hw}}},
      {"hardware refused, software taken", 2, 1, false, {{bad, 0}, {bad, 0}}, 0x202, {{2, hw}, {1, hw}, {1, sw}}},
      {"every fall-back fails",
       3,
       1,
       false,
       {{bad, 2}, {bad, 0}, {bad, 0}, {bad, 0}},
       0x11,
       {{3, hw}, {2, hw}, {1, hw}, {1, sw}}},
  };
  for (const FallBackCase& c : cases) {
    SCOPED_TRACE(c.what);
    renderer->ClearLog();
    for (const auto& [result, reduced] : c.failures) renderer->FailCreate(result, reduced);
    d3d = std::make_unique<TD3D8>();
    EXPECT_EQ(Build(Full([&](datakit::IniWriter& w) {
                w.Key("BackBufferCount", c.count).Key("BackBufferCountLower", c.lower);
                if (c.unsatisfiedMultiSample)
                  w.Key("MultiSample", "yes").Section("MultiSampleType").Key("Type00", "D3DMULTISAMPLE_8_SAMPLES");
              })),
              c.code);
    EXPECT_EQ(initResult, c.code != 0x11);
    ASSERT_EQ(renderer->Creates().size(), c.attempts.size());
    for (size_t i = 0; i < c.attempts.size(); ++i) {
      // The count asked for (the renderer may have lowered what it records).
      const RecordedCreate& a = renderer->Creates()[i];
      EXPECT_EQ(a.info.behaviorFlags, c.attempts[i].second) << i;
      if (c.failures.size() <= i || c.failures[i].second == 0) {
        EXPECT_EQ(a.params.BackBufferCount, c.attempts[i].first) << i;
      }
    }
  }
}

TEST_F(BuilderTest, AnAdapterWithoutHardwareProcessingFallsBackToSoftware) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].hardwareVertexProcessing = false;
  ASSERT_EQ(Build(Full([](datakit::IniWriter& w) { w.Section("DeviceBehavior").Key("FpuPreserve", "yes"); }), table),
            0x202u);
  EXPECT_EQ(builder->GetBehaviorFlags(), D3DCREATE_SOFTWARE_VERTEXPROCESSING);  // the FPU flag went too
  EXPECT_EQ(builder->GetBufferUsage(), D3DUSAGE_SOFTWAREPROCESSING);
  EXPECT_EQ(builder->GetDefaultPool(), D3DPOOL_SYSTEMMEM);
  EXPECT_TRUE(d3d->UseVertexShader());  // software processing runs shaders
}

TEST_F(BuilderTest, AnUnknownDesktopFormatIsAnError) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].desktop.Format = D3DFMT_A2B10G10R10;
  datakit::IniWriter ini;
  ini.Section("CurrentSetting").Key("ScreenMode", "win");
  try {
    Build(ini, table);
    FAIL() << "no exception";
  } catch (const my_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("error : CurrentDisplayFormat is Unknown"), std::string::npos) << text;
    EXPECT_NE(text.find("file : TBasicD3DDeviceBuilder\r\nline : 360"), std::string::npos) << text;
  }
}

// The device object's reset asks the builder for the parameters it built with.
TEST_F(BuilderTest, ResetUsesTheKeptParameters) {
  ASSERT_EQ(Build(Full([](datakit::IniWriter& w) {
              w.Key("ScreenMode", "window").Key("BackBufferCount", 2);
              w.Section("DepthStencilFormat").Key("Format00", "D3DFMT_D24S8");
            })),
            0u);
  D3DPRESENT_PARAMETERS kept{};
  ASSERT_TRUE(builder->GetPresentParams(&kept));
  EXPECT_EQ(kept.BackBufferCount, 2u);
  EXPECT_EQ(kept.AutoDepthStencilFormat, D3DFMT_D24S8);
  EXPECT_EQ(kept.BackBufferFormat, D3DFMT_X8R8G8B8);
  renderer->SetCooperativeLevel(D3DERR_DEVICENOTRESET);
  EXPECT_FALSE(d3d->CheckDevice());
  EXPECT_EQ(renderer->ResetCount(), 1u);
  EXPECT_TRUE(d3d->CheckDevice());
  EXPECT_EQ(TD3D8::GetDevice()->PresentParams().BackBufferCount, 2u);
}

}  // namespace
