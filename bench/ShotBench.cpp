// Two hundred live shots of ten bullets each (the wind aura, kind 803, flying endlessly), as a busy
// fight may hold: one tick of the effect manager moves every head, walks every trail (a follow, a
// turn toward the view and a texture-cell step per bullet) and turns every bullet. Reported as ticks
// per second.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/EffectBenchSetup.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TShotEffect.h"

using plat::D3DXVECTOR3;

namespace {

constexpr int kShots = 200;
constexpr int kBullets = 10;

// Half the shots fly straight, half shake about a point of the scene, all of them endless.
void BM_ShotTick(benchmark::State& state) {
  bench::EffectBenchSetup setup;
  bench::EffectBenchStage stage;
  stage.root->SetPositionXYZ(0, 2, -10);
  {
    TEffectManager manager;
    manager.Register(803, MakePrototype(*FindEffectRow(803)));
    for (int k = 0; k < kShots; ++k) {
      const float x = static_cast<float>(k % 20), z = static_cast<float>(k / 20);
      TCountedPtr<TEffect> effect = manager.Spawn(803, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), *stage.scene,
                                                  &stage, {1, 1, 1, 1}, D3DXVECTOR3(1, 1, 1));
      TEffectMover* mover = k % 2 ? static_cast<TEffectMover*>(new TFallMover(-0.01f, 0, D3DXVECTOR3(x, 1, z),
                                                                              D3DXVECTOR3(0.3f, 0.1f, 1)))
                                  : new TShakeMover(stage.scene.Get(), D3DXVECTOR3(x, 1, z), D3DXVECTOR3(0, 0.05f, 0),
                                                    D3DXVECTOR3(200, 300, 200));
      AsShot(effect.Get())->SetMotion(TMoverHolder(mover));
      AsShot(effect.Get())->SetLifetime(TShotEffect::kEndless);
    }
    for (auto _ : state) manager.Update();
    state.counters["ticks/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * kShots * kBullets);
    manager.Clear();
  }
}
BENCHMARK(BM_ShotTick)->Unit(benchmark::kMillisecond);

}  // namespace
