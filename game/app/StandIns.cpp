#include "game/app/StandIns.h"

#include <optional>

#include "common/TD3D8.h"
#include "common/TFontObject.h"
#include "common/TSprite8.h"
#include "common/TText8.h"
#include "common/my_error.h"
#include "game/actor/TPlayerChar.h"
#include "game/actor/TPlayerFactory.h"
#include "game/app/GameServices.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/FieldStandIns.h"
#include "game/field/TEventArea.h"
#include "game/field/TFieldScene.h"
#include "game/field/TVillager.h"
#include "game/field/VillagerRecord.h"
#include "game/script/ScriptNumber.h"
#include "game/script/TMessageWindow.h"
#include "game/script/TPBFlag.h"
#include "game/script/TScriptEngine.h"
#include "game/script/TVillagerInfo.h"
#include "game/shell/TGameWnd.h"
#include "game/shell/TInput.h"
#include "game/shell/TStateScene.h"
#include "game/ui/TFieldHudParts.h"
#include "game/ui/TFieldMenuLink.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

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

// "MapEvent" until the scene changes are built: the map change (op 0) and the interactive event
// (op 3). Its result word is 1 unless one of them set it.
class TMapEventStandIn : public TScriptObject, public TMapEventState {
 public:
  static constexpr uint32_t kMapChange = 0, kInteractive = 3;
  static constexpr uint32_t kGameOver = 1, kEventScene = 2, kFaceVariant = 4;

  explicit TMapEventStandIn(TFieldScene& scene) : TScriptObject("MapEvent"), stage(scene.GetStage()) {}

  uint32_t Dispatch(uint32_t op, const TScriptArgs& args, const TScriptArgTypes&) override {
    exitCode = kNothingHappened;
    switch (op) {
      case kMapChange: ChangeMap(args); return kHold;
      case kInteractive: exitCode = kScriptStarted; return kHold;
      case kGameOver:
      case kEventScene:
      case kFaceVariant: return kDone;
      default: return kHold;
    }
  }
  void Update() override {}
  void Draw() override {}
  int32_t GetResult() const override { return exitCode; }

 private:
  static float Real(const TScriptArgs& args, size_t i) {
    return scriptnum::ScanFloat(ArgText(args, i)).value_or(0.0f);
  }
  static plat::D3DXVECTOR3 Point(const TScriptArgs& args, size_t first) {
    return plat::D3DXVECTOR3(Real(args, first), Real(args, first + 1), Real(args, first + 2));
  }

  // A circle of radius 0 at the origin carries the destination, as a map's own exits do; a kind that
  // makes no transition changes nothing.
  void ChangeMap(const TScriptArgs& args) {
    if (!stage) return;
    TCircleExitRecord exit;
    exit.target.startPosition = Point(args, 0);
    exit.target.startFacing = Point(args, 3);
    exit.target.startCamera = Point(args, 6);
    exit.target.transitionKind = scriptnum::ScanUnsigned(ArgText(args, 9)).value_or(0);
    exit.target.destination = ArgText(args, 10);
    TCircleArea area(stage, exit);
    exitCode = area.StartTransition();
  }

  TStage* stage;
  int32_t exitCode = kNothingHappened;
};

// "Shop" until the shops are built: it opens nothing and the script goes on.
class TShopStandIn : public TScriptObject {
 public:
  TShopStandIn() : TScriptObject("Shop") {}
  uint32_t Dispatch(uint32_t, const TScriptArgs&, const TScriptArgTypes&) override { return kDone; }
  void Update() override {}
  void Draw() override {}
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
    auto* mapEvent = new TMapEventStandIn(scene);
    engine.AddObject(mapEvent);
    engine.AddObject(new TShopStandIn);
    engine.LoadScript(scriptName);
    ReleaseWaits(engine);
    return mapEvent;
  }
  TMapEventState* LoadMapScript(TFieldScene& scene, const std::string& scriptName) override {
    TScriptEngine& engine = Engine();
    auto* mapEvent = new TMapEventStandIn(scene);
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

TScene* CreateTitleChange(TGameWnd& app, int32_t musicId) {
  if (musicId != -1)
    if (TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2)) music->Unload(musicId);
  return DefaultShellServices().CreateTitle(app);
}

}  // namespace standin
