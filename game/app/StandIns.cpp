#include "game/app/StandIns.h"

#include <optional>

#include "common/TD3D8.h"
#include "common/TFontObject.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "common/my_error.h"
#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/FieldStandIns.h"
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
#include "game/shell/TInput.h"
#include "game/shell/TStateScene.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TFieldMenuLink.h"

namespace standin {
namespace {

// "ＭＳ ゴシック"
constexpr const char* kGothic = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

class TTitleStandIn : public TStateScene {
 public:
  explicit TTitleStandIn(TGameWnd& app) : TStateScene(app), font(0, 24, kGothic, 700, 0, 0, 0, 0) {
    SetDraw(&TTitleStandIn::Paint);
    // A game folder without the pack, or a device without a 16-bit format, shows the colour alone.
    try {
      panel = LoadSprite("sprite.ptx/window21", plat::D3DPOOL_MANAGED, 0);
      name.emplace("title", 128, 32, 255, 255, 255, plat::D3DPOOL_MANAGED, 0);
      name->DrawString(6, 2, "Duskwheel", font, true);
    } catch (const my_error&) {
    }
  }

 private:
  void Paint() {
    if (!d3d || !d3d->CheckDevice()) return;
    TD3D8::Clear(0xFF30486C, plat::D3DCLEAR_TARGET, 1.0f, 0, 0, nullptr);
    if (TD3D8::BeginScene() < 0) return;
    TSprite8::SetBlendMode(1);
    panel.DrawAt(256, 208, false);
    if (name) {
      TSprite8::SetBlendMode(3);  // the text's black ground adds nothing
      name->DrawAt(256, 224, false);
    }
    TD3D8::EndScene();
    d3d->Present();
  }

  TSprite8 panel;
  TFontObject font;
  std::optional<TText8> name;
};

TScriptEngine& Engine() { return *TScriptEngine::Get(); }

// A script starts with the engine neither waiting for an object nor held.
void ReleaseWaits(TScriptEngine& engine) {
  TScriptEngine::SetObjectWait(false);
  engine.SetHolding(false);
}

class TFieldServicesStandIn : public TFieldStandIns {
 public:
  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override {
    return ::CreatePlayerChar(scene, member);
  }
  TCountedPtr<TFieldHud> CreateHud(TFieldScene&) override { return TCountedPtr<TFieldHud>(new TFieldHudParts); }
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) override {
    return TCountedPtr<TStageEnemies>(new TEnemyManager(stage, map));
  }
  TScene* CreateFieldMenu(TGameWnd& app, TFieldScene& scene) override { return ::CreateFieldMenu(app, scene); }
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
  static TFieldServicesStandIn services;
  return services;
}

TScene* CreateTitle(TGameWnd& app) { return new TTitleStandIn(app); }

}  // namespace standin
