#include "game/field/TMapData.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/game/field/MapFixture.h"

namespace {

using datakit::ByteWriter;
using datakit::MapDataWriter;
using datakit::MapEntryWriter;
using datakit::Vec3;
using plat::D3DXVECTOR3;

void ExpectVec(const D3DXVECTOR3& v, Vec3 w) {
  EXPECT_FLOAT_EQ(v.x, w.x);
  EXPECT_FLOAT_EQ(v.y, w.y);
  EXPECT_FLOAT_EQ(v.z, w.z);
}

// A point p as a row vector through m.
Vec3 Apply(const plat::D3DXMATRIX& m, Vec3 p) {
  return {p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
          p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43};
}

void ExpectNear(Vec3 a, Vec3 b) {
  EXPECT_NEAR(a.x, b.x, 1e-5f);
  EXPECT_NEAR(a.y, b.y, 1e-5f);
  EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(MapNameTest, SplitsAtTheFirstSlash) {
  struct Case {
    const char* name;
    bool hasFile;
    const char* file;
    bool hasEntry;
    const char* entry;
  };
  const Case cases[] = {
      {"03.pbms/town01", true, "03.pbms", true, "town01"},
      {"a/b/c", true, "a", true, "b/c"},
      {"03.pbms", false, "", false, ""},
      {"/town01", false, "", false, ""},
      {"03.pbms/", true, "03.pbms", false, ""},
      {"", false, "", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string file = "stale", entry = "stale";
    EXPECT_EQ(GetMapFileName(c.name, file), c.hasFile);
    EXPECT_EQ(file, c.file);
    EXPECT_EQ(GetMapEntryName(c.name, entry), c.hasEntry);
    EXPECT_EQ(entry, c.entry);
  }
}

class TMapDataTest : public MapFixture {};

TEST_F(TMapDataTest, TheFirstOfTwoEqualEntriesWinsAndNamesMatchExactly) {
  Save(MapDataWriter()
           .Entry("Town", MapEntryWriter().Name("upper"))
           .Entry("town", MapEntryWriter().Name("first"))
           .Entry("town", MapEntryWriter().Name("second")));
  EXPECT_EQ(TMapData("t.pbms/town").GetNames(), std::vector<std::string>{"first"});
  EXPECT_EQ(TMapData("t.pbms/Town").GetNames(), std::vector<std::string>{"upper"});
}

TEST_F(TMapDataTest, OnlyTheLowSixteenBitsOfAnIdCount) {
  MapEntryWriter entry;
  entry.Name("a").Id(0x00000020).Id(0x0000FFFE).Name("b");
  entry.Raw(ByteWriter().U32(0x00010019).LString("c"));  // chunk 25 with high bits set
  entry.End(0x0001FFFF).Name("after the end");
  const TMapData map = Read(entry);
  EXPECT_EQ(map.GetNames(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(TMapDataTest, MissingChunksLeaveTheDefaults) {
  const TMapData map = Read(MapEntryWriter().Header({}));
  EXPECT_FALSE(map.GetFog().present);
  EXPECT_EQ(map.GetFog().start, 100.0f);
  EXPECT_EQ(map.GetFog().end, 200.0f);
  EXPECT_EQ(map.GetFog().color, 0xFFFFFFFFu);
  EXPECT_EQ(map.GetDeathScript(), "non");
  EXPECT_EQ(map.GetCameraSetting().mode, 0u);
  EXPECT_FALSE(map.GetSky().present);
  EXPECT_FALSE(map.GetMapStart().present);
  EXPECT_EQ(map.GetEnemyLimits().maximum, 0u);
  EXPECT_EQ(map.GetEnemyLimits().spawnRange, 3.4028235e38f);
  EXPECT_FALSE(map.HasStartTransform());
  EXPECT_FALSE(map.GetKeepMusic());
  EXPECT_TRUE(map.GetCameraPoints().empty());
  EXPECT_TRUE(map.GetVisiblePieces().empty());
}

TEST_F(TMapDataTest, TheStartTransformCountsOnlyWithAllThreeVectors) {
  Save(MapDataWriter().Entry("m", MapEntryWriter()));
  const D3DXVECTOR3 position(1, 2, 3), facing(0, 0, -1), camera(4, 5, 6);
  const TMapData given("t.pbms/m", &position, &facing, &camera);
  EXPECT_TRUE(given.HasStartTransform());
  ExpectVec(given.GetStartPosition(), {1, 2, 3});
  ExpectVec(given.GetStartFacing(), {0, 0, -1});
  ExpectVec(given.GetStartCamera(), {4, 5, 6});
  EXPECT_FALSE(TMapData("t.pbms/m", &position, &facing, nullptr).HasStartTransform());
}

TEST_F(TMapDataTest, PlacesAMeshPieceByItsAxesScaleAndPosition) {
  datakit::MeshPieceRow plain;
  plain.position = {5, 0, 0};
  plain.forward = {0, 0, 2};
  plain.up = {0, 3, 0};
  plain.meshName = "tree.msh";
  datakit::MeshPieceRow turned;
  turned.position = {0, 1, 0};
  turned.forward = {1, 0, 0};
  turned.scale = {2, 3, 4};
  turned.mirrorAxis = 3;
  turned.renderFlag = 1;
  turned.shaderKind = 5;
  turned.meshName = "wall.msh";
  turned.collisionName = "wall_c.msh";
  const TMapData map = Read(MapEntryWriter().MeshPiece(plain).MeshPiece(turned));

  ASSERT_EQ(map.GetVisiblePieces().size(), 2u);
  ASSERT_EQ(map.GetCollisionPieces().size(), 1u);  // "non" adds no collision piece
  const TMeshPiece& first = map.GetVisiblePieces()[0];
  EXPECT_EQ(first.meshName, "tree.msh");
  plat::D3DXMATRIX moved;
  plat::D3DXMatrixTranslation(&moved, 5, 0, 0);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(first.matrix.m[r][c], moved.m[r][c], 1e-6f) << r << "," << c;

  // Forward +x turns local z onto world x; the scale then acts along the world axes.
  const TMeshPiece& second = map.GetVisiblePieces()[1];
  ExpectNear(Apply(second.matrix, {0, 0, 1}), {2, 1, 0});
  ExpectNear(Apply(second.matrix, {0, 1, 0}), {0, 4, 0});
  ExpectNear(Apply(second.matrix, {1, 0, 0}), {0, 1, -4});
  const TMeshPiece& collision = map.GetCollisionPieces()[0];
  EXPECT_EQ(collision.meshName, "wall_c.msh");
  for (const TMeshPiece* p : {&second, &collision}) {
    EXPECT_EQ(p->mirrorAxis, 3u);
    EXPECT_EQ(p->renderFlag, 1u);
    EXPECT_EQ(p->shaderKind, 5u);
    EXPECT_EQ(0, std::memcmp(&p->matrix, &second.matrix, sizeof p->matrix));
  }
}

TEST_F(TMapDataTest, TheViewFactorScalesAndOffsetsTheMarkedValues) {
  datakit::MapHeaderRow header;
  header.cellWidth = 10;
  header.cellDepth = 20;
  MapEntryWriter entry;
  entry.Header(header).View(0.5f, 300, 45).Fog(30, 90, 0xFF112233).Sky("sky00", {1, 2, 3, 4, 5, 6, 7});
  struct Case {
    float view, scale, offset;
  };
  for (const Case& c : {Case{1.0f, 1.0f, 0.0f}, Case{0.8f, 0.9f, 0.24f}}) {
    SCOPED_TRACE(c.view);
    SetViewScale(c.view);
    const TMapData map = Read(entry);
    EXPECT_FLOAT_EQ(map.GetHeader().cellWidth, 10 * c.scale);
    EXPECT_FLOAT_EQ(map.GetHeader().cellDepth, 20 * c.scale);
    EXPECT_FLOAT_EQ(map.GetView().nearClip, 0.5f);
    EXPECT_FLOAT_EQ(map.GetView().farClip, 300 * c.scale);
    EXPECT_FLOAT_EQ(map.GetView().fieldOfView, 45);
    EXPECT_FLOAT_EQ(map.GetFog().start, 30 * c.scale);
    EXPECT_FLOAT_EQ(map.GetFog().end, 90 * c.scale);
    const std::array<float, 7> expected = {1, 2, 3 * c.scale, 4 * c.scale, 5 + c.offset, 6 * c.scale, 7};
    for (size_t i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(map.GetSky().values[i], expected[i]) << "s" << i + 1;
  }
}

TEST_F(TMapDataTest, SingleValuesTakeTheLastChunkAndTablesKeepFileOrder) {
  datakit::MapHeaderRow town, battle;
  town.baseName = "town";
  battle.kind = 1;
  battle.baseName = "field";
  MapEntryWriter entry;
  entry.Header(town).ChaseCamera(1, 2, 3, "chase").SavePoint(2, {}).Header(battle).RailCamera(7).SavePoint(1, {});
  const TMapData map = Read(entry);
  EXPECT_EQ(map.GetKind(), 1u);
  EXPECT_EQ(map.GetHeader().baseName, "field");
  EXPECT_EQ(map.GetCameraSetting().mode, 32u);
  EXPECT_EQ(map.GetCameraSetting().name, "chase");  // mode 32 leaves the chase values
  ASSERT_EQ(map.GetSavePoints().size(), 2u);
  EXPECT_EQ(map.GetSavePoints()[0].number, 2u);
  EXPECT_EQ(map.GetSavePoints()[1].number, 1u);
}

// Every chunk kind with distinct values, read back field by field.
TEST_F(TMapDataTest, EveryChunkKindRoundTripsThroughTheWriter) {
  datakit::MapHeaderRow header{0xA1B2C3D4, 1, "dungeon01.msh", "\x92\x6e\x89\xba", "field.ogg", 8, 12, 16.5f, 24.5f};
  datakit::MeshPieceRow piece;
  piece.position = {1, 2, 3};
  piece.mirrorAxis = 1;
  piece.renderFlag = 0;
  piece.shaderKind = 2;
  piece.meshName = "rock.msh";
  piece.collisionName = "rock_c.msh";
  const datakit::ExitRow boxTarget{{1, 0, 2}, {0, 0, -1}, {1, 3, 6}, 1, "03.pbms/town"};
  const datakit::ExitRow circleTarget{{4, 0, 5}, {1, 0, 0}, {7, 2, 5}, 0, "03.pbms/cave"};
  MapEntryWriter entry;
  entry.Header(header)
      .View(0.25f, 500, 60)
      .Fog(40, 140, 0xFF405060)
      .Sky("sky01", {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f})
      .PlayerStart({1, 2, 3}, {0, 0, 1}, {1, 5, -3})
      .CameraMode1({9, 8, 7})
      .CameraMode2(1.5f, {1, 1, 1}, {2, 2, 2})
      .CameraMode4(2.5f, {3, 3, 3}, "cam4")
      .CameraMode8(3.5f, {4, 4, 4})
      .ChaseCamera(4.5f, 6, 2.5f, "chase")
      .RailCamera(77)
      .CameraPoint({10, 0, 10}, 3, 4, 5, 1.5f, 9)
      .FixedCameraPoint({20, 0, 20}, {22, 6, 18}, 11)
      .MeshPiece(piece)
      .EnemyLimits(4, 30)
      .EnemyPlacement(101, {1, 0, 1}, {0, 0, 1})
      .EnemySpawn(102, {2, 0, 2}, {1, 0, 0}, 600, 7.5f)
      .MapItem(5, 12, 0, {3, 0, 3}, {9, 9, 9}, {8, 8, 8})
      .MapItem(0xFFFFFFFF, 0xFFFFFFFF, 250, {4, 0, 4})
      .SavePoint(3, {5, 0, 5})
      .BoxTrigger({0, 0, 0}, {1, 2, 3}, {0, 0, 1}, "03.pbsc/box")
      .ExamineTrigger({6, 0, 6}, 1.25f, "03.pbsc/look")
      .CountCondition(5, "03.pbsc/count")
      .EnemyCondition(9, "03.pbsc/boss")
      .BoxExit({-1, 0, -1}, {1, 2, 1}, {0, 0, -1}, boxTarget)
      .CircleExit({8, 0, 8}, 0.75f, circleTarget)
      .Name("villager01")
      .Name("villager02")
      .MiniMap("mini01")
      .DeathScript("03.pbsc/death")
      .ExtraName("extra")
      .BoxTestTrigger({2, 0, 2}, {3, 1, 3}, "03.pbsc/stand");
  const TMapData map = Read(entry);

  const TMapHeader& h = map.GetHeader();
  EXPECT_EQ(h.headerWord, 0xA1B2C3D4u);
  EXPECT_EQ(map.GetKind(), 1u);
  EXPECT_EQ(h.baseName, "dungeon01.msh");
  EXPECT_EQ(h.areaTitle, "\x92\x6e\x89\xba");
  EXPECT_EQ(h.musicName, "field.ogg");
  EXPECT_EQ(h.collisionA, 8u);
  EXPECT_EQ(h.collisionB, 12u);
  EXPECT_EQ(h.CollisionCellSizeX(), 8.0f);
  EXPECT_EQ(h.CollisionCellSizeZ(), 12.0f);
  EXPECT_EQ(h.cellWidth, 16.5f);
  EXPECT_EQ(h.cellDepth, 24.5f);

  EXPECT_EQ(map.GetView().nearClip, 0.25f);
  EXPECT_EQ(map.GetView().farClip, 500.0f);
  EXPECT_EQ(map.GetView().fieldOfView, 60.0f);
  EXPECT_TRUE(map.GetFog().present);
  EXPECT_EQ(map.GetFog().start, 40.0f);
  EXPECT_EQ(map.GetFog().end, 140.0f);
  EXPECT_EQ(map.GetFog().color, 0xFF405060u);
  EXPECT_TRUE(map.GetSky().present);
  EXPECT_EQ(map.GetSky().name, "sky01");
  EXPECT_EQ(map.GetSky().values, (std::array<float, 7>{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f}));
  EXPECT_TRUE(map.GetMapStart().present);
  ExpectVec(map.GetMapStart().position, {1, 2, 3});
  ExpectVec(map.GetMapStart().facing, {0, 0, 1});
  ExpectVec(map.GetMapStart().camera, {1, 5, -3});

  const TMapCameraSetting& cam = map.GetCameraSetting();
  EXPECT_EQ(cam.mode, 32u);
  ExpectVec(cam.vector, {4, 4, 4});  // modes 1 and 8 share it; 8 came last
  EXPECT_EQ(cam.value, 4.5f);
  ExpectVec(cam.mode2First, {1, 1, 1});
  ExpectVec(cam.mode2Second, {2, 2, 2});
  ExpectVec(cam.mode4Vector, {3, 3, 3});
  EXPECT_EQ(cam.name, "chase");
  EXPECT_EQ(cam.chaseDistance, 6.0f);
  EXPECT_EQ(cam.chaseHeight, 2.5f);
  EXPECT_EQ(cam.railValue, 77u);

  ASSERT_EQ(map.GetCameraPoints().size(), 2u);
  const TCameraPoint& relative = map.GetCameraPoints()[0];
  EXPECT_EQ(relative.kind, 0u);
  ExpectVec(relative.position, {10, 0, 10});
  EXPECT_EQ(relative.value, 9.0f);
  EXPECT_EQ(relative.dx, 3.0f);
  EXPECT_EQ(relative.dz, 4.0f);
  EXPECT_EQ(relative.distance, 5.0f);
  EXPECT_EQ(relative.height, 1.5f);
  ExpectVec(relative.direction, {0.6f, 0, 0.8f});
  ExpectVec(relative.offset, {3, 1.5f, 4});
  const TCameraPoint& fixed = map.GetCameraPoints()[1];
  EXPECT_EQ(fixed.kind, 1u);
  ExpectVec(fixed.position, {20, 0, 20});
  EXPECT_EQ(fixed.value, 11.0f);
  ExpectVec(fixed.fixedPosition, {22, 6, 18});

  ASSERT_EQ(map.GetVisiblePieces().size(), 1u);
  ASSERT_EQ(map.GetCollisionPieces().size(), 1u);
  EXPECT_EQ(map.GetVisiblePieces()[0].meshName, "rock.msh");
  EXPECT_EQ(map.GetVisiblePieces()[0].mirrorAxis, 1u);
  EXPECT_EQ(map.GetVisiblePieces()[0].shaderKind, 2u);
  EXPECT_EQ(map.GetVisiblePieces()[0].matrix._42, 2.0f);
  EXPECT_EQ(map.GetCollisionPieces()[0].meshName, "rock_c.msh");

  EXPECT_EQ(map.GetEnemyLimits().maximum, 4u);
  EXPECT_EQ(map.GetEnemyLimits().spawnRange, 30.0f);
  ASSERT_EQ(map.GetEnemyPlacements().size(), 1u);
  EXPECT_EQ(map.GetEnemyPlacements()[0].enemyId, 101u);
  ExpectVec(map.GetEnemyPlacements()[0].position, {1, 0, 1});
  ExpectVec(map.GetEnemyPlacements()[0].direction, {0, 0, 1});
  ASSERT_EQ(map.GetEnemySpawns().size(), 1u);
  const TEnemySpawnRecord& spawn = map.GetEnemySpawns()[0];
  EXPECT_EQ(spawn.enemyId, 102u);
  ExpectVec(spawn.position, {2, 0, 2});
  ExpectVec(spawn.direction, {1, 0, 0});
  EXPECT_EQ(spawn.respawnInterval, 600u);
  EXPECT_EQ(spawn.homeRadius, 7.5f);

  ASSERT_EQ(map.GetMapItems().size(), 2u);
  EXPECT_EQ(map.GetMapItems()[0].itemId, 5u);
  EXPECT_EQ(map.GetMapItems()[0].pickupFlagIndex, 12u);
  ExpectVec(map.GetMapItems()[0].position, {3, 0, 3});
  EXPECT_EQ(map.GetMapItems()[1].itemId, 0xFFFFFFFFu);
  EXPECT_EQ(map.GetMapItems()[1].goldAmount, 250u);
  ASSERT_EQ(map.GetSavePoints().size(), 1u);
  EXPECT_EQ(map.GetSavePoints()[0].number, 3u);
  ExpectVec(map.GetSavePoints()[0].position, {5, 0, 5});

  ASSERT_EQ(map.GetBoxTriggers().size(), 1u);
  ExpectVec(map.GetBoxTriggers()[0].corner2, {1, 2, 3});
  ExpectVec(map.GetBoxTriggers()[0].direction, {0, 0, 1});
  EXPECT_EQ(map.GetBoxTriggers()[0].scriptName, "03.pbsc/box");
  ASSERT_EQ(map.GetExamineTriggers().size(), 1u);
  ExpectVec(map.GetExamineTriggers()[0].position, {6, 0, 6});
  EXPECT_EQ(map.GetExamineTriggers()[0].radius, 1.25f);
  EXPECT_EQ(map.GetExamineTriggers()[0].scriptName, "03.pbsc/look");
  ASSERT_EQ(map.GetCountConditions().size(), 1u);
  EXPECT_EQ(map.GetCountConditions()[0].defeatedCount, 5u);
  EXPECT_EQ(map.GetCountConditions()[0].scriptName, "03.pbsc/count");
  ASSERT_EQ(map.GetEnemyConditions().size(), 1u);
  EXPECT_EQ(map.GetEnemyConditions()[0].enemyNumber, 9u);
  EXPECT_EQ(map.GetEnemyConditions()[0].scriptName, "03.pbsc/boss");
  ASSERT_EQ(map.GetBoxTestTriggers().size(), 1u);
  ExpectVec(map.GetBoxTestTriggers()[0].corner1, {2, 0, 2});
  ExpectVec(map.GetBoxTestTriggers()[0].corner2, {3, 1, 3});
  EXPECT_EQ(map.GetBoxTestTriggers()[0].scriptName, "03.pbsc/stand");

  ASSERT_EQ(map.GetBoxExits().size(), 1u);
  const TBoxExitRecord& box = map.GetBoxExits()[0];
  ExpectVec(box.corner1, {-1, 0, -1});
  ExpectVec(box.corner2, {1, 2, 1});
  ExpectVec(box.direction, {0, 0, -1});
  ExpectVec(box.target.startPosition, {1, 0, 2});
  ExpectVec(box.target.startFacing, {0, 0, -1});
  ExpectVec(box.target.startCamera, {1, 3, 6});
  EXPECT_EQ(box.target.transitionKind, 1u);
  EXPECT_EQ(box.target.destination, "03.pbms/town");
  ASSERT_EQ(map.GetCircleExits().size(), 1u);
  const TCircleExitRecord& circle = map.GetCircleExits()[0];
  ExpectVec(circle.centre, {8, 0, 8});
  EXPECT_EQ(circle.radius, 0.75f);
  ExpectVec(circle.target.startPosition, {4, 0, 5});
  ExpectVec(circle.target.startFacing, {1, 0, 0});
  ExpectVec(circle.target.startCamera, {7, 2, 5});
  EXPECT_EQ(circle.target.transitionKind, 0u);
  EXPECT_EQ(circle.target.destination, "03.pbms/cave");

  EXPECT_EQ(map.GetNames(), (std::vector<std::string>{"villager01", "villager02"}));
  EXPECT_EQ(map.GetMiniMapName(), "mini01");
  EXPECT_EQ(map.GetDeathScript(), "03.pbsc/death");
  EXPECT_EQ(map.GetExtraName(), "extra");
}

TEST_F(TMapDataTest, AMissingOrDamagedMapIsAnErrorNamingIt) {
  datakit::MapHeaderRow header;
  header.baseName = "town.msh";
  MapEntryWriter full;
  full.Header(header).Fog(1, 2, 3).MeshPiece({}).Name("villager").DeathScript("03.pbsc/d");
  Save(MapDataWriter().Entry("m", full));
  EXPECT_NE(LoadError("nofile.pbms/m").find("map \"nofile.pbms/m\""), std::string::npos);
  EXPECT_NE(LoadError("t.pbms/other").find("map \"t.pbms/other\": the map file holds no such map"),
            std::string::npos);
  EXPECT_NE(LoadError("t.pbms").find("not a \"file/entry\" name"), std::string::npos);

  // Every cut before the end id, inside the directory, an id or any payload.
  const std::vector<uint8_t> bytes = MapDataWriter().Entry("m", full).Build();
  for (size_t size = 0; size < bytes.size(); ++size) {
    SCOPED_TRACE(size);
    datakit::SaveFile(FilePath(), std::vector<uint8_t>(bytes.begin(), bytes.begin() + size));
    EXPECT_NE(LoadError("t.pbms/m").find("map \"t.pbms/m\""), std::string::npos);
  }

  // A directory count the file cannot hold, and an entry offset beyond the end.
  datakit::SaveFile(FilePath(), ByteWriter().U32(0xFFFFFFFF).LString("m").U32(12).U32(0xFFFF).data());
  EXPECT_NE(LoadError("t.pbms/m").find("directory"), std::string::npos);
  datakit::SaveFile(FilePath(), ByteWriter().U32(1).LString("m").U32(4000).U32(0xFFFF).data());
  EXPECT_NE(LoadError("t.pbms/m").find("offset"), std::string::npos);
  // A string length that runs past the end.
  datakit::SaveFile(FilePath(), ByteWriter().U32(1).LString("m").U32(13).U32(25).U32(0x7FFFFFFF).data());
  EXPECT_NE(LoadError("t.pbms/m").find("map \"t.pbms/m\""), std::string::npos);
}

}  // namespace
