// One map read from a map-data file: the entry that a map name ("file/entry") names, its chunk list
// read into plain values and tables. A short-lived value: the stage build reads it and drops it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/field/MapRecords.h"
#include "platform/gfx/D3DXMath.h"

class TMapChunkReader;
class TMeshAreaManager;
class TStage;

// The text before the first "/" when that "/" is not the first character; else "" and false.
bool GetMapFileName(const std::string& mapName, std::string& out);
// The text after the first "/" when the file part exists and something follows; else "" and false.
bool GetMapEntryName(const std::string& mapName, std::string& out);

class TMapData {
 public:
  // Reads the map from the script folder. The start transform counts only when all three vectors
  // are given. A file that cannot be opened, an entry it does not hold, or a chunk list that the
  // file ends inside throws my_error naming the map.
  explicit TMapData(const std::string& mapName, const plat::D3DXVECTOR3* startPosition = nullptr,
                    const plat::D3DXVECTOR3* startFacing = nullptr, const plat::D3DXVECTOR3* startCamera = nullptr);

  const std::string& GetMapName() const { return mapName; }

  // The caller's start transform, which the stage places after the map's own start point.
  bool HasStartTransform() const { return hasStartTransform; }
  const plat::D3DXVECTOR3& GetStartPosition() const { return startPosition; }
  const plat::D3DXVECTOR3& GetStartFacing() const { return startFacing; }
  const plat::D3DXVECTOR3& GetStartCamera() const { return startCamera; }

  // Set by a map change that keeps or cross-fades the music, so the stage load leaves it alone.
  bool GetKeepMusic() const { return keepMusic; }
  void SetKeepMusic(bool keep) { keepMusic = keep; }

  uint32_t GetKind() const { return header.kind; }
  const TMapHeader& GetHeader() const { return header; }
  const TMapView& GetView() const { return view; }
  const TMapFog& GetFog() const { return fog; }
  const TMapSky& GetSky() const { return sky; }
  const TMapStart& GetMapStart() const { return mapStart; }
  const TMapCameraSetting& GetCameraSetting() const { return camera; }
  const std::string& GetMiniMapName() const { return miniMapName; }
  const std::string& GetDeathScript() const { return deathScript; }
  const std::string& GetExtraName() const { return extraName; }
  const TEnemyLimits& GetEnemyLimits() const { return enemyLimits; }

  const std::vector<TCameraPoint>& GetCameraPoints() const { return cameraPoints; }
  const std::vector<TMeshPiece>& GetCollisionPieces() const { return collisionPieces; }
  const std::vector<TMeshPiece>& GetVisiblePieces() const { return visiblePieces; }
  const std::vector<TEnemyPlacement>& GetEnemyPlacements() const { return enemyPlacements; }
  const std::vector<TEnemySpawnRecord>& GetEnemySpawns() const { return enemySpawns; }
  const std::vector<TMapItemRecord>& GetMapItems() const { return mapItems; }
  const std::vector<TSavePointRecord>& GetSavePoints() const { return savePoints; }
  const std::vector<TBoxTriggerRecord>& GetBoxTriggers() const { return boxTriggers; }
  const std::vector<TExamineTriggerRecord>& GetExamineTriggers() const { return examineTriggers; }
  const std::vector<TBoxTestTriggerRecord>& GetBoxTestTriggers() const { return boxTestTriggers; }
  const std::vector<TCountConditionRecord>& GetCountConditions() const { return countConditions; }
  const std::vector<TEnemyConditionRecord>& GetEnemyConditions() const { return enemyConditions; }
  const std::vector<TBoxExitRecord>& GetBoxExits() const { return boxExits; }
  const std::vector<TCircleExitRecord>& GetCircleExits() const { return circleExits; }
  // Chunk 25, in file order: one villager per name, the name being its script.
  const std::vector<std::string>& GetNames() const { return names; }

  // Hands every visible piece, loaded and placed, to the mesh areas in table order. A missing
  // piece mesh throws my_error.
  void BuildMeshAreas(TMeshAreaManager& manager) const;
  // Builds the map objects and appends them to the stage's list, each table in file order: the
  // death watch, the items, save points, box triggers, examine triggers, box test triggers, count
  // conditions, enemy conditions, box exits and circle exits. The list order is the order in which
  // they are tested every tick, so the death watch comes first and the exits last.
  void PlaceObjects(TStage& stage) const;

 private:
  using ChunkReader = void (TMapData::*)(TMapChunkReader&);
  static const ChunkReader kChunkReaders[30];

  void Load();
  void ReadHeader(TMapChunkReader& in);
  void ReadView(TMapChunkReader& in);
  void ReadFog(TMapChunkReader& in);
  void ReadSky(TMapChunkReader& in);
  void ReadPlayerStart(TMapChunkReader& in);
  void ReadCameraMode1(TMapChunkReader& in);
  void ReadCameraMode2(TMapChunkReader& in);
  void ReadCameraMode4(TMapChunkReader& in);
  void ReadCameraMode8(TMapChunkReader& in);
  void ReadCameraMode16(TMapChunkReader& in);
  void ReadCameraMode32(TMapChunkReader& in);
  void ReadCameraPoint(TMapChunkReader& in);
  void ReadFixedCameraPoint(TMapChunkReader& in);
  void ReadMeshPiece(TMapChunkReader& in);
  void ReadEnemyLimits(TMapChunkReader& in);
  void ReadEnemyPlacement(TMapChunkReader& in);
  void ReadEnemySpawn(TMapChunkReader& in);
  void ReadMapItem(TMapChunkReader& in);
  void ReadSavePoint(TMapChunkReader& in);
  void ReadBoxTrigger(TMapChunkReader& in);
  void ReadExamineTrigger(TMapChunkReader& in);
  void ReadCountCondition(TMapChunkReader& in);
  void ReadEnemyCondition(TMapChunkReader& in);
  void ReadBoxExit(TMapChunkReader& in);
  void ReadCircleExit(TMapChunkReader& in);
  void ReadName(TMapChunkReader& in);
  void ReadMiniMapName(TMapChunkReader& in);
  void ReadDeathScript(TMapChunkReader& in);
  void ReadExtraName(TMapChunkReader& in);
  void ReadBoxTestTrigger(TMapChunkReader& in);

  std::string mapName;
  bool hasStartTransform = false;
  plat::D3DXVECTOR3 startPosition, startFacing, startCamera;
  bool keepMusic = false;

  TMapHeader header;
  std::string extraName;
  std::string miniMapName;
  TMapView view;
  TMapFog fog;
  TMapSky sky;
  TMapStart mapStart;
  std::string deathScript = "non";
  TMapCameraSetting camera;

  std::vector<TCameraPoint> cameraPoints;
  std::vector<TMeshPiece> collisionPieces;
  std::vector<TMeshPiece> visiblePieces;
  TEnemyLimits enemyLimits;
  std::vector<TEnemyPlacement> enemyPlacements;
  std::vector<TEnemySpawnRecord> enemySpawns;
  std::vector<TMapItemRecord> mapItems;
  std::vector<TSavePointRecord> savePoints;
  std::vector<TBoxTriggerRecord> boxTriggers;
  std::vector<TExamineTriggerRecord> examineTriggers;
  std::vector<TBoxTestTriggerRecord> boxTestTriggers;
  std::vector<TCountConditionRecord> countConditions;
  std::vector<TEnemyConditionRecord> enemyConditions;
  std::vector<TBoxExitRecord> boxExits;
  std::vector<TCircleExitRecord> circleExits;
  std::vector<std::string> names;
};
