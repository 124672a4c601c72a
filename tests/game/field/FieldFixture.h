// Field tests: a mesh folder holding the blob shadow and a box model "char03/body.tob", collision
// meshes written from plain shapes, and doubles of the stage and of an actor.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/TFrame8.h"
#include "game/field/TCollisionMesh.h"
#include "game/field/TFieldActor.h"
#include "game/field/TGameObject.h"
#include "game/field/TStageLinks.h"
#include "tests/common/MathChecks.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/SampleMeshes.h"

namespace fieldtest {

using plat::D3DXVECTOR3;

// The stage as its objects see it: a scene frame, a collision that finds its actors, and the
// camera and effects a test gives it.
class TestStage : public TStageLinks {
 public:
  TFrame8* GetSceneFrame() override { return scene.Get(); }
  TCollisionMesh* GetCollision() override { return &collision; }
  TEffectManager* GetEffectManager() override { return effects; }
  TCamera* GetCamera() override { return camera; }
  TFieldActor* FindActor(uint32_t objectId) override {
    auto found = collision.GetActors().find(objectId);
    return found == collision.GetActors().end() ? nullptr : found->second;
  }
  TEffectStage* GetEffectStage() override { return effectStage; }

  TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", IdentityMatrix());
  TCollisionMesh collision;
  TEffectManager* effects = nullptr;
  TEffectStage* effectStage = nullptr;
  TCamera* camera = nullptr;
};

class TestObject : public TGameObject {
 public:
  TestObject(float bodyHeight, uint8_t pushable, float gravity = -0.01f, const std::string& name = "body")
      : TGameObject(7, bodyHeight, 1.5f, 1, pushable, gravity, name) {}
  void Update() override {}
  bool IsAirborne() override { return airborne; }
  void OnWallHit() override { ++wallHits; }

  bool airborne = false;
  int wallHits = 0;
};

// Records each hit test as (tester, target).
class TestActor : public TFieldActor {
 public:
  using Log = std::vector<std::pair<uint32_t, uint32_t>>;
  explicit TestActor(Log& log) : TFieldActor(9, 0.5f, 1.0f, 1, 1, -0.01f, "body"), log(log) {}
  void Update() override {}
  bool IsAirborne() override { return false; }
  void TestHits(TFieldActor& other) override { log.emplace_back(GetObjectId(), other.GetObjectId()); }
  void ReceiveHit(THitObject&) override {}
  bool FacesTargetOnHit() override { return true; }
  void OnHitLanded(TFieldActor&, int32_t, int32_t, uint8_t) override {}
  bool IsInvulnerable() const override { return false; }

  Log& log;
};

// A shape turned about the z axis (x toward y) by the given degrees: a flat shape facing +y then
// faces (-sin, cos, 0), tilted that far from straight up.
inline datakit::MeshShape TiltedZ(datakit::MeshShape shape, double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
  for (datakit::MeshVertex& v : shape.vertices) {
    const double x = v.x, y = v.y;
    v.x = static_cast<float>(x * c - y * s);
    v.y = static_cast<float>(x * s + y * c);
  }
  return shape;
}

// The shape facing the other way.
inline datakit::MeshShape Flipped(datakit::MeshShape shape) {
  for (size_t t = 0; t + 2 < shape.indices.size(); t += 3) std::swap(shape.indices[t + 1], shape.indices[t + 2]);
  return shape;
}

// A square floor of the given size at height y, centred on (x, z).
inline datakit::MeshShape Floor(float size, float x, float y, float z) {
  return datakit::PlaneShape(size, size).Move(x, y, z);
}

// A wall in the plane x = x0 facing +x, spanning z from -half to half and y from 0 to height.
inline datakit::MeshShape Wall(float x0, float half, float height) {
  return TiltedZ(datakit::PlaneShape(height, 2 * half), -90).Move(x0, height / 2, 0);
}

class FieldFixture : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    datakit::WriteSampleMeshes(dir.path() + "/");
    TGameObject::SetFolder("char03/");
    datakit::MeshFile::FromShape("body", datakit::BoxShape(0.5f, 1.0f, 0.5f).Move(0, 0.5f, 0),
                                 {datakit::MeshMaterial::Colored("skin", 0.8f, 0.6f, 0.5f)})
        .Tob()
        .Save(dir / "char03/body.tob");
  }
  void TearDown() override {
    stage.scene->RemoveChildren();  // the objects' frames hold meshes of the device
    TGameObject::SetFolder("");
    MeshFixture::TearDown();
  }

  // A collision mesh of one part whose material has the diffuse red given, saved and loaded.
  TMesh8 CollisionMesh(const datakit::MeshShape& shape, float red = 0.0f) {
    datakit::MeshMaterial m = datakit::MeshMaterial::Colored("ground", 1, 1, 1);
    m.diffuse.r = red;
    return Save("hit.msh", datakit::MeshFile::FromShape("hit", shape, {m}).Msh());
  }
  // A stage whose grid is built from the shape in one cell, so that every query sees every
  // triangle.
  void BuildStage(const datakit::MeshShape& shape, float red = 0.0f) {
    TMesh8 mesh = CollisionMesh(shape, red);
    stage.collision.Build(mesh, 0.5f, 0.5f);
  }

  TestStage stage;
};

}  // namespace fieldtest
