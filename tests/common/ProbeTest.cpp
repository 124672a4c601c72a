#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/TDxVersion.h"
#include "common/TSingleInstance.h"
#include "common/TSystemInfo.h"
#include "platform/core/DxComponents.h"
#include "platform/core/Processor.h"
#include "platform/core/Sync.h"
#include "platform/core/WindowLookup.h"
#include "tests/common/Fixtures.h"

namespace {

using Probes = CommonFixture;

TEST(DxVersion, DecisionTableOverTheComponents) {
  struct Case {
    bool plat::DxComponents::*missing;
    uint32_t version;
    const char* text;
  } cases[] = {
      {nullptr, 0x801, "DirectX 8.1 or better"},
      {&plat::DxComponents::ddrawLibrary, 0, "No DirectX installed"},
      {&plat::DxComponents::directDrawObject, 0, "No DirectX installed"},
      {&plat::DxComponents::directDraw2, 0x100, "DirectX 1"},
      {&plat::DxComponents::directInputCreate, 0x200, "DirectX 2"},
      {&plat::DxComponents::primarySurface, 0, "No DirectX installed"},
      {&plat::DxComponents::surface3, 0x300, "DirectX 3"},
      {&plat::DxComponents::surface4, 0x500, "DirectX 5"},
      {&plat::DxComponents::directMusic, 0x600, "DirectX 6"},
      {&plat::DxComponents::directDraw7, 0x601, "DirectX 6.1"},
      {&plat::DxComponents::d3d8Library, 0x700, "DirectX 7"},
      {&plat::DxComponents::dpnhpastLibrary, 0x800, "DirectX 8"},
  };
  for (const Case& c : cases) {
    plat::DxComponents table;
    if (c.missing) table.*c.missing = false;
    plat::SetDxComponents(table);
    TDxVersion dx;
    EXPECT_EQ(dx.GetVersion(), c.version) << c.text;
    EXPECT_EQ(dx.GetText(), c.text);
  }
  plat::SetDxComponents(plat::DxComponents{});
  EXPECT_EQ(TDxVersion::TextFor(0x400), "Unknown Version");
}

class FakeMachine : public plat::Machine {
 public:
  bool cpuid = true;
  uint32_t features = (1u << 0) | (1u << 4) | (1u << 23) | (1u << 25);
  uint64_t tsc = 1000;
  bool HasCpuid() override { return cpuid; }
  plat::CpuidResult Cpuid(uint32_t leaf) override {
    plat::CpuidResult r;
    if (leaf == 1) {
      r.eax = 0x2F5A;  // type 2, family 15, model 5, stepping 10
      r.edx = features;
    } else if (leaf == 0x80000001u) {
      r.edx = 1u << 31;
    }
    return r;
  }
  uint64_t ReadTimeStampCounter() override {
    uint64_t v = tsc;
    tsc += 2400000000ull;  // 2.4 GHz over the probe's second
    return v;
  }
  uint64_t TotalPhysicalBytes() override { return 512ull * 1048576 - 640; }
};

TEST_F(Probes, SystemInfoReadsTheMachine) {
  FakeMachine machine;
  plat::SetMachine(&machine);
  TSystemInfo info;
  EXPECT_EQ(info.physicalMB, 512u);
  EXPECT_EQ(info.processorType, 2u);
  EXPECT_EQ(info.family, 15u);
  EXPECT_EQ(info.model, 5u);
  EXPECT_EQ(info.stepping, 10u);
  EXPECT_EQ(info.hasFpu + info.hasTsc + info.hasMmx + info.hasSse + info.hasSseAgain, 5);
  EXPECT_EQ(info.has3DNow, 1);
  EXPECT_EQ(info.has3DNowExt, 0);
  EXPECT_EQ(info.clockMHz, 2400u);  // the low 32 bits wrap: 2.4e9 fits
  EXPECT_EQ(clock.Milliseconds(), 1000u) << "slept one second on the platform clock";

  machine.features = 1;  // no time-stamp counter
  TSystemInfo noTsc;
  EXPECT_EQ(noTsc.clockMHz, 0u);
  EXPECT_EQ(clock.Milliseconds(), 1000u) << "no sleep without a counter";

  machine.cpuid = false;
  TSystemInfo old;
  EXPECT_EQ(old.hasCpuid, 0);
  EXPECT_EQ(old.family, 0u);
  EXPECT_EQ(old.physicalMB, 512u);
  plat::SetMachine(nullptr);
}

TEST_F(Probes, SingleInstanceByWindowThenByMutex) {
  const std::string name = "dw_single_" + std::to_string(getpid());
  {
    plat::SetWindowFinder([](const std::string& cls, const std::string& title) {
      return cls == "Harrowick Duskwheel" && title == "t" ? reinterpret_cast<plat::HWND>(1) : nullptr;
    });
    TSingleInstance byWindow(name, "t", "Harrowick Duskwheel");
    EXPECT_FALSE(byWindow.Check());
    plat::SetWindowFinder(nullptr);
  }
  TSingleInstance first(name, "t", "c");
  EXPECT_TRUE(first.Check());
  pid_t pid = fork();
  if (pid == 0) {
    TSingleInstance second(name, "t", "c");
    _exit(second.Check() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "the second process is refused";
  unlink((plat::MutexFolder() + "/" + name + ".lock").c_str());
}

}  // namespace
