#include "common/TAdapterList8.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/core/FileSystem.h"
#include "platform/gfx/AdapterTable.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

class AdapterListTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetAdapterTable(); }
  // The enumeration over a table.
  TAdapterList8 Enumerate(const AdapterTable& table) {
    SetAdapterTable(table);
    d3d = Direct3DCreate8(D3D_SDK_VERSION);
    TAdapterList8 list(d3d);
    return list;
  }
  ~AdapterListTest() override {
    if (d3d) d3d->Release();
  }
  IDirect3D8* d3d = nullptr;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The whole report of the default adapter, byte for byte.
TEST_F(AdapterListTest, DefaultTableReportMatchesTheGoldenFile) {
  TAdapterList8 list = Enumerate(DefaultAdapterTable());
  testkit::TempDir dir;
  list.WriteReport(dir / "DeviceLog.txt");
  const std::string written = ReadFile(dir / "DeviceLog.txt");
  std::string goldenPath = DW_GOLDEN_DIR;
  goldenPath.append("/DeviceLog.txt");
  const std::string golden = ReadFile(goldenPath);
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(written, golden);
}

TEST_F(AdapterListTest, RecordsComeFourPerAdapterAndRefWithoutAReferenceDevice) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters.push_back(table.adapters[0]);
  table.adapters[1].referenceDevice = true;
  TAdapterList8 list = Enumerate(table);
  ASSERT_EQ(list.GetCount(), 8u);
  const struct {
    D3DDEVTYPE type;
    uint32_t windowed;
  } order[] = {{D3DDEVTYPE_HAL, 0}, {D3DDEVTYPE_HAL, 1}, {D3DDEVTYPE_REF, 0}, {D3DDEVTYPE_REF, 1}};
  for (uint32_t k = 0; k < 8; ++k) {
    const TAdapterInfo8& r = list.GetAdapter(k);
    EXPECT_EQ(r.GetAdapterOrdinal(), k / 4);
    EXPECT_EQ(r.GetDeviceType(), order[k % 4].type);
    EXPECT_EQ(r.GetVariant(), order[k % 4].windowed);
  }
  EXPECT_EQ(list.GetAdapter(2).GetModeCount(), 0u);  // adapter 0 has no REF device
  EXPECT_GT(list.GetAdapter(6).GetModeCount(), 0u);
  EXPECT_EQ(list.GetAdapter(0).GetModeCount(), 42u);  // 14 sizes and rates: X8 twice, R5G6B5 once
}

TEST_F(AdapterListTest, ModesSortByScore) {
  TAdapterList8 list = Enumerate(DefaultAdapterTable());
  const TAdapterInfo8& full = list.GetAdapter(0);
  // 32-bit before 16-bit, X8R8G8B8 back buffers before A8R8G8B8, lower rates first.
  const uint32_t expected[][5] = {{640, 480, 60, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8},
                                  {640, 480, 75, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8},
                                  {800, 600, 60, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8}};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 5; ++k) EXPECT_EQ(full.GetMode(i).GetDesc()[k], expected[i][k]) << i << "," << k;
  EXPECT_EQ(full.GetMode(0).GetScore(), 2008860);
  for (uint32_t i = 1; i < full.GetModeCount(); ++i)
    EXPECT_LE(full.GetMode(i - 1).GetScore(), full.GetMode(i).GetScore());
  EXPECT_EQ(TDisplayMode8(640, 480, 60, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8).GetScore(), 3008860);
  EXPECT_EQ(TDisplayMode8(640, 480, 60, D3DFMT_R5G6B5, D3DFMT_R5G6B5).GetScore(), 20008860);
}

// On a 16-bit display the windowed record checks multisampling on the display format, the
// full-screen record on the back-buffer format.
TEST_F(AdapterListTest, MultisampleChecksFollowTheVariant) {
  AdapterTable table = DefaultAdapterTable();
  AdapterDesc& a = table.adapters[0];
  a.desktop = {1024, 768, 60, D3DFMT_R5G6B5};
  a.modes = {{640, 480, 60, D3DFMT_R5G6B5}};
  a.backBufferFormats[D3DFMT_R5G6B5] = {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};
  a.multiSampleTypes = {{D3DFMT_R5G6B5, {D3DMULTISAMPLE_2_SAMPLES}}, {D3DFMT_X1R5G5B5, {D3DMULTISAMPLE_4_SAMPLES}}};
  TAdapterList8 list = Enumerate(table);
  const auto* full = list.GetAdapter(0).FindMultiSampleTypes(D3DFMT_R5G6B5, D3DFMT_X1R5G5B5);
  const auto* window = list.GetAdapter(1).FindMultiSampleTypes(D3DFMT_R5G6B5, D3DFMT_X1R5G5B5);
  ASSERT_TRUE(full && window);
  EXPECT_EQ(*full, (std::vector<D3DMULTISAMPLE_TYPE>{D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES}));
  EXPECT_EQ(*window, (std::vector<D3DMULTISAMPLE_TYPE>{D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_2_SAMPLES}));
  EXPECT_EQ(list.GetAdapter(0).FindMultiSampleTypes(D3DFMT_R5G6B5, D3DFMT_A8R8G8B8), nullptr);
  EXPECT_EQ(list.GetAdapter(0).FindDepthFormats(D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8), nullptr);
  EXPECT_EQ(list.GetAdapter(0).FindTextureFormats(D3DFMT_X8R8G8B8), nullptr);
  ASSERT_NE(list.GetAdapter(0).FindTextureFormats(D3DFMT_R5G6B5), nullptr);
}

TEST_F(AdapterListTest, DepthFormatsPassBothChecks) {
  AdapterTable table = DefaultAdapterTable();
  table.adapters[0].depthFormats = {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D32};
  table.adapters[0].depthMatchesColorBits = true;
  TAdapterList8 list = Enumerate(table);
  EXPECT_EQ(*list.GetAdapter(0).FindDepthFormats(D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8),
            (std::vector<D3DFORMAT>{D3DFMT_D32, D3DFMT_D24S8}));
  EXPECT_EQ(*list.GetAdapter(0).FindDepthFormats(D3DFMT_R5G6B5, D3DFMT_R5G6B5), (std::vector<D3DFORMAT>{D3DFMT_D16}));
}

TEST_F(AdapterListTest, UnnamedFormatsAndEmptyRecordsInTheReport) {
  AdapterTable table = DefaultAdapterTable();
  AdapterDesc& a = table.adapters[0];
  a.modes = {{800, 600, 85, 5}};  // a display format without a name, below the 16-bit ones
  a.backBufferFormats = {{5, {D3DFMT_X8R8G8B8}}};
  a.multiSampleTypes.clear();
  TAdapterList8 list = Enumerate(table);
  const std::string report = list.Report();
  EXPECT_NE(report.find("Mode: unknown - D3DFMT_X8R8G8B8\r\n D3DMULTISAMPLE_NONE\r\n\r\n"), std::string::npos);
  EXPECT_NE(report.find(" 800 x 600 (unknown - D3DFMT_X8R8G8B8) (85Hz)\r\n"), std::string::npos);
  // The REF records of an adapter without one: headers only.
  EXPECT_NE(report.find("***** D3DDEVTYPE_REF Window Mode Info *****\r\n\r\n< MultiSampleType Info >\r\n"
                        "< DepthStencilFormat Info >\r\n< RenderTargetFormats >\r\n"),
            std::string::npos);
}

TEST_F(AdapterListTest, AReportThatCannotBeOpenedWritesNothing) {
  TAdapterList8 list = Enumerate(DefaultAdapterTable());
  testkit::TempDir dir;
  list.WriteReport(dir / "missing/DeviceLog.txt");
  EXPECT_EQ(GetFileAttributes(dir / "missing/DeviceLog.txt"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
