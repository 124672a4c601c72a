// Checksumming a full save payload, which every save and load does.
#include <benchmark/benchmark.h>

#include <vector>

#include "common/TFile.h"

static void BM_Crc32SavePayload(benchmark::State& state) {
  std::vector<unsigned char> payload(102400, 0x5A);
  for (auto _ : state) benchmark::DoNotOptimize(Crc32(payload.data(), static_cast<int32_t>(payload.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(payload.size()));
}
BENCHMARK(BM_Crc32SavePayload);
