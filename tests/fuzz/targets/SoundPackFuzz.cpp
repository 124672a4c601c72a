// Sound packs (".pse"): each entry the directory names, loaded into a sound buffer as sound sets
// load effects and voices. Then what the game does with a sound: played, faded, looped at another
// volume and pan, stopped and rewound, with the mixer running all along.
#include "sound/TDSound8.h"
#include "sound/TSound8.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr size_t kEntries = 8;

void Start() {
  static const bool started = [] {
    fuzz::EnsureSound();
    TDSound8::Get().SetSeFolder("fuzzse/");
    return true;
  }();
  (void)started;
}

}  // namespace

DW_FUZZ_TARGET(sound_pack) {
  Start();
  fuzz::WriteFile("fuzzse/fuzz.pse", data, size);
  for (const std::string& entry : fuzz::PackNames(data, size, kEntries))
    fuzz::Guard([&] { fuzz::PlayThrough(TDSound8::Get().CreateSource("fuzz.pse/" + entry, 0), 1024); });
}
