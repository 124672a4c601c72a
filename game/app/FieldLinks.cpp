#include "game/app/FieldLinks.h"

#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/TFieldScene.h"
#include "game/field/TVillager.h"
#include "game/field/VillagerRecord.h"
#include "game/script/TMapEventObject.h"
#include "game/script/TMessageWindow.h"
#include "game/script/TPBFlag.h"
#include "game/script/TScriptEngine.h"
#include "game/script/TShopObject.h"
#include "game/script/TVillagerInfo.h"
#include "game/shell/TGameWnd.h"
#include "game/ui/TDie.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TFieldMenuLink.h"

namespace field_links {
namespace {

TScriptEngine& Engine() { return *TScriptEngine::Get(); }

// A script starts with the engine neither waiting for an object nor held.
void ReleaseWaits(TScriptEngine& engine) {
  TScriptEngine::SetObjectWait(false);
  engine.SetHolding(false);
}

class TGameFieldServices : public TFieldServices {
 public:
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override {
    return ::CreatePlayerChar(scene, member);
  }
  TCountedPtr<TFieldHud> CreateHud(TFieldScene&) override { return TCountedPtr<TFieldHud>(new TFieldHudParts); }
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override {
    return TCountedPtr<TStageEnemies>(new TEnemyManager(stage, map));
  }
  TScene* CreateFieldMenu(TGameWnd& app, TFieldScene& scene) override { return ::CreateFieldMenu(app, scene); }
  TScene* CreateGameOver(TGameWnd& app, int32_t musicId) override { return new TDie(app, musicId); }
  TCountedPtr<TVillager> CreateVillager(const std::string& scriptName) override {
    return TCountedPtr<TVillager>(new TVillager(VillagerRecord(scriptName)));
  }
  void CreateScriptEngine() override { TScriptEngine::Create(); }
  void DestroyScriptEngine() override { TScriptEngine::Destroy(); }
  TMapEventState* StartConversation(TFieldScene& scene, const std::string& scriptName) override {
    TScriptEngine::Create();
    TScriptEngine& engine = Engine();
    engine.AddObject(new TMessageWindow(scene.GetApp().GetInput()));
    engine.AddObject(new TPBFlag(&scene.GetApp()));
    auto* mapEvent = new TMapEventObject(scene.GetApp(), scene);
    engine.AddObject(mapEvent);
    engine.AddObject(new TShopObject(scene.GetApp(), &scene));
    engine.LoadScript(scriptName);
    ReleaseWaits(engine);
    return mapEvent;
  }
  TMapEventState* LoadMapScript(TFieldScene& scene, const std::string& scriptName) override {
    TScriptEngine& engine = Engine();
    auto* mapEvent = new TMapEventObject(scene.GetApp(), scene);
    engine.ReplaceObject(TCountedPtr<TScriptObject>(mapEvent));
    engine.ReplaceObject(TCountedPtr<TScriptObject>(new TPBFlag(&scene.GetApp())));
    engine.LoadScript(scriptName);
    ReleaseWaits(engine);
    return mapEvent;
  }
  void LoadVillagerScript(VillagerRecord& record) override {
    TScriptEngine& engine = Engine();
    engine.LoadScript(record.scriptName);
    engine.AddObject(new TVillagerInfo(&record));
    ReleaseWaits(engine);
  }
  void EndVillagerScript() override {
    TScriptEngine& engine = Engine();
    engine.ClearQueue();
    engine.RemoveObject("VillagerInfo");
  }
  uint32_t RunScripts() override {
    TScriptEngine* engine = TScriptEngine::Get();
    return engine ? engine->Run() : TScriptEngine::kFinished;
  }
  void UpdateScriptObjects() override {
    if (TScriptEngine* engine = TScriptEngine::Get()) engine->UpdateObjects();
  }
  void DrawScriptObjects() override {
    if (TScriptEngine* engine = TScriptEngine::Get()) engine->DrawObjects();
  }
};

}  // namespace

TFieldServices& FieldServices() {
  static TGameFieldServices services;
  return services;
}

}  // namespace field_links
