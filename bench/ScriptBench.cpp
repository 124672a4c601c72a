// Statements per second of the script engine: a hung script is reported after a fixed number of
// statements, which has to stay well under a second of a frame's time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/script/TScriptEngine.h"
#include "tools/datakit/ScriptPackWriter.h"

static void BM_ScriptLoopStatements(benchmark::State& state) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "dw-bench-script";
  datakit::ScriptPackWriter pack;
  pack.Script("loop", "$n = 0\nWHILE $n < 100000\n$n = $n + 1\nIF $n % 2 == 0\n$e = $e + 1\nEND\nEND\n");
  pack.Save((dir / "b.pbsc").string());
  TScriptEngine::SetFolder(dir.string() + "/");
  int64_t statements = 0;
  for (auto _ : state) {
    TScriptEngine::Create();
    TScriptEngine::Get()->LoadScript("b.pbsc/loop");
    benchmark::DoNotOptimize(TScriptEngine::Get()->Run());
    statements += 100000 * 5 + 50000 + 2;  // five a pass, one more on even passes
  }
  TScriptEngine::Destroy();
  std::filesystem::remove_all(dir);
  state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScriptLoopStatements)->Unit(benchmark::kMillisecond);
