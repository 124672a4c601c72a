// Table files (".tbl") through every reader of the format: the names of a sound set, the ids of a
// sound list and of the character tables. Then what the game does with them: the set's sounds
// loaded through the list and played, the experience entry looked up for every level difference.
#include "game/actor/CharTables.h"
#include "sound/TDSound8.h"
#include "sound/TSoundList8.h"
#include "sound/TSoundSet8.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleSound.h"

namespace {

constexpr int32_t kSet = 0;
constexpr size_t kPlayed = 8;

void Start() {
  static const bool started = [] {
    datakit::WriteSampleSound(fuzz::Folder() + "/");
    TDSound8::Get().SetSeFolder("data/se03/");
    fuzz::EnsureSound();
    return true;
  }();
  (void)started;
}

}  // namespace

DW_FUZZ_TARGET(tables) {
  Start();
  const std::string path = "data/tbl03/fuzz.tbl";
  fuzz::WriteFile(path, data, size);
  fuzz::Guard([&] {
    TDSound8& sound = TDSound8::Get();
    sound.LoadSet(path, "se.pse/", kSet, -10000, 0);
    TCountedPtr<TSoundSet8> set = sound.Find(kSet);
    {
      TSoundList8 list(set, path);
      for (size_t i = 0; i < list.GetIds().size() && i < kPlayed; ++i) set->Play(static_cast<int32_t>(list.GetIds()[i]));
      fuzz::Mix(2048);
    }
    sound.PurgeUnused();

    const std::vector<uint32_t> experience = ReadCharTable(path);
    uint64_t sum = 0;
    for (int64_t difference = -kLastLevelEntry; difference <= kLastLevelEntry; ++difference)
      sum += CharTableEntry(experience, difference);
    (void)sum;
  });
}
