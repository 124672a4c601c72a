// A morphing mesh of 5,000 triangles and 60 morph frames: loading its ".tob" file, and the CPU
// morph blend of the fixed-function path (every part refilled, as when the motion moves).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchDevice.h"
#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TMeshFill.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tools/datakit/MeshShapes.h"

using namespace plat;

namespace {

using Builder = bench::DeviceBuilder;

// A device without vertex shaders (so meshes keep scratch buffers) and the mesh file, for one run.
class Setup {
 public:
  Setup() {
    SetClock(&clock_);  // the shader set's processor probe sleeps
    SetRendererFactory([] { return std::make_shared<RecordingRenderer>(); });
    AdapterTable table = DefaultAdapterTable();
    table.adapters[0].vertexShaderVersion = 0;
    SetAdapterTable(table);
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new Builder), D3D_SDK_VERSION, "", "");

    folder_ = std::filesystem::temp_directory_path() / ("dw-mesh-bench-" + std::to_string(::getpid()));
    datakit::MeshShape strip = datakit::QuadStripShape(2500, 50.0f, 1.0f, 0xFF808080);
    datakit::MeshFile file = datakit::MeshFile::FromShape("bench", strip, {datakit::MeshMaterial::Colored("m", 1, 1, 1)});
    datakit::MeshClip clip{"all", {}, {}};
    for (uint32_t f = 1; f < 60; ++f) {
      auto frame = file.frames[0];
      for (auto& v : frame) v.y += 0.01f * f, v.color += f;
      file.frames.push_back(frame);
    }
    for (uint32_t f = 0; f < 60; ++f) clip.frameMap.push_back(f), clip.speeds.push_back(0.37f);
    file.clips.push_back(clip);
    file.Tob().Save((folder_ / "bench.tob").string());
    TMesh8::SetFolder(folder_.string() + "/");
  }
  ~Setup() {
    TD3D8::Instance()->Cleanup();
    std::filesystem::remove_all(folder_);
    SetRendererFactory(nullptr);
    ResetAdapterTable();
    SetClock(nullptr);
  }

 private:
  VirtualClock clock_;
  std::filesystem::path folder_;
};

void BM_LoadTob(benchmark::State& state) {
  Setup setup;
  for (auto _ : state) {
    TMesh8 mesh = TMesh8::Load("bench.tob");
    benchmark::DoNotOptimize(mesh.GetData());
  }
}
BENCHMARK(BM_LoadTob)->Unit(benchmark::kMillisecond);

// One iteration: the motion moves on and the blend refills the whole mesh (15,000 indices).
void BM_MorphBlend(benchmark::State& state) {
  Setup setup;
  TMesh8 mesh = TMesh8::Load("bench.tob");
  for (auto _ : state) {
    mesh.AdvanceMotion(true, 1.0f);
    DrawMorphMeshA(0, mesh, 0x80000003);
  }
  state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_MorphBlend)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
