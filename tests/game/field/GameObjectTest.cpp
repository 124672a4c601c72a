// Game objects: ids, the model and the blob shadow, attaching to a stage, gravity, the reaction to
// the ground state, the shadow on the ground and turning toward a target.
#include <cfloat>
#include <cstring>
#include <filesystem>

#include "common/my_error.h"
#include "game/field/ObjectIds.h"
#include "tests/game/field/FieldFixture.h"

namespace {

using namespace fieldtest;
using namespace mathcheck;

TEST(ObjectIds, TheCounterSkipsNothingBackAndFreedIdsStayFree) {
  TObjectIdList ids;
  EXPECT_EQ(ids.Allocate(), 0u);
  EXPECT_EQ(ids.Allocate(), 1u);
  EXPECT_EQ(ids.Allocate(), 2u);
  ids.Free(1);
  EXPECT_FALSE(ids.Contains(1));
  EXPECT_EQ(ids.Allocate(), 3u);
  EXPECT_TRUE(ids.Contains(0) && ids.Contains(2) && ids.Contains(3));
  ids.Free(7);  // not held: nothing happens
  EXPECT_EQ(ids.Allocate(), 4u);
}

class GameObjectTest : public FieldFixture {
 protected:
  // The positions of the first morph frame of a mesh.
  static std::vector<D3DXVECTOR3> Positions(const TMesh8& mesh) {
    std::vector<D3DXVECTOR3> out;
    const auto* bytes = static_cast<const uint8_t*>(mesh.LockVerticesReadOnly(0));
    for (uint32_t v = 0; v < mesh.GetVertexCount(); ++v) {
      float xyz[3];
      std::memcpy(xyz, bytes + 24 * v, sizeof xyz);
      out.push_back(Vec(xyz[0], xyz[1], xyz[2]));
    }
    const_cast<TMesh8&>(mesh).UnlockVertices(0, false);
    return out;
  }
  static D3DXVECTOR3 Position(const TFrame8& frame) {
    D3DXVECTOR3 p;
    return *frame.GetPosition(&p);
  }
  static uint16_t RenderMode(const TFrame8& frame) { return frame.GetMeshes().at(0).GetMaterial(0).GetRenderMode(); }
};

TEST_F(GameObjectTest, ANewObjectHoldsItsModelAndAFlatShadow) {
  TestObject a(0.8f, 1), b(0.8f, 0);
  EXPECT_GT(b.GetObjectId(), a.GetObjectId());
  EXPECT_EQ(a.GetKind(), 7u);

  ASSERT_EQ(a.GetFrame()->GetName(), "body");
  ASSERT_EQ(a.GetModel(), a.GetFrame()->FindMesh("body", false));
  EXPECT_EQ(a.GetModel()->GetMaterial(0).GetRenderMode(), kModelRenderMode);

  TFrame8& shadow = *a.GetShadowFrame();
  EXPECT_EQ(shadow.GetName(), "shadow");
  ASSERT_EQ(shadow.GetMeshes().size(), 1u);
  EXPECT_EQ(shadow.GetMeshes()[0].GetName(), "shadow");
  EXPECT_EQ(RenderMode(shadow), kShadowRenderMode);
  float reach = 0;
  for (const D3DXVECTOR3& p : Positions(shadow.GetMeshes()[0])) {
    EXPECT_EQ(p.y, 0.0f);
    reach = std::max(reach, std::abs(p.x));
  }
  EXPECT_FLOAT_EQ(reach, 0.5f * 1.5f) << "the sample shadow's radius 0.5 times the shadow size";

  EXPECT_FLOAT_EQ(a.GetBodyHeight(), 0.8f);
  EXPECT_FLOAT_EQ(a.GetMaxVerticalSpeed(), 0.4f);
  EXPECT_TRUE(a.IsPushable());
  EXPECT_FALSE(b.IsPushable());
  float height;
  uint8_t below, wall, landed, ceiling;
  D3DXVECTOR3 normal;
  a.GetGroundState(height, below, wall, landed, ceiling, normal);
  EXPECT_EQ(height, FLT_MAX);
  EXPECT_EQ(below | wall | landed | ceiling, 0);
  EXPECT_EQ(a.GetStage(), nullptr);
  EXPECT_EQ(a.GetFrame()->GetParent(), nullptr);
}

TEST_F(GameObjectTest, AMissingModelOrShadowThrows) {
  EXPECT_THROW(TestObject(0.5f, 1, -0.01f, "nobody"), my_error);
  TGameObject::SetFolder("elsewhere/");
  EXPECT_THROW(TestObject(0.5f, 1), my_error) << "the model is looked for in the model folder";
  TGameObject::SetFolder("char03/");
  std::filesystem::remove(dir / "effect/shadow01_mesh.msh");
  EXPECT_THROW(TestObject(0.5f, 1), my_error);
}

TEST_F(GameObjectTest, AttachHangsTheObjectUnderTheSceneAndRegistersIt) {
  TestObject a(0.5f, 1);
  a.SetPosition(Vec(1, 2, 3));
  for (int round = 0; round < 2; ++round) {
    a.Attach(&stage);
    const auto& children = stage.scene->GetChildren();
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].Get(), a.GetFrame());
    EXPECT_EQ(children[1].Get(), a.GetShadowFrame());
    EXPECT_EQ(a.GetSceneFrame(), stage.scene.Get());
    EXPECT_EQ(a.GetCollision(), &stage.collision);
    EXPECT_EQ(a.GetStage(), &stage);
    ASSERT_EQ(stage.collision.GetObjects().count(a.GetObjectId()), 1u);
    EXPECT_EQ(stage.collision.GetObjects().at(a.GetObjectId()), &a);
    EXPECT_TRUE(stage.collision.GetActors().empty());

    float height;
    uint8_t below, wall, landed, ceiling;
    D3DXVECTOR3 normal;
    a.GetGroundState(height, below, wall, landed, ceiling, normal);
    EXPECT_FLOAT_EQ(height, 2.0f) << "the ground starts at the object's height";
    EXPECT_TRUE(Near(normal, Vec(0, 1, 0)));
    EXPECT_TRUE(Near(Position(*a.GetShadowFrame()), Vec(1, 2.01f, 3)));

    a.Detach();
    EXPECT_TRUE(stage.collision.GetObjects().empty());
    EXPECT_TRUE(stage.scene->GetChildren().empty());
    EXPECT_EQ(a.GetFrame()->GetParent(), nullptr);
  }
}

TEST_F(GameObjectTest, AnActorRegistersAsObjectAndActor) {
  TestActor::Log log;
  TestActor actor(log);
  actor.Attach(&stage);
  EXPECT_EQ(stage.collision.GetObjects().count(actor.GetObjectId()), 1u);
  ASSERT_EQ(stage.collision.GetActors().count(actor.GetObjectId()), 1u);
  EXPECT_EQ(stage.collision.GetActors().at(actor.GetObjectId()), &actor);
  actor.Detach();
  EXPECT_TRUE(stage.collision.GetObjects().empty());
  EXPECT_TRUE(stage.collision.GetActors().empty());
}

TEST_F(GameObjectTest, AHiddenShadowStaysInTheScene) {
  TestObject a(0.5f, 1);
  a.Attach(&stage);
  a.SetShadowVisible(0);
  EXPECT_EQ(RenderMode(*a.GetShadowFrame()), kHiddenRenderMode);
  EXPECT_EQ(a.GetShadowFrame()->GetParent(), stage.scene.Get());
  a.Detach();
  a.Attach(&stage);
  EXPECT_EQ(RenderMode(*a.GetShadowFrame()), kHiddenRenderMode) << "attaching applies the flag again";
  a.SetShadowVisible(1);
  EXPECT_EQ(RenderMode(*a.GetShadowFrame()), kShadowRenderMode);
  a.Detach();
}

TEST_F(GameObjectTest, GravityClampsAtHalfTheBodyHeight) {
  TestObject a(1.0f, 1, -0.15f);
  a.SetPosition(Vec(0, 10, 0));
  const float speeds[] = {-0.15f, -0.3f, -0.45f, -0.5f, -0.5f};
  float y = 10;
  for (float speed : speeds) {
    a.ApplyGravity();
    y += speed;
    EXPECT_FLOAT_EQ(a.GetVelocity().y, speed);
    EXPECT_NEAR(a.GetPosition().y, y, 1e-5);
  }
  a.SetVelocityY(2.0f);
  a.SetGravity(0);
  a.ApplyGravity();
  EXPECT_FLOAT_EQ(a.GetVelocity().y, 0.5f) << "upward too";
}

TEST_F(GameObjectTest, TheGroundStateReactsInItsOrder) {
  struct Case {
    const char* what;
    bool airborne;
    float speed;
    uint8_t wall, ceiling, landed;
    float wantSpeed, wantGravity;
    uint8_t wantLanded;
    int wantWallHits;
  } cases[] = {
      {"landing restores gravity and stops", false, -0.3f, 0, 0, 1, 0, -0.01f, 1, 0},
      {"airborne: the landing is ignored", true, -0.3f, 0, 0, 1, -0.3f, -0.5f, 0, 0},
      {"ceiling while rising", false, 0.2f, 0, 1, 0, 0, -0.5f, 0, 0},
      {"ceiling while falling", false, -0.2f, 0, 1, 0, -0.2f, -0.5f, 0, 0},
      {"wall", false, -0.2f, 1, 0, 0, -0.2f, -0.5f, 0, 1},
      {"everything at once", false, 0.4f, 1, 1, 1, 0, -0.01f, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestObject a(1.0f, 1, -0.01f);
    a.airborne = c.airborne;
    a.SetGravity(-0.5f);
    a.SetVelocityY(c.speed);
    a.SetGroundState(1.25f, 1, c.wall, c.landed, c.ceiling, Vec(0, 0.8f, 0.6f));
    EXPECT_FLOAT_EQ(a.GetVelocity().y, c.wantSpeed);
    EXPECT_FLOAT_EQ(a.GetGravity(), c.wantGravity);
    EXPECT_EQ(a.wallHits, c.wantWallHits);
    float height;
    uint8_t below, wall, landed, ceiling;
    D3DXVECTOR3 normal;
    a.GetGroundState(height, below, wall, landed, ceiling, normal);
    EXPECT_EQ(height, 1.25f);
    EXPECT_EQ(below, 1);
    EXPECT_EQ(wall, c.wall);
    EXPECT_EQ(ceiling, c.ceiling);
    EXPECT_EQ(landed, c.wantLanded);
    EXPECT_TRUE(Near(normal, Vec(0, 0.8f, 0.6f)));
  }
}

TEST_F(GameObjectTest, TheShadowLiesOnTheGroundAlongItsNormal) {
  TestObject a(0.5f, 1);
  a.SetPosition(Vec(2, 3, 4));
  a.Attach(&stage);
  const D3DXVECTOR3 normals[] = {Vec(0, 1, 0), Vec(0, 0.8f, 0.6f), Vec(-0.6f, 0.8f, 0)};
  for (const D3DXVECTOR3& n : normals) {
    a.SetGroundState(1.5f, 1, 0, 1, 0, n);
    a.UpdateShadow();
    const plat::D3DXMATRIX& m = *a.GetShadowFrame()->GetMatrix();
    EXPECT_TRUE(Near(Row(m, 1), n)) << "the shadow's up is the ground's normal";
    EXPECT_TRUE(Near(Row(m, 3), Vec(2, 1.51f, 4)));
    const D3DXVECTOR3 rows[3] = {Row(m, 0), Row(m, 1), Row(m, 2)};
    for (const D3DXVECTOR3& r : rows) EXPECT_NEAR(plat::D3DXVec3Length(&r), 1.0f, 1e-5);
    for (int r = 0; r < 3; ++r)
      EXPECT_NEAR(plat::D3DXVec3Dot(&rows[r], &rows[(r + 1) % 3]), 0.0f, 1e-5) << "rows " << r << " and the next";
  }
  a.Detach();
}

class TurnTest : public GameObjectTest {
 protected:
  // A target frame in the scene at the point.
  TCountedPtr<TFrame8> Target(float x, float y, float z) {
    TCountedPtr<TFrame8> t = CreateNamedFrame("target", Translation(x, y, z));
    stage.scene->AddChild(t);
    return t;
  }
  // The angle in degrees between the object's front and the way to the point.
  static float AngleTo(const TFrameObject& o, const D3DXVECTOR3& point) {
    D3DXVECTOR3 way = Vec(point.x - o.GetPosition().x, 0, point.z - o.GetPosition().z), front = o.GetFront();
    plat::D3DXVec3Normalize(&way, &way);
    return std::acos(std::clamp(plat::D3DXVec3Dot(&way, &front), -1.0f, 1.0f)) * 57.29578f;
  }
};

TEST_F(TurnTest, TurningStepsTowardTheTargetAndSnapsOnOvershoot) {
  TestObject a(0.5f, 1);
  a.Attach(&stage);
  ASSERT_TRUE(Near(a.GetFront(), Vec(0, 0, -1)));
  ASSERT_TRUE(Near(a.GetRight(), Vec(-1, 0, 0)));

  // Straight ahead: no turn at all.
  TCountedPtr<TFrame8> ahead = Target(0, 0, -5);
  const plat::D3DXMATRIX before = *a.GetFrame()->GetMatrix();
  a.TurnToward(ahead.Get());
  EXPECT_TRUE(SameBytes(*a.GetFrame()->GetMatrix(), before));

  // Slightly aside: one degree of turn per 0.1 of offset, still short of the target.
  TCountedPtr<TFrame8> aside = Target(0.1f, 0, -5);
  const float angle = AngleTo(a, Vec(0.1f, 0, -5));
  a.TurnToward(aside.Get());
  EXPECT_NEAR(AngleTo(a, Vec(0.1f, 0, -5)), angle - 1.0f, 1e-3);
  EXPECT_GT(AngleTo(a, Vec(0.1f, 0, -5)), 0.1f);

  // Far aside: the step would pass the target, so the object faces it.
  TCountedPtr<TFrame8> side = Target(10, 0, -1);
  a.TurnToward(side.Get());
  EXPECT_NEAR(AngleTo(a, Vec(10, 0, -1)), 0.0f, 0.05f);
  EXPECT_NEAR(a.GetFront().y, 0.0f, 1e-5) << "the object stays upright";

  TestObject b(0.5f, 1);
  b.SetPosition(Vec(1, 0, 10));
  b.Attach(&stage);
  a.TurnTowardObject(&b);
  EXPECT_NEAR(AngleTo(a, Vec(1, 0, 10)), 0.0f, 0.05f);
  b.Detach();
  a.Detach();
}

TEST_F(TurnTest, FacingNeedsAReferenceFrame) {
  TestObject a(0.5f, 1), b(0.5f, 1);
  b.SetPosition(Vec(5, 0, 0));
  const plat::D3DXMATRIX before = *a.GetFrame()->GetMatrix();
  a.FaceObject(&b, nullptr, 4);
  EXPECT_TRUE(SameBytes(*a.GetFrame()->GetMatrix(), before)) << "not attached: no scene frame to aim in";
  a.FaceObject(&b, stage.scene.Get(), 4);
  EXPECT_NEAR(AngleTo(a, Vec(5, 0, 0)), 0.0f, 0.05f);
}

TEST_F(GameObjectTest, ACopyIsANewObjectLikeItsSource) {
  TestObject source(0.8f, 0, -0.02f);
  source.SetGravity(-0.2f);
  source.SetPosition(Vec(4, 5, 6));
  source.SetVelocityY(-0.3f);
  source.Attach(&stage);
  source.SetShadowVisible(0);

  TestObject copy(source);
  EXPECT_NE(copy.GetObjectId(), source.GetObjectId());
  EXPECT_EQ(copy.GetKind(), source.GetKind());
  EXPECT_FLOAT_EQ(copy.GetBodyHeight(), 0.8f);
  EXPECT_FLOAT_EQ(copy.GetMaxVerticalSpeed(), 0.4f);
  EXPECT_FALSE(copy.IsPushable());
  EXPECT_FALSE(copy.IsShadowVisible());
  EXPECT_FLOAT_EQ(copy.GetGravity(), -0.2f);
  EXPECT_FLOAT_EQ(copy.GetDefaultGravity(), -0.2f) << "the source's current gravity becomes the default";
  EXPECT_EQ(copy.GetVelocity().y, 0.0f);
  EXPECT_TRUE(Near(copy.GetPosition(), Vec(0, 0, 0)));
  EXPECT_EQ(copy.GetStage(), nullptr);

  EXPECT_NE(copy.GetFrame(), source.GetFrame());
  EXPECT_EQ(copy.GetFrame()->GetName(), "body");
  EXPECT_EQ(copy.GetModel(), copy.GetFrame()->FindMesh("body", false));
  EXPECT_NE(copy.GetShadowFrame(), source.GetShadowFrame());
  EXPECT_EQ(copy.GetShadowFrame()->GetParent(), nullptr);
  ASSERT_EQ(copy.GetShadowFrame()->GetMeshes().size(), 1u);
  EXPECT_EQ(RenderMode(*copy.GetShadowFrame()), kHiddenRenderMode) << "the shadow is copied as it is";
  float height;
  uint8_t below, wall, landed, ceiling;
  D3DXVECTOR3 normal;
  copy.GetGroundState(height, below, wall, landed, ceiling, normal);
  EXPECT_EQ(height, FLT_MAX);
  source.Detach();
}

}  // namespace
