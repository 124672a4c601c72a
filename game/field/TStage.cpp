#include "game/field/TStage.h"

#include "common/CRand.h"
#include "common/TD3D8.h"
#include "common/TFrame8.h"
#include "common/TTexture8.h"
#include "common/TView8.h"
#include "common/my_error.h"
#include "game/data/TGameData.h"
#include "game/effect/ActorServices.h"
#include "game/effect/TEffectManager.h"
#include "game/effect/TimeStopState.h"
#include "game/field/FieldFolders.h"
#include "game/field/FieldHud.h"
#include "game/field/FieldServices.h"
#include "game/field/PlacedMesh.h"
#include "game/field/StageEnemies.h"
#include "game/field/StagePlayer.h"
#include "game/field/TFieldActor.h"
#include "game/field/TFieldScene.h"
#include "game/field/THitTable.h"
#include "game/field/TMapData.h"
#include "game/field/TMapObject.h"
#include "game/field/TMiniMap.h"
#include "game/field/TVillager.h"
#include "game/shell/TGameWnd.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"

using plat::D3DXMATRIX;
using plat::D3DXVECTOR3;

namespace {

constexpr int32_t kMusicSet = 2;
constexpr uint32_t kChaseCamera = 16;
constexpr uint32_t kRailCamera = 32;
constexpr uint32_t kCameraSettleSteps = 100;
// The area title shows once the fade has opened.
constexpr int32_t kTitleWait = 25;
// Without fog the device keeps this range, off.
constexpr float kNoFogStart = 100.0f, kNoFogEnd = 200.0f;
constexpr uint32_t kWhite = 0xFFFFFFFF;

D3DXVECTOR3 PositionOf(const TFrame8& frame) {
  D3DXVECTOR3 p;
  return *frame.GetPosition(&p);
}

// 0.02 to 0.05, from the C library's generator.
float Jitter() { return static_cast<float>(CRand::Shared().Next()) / CRand::kMax * 0.03f + 0.02f; }

[[noreturn]] void RefuseMap(const TMapData& map, const std::string& reason, int line) {
  throw my_error("map \"" + map.GetMapName() + "\": " + reason, __FILE__, line);
}

// Destroys the script engine when the villagers are placed, or when one of them fails.
struct ScriptEngineScope {
  ScriptEngineScope() { GetFieldServices().CreateScriptEngine(); }
  ~ScriptEngineScope() { GetFieldServices().DestroyScriptEngine(); }
  ScriptEngineScope(const ScriptEngineScope&) = delete;
  ScriptEngineScope& operator=(const ScriptEngineScope&) = delete;
};

}  // namespace

TStage::TStage(TFieldScene& s)
    : player(s.GetPlayer()),
      cameraTarget(CreateNamedFrame("CameraTarget", IdentityMatrix())),
      sceneFrame(s.GetSceneFrame()),
      effectManager(s.GetEffectManager()),
      miniMap(s.GetMiniMap()),
      application(s.GetApp()),
      device(s.GetApp().GetD3D()),
      sound(s.GetApp().GetSound()),
      scene(s) {}

TStage::~TStage() {
  if (player) player->Actor().Detach();
  player = nullptr;
  if (effectManager) effectManager->Clear();
  effectManager = nullptr;
  enemyManager.Reset();
  // The time stop does not outlive its stage: time runs again and the board goes with the view.
  TimeStopState::Get().ReleaseBoard();
  mapObjects.clear();
  objects.clear();
  collision.ClearRegistries();
  meshAreas.Clear();
  camera.Reset();
  if (sceneFrame) {
    sceneFrame->RemoveMeshes();
    sceneFrame->RemoveChildren();
  }
  TTexture8::Purge(2);
  if (musicId != -1 && sound)
    if (TCountedPtr<TSoundSet8> music = sound->Find(kMusicSet)) music->Unload(musicId);
}

void TStage::Load(const TMapData& map) {
  mapName = map.GetMapName();
  const bool battle = map.GetKind() == 1;
  if (battle) THitTable::Load("basic.bht");
  LoadView(map);
  LoadCamera(map);
  LoadScenery(map);

  const TMapStart& start = map.GetMapStart();
  if (start.present) PlacePlayer(start.position, start.facing, start.camera);
  if (battle) enemyManager = GetFieldServices().CreateEnemyManager(*this, map);
  if (player) player->Actor().Attach(this);
  if (!battle && player) player->LoadPlainModel();
  map.PlaceObjects(*this);
  if (!battle) PlaceVillagers(map);
  if (map.HasStartTransform()) PlacePlayer(map.GetStartPosition(), map.GetStartFacing(), map.GetStartCamera());

  StartMusic(map);
  if (TFieldHud* hud = scene.GetHud()) {
    hud->ResetMessages();
    hud->PushWait(kTitleWait);
    hud->PushText(map.GetHeader().areaTitle);
  }
  meshAreas.Update(PositionOf(*cameraTarget));
  if (TGameData* data = TGameData::Instance()) data->UpdateMasteryFlags();
  scene.Resume();
}

void TStage::LoadView(const TMapData& map) {
  const TMapView& v = map.GetView();
  // The back buffer is the device builder's screen size; a device not made yet counts as 640x480.
  const int32_t width = device && device->GetWidth() ? static_cast<int32_t>(device->GetWidth()) : 640;
  const int32_t height = device && device->GetHeight() ? static_cast<int32_t>(device->GetHeight()) : 480;
  scene.GetView()->SetProjection(v.nearClip, v.farClip, v.fieldOfView, width, height);
  if (miniMap) miniMap->Load(map.GetMiniMapName());

  const TMapFog& fog = map.GetFog();
  if (fog.present) {
    if (device) device->SetFog(true, fog.start, fog.end, fog.color);
    fogColour = clearColour = fog.color;
  } else if (device) {
    device->SetFog(false, kNoFogStart, kNoFogEnd, kWhite);
  }
}

void TStage::LoadCamera(const TMapData& map) {
  const uint32_t type = map.GetCameraSetting().mode;
  if (type != kChaseCamera && type != kRailCamera)
    RefuseMap(map, "camera type " + std::to_string(type) + " builds no camera", __LINE__);
  if (type == kRailCamera && map.GetCameraPoints().size() < 2)
    RefuseMap(map, "a rail camera needs two camera points", __LINE__);
  camera = CreateMapCamera(map, scene.GetView(), sceneFrame, cameraTarget.Get());
  CreateMapSky(*camera, map);
}

void TStage::LoadScenery(const TMapData& map) {
  const TMapHeader& header = map.GetHeader();
  meshAreas.Load(GetMapFolder() + header.baseName, header.cellWidth, header.cellDepth, sceneFrame, "TMeshAreaManager");
  map.BuildMeshAreas(meshAreas);
  collision.Load(GetMapFolder() + "_" + header.baseName, header.CollisionCellSizeX(), header.CollisionCellSizeZ());
  for (const TMeshPiece& piece : map.GetCollisionPieces()) {
    TMesh8 mesh = LoadCollisionPiece(piece);
    collision.AddPart(mesh);
  }
}

void TStage::PlaceVillagers(const TMapData& map) {
  ScriptEngineScope engine;
  for (const std::string& script : map.GetNames())
    if (TCountedPtr<TVillager> villager = GetFieldServices().CreateVillager(script)) AddObject(villager);
}

void TStage::StartMusic(const TMapData& map) {
  TCountedPtr<TSoundSet8> music = sound ? sound->Find(kMusicSet) : TCountedPtr<TSoundSet8>();
  if (!music) return;
  musicId = music->FindId(map.GetHeader().musicName);
  if (musicId == -1) return;
  music->Load(musicId);
  if (map.GetKeepMusic()) return;
  music->SetVolume(music->GetMaxVolume());
  music->PlayLoop(musicId);
}

void TStage::PlacePlayer(const D3DXVECTOR3& point, const D3DXVECTOR3& facing, const D3DXVECTOR3& cameraPosition) {
  D3DXVECTOR3 at = point;
  at.z += Jitter();
  at.x += Jitter();
  if (player) player->PlaceAt(at, facing);
  if (camera) camera->Reset(cameraPosition, at, kCameraSettleSteps);
}

TFieldActor* TStage::FindActor(uint32_t id) {
  if (player && player->Actor().GetObjectId() == id) return &player->Actor();
  return enemyManager ? enemyManager->Find(id) : nullptr;
}

TEffectActor* TStage::FindActor(int32_t id) {
  return dynamic_cast<TEffectActor*>(FindActor(static_cast<uint32_t>(id)));
}

TFrame8* TStage::GetViewFrame() { return camera ? camera->GetFrame() : nullptr; }

// Flat effects turn toward this frame: the camera's, so that they face the view wherever they are.
TFrame8* TStage::GetRootFrame() { return camera ? camera->GetFrame() : sceneFrame; }

bool TStage::OpenFieldMenu() {
  TScene* menu = GetFieldServices().CreateFieldMenu(application, scene);
  if (!menu) return false;
  application.SetScene(menu);
  scene.SkipNextDraw();
  return true;
}

int32_t TStage::UpdateMapObjects() {
  for (auto it = mapObjects.begin(); it != mapObjects.end();) {
    TMapObject& object = **it;
    if (!object.IsActive()) {
      object.OnRemove();
      it = mapObjects.erase(it);
      continue;
    }
    const int32_t result = object.Test();
    if (result >= kMapObjectStop) {
      switch (result) {
        case kMapChangeStarted: return kStopTick;
        case kFieldEndsA:
        case kFieldEndsB:
        case kFieldEndsC: return kEndField;
        case kScriptStarted: return kScriptRuns;
        default: return kCarryOn;
      }
    }
    ++it;
  }
  return kCarryOn;
}

// While a talk runs nobody else is asked: a second choice would take the first one's end of talk
// and leave it talking.
bool TStage::UpdateObjects() {
  const bool busy = IsEventRunning();
  bool chosen = false;
  for (const TCountedPtr<TVillager>& object : objects) {
    object->Update();
    if (busy || chosen || object->IsTalking() || !object->CheckTalk()) continue;
    talkTarget = object;
    talking = 1;
    chosen = true;
  }
  return chosen;
}

void TStage::ApplyObjectsGravity() {
  for (const TCountedPtr<TVillager>& object : objects) object->ApplyGravity();
}

void TStage::UpdateObjectShadows() {
  for (const TCountedPtr<TVillager>& object : objects) object->UpdateShadow();
}

void TStage::AddMapObject(const TCountedPtr<TMapObject>& object) {
  if (object) mapObjects.push_back(object);
}

void TStage::AddObject(const TCountedPtr<TVillager>& object) {
  if (!object) return;
  objects.push_back(object);
  object->Attach(this);
}

TStagePlayer* TStage::SetPlayer(TStagePlayer* newPlayer) {
  player = newPlayer;
  return player;
}

void TStage::UpdateView() {
  if (player) cameraTarget->SetMatrix(*player->Actor().GetFrame()->GetMatrix());
  if (camera) camera->Update();
  meshAreas.Update(PositionOf(*cameraTarget));
  if (effectManager) effectManager->Update();
  if (miniMap && player) miniMap->Update(player->Actor());
}

void TStage::RunPhysics(bool playerGravity, bool withVillagers) {
  if (player && playerGravity) player->Actor().ApplyGravity();
  if (withVillagers) ApplyObjectsGravity();
  if (enemyManager) enemyManager->ApplyGravity();
  collision.SeparateObjects();
  collision.CollideObjects();
  collision.CollideObjectsWithParts();
  if (player) {
    player->SnapToGround();
    player->Actor().UpdateShadow();
  }
  if (withVillagers) UpdateObjectShadows();
  if (enemyManager) enemyManager->CheckGround();
}

void TStage::EndTalk() {
  if (talkTarget) talkTarget->EndTalk();
  talkTarget.Reset();
  talking = 0;
}
