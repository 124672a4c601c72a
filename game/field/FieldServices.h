// What the field makes and runs of the subsystems above it: the player character, the enemy
// manager, the HUD, the field menu, the villagers and the script engine of conversations. Start-up
// (or a test) installs the implementation before any field exists.
#pragma once
#include <cstdint>
#include <string>

#include "common/TCountedPtr.h"

class TFieldHud;
class TFieldScene;
class TGameWnd;
class TMapData;
class TScene;
class TStage;
class TStageEnemies;
class TStagePlayer;
class TVillager;
struct VillagerRecord;

// The "MapEvent" object of a conversation, read when its script has ended.
class TMapEventState {
 public:
  virtual int32_t GetResult() const = 0;

 protected:
  ~TMapEventState() = default;
};

class TFieldServices {
 public:
  virtual ~TFieldServices() = default;

  // The player character of the member, for the scene; when the scene holds a player already,
  // that one's values go into the game-progress record first.
  virtual TCountedPtr<TStagePlayer> CreatePlayerChar(TFieldScene& scene, uint32_t member) = 0;
  // The battle map's enemy manager, its first enemies spawned.
  virtual TCountedPtr<TStageEnemies> CreateEnemyManager(TStage& stage, const TMapData& map) = 0;
  virtual TCountedPtr<TFieldHud> CreateHud(TFieldScene& scene) = 0;
  // The field menu, to be shown over the scene; null when there is none.
  virtual TScene* CreateFieldMenu(TGameWnd& app, TFieldScene& scene) = 0;
  // The villager that its script describes; the script engine exists meanwhile. Null for none.
  virtual TCountedPtr<TVillager> CreateVillager(const std::string& scriptName) = 0;
  // The game-over scene, which keeps the music it is handed (the stage's music id, -1 for none).
  virtual TScene* CreateGameOver(TGameWnd& app, int32_t musicId) = 0;

  // The one script engine.
  virtual void CreateScriptEngine() = 0;
  virtual void DestroyScriptEngine() = 0;
  // A new engine with the objects of a conversation ("Text", "Shop", "Flag", "MapEvent"), the
  // script loaded; the "MapEvent" object is returned, or null.
  virtual TMapEventState* StartConversation(TFieldScene& scene, const std::string& scriptName) = 0;
  // A map script run at once: "MapEvent" and "Flag" made anew in the engine, the script loaded
  // and the engine's object wait and hold cleared; the "MapEvent" object is returned, or null.
  virtual TMapEventState* LoadMapScript(TFieldScene& scene, const std::string& scriptName) = 0;
  // A villager's description: a "VillagerInfo" object that fills the record is added, the
  // record's script loaded and the object wait and hold cleared. EndVillagerScript empties the
  // run queue and takes "VillagerInfo" away.
  virtual void LoadVillagerScript(VillagerRecord& record) = 0;
  virtual void EndVillagerScript() = 0;
  // The engine's run for this tick: 3 a script waits, 4 nothing left, 16 stopped.
  virtual uint32_t RunScripts() = 0;
  virtual void UpdateScriptObjects() = 0;
  virtual void DrawScriptObjects() = 0;
};

// The caller keeps the object alive while it is installed; null takes it away, after which
// GetFieldServices throws my_error.
void SetFieldServices(TFieldServices* services);
TFieldServices& GetFieldServices();
