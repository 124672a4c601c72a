// Loading an INI file, game side and updater side: the cost per kilobyte must stay flat as the
// file grows (each key looked up in one parse, not a parse per key).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/TIni.h"
#include "tools/datakit/IniWriter.h"
#include "updater/CINI.h"

namespace {

// Sections of sixteen keys each, as many as make about `bytes` bytes; returns the file's path.
std::string WriteIni(size_t bytes) {
  static std::string dir;
  if (dir.empty()) {
    char pattern[] = "/tmp/dw-bench-ini-XXXXXX";
    dir = std::string(mkdtemp(pattern)) + "/";
  }
  datakit::IniWriter ini;
  char name[32];
  for (int s = 0; ini.Text().size() < bytes; ++s) {
    std::snprintf(name, sizeof name, "Section%05d", s);
    ini.Section(name);
    for (int k = 0; k < 16; ++k) {
      std::snprintf(name, sizeof name, "Key%02d", k);
      ini.Key(name, "value of twenty-four ch");
    }
  }
  const std::string path = dir + std::to_string(bytes) + ".ini";
  ini.Save(path);
  return path;
}

// The lists are given room for the whole file, so no size limit cuts the load short.
uint32_t ListSize(size_t bytes) { return static_cast<uint32_t>(bytes + 4096); }

void ReportPerKilobyte(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["time/KB"] = benchmark::Counter(static_cast<double>(bytes) / 1024.0,
                                                 benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}

void BM_TIniLoad(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1024;
  TIni ini(WriteIni(bytes), ListSize(bytes), ListSize(bytes), 1024);
  for (auto _ : state)
    if (!ini.Load()) state.SkipWithError("load failed");
  ReportPerKilobyte(state, bytes);
}

void BM_CINILoad(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1024;
  const int size = static_cast<int>(ListSize(bytes));
  updater::CINI ini(WriteIni(bytes), size, size, 1024);
  for (auto _ : state)
    if (!ini.Load()) state.SkipWithError("load failed");
  ReportPerKilobyte(state, bytes);
}

}  // namespace

BENCHMARK(BM_TIniLoad)->RangeMultiplier(4)->Range(1, 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CINILoad)->RangeMultiplier(4)->Range(1, 1024)->Unit(benchmark::kMicrosecond);
