// The collision queries: a sphere against floors, ramps, walls, ceilings and placed parts, the
// ground under a point, and the per-tick passes over the registered objects.
#include <cfloat>
#include <cmath>

#include "game/field/CollisionGeometry.h"
#include "tests/game/field/FieldFixture.h"

namespace {

using namespace fieldtest;
using namespace mathcheck;

class QueryTest : public FieldFixture {
 protected:
  // The sphere of radius 0.5 standing at the point, against the stage's grid.
  TCollisionResult Collide(D3DXVECTOR3& position, float radius = 0.5f) {
    TCollisionResult r;
    stage.collision.GetGrid().CollideSphere(position, radius, r);
    return r;
  }
  void AddPart(const datakit::MeshShape& shape, float red = 0.0f) {
    TMesh8 mesh = CollisionMesh(shape, red);
    stage.collision.AddPart(mesh);
  }
};

TEST(CollisionGeometry, LinesBordersAndInsideTests) {
  EXPECT_TRUE(Near(ClosestPointOnLine(Vec(3, 4, 0), Vec(0, 0, 0), Vec(2, 0, 0)), Vec(3, 0, 0)));
  EXPECT_TRUE(Near(ProjectAlongDirection(Vec(1, 5, 1), Vec(0, 1, 0), Vec(0, 1, 0), -2), Vec(1, 2, 1)));
  const D3DXVECTOR3 p0 = Vec(0, 0, 0), p1 = Vec(0, 0, 2), p2 = Vec(2, 0, 0), up = Vec(0, 1, 0);
  EXPECT_TRUE(IsPointInTriangle(Vec(0.5f, 0, 0.5f), p0, p1, p2, up));
  EXPECT_TRUE(IsPointInTriangle(Vec(1, 0, 0), p0, p1, p2, up)) << "on an edge";
  EXPECT_FALSE(IsPointInTriangle(Vec(2, 0, 2), p0, p1, p2, up));
  EXPECT_FALSE(IsPointInTriangle(Vec(0.5f, 0, 0.5f), p0, p1, p2, Vec(0, -1, 0))) << "the winding counts";
  float distance;
  EXPECT_TRUE(Near(ClosestPointOnTriangleBorder(Vec(-1, 0, -1), p0, p1, p2, distance), p0)) << "past a corner";
  EXPECT_FLOAT_EQ(distance, std::sqrt(2.0f));
  EXPECT_TRUE(Near(ClosestPointOnTriangleBorder(Vec(1, 3, -1), p0, p1, p2, distance), Vec(1, 0, 0)));
  EXPECT_FLOAT_EQ(distance, std::sqrt(10.0f));
}

TEST_F(QueryTest, ASphereOnAFloor) {
  BuildStage(Floor(8, 0, 0, 0));
  struct Case {
    const char* what;
    float y, wantY;
    uint8_t below, onGround;
    float level;
  } cases[] = {
      {"exactly on the floor: not below the radius, so not on the ground", 0, 0, 1, 0, 0},
      {"sunk 0.01: lifted onto it", -0.01f, 0, 1, 1, 0},
      {"above it", 1, 1, 1, 0, 0},
      {"centre below the floor: not seen", -1, -1, 0, 0, FLT_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 p = Vec(0.3f, c.y, -1.2f);
    const TCollisionResult r = Collide(p);
    EXPECT_FLOAT_EQ(p.y, c.wantY);
    EXPECT_EQ(p.x, 0.3f);
    EXPECT_EQ(p.z, -1.2f);
    EXPECT_EQ(r.groundBelow, c.below);
    EXPECT_EQ(r.onGround, c.onGround);
    EXPECT_EQ(r.groundLevel, c.level);
    EXPECT_EQ(r.wallHit | r.ceilingHit, 0);
    EXPECT_TRUE(Near(r.groundNormal, Vec(0, 1, 0)));
  }
}

TEST_F(QueryTest, ARampLiftsStraightUpAndGivesItsNormal) {
  BuildStage(TiltedZ(datakit::PlaneShape(4, 4), 45));
  D3DXVECTOR3 p = Vec(0.5f, 0.4f, 0);  // the ramp is at height 0.5 here
  const TCollisionResult r = Collide(p);
  EXPECT_NEAR(p.y, 0.5f, 1e-5);
  EXPECT_EQ(p.x, 0.5f);
  EXPECT_EQ(r.onGround, 1);
  EXPECT_NEAR(r.groundLevel, 0.5f, 1e-5);
  EXPECT_TRUE(Near(r.groundNormal, Vec(-0.70710678f, 0.70710678f, 0)));
}

TEST_F(QueryTest, TwoFloorsAndALedge) {
  // The upper floor (index 2 and 3) covers the middle of the lower one.
  datakit::MeshShape floors = Floor(8, 0, 0, 0);
  floors.Append(Floor(2, 0, 1, 0));
  BuildStage(floors);
  struct Case {
    const char* what;
    float y, wantY, level;
    uint8_t onGround;
  } cases[] = {
      {"above both: the higher", 1.2f, 1.2f, 1, 0},
      {"sunk into the upper", 0.95f, 1, 1, 1},
      {"under the ledge: its plane point lies above the centre", 0.3f, 0.3f, 0, 0},
      {"on the lower floor under the ledge", -0.02f, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 p = Vec(0.2f, c.y, 0.1f);
    const TCollisionResult r = Collide(p);
    EXPECT_FLOAT_EQ(p.y, c.wantY);
    EXPECT_FLOAT_EQ(r.groundLevel, c.level);
    EXPECT_EQ(r.onGround, c.onGround);
  }
  // Beside the ledge only the lower floor lies below.
  D3DXVECTOR3 p = Vec(3, 2, 3);
  EXPECT_FLOAT_EQ(Collide(p).groundLevel, 0);
}

TEST_F(QueryTest, AWallPushesOutFromItsFrontOnly) {
  // A floor and a wall in the plane x = 2 facing +x, 3 high, from z = -2 to 2.
  datakit::MeshShape shape = Floor(8, 0, 0, 0);
  shape.Append(Wall(2, 2, 3));
  BuildStage(shape);
  struct Case {
    const char* what;
    D3DXVECTOR3 position, want;
    uint8_t wallHit;
  } cases[] = {
      {"in front within the radius", Vec(2.3f, 1, 0), Vec(2.5f, 1, 0), 1},
      {"centre just behind the face: put in front", Vec(1.8f, 1, 0), Vec(2.5f, 1, 0), 1},
      {"clear of the wall", Vec(2.6f, 1, 0), Vec(2.6f, 1, 0), 0},
      {"touching the edge from the front: pushed out radially", Vec(2.3f, 1, 2.3f),
       Vec(2 + 0.35355339f, 1, 2 + 0.35355339f), 1},
      {"behind the wall past its edge: not pushed", Vec(1.7f, 1, 2.3f), Vec(1.7f, 1, 2.3f), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 p = c.position;
    const TCollisionResult r = Collide(p);
    EXPECT_TRUE(Near(p, c.want));
    EXPECT_EQ(r.wallHit, c.wallHit);
    EXPECT_EQ(r.ceilingHit, 0);
    EXPECT_EQ(r.groundBelow, 1) << "the floor is still found";
  }
}

TEST_F(QueryTest, ACeilingPushesDown) {
  datakit::MeshShape shape = Floor(8, 0, 0, 0);
  shape.Append(Flipped(Floor(8, 0, 2, 0)));
  BuildStage(shape);
  D3DXVECTOR3 p = Vec(0.5f, 1.2f, 0.5f);  // the head 0.3 into the ceiling
  const TCollisionResult r = Collide(p);
  EXPECT_NEAR(p.y, 1.0f, 1e-5);
  EXPECT_EQ(r.ceilingHit, 1);
  EXPECT_EQ(r.wallHit, 0);
  EXPECT_EQ(r.groundLevel, 0.0f);
}

TEST_F(QueryTest, TheGridSeesOnlyTrianglesWithACornerNearby) {
  // A 20 m floor under 2 m cells: only the corner cells list its triangles.
  TMesh8 mesh = CollisionMesh(Floor(20, 0, 0, 0));
  stage.collision.Build(mesh, 2, 2);
  TGroundResult g;
  stage.collision.FindGround(Vec(0, 1, 0), g);
  EXPECT_EQ(g.found, 0);
  EXPECT_EQ(g.height, FLT_MAX);
  stage.collision.FindGround(Vec(-9, 1, -9), g);
  EXPECT_EQ(g.found, 1);
  EXPECT_EQ(g.height, 0.0f);
}

TEST_F(QueryTest, PartsAddTheirGroundToTheGrids) {
  BuildStage(Floor(8, 0, 0, 0));
  AddPart(Floor(2, 10, 0.5f, 10), 0.27f);  // off the grid: found by the part alone
  AddPart(Floor(2, 3, 0.3f, 3), 0.12f);    // a platform on the floor
  ASSERT_EQ(stage.collision.GetParts().size(), 2u);
  EXPECT_FLOAT_EQ(stage.collision.GetParts()[1].GetBounds().x, 3);

  TGroundResult g;
  stage.collision.FindGround(Vec(10.5f, 2, 10), g);
  EXPECT_EQ(g.found, 1);
  EXPECT_FLOAT_EQ(g.height, 0.5f) << "no ground from the grid is replaced by the part's";
  stage.collision.FindGround(Vec(11.9f, 2, 10), g);
  EXPECT_EQ(g.found, 0) << "within reach of the part but beside its triangles";
  stage.collision.FindGround(Vec(3, 2, 3), g);
  EXPECT_FLOAT_EQ(g.height, 0.3f);
  stage.collision.FindGround(Vec(0, 2, 0), g);
  EXPECT_FLOAT_EQ(g.height, 0.0f);

  // The sphere: the grid's floor first, then the platform lifts it further.
  D3DXVECTOR3 p = Vec(3, 0.25f, 3);
  TCollisionResult r = Collide(p);
  EXPECT_EQ(r.groundLevel, 0.0f);
  EXPECT_EQ(r.onGround, 0);
  for (const TCollisionPart& part : stage.collision.GetParts()) part.CollideSphere(p, 0.5f, r);
  EXPECT_FLOAT_EQ(p.y, 0.3f);
  EXPECT_FLOAT_EQ(r.groundLevel, 0.3f);
  EXPECT_EQ(r.onGround, 1);
  EXPECT_EQ(r.surfaceCode, 3u);
}

// A low fence piece in the plane x = 2 facing +x, 1 high, from z = -2 to 2: its bounding circle
// is centred on (2, 0) with the radius of its far corners, sqrt(2^2 + 0.5^2) = 2.06. A body
// touching one of its ends from outside has its centre farther out than that, but within the
// circle widened by its own radius, and is pushed out of the end.
TEST_F(QueryTest, APieceHoldsOffASphereTouchingItsEndFromOutsideItsBoundingCircle) {
  BuildStage(Floor(8, 0, 0, 0));
  AddPart(Wall(2, 2, 1));
  const TCollisionPart& fence = stage.collision.GetParts()[0];
  struct Case {
    const char* what;
    D3DXVECTOR3 position, want;
  } cases[] = {
      // The end's edge at (2, 0.5, 2); the centre 0.1 in front and 0.3 past it, 0.316 away.
      {"past the near end", Vec(2.1f, 0, 2.3f), Vec(2 + 0.15811388f, 0, 2 + 0.47434165f)},
      // The other end at (2, 0.5, -2); 0.2 in front and 0.3 past it, 0.361 away.
      {"past the far end", Vec(2.2f, 0, -2.3f), Vec(2 + 0.2773501f, 0, -2 - 0.41602515f)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 p = c.position;
    const float out = std::hypot(p.x - fence.GetBounds().x, p.z - fence.GetBounds().z);
    ASSERT_GT(out, fence.GetBounds().radius) << "outside the bounding circle";
    ASSERT_LT(out, fence.GetBounds().radius + 0.5f) << "within it widened by the radius";
    TCollisionResult r = Collide(p);
    EXPECT_EQ(r.wallHit, 0) << "the grid holds only the floor";
    fence.CollideSphere(p, 0.5f, r);
    EXPECT_TRUE(Near(p, c.want));
    EXPECT_EQ(r.wallHit, 1);
    EXPECT_EQ(r.groundBelow, 1) << "the grid's floor is kept";
  }
}

TEST_F(QueryTest, ObjectsFallLandAndStandOnTheGround) {
  BuildStage(Floor(8, 0, 0, 0), 0.12f);
  TestObject a(0.5f, 1, -0.05f);
  a.SetPosition(Vec(1, 1, 1));
  a.Attach(&stage);
  for (int tick = 0; tick < 40; ++tick) {
    a.ApplyGravity();
    stage.collision.SeparateObjects();
    stage.collision.CollideObjects();
    stage.collision.CollideObjectsWithParts();
    a.UpdateShadow();
  }
  EXPECT_TRUE(Near(a.GetPosition(), Vec(1, 0, 1)));
  EXPECT_EQ(a.GetVelocity().y, 0.0f);
  EXPECT_EQ(a.GetSurfaceCode(), 3u);
  float height;
  uint8_t below, wall, landed, ceiling;
  D3DXVECTOR3 normal;
  a.GetGroundState(height, below, wall, landed, ceiling, normal);
  EXPECT_EQ(height, 0.0f);
  EXPECT_EQ(below, 1);
  EXPECT_EQ(landed, 1);
  EXPECT_TRUE(Near(Row(*a.GetShadowFrame()->GetMatrix(), 3), Vec(1, 0.01f, 1)));

  a.airborne = true;  // a jump: the ground is reported but not landed on
  a.SetVelocityY(0.3f);
  a.ApplyGravity();
  stage.collision.CollideObjects();
  a.GetGroundState(height, below, wall, landed, ceiling, normal);
  EXPECT_EQ(landed, 0);
  EXPECT_FLOAT_EQ(a.GetVelocity().y, 0.25f);
  a.Detach();
}

TEST_F(QueryTest, TheCollisionPassesReportWallsAndCeilings) {
  datakit::MeshShape shape = Floor(8, 0, 0, 0);
  shape.Append(Wall(2, 2, 3));
  shape.Append(Flipped(Floor(8, 0, 2, 0)));
  CollisionMesh(shape);  // writes "hit.msh"
  stage.collision.Load("hit.msh", 2, 2);
  TestObject a(0.5f, 1);
  a.SetPosition(Vec(2.3f, 1.2f, 0));
  a.Attach(&stage);
  a.SetVelocityY(0.2f);
  stage.collision.CollideObjects();
  EXPECT_EQ(a.wallHits, 1);
  EXPECT_EQ(a.GetVelocity().y, 0.0f) << "the ceiling stopped the rise";
  EXPECT_TRUE(Near(a.GetPosition(), Vec(2.5f, 1.0f, 0)));
  a.Detach();
}

TEST_F(QueryTest, OverlappingObjectsArePushedApart) {
  struct Case {
    const char* what;
    uint8_t pushA, pushB;
    float wantA, wantB;
    uint32_t farNeighbours;  // a, and b unless it moved 4.0 away
  } cases[] = {
      {"both pushable: half each", 1, 1, -0.2f, 0.8f, 2},
      {"only the first", 1, 0, -0.4f, 0.6f, 2},
      {"only the second", 0, 1, 0, 1.0f, 1},
      {"neither", 0, 0, 0, 0.6f, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestObject a(0.5f, c.pushA), b(0.5f, c.pushB), far(0.5f, 1);
    a.SetPosition(Vec(0, 0, 0));
    b.SetPosition(Vec(0.6f, 0, 0));
    far.SetPosition(Vec(0, 0, 3.9f));  // near enough to count, too far to touch
    for (TestObject* o : {&a, &b, &far}) o->Attach(&stage);
    stage.collision.SeparateObjects();
    EXPECT_NEAR(a.GetPosition().x, c.wantA, 1e-6);
    EXPECT_NEAR(b.GetPosition().x, c.wantB, 1e-6);
    EXPECT_TRUE(Near(far.GetPosition(), Vec(0, 0, 3.9f)));
    EXPECT_EQ(a.GetNeighbourCount(), 2u);
    EXPECT_EQ(far.GetNeighbourCount(), c.farNeighbours);
    for (TestObject* o : {&a, &b, &far}) o->Detach();
  }
}

TEST_F(QueryTest, ThePlayerAndTheActorsTestEachOtherInIdOrder) {
  TestActor::Log log;
  TestActor player(log), first(log), second(log);
  TestObject bystander(0.5f, 1);
  for (TGameObject* o : std::initializer_list<TGameObject*>{&second, &bystander, &player, &first}) o->Attach(&stage);
  stage.collision.TestActorHits(player);
  const uint32_t p = player.GetObjectId(), a = first.GetObjectId(), b = second.GetObjectId();
  EXPECT_EQ(log, (TestActor::Log{{p, p}, {p, a}, {p, b}, {p, p}, {a, p}, {b, p}}));
  for (TGameObject* o : std::initializer_list<TGameObject*>{&second, &bystander, &player, &first}) o->Detach();
}

TEST_F(QueryTest, BuildingEmptiesTheRegistries) {
  TestObject a(0.5f, 1);
  a.Attach(&stage);
  BuildStage(Floor(4, 0, 0, 0));
  EXPECT_TRUE(stage.collision.GetObjects().empty());
  stage.collision.RemoveById(a.GetObjectId());  // no longer there: nothing happens
  a.Detach();
}

}  // namespace
