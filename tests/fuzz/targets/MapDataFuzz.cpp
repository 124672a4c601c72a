// Map data (".pbms"): each map the directory names, opened as a map change opens it: the map read,
// the stage built from it (scenery, collision, camera, sky, objects, villagers and enemies), the
// opening fade run. Then what the game does on a map: a second of play, the hero walking and
// fighting while the world, its enemies and its triggers run.
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr size_t kMaps = 3;
constexpr int kFrames = 60;

}  // namespace

DW_FUZZ_TARGET(map_data) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("data/scr03/fuzz.pbms", data, size);
  for (const std::string& entry : fuzz::PackNames(data, size, kMaps)) game.Play("fuzz.pbms/" + entry, kFrames);
}
