// A stage's collision: the grid of its ground, walls and ceilings, the parts placed on the map, and
// the registries of the objects and actors that take part. Every tick the stage runs the passes:
// objects pushed apart, then each resolved against the grid and then against the parts.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/TMesh8.h"
#include "game/field/TCollisionShape.h"

class TGameObject;
class TFieldActor;

class TCollisionMesh {
 public:
  virtual ~TCollisionMesh();

  // Loads the mesh file (through the mesh folder) and builds the grid from it.
  void Load(const std::string& path, float cellSizeX, float cellSizeZ);
  // Empties the registries, then builds the grid.
  void Build(TMesh8& mesh, float cellSizeX, float cellSizeZ);
  // A part from a mesh already placed in stage coordinates.
  void AddPart(TMesh8& mesh);

  // The registries hold plain pointers in id order; an id already present keeps its entry.
  void AddObject(TGameObject* object);
  void AddActor(TFieldActor* actor);
  void RemoveById(uint32_t id);
  void ClearRegistries();

  // The ground under a point: the grid's, then each part's added.
  void FindGround(const plat::D3DXVECTOR3& point, TGroundResult& result) const;

  // The per-tick passes, each over the objects in id order.
  void CollideObjects();
  void CollideObjectsWithParts();
  // Counts each object's neighbours within 4.0 and pushes overlapping pushable objects apart.
  void SeparateObjects();
  // The player's hit volumes test every actor, then every actor's test the player.
  void TestActorHits(TFieldActor& player);

  const TCollisionGrid& GetGrid() const { return grid; }
  const std::vector<TCollisionPart>& GetParts() const { return parts; }
  const std::map<uint32_t, TGameObject*>& GetObjects() const { return objects; }
  const std::map<uint32_t, TFieldActor*>& GetActors() const { return actors; }

 private:
  TCollisionGrid grid;
  std::vector<TCollisionPart> parts;
  std::map<uint32_t, TGameObject*> objects;
  std::map<uint32_t, TFieldActor*> actors;
};
