#include "tools/datakit/SampleMaps.h"

#include <gtest/gtest.h>

#include "common/TView8.h"
#include "game/field/FieldFolders.h"
#include "game/field/TCamera.h"
#include "game/field/TCollisionMesh.h"
#include "game/field/TMapData.h"
#include "game/field/TMeshAreaManager.h"
#include "game/field/TSky.h"
#include "tests/common/MeshFixture.h"
#include "tools/datakit/SampleMeshes.h"

namespace {

// The sample game's maps, read as the field reads them: what the stage build needs is present
// and every mesh they name loads.
class SampleMapsTest : public testkit::MeshFixture {
 protected:
  void SetUp() override {
    MeshFixture::SetUp();
    datakit::WriteSampleMaps(dir.path() + "/");
    TMesh8::SetFolder(dir.path() + "/data/msh03/");
    SetScriptFolder(dir.path() + "/data/scr03/");
    SetMapFolder("map03/");
  }
  void TearDown() override {
    SetScriptFolder("");
    SetMapFolder("");
    MeshFixture::TearDown();
  }

  void ExpectGroundLoads(const TMapData& map) {
    const std::string& base = map.GetHeader().baseName;
    EXPECT_GT(TMesh8::Load(GetMapFolder() + base).GetTriangleCount(), 0);
    EXPECT_GT(TMesh8::Load(GetMapFolder() + "_" + base).GetTriangleCount(), 0);
    EXPECT_TRUE(map.GetFog().present);
    EXPECT_TRUE(map.GetMapStart().present);
    EXPECT_EQ(map.GetHeader().musicName, "field.ogg");
    EXPECT_GE(map.GetHeader().CollisionCellSizeX(), 1.0f);

    // The collision twin builds into a grid with ground under the start and everywhere else, and
    // walls along its edges.
    TCollisionMesh collision;
    collision.Load(GetMapFolder() + "_" + base, map.GetHeader().CollisionCellSizeX(),
                   map.GetHeader().CollisionCellSizeZ());
    const plat::D3DXVECTOR3 start = map.GetMapStart().position;
    for (const plat::D3DXVECTOR3& p : {start, plat::D3DXVECTOR3(0, 0, 0), plat::D3DXVECTOR3(17, 0, -17),
                                       plat::D3DXVECTOR3(-9, 0, 13)}) {
      TGroundResult ground;
      collision.FindGround(plat::D3DXVECTOR3(p.x, p.y + 1, p.z), ground);
      EXPECT_EQ(ground.found, 1) << p.x << ", " << p.z;
      EXPECT_EQ(ground.height, 0.0f);
    }
    plat::D3DXVECTOR3 atWall(1, 0, 19.8f);
    TCollisionResult r;
    collision.GetGrid().CollideSphere(atWall, 0.5f, r);
    EXPECT_EQ(r.wallHit, 1);
    EXPECT_FLOAT_EQ(atWall.z, 19.5f);
  }
};

TEST_F(SampleMapsTest, TheTownHasARailCameraOnTwoPoints) {
  const TMapData town("03.pbms/town");
  EXPECT_EQ(town.GetKind(), 0u);
  EXPECT_EQ(town.GetCameraSetting().mode, 32u);
  EXPECT_GE(town.GetCameraPoints().size(), 2u);
  ExpectGroundLoads(town);
}

TEST_F(SampleMapsTest, TheBattleMapHasAChaseCamera) {
  const TMapData field("03.pbms/field");
  EXPECT_EQ(field.GetKind(), 1u);
  EXPECT_EQ(field.GetCameraSetting().mode, 16u);
  EXPECT_GT(field.GetCameraSetting().chaseDistance, 0.0f);
  ExpectGroundLoads(field);
}

// What the stage load builds of each map: its camera, its sky and its mesh areas, and the minimap
// picture it names.
TEST_F(SampleMapsTest, EachMapBuildsItsCameraSkyAndMeshAreasAndHasAMinimapPicture) {
  datakit::WriteSampleMeshes(dir.path() + "/data/msh03/");
  TTexture8::SetFolder(dir.path() + "/data/ptx03/");
  TVertexShader8::Register(new TSky);
  for (const char* name : {"03.pbms/town", "03.pbms/field"}) {
    SCOPED_TRACE(name);
    const TMapData map(name);
    TView8 view;
    view.SetProjection(map.GetView().nearClip, map.GetView().farClip, map.GetView().fieldOfView, 640, 480);
    plat::D3DXMATRIX identity;
    plat::D3DXMatrixIdentity(&identity);
    TCountedPtr<TFrame8> scene = CreateNamedFrame("Scene", identity), target = CreateNamedFrame("CameraTarget", identity);
    TCountedPtr<TCamera> camera = CreateMapCamera(map, &view, scene.Get(), target.Get());
    ASSERT_TRUE(camera);
    EXPECT_TRUE(map.GetSky().present);
    CreateMapSky(*camera, map);
    ASSERT_NE(camera->GetSky(), nullptr);
    EXPECT_EQ(camera->GetSky()->GetFogColour(), map.GetFog().color);
    camera->Reset(map.GetMapStart().camera, map.GetMapStart().position, 100);
    EXPECT_LT(camera->GetSky()->GetFogNear(), camera->GetSky()->GetFogFar());

    TMeshAreaManager areas;
    areas.Load(GetMapFolder() + map.GetHeader().baseName, map.GetHeader().cellWidth, map.GetHeader().cellDepth,
               scene.Get(), "TMeshAreaManager");
    map.BuildMeshAreas(areas);
    areas.Update(map.GetMapStart().position);
    EXPECT_FALSE(areas.GetRoot()->GetMeshes().empty());

    ASSERT_FALSE(map.GetMiniMapName().empty());
    EXPECT_NE(TTexture8::Load("minimap.ptx/" + map.GetMiniMapName(), plat::D3DPOOL_MANAGED, 0).Object(), nullptr);
  }
  TTexture8::SetFolder("");
}

// The objects the sample maps place, each pointing at what the sample game holds: exits at the
// other map, the save point at its mesh, the villagers at their models.
TEST_F(SampleMapsTest, TheMapsPlaceObjectsThatLeadToEachOtherAndNameWhatTheGameHolds) {
  datakit::WriteSampleMeshes(dir.path() + "/data/msh03/");
  const TMapData town("03.pbms/town"), field("03.pbms/field");
  ASSERT_EQ(town.GetBoxExits().size(), 1u);
  EXPECT_TRUE(town.GetCircleExits().empty()) << "the way out is walked into, not examined";
  ASSERT_EQ(field.GetBoxExits().size(), 1u);
  EXPECT_EQ(TMapData(town.GetBoxExits()[0].target.destination).GetKind(), 1u);
  EXPECT_EQ(TMapData(field.GetBoxExits()[0].target.destination).GetKind(), 0u);
  EXPECT_EQ(town.GetSavePoints().size(), 1u);
  EXPECT_EQ(town.GetExamineTriggers().size(), 4u) << "the sign, the cave, the gate and the tower";
  EXPECT_EQ(town.GetBoxTriggers().size(), 1u) << "the well";
  EXPECT_EQ(town.GetNames(),
            (std::vector<std::string>{"03.pbsc/Villager00", "03.pbsc/Villager01", "03.pbsc/Villager02",
                                      "03.pbsc/Villager03"}));
  EXPECT_EQ(field.GetMapItems().size(), 4u);
  EXPECT_EQ(field.GetBoxTriggers().size(), 1u);
  EXPECT_EQ(field.GetBoxTestTriggers().size(), 1u);
  EXPECT_EQ(field.GetCountConditions().size(), 1u);
  EXPECT_EQ(field.GetEnemyConditions().size(), 1u);
  for (const char* mesh :
       {"effect/savepoint.msh", "char03/villager00.tob", "char03/villager01.tob", "char03/villager02.tob"})
    EXPECT_GT(TMesh8::Load(mesh).GetTriangleCount(), 0) << mesh;
  EXPECT_TRUE(TMesh8::Load("char03/villager00.tob").HasMotion()) << "the idle clip";
}

// The maps the story events end on: battle maps without enemies but the guardian of the cave's
// depths, with ground under their starts.
TEST_F(SampleMapsTest, TheMapsTheEventsEndOnHaveGroundUnderTheirStarts) {
  EXPECT_EQ(TMapData("03.pbms/r01_07_b").GetNames(), TMapData("03.pbms/town").GetNames()) << "the town once more";
  for (const char* name : {"03.pbms/d04_02boss", "03.pbms/d04_02", "03.pbms/c00boss0", "03.pbms/c00boss1",
                           "03.pbms/c00boss2", "03.pbms/c00boss3"}) {
    const TMapData map(name);
    EXPECT_EQ(map.GetKind(), 1u) << name;
    EXPECT_EQ(map.GetEnemyPlacements().size(), std::string(name) == "03.pbms/d04_02boss" ? 1u : 0u) << name;
    TCollisionMesh collision;
    collision.Load(GetMapFolder() + "_" + map.GetHeader().baseName, map.GetHeader().CollisionCellSizeX(),
                   map.GetHeader().CollisionCellSizeZ());
    const plat::D3DXVECTOR3 start = map.GetMapStart().position;
    TGroundResult ground;
    collision.FindGround(plat::D3DXVECTOR3(start.x, start.y + 1, start.z), ground);
    EXPECT_EQ(ground.found, 1) << name;
    EXPECT_FLOAT_EQ(ground.height, start.y) << name;
  }
}

}  // namespace
