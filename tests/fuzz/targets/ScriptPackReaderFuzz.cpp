// Script packs (".pbsc") through their reader alone: each member the directory names loaded as a
// trigger loads its script, the token lines read and built into linked statements, then dropped
// from the queue unrun. Nothing is played.
#include "game/script/TScriptEngine.h"
#include "tests/fuzz/FuzzGame.h"
#include "tests/fuzz/FuzzHarness.h"

namespace script_pack_reader_fuzz {

constexpr size_t kMembers = 4;

TScriptEngine& Engine() {
  fuzz::Game::Get();
  if (!TScriptEngine::Get()) TScriptEngine::Create();
  return *TScriptEngine::Get();
}

}  // namespace script_pack_reader_fuzz

DW_FUZZ_TARGET(script_pack_reader) {
  TScriptEngine& engine = script_pack_reader_fuzz::Engine();
  fuzz::WriteFile("data/scr03/fuzz.pbsc", data, size);
  for (const std::string& member : fuzz::PackNames(data, size, script_pack_reader_fuzz::kMembers))
    fuzz::Guard([&] { engine.LoadScript("fuzz.pbsc/" + member); });
  engine.ClearQueue();
}
