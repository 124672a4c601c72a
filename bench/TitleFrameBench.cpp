// One frame of the title as a headless run makes it: the scene's tick, its drawing (a 640x480
// clear, the panel and the game's name) and the present, on the recording renderer and the headless
// sound output, with a virtual clock that moves 1/60 s a frame. x_real_time is how many times faster than the game's 60 frames
// a second that runs; the goal is at least 50 for a frame of the field's size.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchPlatform.h"
#include "game/app/GameServices.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/WinMain.h"

namespace {

void BM_HeadlessTitleFrame(benchmark::State& state) {
  bench::Platform platform;
  if (!platform.Ready()) {
    state.SkipWithError("no folder for the sample game");
    return;
  }
  plat::VirtualClock& clock = platform.Clock();
  auto renderer = platform.UseRecordingRenderer();
  TGameWnd app(GameWindowParams(nullptr), 101, 104, DefaultShellServices());
  app.CreateWnd();
  app.Initialize();
  if (!app.IsRunning()) {
    state.SkipWithError("the game did not start in the sample folder");
  } else {
    const plat::DWORD start = clock.Milliseconds();
    uint64_t frame = 0;
    for (auto _ : state) {
      ++frame;
      clock.Set(start + static_cast<plat::DWORD>(frame * 1000 / 60));
      if (!app.Frame()) state.SkipWithError("the title ended");
      renderer->ClearLog();
    }
    state.counters["x_real_time"] =
        benchmark::Counter(static_cast<double>(state.iterations()) / 60.0, benchmark::Counter::kIsRate);
  }
  app.Finalize();
}
BENCHMARK(BM_HeadlessTitleFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
