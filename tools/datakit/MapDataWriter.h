// Writes map-data files (such as "03.pbms"): a directory of named maps, each a list of chunks
// (a u32 id and the kind's payload, no length) ended by the id 0xFFFF.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/datakit/ByteWriter.h"

namespace datakit {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// Chunk 0. The two collision values are the collision grid's cell sizes; the cell width and
// depth those of the mesh areas.
struct MapHeaderRow {
  uint32_t headerWord = 0;
  uint32_t kind = 0;  // 0 town, 1 battle
  std::string baseName;
  std::string areaTitle;
  std::string musicName;
  uint32_t collisionA = 8, collisionB = 8;
  float cellWidth = 16, cellDepth = 16;
};

// Chunk 13: a placed scenery piece and, unless collisionName is "non", its collision mesh.
struct MeshPieceRow {
  Vec3 position;
  Vec3 forward{0, 0, 1};
  Vec3 up{0, 1, 0};
  Vec3 scale{1, 1, 1};
  uint32_t mirrorAxis = 0, renderFlag = 0, shaderKind = 1;
  std::string meshName;
  std::string collisionName = "non";
};

// Where an exit puts the player on the destination map.
struct ExitRow {
  Vec3 startPosition, startFacing{0, 0, 1}, startCamera;
  uint32_t transitionKind = 0;
  std::string destination;
};

// One map's chunk list, in the order the calls come.
class MapEntryWriter {
 public:
  MapEntryWriter& Header(const MapHeaderRow& h);
  MapEntryWriter& View(float nearClip, float farClip, float fieldOfView);
  MapEntryWriter& Fog(float start, float end, uint32_t color);
  MapEntryWriter& Sky(const std::string& name, const std::array<float, 7>& values);
  MapEntryWriter& PlayerStart(Vec3 position, Vec3 facing, Vec3 camera);
  MapEntryWriter& CameraMode1(Vec3 v);
  MapEntryWriter& CameraMode2(float value, Vec3 a, Vec3 b);
  MapEntryWriter& CameraMode4(float value, Vec3 v, const std::string& name);
  MapEntryWriter& CameraMode8(float value, Vec3 v);
  // Mode 16, the chase camera: the two 4-byte values are its distance and height, as reals.
  MapEntryWriter& ChaseCamera(float value, float distance, float height, const std::string& name);
  // Mode 32, the rail camera; its points follow as camera-point chunks.
  MapEntryWriter& RailCamera(uint32_t value);
  // Chunk 11: r1 dx, r2 dz, r3 distance, r4 height, r5 the point's value.
  MapEntryWriter& CameraPoint(Vec3 position, float r1, float r2, float r3, float r4, float r5);
  // Chunk 12: a fixed camera position for the target near position.
  MapEntryWriter& FixedCameraPoint(Vec3 position, Vec3 cameraPosition, float value);
  MapEntryWriter& MeshPiece(const MeshPieceRow& piece);
  MapEntryWriter& EnemyLimits(uint32_t maximum, float spawnRange);
  MapEntryWriter& EnemyPlacement(uint32_t enemyId, Vec3 position, Vec3 direction);
  MapEntryWriter& EnemySpawn(uint32_t enemyId, Vec3 position, Vec3 direction, uint32_t respawnInterval,
                             float homeRadius);
  // The two trailing vectors are stored in the file but read by nobody.
  MapEntryWriter& MapItem(uint32_t itemId, uint32_t pickupFlagIndex, uint32_t goldAmount, Vec3 position,
                          Vec3 unusedA = {}, Vec3 unusedB = {});
  MapEntryWriter& SavePoint(uint32_t number, Vec3 position);
  MapEntryWriter& BoxTrigger(Vec3 corner1, Vec3 corner2, Vec3 direction, const std::string& script);
  MapEntryWriter& ExamineTrigger(Vec3 position, float radius, const std::string& script);
  MapEntryWriter& CountCondition(uint32_t defeatedCount, const std::string& script);
  MapEntryWriter& EnemyCondition(uint32_t enemyNumber, const std::string& script);
  MapEntryWriter& BoxExit(Vec3 corner1, Vec3 corner2, Vec3 direction, const ExitRow& exit);
  MapEntryWriter& CircleExit(Vec3 centre, float radius, const ExitRow& exit);
  MapEntryWriter& Name(const std::string& name);
  MapEntryWriter& MiniMap(const std::string& name);
  MapEntryWriter& DeathScript(const std::string& script);
  MapEntryWriter& ExtraName(const std::string& name);
  MapEntryWriter& BoxTestTrigger(Vec3 corner1, Vec3 corner2, const std::string& script);
  // A bare id word: an unknown kind (no payload) or, with low 16 bits 0xFFFF, an early end.
  MapEntryWriter& Id(uint32_t word);
  // Bytes as they are, for ids with high bits set or damaged payloads.
  MapEntryWriter& Raw(const ByteWriter& bytes);
  // Ends the list with this word; an entry not ended by the caller gets 0xFFFF.
  MapEntryWriter& End(uint32_t word = 0xFFFF);

  // The chunk bytes, ended.
  ByteWriter Bytes() const;

 private:
  ByteWriter& Chunk(uint32_t id);

  ByteWriter bytes_;
  bool ended_ = false;
};

class MapDataWriter {
 public:
  // Entries keep their order; a repeated name makes a second directory entry.
  MapDataWriter& Entry(const std::string& name, const MapEntryWriter& entry);
  std::vector<uint8_t> Build() const;
  void Save(const std::string& path) const { SaveFile(path, Build()); }

 private:
  std::vector<std::pair<std::string, ByteWriter>> entries_;
};

}  // namespace datakit
