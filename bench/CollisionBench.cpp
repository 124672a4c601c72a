// Sixty objects walking over rolling ground of 20,000 collision triangles (100 x 100 quads of 2 m)
// under grid cells of 4 or 8 m: one iteration is 1,000 ticks of gravity, push-apart, grid and part
// passes and shadows; the counter gives ticks per second. A query tests every triangle listed in
// the nine cells around the object, so the cell size sets the cost.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TFrame8.h"
#include "game/field/TCollisionMesh.h"
#include "game/field/TGameObject.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleMeshes.h"

using namespace plat;

namespace {

constexpr int kQuads = 100;
constexpr float kQuadSize = 2.0f;
constexpr float kHalfExtent = kQuads * kQuadSize / 2;
constexpr int kObjects = 60;
constexpr int kTicks = 1000;

using Builder = bench::DeviceBuilder;

float GroundHeight(float x, float z) { return 1.5f * std::sin(x * 0.15f) * std::cos(z * 0.12f); }

// The ground as one mesh: (kQuads + 1)^2 vertices, two triangles per quad wound clockwise from above.
datakit::MeshShape Ground() {
  datakit::MeshShape shape;
  for (int row = 0; row <= kQuads; ++row)
    for (int column = 0; column <= kQuads; ++column) {
      const float x = column * kQuadSize - kHalfExtent, z = row * kQuadSize - kHalfExtent;
      shape.vertices.push_back({x, GroundHeight(x, z), z});
    }
  for (int row = 0; row < kQuads; ++row)
    for (int column = 0; column < kQuads; ++column) {
      const auto a = static_cast<uint16_t>(row * (kQuads + 1) + column), b = static_cast<uint16_t>(a + 1),
                 c = static_cast<uint16_t>(a + kQuads + 1), d = static_cast<uint16_t>(c + 1);
      shape.indices.insert(shape.indices.end(), {a, c, b, b, c, d});
      shape.parts.insert(shape.parts.end(), 2, 0);
    }
  return shape;
}

class Stage : public TStageLinks {
 public:
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TCollisionMesh* GetCollision() override { return &collision; }
  TEffectManager* GetEffectManager() override { return nullptr; }
  TCamera* GetCamera() override { return nullptr; }
  TFieldActor* FindActor(uint32_t) override { return nullptr; }
  TEffectStage* GetEffectStage() override { return nullptr; }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", *D3DXMatrixIdentity(&identity));
  TCollisionMesh collision;

 private:
  D3DXMATRIX identity;
};

// Walks in a straight line and turns back at the edge of the ground.
class Walker : public TGameObject {
 public:
  explicit Walker(int n) : TGameObject(1, 0.5f, 1.0f, 1, 1, -0.02f, "walker") {
    const float angle = n * 0.7f;
    velocity.x = 0.05f * std::cos(angle);
    velocity.z = 0.05f * std::sin(angle);
    SetPosition(D3DXVECTOR3((n % 10) * 3.0f - 15, 3, (n / 10) * 3.0f - 9));
  }
  void Update() override {
    const D3DXVECTOR3 p = GetPosition();
    if (std::fabs(p.x) > kHalfExtent - 2) velocity.x = -velocity.x;
    if (std::fabs(p.z) > kHalfExtent - 2) velocity.z = -velocity.z;
    ApplyGravity();
  }
  bool IsAirborne() override { return false; }
};

class Setup {
 public:
  Setup() {
    SetClock(&clock_);
    SetRendererFactory([] { return std::make_shared<RecordingRenderer>(); });
    SetAdapterTable(DefaultAdapterTable());
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new Builder), D3D_SDK_VERSION, "", "");
    folder_ = std::filesystem::temp_directory_path() / ("dw-collision-bench-" + std::to_string(::getpid()));
    datakit::WriteSampleMeshes(folder_.string() + "/");
    datakit::MeshFile::FromShape("walker", datakit::BoxShape(0.5f, 1, 0.5f), {datakit::MeshMaterial::Colored("m", 1, 1, 1)})
        .Tob()
        .Save((folder_ / "char03/walker.tob").string());
    datakit::MeshFile::FromShape("ground", Ground(), {datakit::MeshMaterial::Colored("grass", 0.02f, 0.6f, 0.2f)})
        .Msh()
        .Save((folder_ / "ground.msh").string());
    TMesh8::SetFolder(folder_.string() + "/");
    TGameObject::SetFolder("char03/");
  }
  ~Setup() {
    TGameObject::SetFolder("");
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

void BM_WalkersOnGround(benchmark::State& state) {
  Setup setup;
  {
    Stage stage;
    const auto cellSize = static_cast<float>(state.range(0));
    stage.collision.Load("ground.msh", cellSize, cellSize);
    std::vector<std::unique_ptr<Walker>> walkers;
    for (int n = 0; n < kObjects; ++n) {
      walkers.push_back(std::make_unique<Walker>(n));
      walkers.back()->Attach(&stage);
    }
    for (auto _ : state) {
      for (int tick = 0; tick < kTicks; ++tick) {
        for (auto& w : walkers) w->Update();
        stage.collision.SeparateObjects();
        stage.collision.CollideObjects();
        stage.collision.CollideObjectsWithParts();
        for (auto& w : walkers) w->UpdateShadow();
      }
    }
    state.counters["ticks/s"] = benchmark::Counter(double(state.iterations()) * kTicks, benchmark::Counter::kIsRate);
    state.counters["triangles"] = stage.collision.GetGrid().GetTriangleCount();
    for (auto& w : walkers) w->Detach();
  }
}
BENCHMARK(BM_WalkersOnGround)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
