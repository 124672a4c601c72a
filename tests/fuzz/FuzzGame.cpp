#include "tests/fuzz/FuzzGame.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

#include "game/app/GameServices.h"
#include "game/data/TGameData.h"
#include "game/field/TFieldScene.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TStateScene.h"
#include "game/shell/WinMain.h"
#include "platform/core/Path.h"
#include "platform/window/InputState.h"
#include "tests/fuzz/FuzzHarness.h"
#include "tools/datakit/SampleGame.h"

namespace fuzz {

Game& Game::Get() {
  static Game* game = new Game;
  return *game;
}

Game::Game() {
  // A folder below the fuzz folder, so that the saves of earlier chapters ("../Duskwheel02/save/")
  // lie inside it too.
  const std::string folder = Folder() + "/Duskwheel03";
  datakit::WriteSampleGame(folder + "/");
  if (::chdir(folder.c_str()) != 0) std::abort();
  plat::SetModuleFileNameOverride(folder + "/duskwheel");
  // The game's meshes are the sample's; the mesh and frame targets run their vertices.
  Renderer().SetResolveVertices(false);
  app = new TGameWnd(GameWindowParams(nullptr), 101, 104, DefaultShellServices());
  app->CreateWnd();
  app->Initialize();
}

void Game::Tick(int frames) {
  for (int i = 0; i < frames; ++i) {
    TScene* scene = app->GetCurrentScene();
    if (!scene) return;
    // A whole millisecond past the tick's end, so that rounding never leaves it short.
    plat::DWORD due = plat::timeGetTime() + 17;
    if (auto* state = dynamic_cast<TStateScene*>(scene))
      due = static_cast<plat::DWORD>(std::floor(state->GetTimer().baseTime + state->GetTimer().tickLength)) + 1;
    Clock().Set(std::max(due, plat::timeGetTime()));
    ++frame;
    plat::SetKeyDown('Z', frame % 8 == 0);
    plat::SetKeyDown('X', frame % 13 == 0);
    // Walks a little square now and then.
    const int leg = frame / 40 % 8;
    plat::SetKeyDown(plat::VK_UP, leg == 1);
    plat::SetKeyDown(plat::VK_LEFT, leg == 3);
    plat::SetKeyDown(plat::VK_DOWN, leg == 5);
    plat::SetKeyDown(plat::VK_RIGHT, leg == 7);
    if (!app->Frame()) return;
  }
}

void Game::Reset() {
  plat::ReleaseAllKeys();
  frame = 0;
  app->ClearScenes();
  TScriptEngine::Destroy();
  TGameData::Instance()->NewGame();
  ForgetRecords();
}

TFieldScene* Game::OpenField(const std::string& mapName) {
  auto* field = TFieldScene::CreateForMap(*app, mapName, nullptr, nullptr, nullptr);
  app->SetScene(field);
  for (int i = 0; i < TFieldScene::kOpeningFadeFrames + 2 && app->GetCurrentScene() == field && field->GetMode(); ++i)
    Tick(1);
  return app->GetCurrentScene() == field ? field : nullptr;
}

void Game::Play(const std::string& mapName, int frames) {
  Guard([&] {
    Reset();
    if (OpenField(mapName)) Tick(frames);
  });
  Reset();
}

}  // namespace fuzz
