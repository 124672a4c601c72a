// The effect kind registry on the sample effect assets: building all 193 prototypes, which every
// field scene pays when it is constructed, and one tick of 300 live effects of every kind in turn
// (shots on straight movers, the ray along a curve), kept at 300 between ticks.
#include <benchmark/benchmark.h>

#include "bench/EffectBenchSetup.h"
#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TRayEffect.h"
#include "game/effect/TShotEffect.h"

using plat::D3DXVECTOR3;

namespace {

constexpr size_t kLive = 300;

void BM_BuildPrototypes(benchmark::State& state) {
  bench::EffectBenchSetup setup;
  for (auto _ : state) {
    TEffectManager manager(&BuildPrototypes);
    benchmark::DoNotOptimize(manager.GetNextId());
  }
  state.counters["builds/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BuildPrototypes)->Unit(benchmark::kMillisecond);

// Spawns the next kind of the table as its callers set it up.
void SpawnNext(TEffectManager& manager, bench::EffectBenchStage& stage, size_t& next) {
  const std::vector<TEffectRow>& table = EffectRegistry();
  const TEffectKind kind = table[next++ % table.size()].kind;
  const float x = static_cast<float>(next % 20) - 10.0f, z = static_cast<float>(next / 20 % 10);
  TCountedPtr<TEffect> effect = manager.Spawn(kind, D3DXVECTOR3(x, 0, z), D3DXVECTOR3(0, 0, 1), *stage.scene, &stage,
                                              {1, 1, 1, 1}, D3DXVECTOR3(1, 1, 1));
  if (TShotEffect* shot = AsShot(effect.Get()))
    shot->SetMotion(TMoverHolder(new TFallMover(-0.02f, 0, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1))));
  if (auto* ray = dynamic_cast<TRayEffect*>(effect.Get())) {
    TMoveValue tween;
    tween.Set(0, 1, 20, 0);
    ray->SetCurve(&stage, D3DXVECTOR3(x, 0, z), D3DXVECTOR3(x, 2, z), D3DXVECTOR3(x + 3, 2, z),
                  D3DXVECTOR3(x + 3, 0, z), -2, tween);
  }
}

void BM_TickLiveEffects(benchmark::State& state) {
  bench::EffectBenchSetup setup;
  bench::EffectBenchStage stage;
  stage.root->SetPositionXYZ(0, 2, -10);
  {
    TEffectManager manager(&BuildPrototypes);
    stage.manager = &manager;
    size_t next = 0;
    while (manager.GetLiveCount() < kLive) SpawnNext(manager, stage, next);
    for (auto _ : state) {
      manager.Update();
      state.PauseTiming();
      while (manager.GetLiveCount() < kLive) SpawnNext(manager, stage, next);
      state.ResumeTiming();
    }
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    manager.Clear();
  }
}
BENCHMARK(BM_TickLiveEffects)->Unit(benchmark::kMillisecond);

}  // namespace
