// The plain records of a map: single values grouped by chunk, and one record type per table.
// The stage load, the cameras, the map objects, the villagers and the enemy manager build their
// objects from these.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/gfx/D3DXMath.h"

// Chunk 0. Kind 0 is a town, 1 a battle map; what other kinds mean is left to the stage build.
struct TMapHeader {
  uint32_t headerWord = 0;
  uint32_t kind = 0;
  std::string baseName;  // ground mesh (map folder + it) and collision mesh (map folder + "_" + it)
  std::string areaTitle;
  std::string musicName;
  uint32_t collisionA = 0, collisionB = 0;
  float cellWidth = 0, cellDepth = 0;  // of the mesh areas

  // The collision grid's cell sizes: the two values taken as numbers (8 becomes 8.0).
  float CollisionCellSizeX() const { return static_cast<float>(collisionA); }
  float CollisionCellSizeZ() const { return static_cast<float>(collisionB); }
};

// Chunk 1: the projection.
struct TMapView {
  float nearClip = 0, farClip = 0, fieldOfView = 0;  // degrees
};

// Chunk 2. A map without it gets this fog, switched off.
struct TMapFog {
  bool present = false;
  float start = 100.0f, end = 200.0f;
  uint32_t color = 0xFFFFFFFF;
};

// Chunk 3. The sky uses values[0], values[1] and values[6]; the rest are kept only.
struct TMapSky {
  bool present = false;
  std::string name;
  std::array<float, 7> values{};
};

// Chunk 4: where the map itself puts the player.
struct TMapStart {
  bool present = false;
  plat::D3DXVECTOR3 position, facing, camera;
};

// Chunks 5 to 10: the last one read sets the mode. Only modes 16 (chase) and 32 (rail) build a
// camera; the others are kept only.
struct TMapCameraSetting {
  uint32_t mode = 0;
  plat::D3DXVECTOR3 vector;  // modes 1 and 8
  float value = 0;           // modes 2, 4, 8 and 16
  plat::D3DXVECTOR3 mode2First, mode2Second;
  plat::D3DXVECTOR3 mode4Vector;
  std::string name;  // modes 4 and 16
  float chaseDistance = 0, chaseHeight = 0;  // mode 16
  uint32_t railValue = 0;                    // mode 32
};

// One point of the rail camera (chunks 11 and 12). A relative point (kind 0) puts the camera at
// the target + offset; a fixed point (kind 1) at fixedPosition. position is where the point lies.
struct TCameraPoint {
  TCameraPoint(const plat::D3DXVECTOR3& position, float value, float dx, float dz, float distance, float height);
  TCameraPoint(const plat::D3DXVECTOR3& position, float value, const plat::D3DXVECTOR3& fixedPosition);

  // Where this point puts the camera for a target at that position.
  plat::D3DXVECTOR3 GetCameraPosition(const plat::D3DXVECTOR3& target) const;

  uint32_t kind = 0;
  plat::D3DXVECTOR3 position;
  float value = 0;
  float dx = 0, dz = 0;
  float distance = 0, height = 0;
  plat::D3DXVECTOR3 offset;     // (direction.x * distance, height, direction.z * distance)
  plat::D3DXVECTOR3 direction;  // unit (dx, 0, dz)
  plat::D3DXVECTOR3 fixedPosition;
};

// Chunk 13, in the visible table with the visible mesh's name, in the collision table with the
// collision mesh's name. The matrix places the mesh in the stage (row vectors).
struct TMeshPiece {
  plat::D3DXMATRIX matrix;
  uint32_t mirrorAxis = 0;  // 0 none, 1 x, 2 y, 3 z
  uint32_t renderFlag = 0;
  uint32_t shaderKind = 0;
  std::string meshName;
};

// Chunk 14. Without it no spawn point ever spawns.
struct TEnemyLimits {
  uint32_t maximum = 0;
  float spawnRange = 3.4028235e38f;
};

// Chunk 15: an enemy placed when the stage loads.
struct TEnemyPlacement {
  uint32_t enemyId = 0;
  plat::D3DXVECTOR3 position, direction;
};

// Chunk 16: a point that respawns enemies.
struct TEnemySpawnRecord {
  uint32_t enemyId = 0;
  plat::D3DXVECTOR3 position, direction;
  uint32_t respawnInterval = 0;  // frames
  float homeRadius = 0;
};

// Chunk 17. Item id 0xFFFFFFFF is gold; pick-up flag index 0xFFFFFFFF an untracked item.
struct TMapItemRecord {
  uint32_t itemId = 0, pickupFlagIndex = 0, goldAmount = 0;
  plat::D3DXVECTOR3 position;
};

// Chunk 18.
struct TSavePointRecord {
  uint32_t number = 0;
  plat::D3DXVECTOR3 position;
};

// Chunk 19: walked into, facing the direction.
struct TBoxTriggerRecord {
  plat::D3DXVECTOR3 corner1, corner2, direction;
  std::string scriptName;
};

// Chunk 20: examined from within the radius.
struct TExamineTriggerRecord {
  plat::D3DXVECTOR3 position;
  float radius = 0;
  std::string scriptName;
};

// Chunk 29: stood in.
struct TBoxTestTriggerRecord {
  plat::D3DXVECTOR3 corner1, corner2;
  std::string scriptName;
};

// Chunk 21.
struct TCountConditionRecord {
  uint32_t defeatedCount = 0;
  std::string scriptName;
};

// Chunk 22.
struct TEnemyConditionRecord {
  uint32_t enemyNumber = 0;
  std::string scriptName;
};

// What both exits hand to the destination's map data.
struct TExitTarget {
  plat::D3DXVECTOR3 startPosition, startFacing, startCamera;
  uint32_t transitionKind = 0;
  std::string destination;  // a map name
};

// Chunk 23.
struct TBoxExitRecord {
  plat::D3DXVECTOR3 corner1, corner2, direction;
  TExitTarget target;
};

// Chunk 24.
struct TCircleExitRecord {
  plat::D3DXVECTOR3 centre;
  float radius = 0;
  TExitTarget target;
};
