// Ten seconds of a busy scene: 32 effects and voices playing at once (half of them at another
// rate, so they are resampled) over two looping music streams, mixed into 44.1 kHz stereo in the
// audio callback's block size. Reports the fraction of one core the mix and the decoding cost.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sound/SoundOutput.h"
#include "sound/TDSound8.h"
#include "sound/TOggStream8.h"
#include "sound/TPseSound8.h"
#include "tools/datakit/OggWriter.h"
#include "tools/datakit/PseWriter.h"

namespace {

double ProcessSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_MixTenSeconds(benchmark::State& state) {
  char pattern[] = "/tmp/dw-bench-XXXXXX";
  const std::string dir = std::string(mkdtemp(pattern)) + "/";
  datakit::WaveFormat stereo = datakit::WaveFormat::Pcm(2, 44100, 16);
  datakit::WaveFormat mono = datakit::WaveFormat::Pcm(1, 22050, 16);
  datakit::PseWriter pack;
  pack.Entry("stereo", stereo, datakit::ToneData(stereo, 440, 30000, 0.05))
      .Entry("mono", mono, datakit::ToneData(mono, 330, 15000, 0.05));
  pack.Save(dir + "se.pse");
  datakit::OggWriter a(2, 44100), b(2, 44100);
  a.Tone(220, 44100 * 3, 0.2);
  b.Tone(330, 44100 * 2, 0.2);
  a.Save(dir + "a.ogg");
  b.Save(dir + "b.ogg");

  plat::HeadlessSoundOutput output;
  plat::SetSoundOutput(&output);
  TDSound8& sound = TDSound8::Get();
  sound.SetSeFolder(dir);
  sound.SetBgmFolder(dir);
  sound.Init(nullptr);
  {
    std::vector<TCountedPtr<TSound8>> effects;
    for (int i = 0; i < 32; ++i) {
      effects.push_back(TCountedPtr<TSound8>(new TPseSound8(i % 2 ? "se.pse/mono" : "se.pse/stereo", 0, &sound)));
      effects.back()->SetLoop(true);
      effects.back()->SetVolume(-600);
      effects.back()->Play();
    }
    TOggStream8 first("a.ogg", 2, &sound), second("b.ogg", 2, &sound);
    first.SetLoop(true);
    second.SetLoop(true);
    first.Play();
    second.Play();

    constexpr size_t kFrames = 441000, kBlock = 1024, kFramesPerSegment = TOggStream8::kSegmentSize / 4;
    uint64_t handled = first.GetHandledCount();
    size_t rendered = 0;
    double cpu = 0, audio = 0;
    for (auto _ : state) {
      double start = ProcessSeconds();
      for (size_t done = 0; done < kFrames; done += kBlock) {
        benchmark::DoNotOptimize(output.Render(kBlock).data());
        rendered += kBlock;
        // Both streams cross one segment start per segment of output, the first at once.
        uint64_t due = handled + (rendered + kFramesPerSegment - 1) / kFramesPerSegment;
        first.WaitHandled(due, 10000);
        second.WaitHandled(due, 10000);
      }
      cpu += ProcessSeconds() - start;
      audio += static_cast<double>(kFrames) / 44100.0;
    }
    state.counters["core_fraction"] = cpu / audio;
  }
  sound.Uninit();
  plat::SetSoundOutput(nullptr);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_MixTenSeconds)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
