// What the effect benchmarks share: a device on the recording renderer, the sample game's effect
// assets in a temporary game folder with the folders set as the game sets them, and a stage of two
// frames.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchDevice.h"
#include "common/TD3D8.h"
#include "common/TDeviceHooks.h"
#include "common/TFrame8.h"
#include "common/TMesh8.h"
#include "common/TTexture8.h"
#include "game/effect/EffectFolder.h"
#include "game/effect/FieldServices.h"
#include "platform/core/Clock.h"
#include "platform/gfx/AdapterTable.h"
#include "platform/gfx/RecordingRenderer.h"
#include "tools/datakit/SampleEffects.h"
#include "tools/datakit/SampleMeshes.h"

namespace bench {

// A windowed 640 x 480 device whose mode gives the texture formats.
class EffectDeviceBuilder : public DeviceBuilder {
 public:
  uint32_t Build(TD3D8* layer, plat::IDirect3DDevice8** device) override {
    windowed = 1;
    chosenRecord = 1;
    const TAdapterInfo8& record = layer->GetAdapterList()->GetAdapter(1);
    for (uint32_t m = 0; m < record.GetModeCount(); ++m) {
      const uint32_t* d = record.GetMode(m).GetDesc();
      if (d[0] == 640 && d[1] == 480 && d[3] == plat::D3DFMT_X8R8G8B8) chosenMode = static_cast<int32_t>(m);
    }
    return DeviceBuilder::Build(layer, device);
  }
};

class EffectBenchStage : public TEffectStage {
 public:
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TFrame8* GetRootFrame() override { return root.Get(); }
  TEffectManager* GetEffectManager() override { return manager; }
  TEffectActor* FindActor(int32_t) override { return nullptr; }
  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCountedPtr<TFrame8> root = CreateNamedFrame("Stage", IdentityMatrix());
  TEffectManager* manager = nullptr;
};

// For one run.
class EffectBenchSetup {
 public:
  EffectBenchSetup() {
    plat::SetClock(&clock_);
    plat::SetRendererFactory([] { return std::make_shared<plat::RecordingRenderer>(); });
    plat::SetAdapterTable(plat::DefaultAdapterTable());
    TDeviceHooks::Get() = TDeviceHooks::Real();
    TD3D8::Instance()->Init(TCountedPtr<TD3DDeviceBuilder8>(new EffectDeviceBuilder), plat::D3D_SDK_VERSION, "", "");
    folder_ = std::filesystem::temp_directory_path() / ("dw-effect-bench-" + std::to_string(::getpid()));
    const std::string game = folder_.string() + "/";
    datakit::WriteSampleEffectMeshes(game + "data/msh03/");
    datakit::WriteSampleEffects(game);
    TMesh8::SetFolder(game + "data/msh03/");
    TFrame8::SetFolder(game + "data/frm03/");
    TTexture8::SetFolder(game + "data/ptx03/");
    SetEffectFolder("effect/");
  }
  ~EffectBenchSetup() {
    SetEffectFolder("");
    TTexture8::Purge(1);
    TTexture8::SetFolder("");
    TFrame8::SetFolder("");
    TMesh8::SetFolder("");
    TD3D8::Instance()->Cleanup();
    std::filesystem::remove_all(folder_);
    plat::SetRendererFactory(nullptr);
    plat::ResetAdapterTable();
    plat::SetClock(nullptr);
  }

 private:
  plat::VirtualClock clock_;
  std::filesystem::path folder_;
};

}  // namespace bench
