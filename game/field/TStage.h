// One loaded map: built from its map data, it owns the camera and its target frame, the scenery,
// the collision, the placed map objects, the battle map's enemies and the town's villagers, and it
// keeps plain pointers to what the field scene owns (player, "Scene" frame, effects, minimap,
// application, device, sound). The field scene drives it with one Update and one Draw per tick;
// the two stage kinds give those. Objects and effects both see the stage, each through what they
// declare of it; the two share its scene frame and effect manager.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "common/TCountedPtr.h"
#include "common/TFrame8.h"
#include "game/effect/FieldServices.h"
#include "game/field/TCamera.h"
#include "game/field/TCollisionMesh.h"
#include "game/field/TMeshAreaManager.h"
#include "game/field/TStageLinks.h"

class TD3D8;
class TDSound8;
class TFieldActor;
class TFieldScene;
class TGameWnd;
class TMapData;
class TMapObject;
class TMiniMap;
class TStageEnemies;
class TStagePlayer;
class TVillager;

class TStage : public TStageLinks, public TEffectStage {
 public:
  // What the stage kinds make of the walk over the map objects.
  enum WalkResult : int32_t { kCarryOn = 0, kStopTick = 1, kEndField = 2, kScriptRuns = 3 };

  explicit TStage(TFieldScene& scene);
  ~TStage() override;
  TStage(const TStage&) = delete;
  TStage& operator=(const TStage&) = delete;

  // One tick; false when the field scene must end.
  virtual bool Update() = 0;
  // The 2D overlays over the 3D picture.
  virtual void Draw() = 0;
  // Readies a rebuilt player for the stage kind.
  virtual void SetupPlayer() = 0;
  // Tests the active map objects in order, dropping the inactive ones; a result of 10000 or more
  // stops the walk and is mapped to a WalkResult.
  virtual int32_t UpdateMapObjects();
  // Updates the villagers; true when one was chosen to be talked to (the first that asks). None is
  // chosen while a talk or a map script runs.
  virtual bool UpdateObjects();
  virtual void ApplyObjectsGravity();
  virtual void UpdateObjectShadows();
  virtual void AddMapObject(const TCountedPtr<TMapObject>& object);
  // Keeps the villager and attaches it to this stage.
  virtual void AddObject(const TCountedPtr<TVillager>& object);
  virtual TStagePlayer* SetPlayer(TStagePlayer* newPlayer);

  // The stage build: the projection, fog, camera, scenery, collision, the player placed, the
  // enemies or villagers, the music and the area title. A map whose camera cannot be built (a
  // camera type other than 16 or 32, a rail of fewer than two points) throws my_error naming it.
  void Load(const TMapData& map);

  // The player when the id is the player's, else the live enemy of the id, else null.
  TFieldActor* FindActor(uint32_t id) override;
  // The same actor as effects see it.
  TEffectActor* FindActor(int32_t id) override;
  // Shows the field menu over the scene; the tick's picture is not drawn. False when there is no
  // menu to show.
  bool OpenFieldMenu();

  TFrame8* GetSceneFrame() override { return sceneFrame; }
  TFrame8* GetRootFrame() override;
  TCollisionMesh* GetCollision() override { return &collision; }
  TEffectManager* GetEffectManager() override { return effectManager; }
  TCamera* GetCamera() override { return camera.Get(); }
  TEffectStage* GetEffectStage() override { return this; }
  TFrame8* GetViewFrame() override;
  TFrame8* GetCameraTarget() const { return cameraTarget.Get(); }
  TFieldScene& GetScene() const { return scene; }
  TStagePlayer* GetPlayer() const { return player; }
  TStageEnemies* GetEnemyManager() const override { return enemyManager.Get(); }
  TMeshAreaManager& GetMeshAreas() { return meshAreas; }
  int32_t GetMusicId() const { return musicId; }
  // The name of the map the stage was built from ("03.pbms/town").
  const std::string& GetMapName() const { return mapName; }
  uint32_t GetFogColour() const { return fogColour; }
  uint32_t GetClearColour() const { return clearColour; }
  bool IsTalking() const { return talking != 0; }
  bool IsEventRunning() const override { return talking != 0 || talkTarget; }
  TVillager* GetTalkTarget() const { return talkTarget.Get(); }
  const std::list<TCountedPtr<TMapObject>>& GetMapObjects() const { return mapObjects; }
  const std::vector<TCountedPtr<TVillager>>& GetObjects() const { return objects; }

 protected:
  // The per-tick chain that both kinds end with: the camera target onto the player, the camera,
  // the scenery, the effects and the minimap.
  void UpdateView();
  // The player's gravity (unless skipped), the collision passes, the ground and the shadows.
  void RunPhysics(bool playerGravity, bool withVillagers);
  void EndTalk();
  void SetTalking(bool on) { talking = on ? 1 : 0; }

  TStagePlayer* player;
  TCountedPtr<TStageEnemies> enemyManager;

 private:
  void LoadView(const TMapData& map);
  void LoadCamera(const TMapData& map);
  void LoadScenery(const TMapData& map);
  void PlaceVillagers(const TMapData& map);
  void StartMusic(const TMapData& map);
  // At the point plus 0.02 to 0.05 along +z and +x, facing the direction; the camera reset onto it.
  void PlacePlayer(const plat::D3DXVECTOR3& point, const plat::D3DXVECTOR3& facing,
                   const plat::D3DXVECTOR3& cameraPosition);

  int32_t musicId = -1;
  std::string mapName;
  uint32_t fogColour = 0xFFFFFFFF;
  uint32_t clearColour = 0xFFFFFFFF;
  TCountedPtr<TCamera> camera;
  TCountedPtr<TFrame8> cameraTarget;
  TMeshAreaManager meshAreas;
  TCollisionMesh collision;
  std::list<TCountedPtr<TMapObject>> mapObjects;
  std::vector<TCountedPtr<TVillager>> objects;
  TCountedPtr<TVillager> talkTarget;
  uint8_t talking = 0;
  TFrame8* sceneFrame;
  TEffectManager* effectManager;
  TMiniMap* miniMap;
  TGameWnd& application;
  TD3D8* device;
  TDSound8* sound;
  TFieldScene& scene;
};
