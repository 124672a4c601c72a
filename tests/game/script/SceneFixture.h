// The scripts' scenes (the scene change, the events) and objects on a started game window over the
// sample game folder: the field-scene fixture with the script folder set, the chapter's globals, a
// new game's record and a save folder, the B button at hand.
#pragma once
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "game/data/GameGlobals.h"
#include "game/data/TGameData.h"
#include "game/script/TScriptEngine.h"
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/field/FieldSceneFixture.h"
#include "tools/datakit/ScriptPackWriter.h"

namespace scenetest {

class SceneFixture : public fieldscenetest::FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    TScriptEngine::SetFolder("data/scr03/");
    SetChapterNo(3);
    SetLevelCap(44);
    SetGoldCap(800000);
    std::filesystem::create_directories("save");
    SetSaveFolder("save/");
    TGameData::Instance()->NewGame();
    // Past the input's first ticks, which report nothing, so that a button held counts at once.
    for (int i = 0; i < 5; ++i) app->GetInput()->Update();
  }
  void TearDown() override {
    plat::SetKeyDown('X', false);
    field = nullptr;
    if (app) app->ClearScenes();
    TScriptEngine::Destroy();
    TScriptEngine::SetFolder("");
    SetSaveFolder("");
    FieldSceneFixture::TearDown();
  }

  // Nothing on the scene stack, so that what a test queues first is current at once.
  void EmptyStack() {
    field = nullptr;
    app->ClearScenes();
  }
  void HoldB(bool held) { plat::SetKeyDown('X', held); }
  template <class T>
  T* Current() const {
    return dynamic_cast<T*>(app->GetCurrentScene());
  }
  static TSoundSet8& Set(int32_t id) { return *TDSound8::Get().Find(id); }
  static uint32_t MusicCount(int32_t id) { return Set(2).GetCount(id); }
  // "03.pbsc" holds these members only.
  static void Scripts(const std::vector<std::pair<std::string, std::string>>& members) {
    datakit::ScriptPackWriter pack;
    for (const auto& [name, text] : members) pack.Script(name, text);
    pack.Save("data/scr03/03.pbsc");
  }
  static int32_t Global(const std::string& name) {
    return TScriptEngine::Get() ? TScriptEngine::Get()->Globals().GetInt(name, 0) : 0;
  }
  // Ticks while the test holds and at most `limit` times; the ticks it took.
  template <class F>
  int TickWhile(F holds, int limit) {
    int n = 0;
    while (n < limit && holds()) {
      Tick();
      ++n;
    }
    return n;
  }
};

}  // namespace scenetest
