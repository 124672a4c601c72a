// Two hundred live shots of ten bullets each, as a busy fight may hold: one tick of the effect
// manager moves every head, walks every trail (a follow, a turn toward the view and a texture-cell
// step per bullet) and turns every bullet. Reported as ticks per second.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/FieldServices.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TShot.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tools/datakit/SampleShotAssets.h"

using namespace plat;

namespace {

constexpr int kShots = 200;
constexpr int kBullets = 10;

// A windowed 640 x 480 device whose mode gives the texture formats.
class Builder : public TD3DDeviceBuilder8 {
 public:
  uint32_t Build(TD3D8* layer, IDirect3DDevice8** device) override {
    windowed = 1;
    chosenRecord = 1;
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == 640 && d[1] == 480 && d[3] == D3DFMT_X8R8G8B8) chosenMode = static_cast<int32_t>(m);
    }
    D3DPRESENT_PARAMETERS p = Params();
    return TD3D8::GetDirect3D()->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p,
                                              device) == D3D_OK
               ? 0
               : 1;
  }
  bool GetPresentParams(D3DPRESENT_PARAMETERS* out) override {
    *out = Params();
    return true;
  }
  static D3DPRESENT_PARAMETERS Params() {
    return {640, 480, D3DFMT_X8R8G8B8, 1, 0, D3DSWAPEFFECT_DISCARD, nullptr, TRUE, TRUE, D3DFMT_D16, 0, 0, 0};
  }
};

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  return *D3DXMatrixIdentity(&m);
}

class Stage : public TEffectStage {
 public:
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TFrame8* GetRootFrame() override { return root.Get(); }
  TEffectManager* GetEffectManager() override { return nullptr; }
  TEffectActor* FindActor(int32_t) override { return nullptr; }
  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", Identity());
  TCountedPtr<TFrame8> root = CreateNamedFrame("Stage", Identity());
};

// A device on the recording renderer and the shot assets in a temporary folder, for one run.
class Setup {
 public:
  Setup() {
    SetClock(&clock_);
    SetRendererFactory([] { return std::make_shared<RecordingRenderer>(); });
    SetAdapterTable(DefaultAdapterTable());
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new Builder), D3D_SDK_VERSION, "", "");
    folder_ = std::filesystem::temp_directory_path() / ("dw-shot-bench-" + std::to_string(::getpid()));
    datakit::WriteSampleShotMeshes(folder_.string() + "/msh/");
    datakit::SampleEffectPack().Save((folder_ / "ptx/effect.ptx").string());
    TMesh8::SetFolder(folder_.string() + "/msh/");
    TTexture8::SetFolder(folder_.string() + "/ptx/");
    SetEffectFolder("effect/");
  }
  ~Setup() {
    SetEffectFolder("");
    TTexture8::Purge(1);
    TTexture8::SetFolder("");
    TMesh8::SetFolder("");
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

// Half the shots fly straight, half shake about a point of the scene, all of them endless.
void BM_ShotTick(benchmark::State& state) {
  Setup setup;
  Stage stage;
  stage.root->SetPositionXYZ(0, 2, -10);
  {
    TEffectManager manager;
    manager.Register(803, std::make_unique<TShot<TAddCellBullet>>("effect.ptx/wind", -1, kBullets, 1,
                                                                  D3DXVECTOR3(0.5f, 0.5f, 0.5f)));
    for (int k = 0; k < kShots; ++k) {
      const float x = static_cast<float>(k % 20), z = static_cast<float>(k / 20);
      TCountedPtr<TEffect> effect = manager.Spawn(803, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), *stage.scene,
                                                  &stage, {1, 1, 1, 1}, D3DXVECTOR3(1, 1, 1));
      TEffectMover* mover = k % 2 ? static_cast<TEffectMover*>(new TFallMover(-0.01f, 0, D3DXVECTOR3(x, 1, z),
                                                                              D3DXVECTOR3(0.3f, 0.1f, 1)))
                                  : new TShakeMover(stage.scene.Get(), D3DXVECTOR3(x, 1, z), D3DXVECTOR3(0, 0.05f, 0),
                                                    D3DXVECTOR3(200, 300, 200));
      AsShot(effect.Get())->SetMotion(TMoverHolder(mover));
    }
    for (auto _ : state) manager.Update();
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * kShots * kBullets);
    manager.Clear();
  }
}
BENCHMARK(BM_ShotTick)->Unit(benchmark::kMillisecond);

}  // namespace
