#include "game/field/TMapData.h"

#include <cstring>

#include "common/TFile.h"
#include "common/my_error.h"
#include "game/field/FieldFolders.h"
#include "game/field/PlacedMesh.h"
#include "game/field/TCondition.h"
#include "game/field/TDeathWatch.h"
#include "game/field/TEventArea.h"
#include "game/field/TMapItem.h"
#include "game/field/TMeshAreaManager.h"
#include "game/field/TSavePoint.h"
#include "game/field/TStage.h"
#include "game/field/TTrigger.h"
#include "game/shell/ViewScale.h"
#include "platform/core/Win32Types.h"

using plat::D3DXVECTOR3;

// Reads the fields of one map entry; any read that the file cannot satisfy throws my_error naming
// the map, so a cut or damaged file never loops or reads past its end.
class TMapChunkReader {
 public:
  TMapChunkReader(const std::string& path, const std::string& map) : file(path), mapName(map) {}

  [[noreturn]] void Fail(const std::string& reason, int line) const {
    throw my_error("map \"" + mapName + "\": " + reason, __FILE__, line);
  }

  TFile& File() { return file; }

  uint32_t U32() {
    uint32_t v = 0;
    if (!file.Read(&v, 4)) Fail("the file ends before the end of the map", __LINE__);
    return v;
  }
  float F32() {
    const uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
  }
  // Distances that follow the view factor: nearer views shrink them.
  float Scaled() { return F32() * (1.0f - (1.0f - GetViewScale()) * 0.5f); }
  float Offset() { return F32() + (1.0f - GetViewScale()) * 1.2f; }
  D3DXVECTOR3 Vec() {
    const float x = F32(), y = F32(), z = F32();
    return D3DXVECTOR3(x, y, z);
  }
  std::string Str() {
    std::string s;
    if (!file.ReadString(s, 255)) Fail("the file ends inside a name", __LINE__);
    return s;
  }

 private:
  TFile file;
  const std::string& mapName;
};

bool GetMapFileName(const std::string& mapName, std::string& out) {
  const size_t slash = mapName.find('/');
  out.clear();
  if (slash == std::string::npos || slash == 0) return false;
  out = mapName.substr(0, slash);
  return true;
}

bool GetMapEntryName(const std::string& mapName, std::string& out) {
  const size_t slash = mapName.find('/');
  out.clear();
  if (slash == std::string::npos || slash == 0 || slash + 1 >= mapName.size()) return false;
  out = mapName.substr(slash + 1);
  return true;
}

const TMapData::ChunkReader TMapData::kChunkReaders[30] = {
    &TMapData::ReadHeader,         &TMapData::ReadView,           &TMapData::ReadFog,
    &TMapData::ReadSky,            &TMapData::ReadPlayerStart,    &TMapData::ReadCameraMode1,
    &TMapData::ReadCameraMode2,    &TMapData::ReadCameraMode4,    &TMapData::ReadCameraMode8,
    &TMapData::ReadCameraMode16,   &TMapData::ReadCameraMode32,   &TMapData::ReadCameraPoint,
    &TMapData::ReadFixedCameraPoint, &TMapData::ReadMeshPiece,    &TMapData::ReadEnemyLimits,
    &TMapData::ReadEnemyPlacement, &TMapData::ReadEnemySpawn,     &TMapData::ReadMapItem,
    &TMapData::ReadSavePoint,      &TMapData::ReadBoxTrigger,     &TMapData::ReadExamineTrigger,
    &TMapData::ReadCountCondition, &TMapData::ReadEnemyCondition, &TMapData::ReadBoxExit,
    &TMapData::ReadCircleExit,     &TMapData::ReadName,           &TMapData::ReadMiniMapName,
    &TMapData::ReadDeathScript,    &TMapData::ReadExtraName,      &TMapData::ReadBoxTestTrigger,
};

TMapData::TMapData(const std::string& name, const D3DXVECTOR3* position, const D3DXVECTOR3* facing,
                   const D3DXVECTOR3* cameraPosition)
    : mapName(name) {
  if (position && facing && cameraPosition) {
    hasStartTransform = true;
    startPosition = *position;
    startFacing = *facing;
    startCamera = *cameraPosition;
  }
  Load();
}

void TMapData::Load() {
  std::string fileName, entryName;
  GetMapFileName(mapName, fileName);
  GetMapEntryName(mapName, entryName);
  TMapChunkReader in(GetScriptFolder() + fileName, mapName);
  if (fileName.empty() || entryName.empty()) in.Fail("not a \"file/entry\" name", __LINE__);
  TFile& file = in.File();
  if (!file.Open(true, plat::GENERIC_READ)) in.Fail("the map file cannot be opened", __LINE__);

  // Every directory entry takes at least 8 bytes; a count beyond that is damage, not a long search.
  const uint32_t entries = in.U32();
  if (uint64_t{entries} * 8 > file.Remaining()) in.Fail("the directory runs past the end of the file", __LINE__);
  bool found = false;
  uint32_t offset = 0;
  for (uint32_t i = 0; i < entries && !found; ++i) {
    std::string entry;
    if (!file.ReadString(entry, 255)) break;
    offset = in.U32();
    found = entry == entryName;
  }
  if (!found) in.Fail("the map file holds no such map", __LINE__);
  if (offset > file.GetSize() || !file.SeekSet(static_cast<int32_t>(offset)))
    in.Fail("the map's offset lies beyond the file", __LINE__);

  for (;;) {
    const uint32_t id = in.U32() & 0xFFFF;
    if (id == 0xFFFF) break;
    if (id < 30) (this->*kChunkReaders[id])(in);
  }
  file.Close();
}

void TMapData::ReadHeader(TMapChunkReader& in) {
  header.headerWord = in.U32();
  header.kind = in.U32();
  header.baseName = in.Str();
  header.areaTitle = in.Str();
  header.musicName = in.Str();
  header.collisionA = in.U32();
  header.collisionB = in.U32();
  header.cellWidth = in.Scaled();
  header.cellDepth = in.Scaled();
}

void TMapData::ReadView(TMapChunkReader& in) {
  view.nearClip = in.F32();
  view.farClip = in.Scaled();
  view.fieldOfView = in.F32();
}

void TMapData::ReadFog(TMapChunkReader& in) {
  fog.present = true;
  fog.start = in.Scaled();
  fog.end = in.Scaled();
  fog.color = in.U32();
}

void TMapData::ReadSky(TMapChunkReader& in) {
  sky.present = true;
  sky.name = in.Str();
  std::array<float, 7>& s = sky.values;
  s[0] = in.F32();
  s[1] = in.F32();
  s[2] = in.Scaled();
  s[3] = in.Scaled();
  s[4] = in.Offset();
  s[5] = in.Scaled();
  s[6] = in.F32();
}

void TMapData::ReadPlayerStart(TMapChunkReader& in) {
  mapStart.present = true;
  mapStart.position = in.Vec();
  mapStart.facing = in.Vec();
  mapStart.camera = in.Vec();
}

void TMapData::ReadCameraMode1(TMapChunkReader& in) {
  camera.mode = 1;
  camera.vector = in.Vec();
}

void TMapData::ReadCameraMode2(TMapChunkReader& in) {
  camera.mode = 2;
  camera.value = in.F32();
  camera.mode2First = in.Vec();
  camera.mode2Second = in.Vec();
}

void TMapData::ReadCameraMode4(TMapChunkReader& in) {
  camera.mode = 4;
  camera.value = in.F32();
  camera.mode4Vector = in.Vec();
  camera.name = in.Str();
}

void TMapData::ReadCameraMode8(TMapChunkReader& in) {
  camera.mode = 8;
  camera.value = in.F32();
  camera.vector = in.Vec();
}

void TMapData::ReadCameraMode16(TMapChunkReader& in) {
  camera.mode = 16;
  camera.value = in.F32();
  camera.chaseDistance = in.F32();
  camera.chaseHeight = in.F32();
  camera.name = in.Str();
}

void TMapData::ReadCameraMode32(TMapChunkReader& in) {
  camera.mode = 32;
  camera.railValue = in.U32();
}

void TMapData::ReadCameraPoint(TMapChunkReader& in) {
  const D3DXVECTOR3 position = in.Vec();
  float r[5];
  for (float& v : r) v = in.F32();
  cameraPoints.emplace_back(position, r[4], r[0], r[1], r[2], r[3]);
}

void TMapData::ReadFixedCameraPoint(TMapChunkReader& in) {
  const D3DXVECTOR3 position = in.Vec(), fixedPosition = in.Vec();
  const float value = in.F32();
  cameraPoints.emplace_back(position, value, fixedPosition);
}

void TMapData::ReadMeshPiece(TMapChunkReader& in) {
  const D3DXVECTOR3 position = in.Vec(), forward = in.Vec(), up = in.Vec(), scale = in.Vec();
  TMeshPiece piece;
  piece.matrix = ComposePieceMatrix(position, forward, up, scale);
  piece.mirrorAxis = in.U32();
  piece.renderFlag = in.U32();
  piece.shaderKind = in.U32();
  const std::string visibleName = in.Str(), collisionName = in.Str();
  if (collisionName != "non") {
    piece.meshName = collisionName;
    collisionPieces.push_back(piece);
  }
  piece.meshName = visibleName;
  visiblePieces.push_back(piece);
}

void TMapData::ReadEnemyLimits(TMapChunkReader& in) {
  enemyLimits.maximum = in.U32();
  enemyLimits.spawnRange = in.F32();
}

void TMapData::ReadEnemyPlacement(TMapChunkReader& in) {
  TEnemyPlacement p;
  p.enemyId = in.U32();
  p.position = in.Vec();
  p.direction = in.Vec();
  enemyPlacements.push_back(p);
}

void TMapData::ReadEnemySpawn(TMapChunkReader& in) {
  TEnemySpawnRecord s;
  s.enemyId = in.U32();
  s.position = in.Vec();
  s.direction = in.Vec();
  s.respawnInterval = in.U32();
  s.homeRadius = in.F32();
  enemySpawns.push_back(s);
}

void TMapData::ReadMapItem(TMapChunkReader& in) {
  TMapItemRecord item;
  item.itemId = in.U32();
  item.pickupFlagIndex = in.U32();
  item.goldAmount = in.U32();
  item.position = in.Vec();
  in.Vec();  // two vectors that nothing uses
  in.Vec();
  mapItems.push_back(item);
}

void TMapData::ReadSavePoint(TMapChunkReader& in) {
  TSavePointRecord s;
  s.number = in.U32();
  s.position = in.Vec();
  savePoints.push_back(s);
}

void TMapData::ReadBoxTrigger(TMapChunkReader& in) {
  TBoxTriggerRecord t;
  t.corner1 = in.Vec();
  t.corner2 = in.Vec();
  t.direction = in.Vec();
  t.scriptName = in.Str();
  boxTriggers.push_back(t);
}

void TMapData::ReadExamineTrigger(TMapChunkReader& in) {
  TExamineTriggerRecord t;
  t.position = in.Vec();
  t.radius = in.F32();
  t.scriptName = in.Str();
  examineTriggers.push_back(t);
}

void TMapData::ReadCountCondition(TMapChunkReader& in) {
  TCountConditionRecord c;
  c.defeatedCount = in.U32();
  c.scriptName = in.Str();
  countConditions.push_back(c);
}

void TMapData::ReadEnemyCondition(TMapChunkReader& in) {
  TEnemyConditionRecord c;
  c.enemyNumber = in.U32();
  c.scriptName = in.Str();
  enemyConditions.push_back(c);
}

namespace {

TExitTarget ReadExitTarget(TMapChunkReader& in) {
  TExitTarget t;
  t.startPosition = in.Vec();
  t.startFacing = in.Vec();
  t.startCamera = in.Vec();
  t.transitionKind = in.U32();
  t.destination = in.Str();
  return t;
}

}  // namespace

void TMapData::ReadBoxExit(TMapChunkReader& in) {
  TBoxExitRecord e;
  e.corner1 = in.Vec();
  e.corner2 = in.Vec();
  e.direction = in.Vec();
  e.target = ReadExitTarget(in);
  boxExits.push_back(e);
}

void TMapData::ReadCircleExit(TMapChunkReader& in) {
  TCircleExitRecord e;
  e.centre = in.Vec();
  e.radius = in.F32();
  e.target = ReadExitTarget(in);
  circleExits.push_back(e);
}

void TMapData::ReadName(TMapChunkReader& in) { names.push_back(in.Str()); }
void TMapData::ReadMiniMapName(TMapChunkReader& in) { miniMapName = in.Str(); }
void TMapData::ReadDeathScript(TMapChunkReader& in) { deathScript = in.Str(); }
void TMapData::ReadExtraName(TMapChunkReader& in) { extraName = in.Str(); }

void TMapData::ReadBoxTestTrigger(TMapChunkReader& in) {
  TBoxTestTriggerRecord t;
  t.corner1 = in.Vec();
  t.corner2 = in.Vec();
  t.scriptName = in.Str();
  boxTestTriggers.push_back(t);
}

void TMapData::BuildMeshAreas(TMeshAreaManager& manager) const {
  for (const TMeshPiece& piece : visiblePieces) manager.AddMesh(LoadVisiblePiece(piece));
}

namespace {

// Each object is in the stage's list as soon as it is made.
template <class Object, class Record>
void PlaceAll(TStage& stage, const std::vector<Record>& records) {
  for (const Record& record : records) stage.AddMapObject(TCountedPtr<TMapObject>(new Object(&stage, record)));
}

}  // namespace

void TMapData::PlaceObjects(TStage& stage) const {
  stage.AddMapObject(TCountedPtr<TMapObject>(new TDeathWatch(&stage, deathScript)));
  PlaceAll<TMapItem>(stage, mapItems);
  PlaceAll<TSavePoint>(stage, savePoints);
  PlaceAll<TBoxTrigger>(stage, boxTriggers);
  PlaceAll<TExamineTrigger>(stage, examineTriggers);
  PlaceAll<TBoxTestTrigger>(stage, boxTestTriggers);
  PlaceAll<TCountCondition>(stage, countConditions);
  PlaceAll<TEnemyCondition>(stage, enemyConditions);
  PlaceAll<TBoxArea>(stage, boxExits);
  PlaceAll<TCircleArea>(stage, circleExits);
}
