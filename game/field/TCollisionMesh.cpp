#include "game/field/TCollisionMesh.h"

#include "game/field/CollisionGeometry.h"
#include "game/field/TFieldActor.h"
#include "game/field/TGameObject.h"

using plat::D3DXVECTOR3;
using namespace vec3;

namespace {

// Objects whose sphere centres are nearer than this count as each other's neighbours.
constexpr float kNeighbourDistance = 4.0f;

TCollisionResult ResultOf(const TGameObject& object) {
  TCollisionResult r;
  object.GetGroundState(r.groundLevel, r.groundBelow, r.wallHit, r.onGround, r.ceilingHit, r.groundNormal);
  r.surfaceCode = object.GetSurfaceCode();
  return r;
}

void Store(TGameObject& object, const D3DXVECTOR3& position, const TCollisionResult& r) {
  object.SetPosition(position);
  object.SetSurfaceCode(r.surfaceCode);
  object.SetGroundState(r.groundLevel, r.groundBelow, r.wallHit, r.onGround, r.ceilingHit, r.groundNormal);
}

D3DXVECTOR3 SphereCentre(const TGameObject& object) {
  const D3DXVECTOR3 p = object.GetPosition();
  return D3DXVECTOR3(p.x, p.y + object.GetBodyHeight(), p.z);
}

}  // namespace

TCollisionMesh::~TCollisionMesh() = default;

void TCollisionMesh::Load(const std::string& path, float cellSizeX, float cellSizeZ) {
  TMesh8 mesh = TMesh8::Load(path);
  Build(mesh, cellSizeX, cellSizeZ);
}

void TCollisionMesh::Build(TMesh8& mesh, float cellSizeX, float cellSizeZ) {
  ClearRegistries();
  grid.BuildGrid(mesh, cellSizeX, cellSizeZ);
}

void TCollisionMesh::AddPart(TMesh8& mesh) {
  parts.emplace_back();
  parts.back().Build(mesh);
}

void TCollisionMesh::AddObject(TGameObject* object) { objects.emplace(object->GetObjectId(), object); }

void TCollisionMesh::AddActor(TFieldActor* actor) { actors.emplace(actor->GetObjectId(), actor); }

void TCollisionMesh::RemoveById(uint32_t id) {
  objects.erase(id);
  actors.erase(id);
}

void TCollisionMesh::ClearRegistries() {
  objects.clear();
  actors.clear();
}

void TCollisionMesh::FindGround(const D3DXVECTOR3& point, TGroundResult& result) const {
  grid.FindGround(point, result);
  for (const TCollisionPart& part : parts) part.FindGround(point, result);
}

void TCollisionMesh::CollideObjects() {
  for (const auto& [id, object] : objects) {
    D3DXVECTOR3 position = object->GetPosition();
    TCollisionResult r;
    grid.CollideSphere(position, object->GetBodyHeight(), r);
    Store(*object, position, r);
  }
}

void TCollisionMesh::CollideObjectsWithParts() {
  for (const auto& [id, object] : objects) {
    D3DXVECTOR3 position = object->GetPosition();
    TCollisionResult r = ResultOf(*object);
    for (const TCollisionPart& part : parts) part.CollideSphere(position, object->GetBodyHeight(), r);
    Store(*object, position, r);
  }
}

void TCollisionMesh::SeparateObjects() {
  for (const auto& [idA, a] : objects) {
    a->SetNeighbourCount(0);
    for (const auto& [idB, b] : objects) {
      if (idB == idA) continue;
      const D3DXVECTOR3 d = Sub(SphereCentre(*a), SphereCentre(*b));
      const float dist = Length(d);
      if (dist < kNeighbourDistance) a->SetNeighbourCount(a->GetNeighbourCount() + 1);
      const float overlap = a->GetBodyHeight() + b->GetBodyHeight() - dist;
      if (overlap <= 0) continue;
      const D3DXVECTOR3 u = Unit(d);
      const bool pushA = a->IsPushable(), pushB = b->IsPushable();
      const float shareA = pushA ? (pushB ? overlap / 2 : overlap) : 0;
      const float shareB = pushB ? (pushA ? overlap / 2 : overlap) : 0;
      if (shareA != 0) a->Move(u.x * shareA, u.y * shareA, u.z * shareA);
      if (shareB != 0) b->Move(-u.x * shareB, -u.y * shareB, -u.z * shareB);
    }
  }
}

void TCollisionMesh::TestActorHits(TFieldActor& player) {
  for (const auto& [id, actor] : actors) player.TestHits(*actor);
  for (const auto& [id, actor] : actors) actor->TestHits(player);
}
