// Field-scene tests: the sample game folder, as make-sample-game writes it, as the working folder,
// its folders set and tables loaded as start-up does, a started game window on the headless
// backends with the real device object over a recording renderer and the real sound object over the
// headless output, and field services whose player, enemies, HUD, menu, villagers and scripts are
// doubles that log what the field asks of them.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/field/FieldHud.h"
#include "game/field/FieldServices.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapObject.h"
#include "game/field/TStage.h"
#include "game/field/TVillager.h"
#include "platform/gfx/RecordingRenderer.h"
#include "platform/sound/SoundOutput.h"
#include "tests/game/shell/ShellFixture.h"
#include "tools/datakit/MapDataWriter.h"

namespace fieldscenetest {

using Log = std::vector<std::string>;
using plat::D3DXVECTOR3;

class TestPlayer : public TFieldActor, public TStagePlayer {
 public:
  TestPlayer(int number, uint32_t member, Log& log);
  ~TestPlayer() override;

  TFieldActor& Actor() override { return *this; }
  void Update() override {
    Note("update");
    if (onUpdate) onUpdate();
  }
  bool IsAirborne() override { return false; }
  void TestHits(TFieldActor&) override {}
  void ReceiveHit(THitObject&) override {}
  bool FacesTargetOnHit() override { return false; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  bool IsInvulnerable() const override { return false; }
  void Attach(TStageLinks* stage) override;
  void Detach() override;

  void PlaySe(int32_t id) override { Note("se " + std::to_string(id)); }

  bool IsMenuKeyTriggered() override { return menuKey; }
  bool IsExamineKeyTriggered() override { return examineKey; }
  void UpdateInTown() override { Note("town update"); }
  void SnapToGround() override {}
  void PlaceAt(const D3DXVECTOR3& point, const D3DXVECTOR3& lookAt) override;
  void LoadModel() override { Note("model"); }
  void LoadPlainModel() override { Note("plain model"); }
  void DrawHud() override { Note("hud"); }
  // A new entry only when it was not at a save point before.
  bool EnterSavePoint(int32_t savePointId) override;
  void LeaveSavePoint() override;
  bool IsDeathFinished() const override { return deathFinished; }
  uint32_t GetMember() const override { return member; }
  uint32_t GetWeaponId() const override { return 1000; }
  TPlayerState GetState() const override;
  TPlayerCarry SaveState() const override;
  void RestoreState(const TPlayerCarry& carry) override;

  void Note(const std::string& what) { log.push_back("player " + std::to_string(number) + " " + what); }

  int number;
  uint32_t member;
  bool menuKey = false;
  bool examineKey = false;
  bool deathFinished = false;
  int32_t savePointId = -1;
  std::function<void()> onUpdate;
  std::vector<D3DXVECTOR3> placements;
  Log& log;
};

class TestEnemies : public TStageEnemies {
 public:
  explicit TestEnemies(Log& log) : log(log) { log.push_back("enemies made"); }
  ~TestEnemies() override { log.push_back("enemies gone"); }
  void Update() override { log.push_back("enemies update"); }
  void DrawGauges() override {}
  void ApplyGravity() override {}
  void CheckGround() override {}
  TFieldActor* Find(uint32_t) override { return nullptr; }
  uint32_t GetDefeatedCount() const override { return static_cast<uint32_t>(defeated.size()); }
  bool Contains(uint32_t number) const override {
    return std::find(defeated.begin(), defeated.end(), number) != defeated.end();
  }
  void FindInRadius(const D3DXVECTOR3&, float, int32_t*, uint32_t) const override {}
  Log& log;
  std::vector<uint32_t> defeated;
};

class TestHud : public TFieldHud {
 public:
  explicit TestHud(Log& log) : log(log) {}
  void Refresh(TStagePlayer&) override { log.push_back("hud refresh"); }
  void RefreshForNewPlayer(TStagePlayer&) override { log.push_back("hud new player"); }
  void ResetMessages() override { log.push_back("hud reset"); }
  void PushWait(int32_t updates) override { log.push_back("hud wait " + std::to_string(updates)); }
  void PushText(const std::string& text) override { log.push_back("hud text " + text); }
  void PushItem(uint32_t id) override { log.push_back("hud item " + std::to_string(id)); }
  void PushMoney(uint32_t amount) override { log.push_back("hud money " + std::to_string(amount)); }
  void PushStolenItem(uint32_t id) override { log.push_back("hud stolen item " + std::to_string(id)); }
  void PushStolenMoney(uint32_t amount) override { log.push_back("hud stolen money " + std::to_string(amount)); }
  Log& log;
};

// A map object whose Test gives the next of its results (the last one repeats).
class TestMapObject : public TMapObject {
 public:
  TestMapObject(TStage* stage, std::string name, std::vector<int32_t> results, Log& log)
      : TMapObject(stage), name(std::move(name)), results(std::move(results)), log(log) {}
  int32_t Test() override;
  void OnRemove() override { log.push_back("remove " + name); }

  std::string name;
  std::vector<int32_t> results;
  size_t next = 0;
  Log& log;
};

// A villager that asks to talk when told to; its script is "03.pbsc/" + its name unless given.
class TestVillager : public TVillager {
 public:
  TestVillager(std::string name, bool asks, Log& log, const std::string& script = "");
  void Update() override { log.push_back("update " + name); }
  bool CheckTalk() override;
  bool IsTalking() override { return talking; }
  void EndTalk() override;

  std::string name;
  bool asks;
  bool talking = false;
  Log& log;
};

class TestMapEvent : public TMapEventState {
 public:
  int32_t GetResult() const override { return result; }
  int32_t result = 1;
};

class TestServices : public TFieldServices {
 public:
  explicit TestServices(Log& log) : log(log) {}

  TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) override;
  TCountedPtr<TStageEnemies> CreateEnemyManager(TStage&, const TMapData&) override;
  TCountedPtr<TFieldHud> CreateHud(TFieldScene&) override;
  TScene* CreateFieldMenu(TGameWnd& app, TFieldScene&) override;
  TCountedPtr<TVillager> CreateVillager(const std::string& scriptName) override;
  TScene* CreateGameOver(TGameWnd& app, int32_t musicId) override;
  void CreateScriptEngine() override { log.push_back("engine made"); }
  void DestroyScriptEngine() override { log.push_back("engine gone"); }
  TMapEventState* StartConversation(TFieldScene&, const std::string& scriptName) override;
  TMapEventState* LoadMapScript(TFieldScene&, const std::string& scriptName) override;
  void LoadVillagerScript(VillagerRecord& record) override;
  void EndVillagerScript() override { log.push_back("villager script ends"); }
  uint32_t RunScripts() override;
  void UpdateScriptObjects() override { log.push_back("script objects update"); }
  void DrawScriptObjects() override {}

  Log& log;
  TestPlayer* lastPlayer = nullptr;
  int players = 0;
  // The field menu: a scene that ends on its first tick, unless none is wanted.
  bool offerMenu = true;
  std::function<TCountedPtr<TVillager>(const std::string&)> villagers;
  TestMapEvent mapEvent;
  // What the script engine's runs give in turn; 4 (nothing left) when empty.
  std::deque<uint32_t> runs;
  // Fills the record of a villager script.
  std::function<void(VillagerRecord&)> describeVillager;
  // The music ids the game-over scenes were made with.
  std::vector<int32_t> gameOvers;
};

// The shell's services with the real device and sound objects behind the game window.
class FieldShellServices : public shelltest::LoggingServices {
 public:
  using LoggingServices::LoggingServices;
  TDSound8* Sound() override;
  TD3D8* Device() override;
  // The title that makeTitle makes, when set; the logging services' scene otherwise.
  TScene* CreateTitle(TGameWnd& app) override;
  std::function<TScene*(TGameWnd&)> makeTitle;
};

class FieldSceneFixture : public shelltest::ShellFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The test map pack "t.pbms" beside the sample's "03.pbms": each entry a copy of the sample
  // battle or town map with what the test changes.
  void SaveTestMaps(const datakit::MapDataWriter& maps);
  static datakit::MapHeaderRow BattleHeader(const std::string& music = "field.ogg");
  static datakit::MapHeaderRow TownHeader(const std::string& music = "field.ogg");
  // A battle map on the sample ground: fog, a start point, a chase camera.
  static datakit::MapEntryWriter BattleMap(const std::string& music = "field.ogg");
  static datakit::MapEntryWriter TownMap(const std::string& music = "field.ogg");

  // Makes the field scene current on the game window's scene stack.
  TFieldScene& Open(TFieldScene* scene);
  TFieldScene& OpenMap(const std::string& mapName);
  // Runs one frame of the current scene with exactly one update tick.
  void Tick();
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }
  // Ticks until the opening fade is over and the first stage update has run.
  void FinishOpeningFade();
  bool InMode() const { return field && field->GetMode() != nullptr; }
  size_t CountOf(const std::string& line) const;
  // The log lines from index `from` on.
  Log LogFrom(size_t from) const { return Log(fieldLog.begin() + static_cast<long>(from), fieldLog.end()); }

  Log fieldLog;
  TestServices fieldServices{fieldLog};
  FieldShellServices shell{log};
  plat::HeadlessSoundOutput soundOutput;
  std::shared_ptr<plat::RecordingRenderer> renderer = std::make_shared<plat::RecordingRenderer>();
  TFieldScene* field = nullptr;  // owned by the scene stack
};

}  // namespace fieldscenetest
