// Map data (".pbms") through its reader alone: each map the directory names read as a map change
// reads it, then refused as the stage build refuses a map of an unknown kind. Nothing is built or
// played, so the reader's own faults are reached many times faster than in "map_data".
#include "game/field/TMapData.h"
#include "game/field/TStageHolder.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace map_data_reader_fuzz {

constexpr size_t kMaps = 3;

}  // namespace map_data_reader_fuzz

DW_FUZZ_TARGET(map_data_reader) {
  fuzz::Game::Get();
  fuzz::WriteFile("data/scr03/fuzz.pbms", data, size);
  for (const std::string& entry : fuzz::PackNames(data, size, map_data_reader_fuzz::kMaps))
    fuzz::Guard([&] { TStageHolder::CheckKind(TMapData("fuzz.pbms/" + entry)); });
}
