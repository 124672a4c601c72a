// Script packs (".pbsc"): each member the directory names, run as the town runs a map script: a
// trigger the hero stands in fires it within the tick, and a script that asks to go on as an
// interactive event runs tick by tick with the conversation's objects (message window, flags, map
// events, shops), the decide key pressed now and then. The engine's step budget bounds a script
// that never waits.
#include "game/field/TFieldScene.h"
#include "game/field/TStage.h"
#include "game/field/TTrigger.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr size_t kMembers = 4;
constexpr int kFrames = 60;

}  // namespace

DW_FUZZ_TARGET(script_pack) {
  fuzz::Game& game = fuzz::Game::Get();
  fuzz::WriteFile("data/scr03/fuzz.pbsc", data, size);
  for (const std::string& member : fuzz::PackNames(data, size, kMembers)) {
    fuzz::Guard([&] {
      game.Reset();
      TFieldScene* field = game.OpenField("03.pbms/town");
      if (!field || !field->GetStage()) return;
      TBoxTestTriggerRecord everywhere{{-1e4f, -1e4f, -1e4f}, {1e4f, 1e4f, 1e4f}, "fuzz.pbsc/" + member};
      TStage& stage = *field->GetStage();
      stage.AddMapObject(TCountedPtr<TMapObject>(new TBoxTestTrigger(&stage, everywhere)));
      game.Tick(kFrames);
    });
  }
  fuzz::Game::Get().Reset();
}
