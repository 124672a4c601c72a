// The stage: its load from map data (start points, fog, hit table, enemies, refused maps), the
// walk over the map objects, the choice of the villager to talk to, the town's conversations and
// the field menu.
#include <algorithm>

#include "common/CRand.h"
#include "common/TD3D8.h"
#include "game/data/TGameData.h"
#include "game/effect/TimeStopState.h"
#include "game/field/TCamera.h"
#include "game/field/TFieldScene.h"
#include "game/field/THitTable.h"
#include "game/field/TMeshAreaManager.h"
#include "game/field/TMiniMap.h"
#include "game/field/TSky.h"
#include "game/field/TStageB.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;

class StageTest : public FieldSceneFixture {
 protected:
  TStage& Stage() { return *field->GetStage(); }

  TestMapObject* AddMapObject(const std::string& name, std::vector<int32_t> results) {
    auto* object = new TestMapObject(&Stage(), name, std::move(results), fieldLog);
    Stage().AddMapObject(TCountedPtr<TMapObject>(object));
    return object;
  }
  TestVillager* AddVillager(const std::string& name, bool asks) {
    auto* villager = new TestVillager(name, asks, fieldLog);
    Stage().AddObject(TCountedPtr<TVillager>(villager));
    return villager;
  }
  // The lines of the log from `from` on that start with the word.
  Log Lines(size_t from, const std::string& word) const {
    Log out;
    for (const std::string& line : LogFrom(from))
      if (line.rfind(word + " ", 0) == 0) out.push_back(line);
    return out;
  }
  std::string LoadError(const std::string& mapName) {
    try {
      OpenMap(mapName);
    } catch (const my_error& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(StageTest, AMapObjectResultOf10000OrMoreStopsTheWalkAndNamesWhatTheStageDoes) {
  OpenMap("03.pbms/field");
  struct Case {
    int32_t result;
    int32_t walk;
    bool stops;
  };
  const Case cases[] = {
      {10001, TStage::kStopTick, true},   {10002, TStage::kEndField, true}, {10004, TStage::kEndField, true},
      {10005, TStage::kEndField, true},   {10003, TStage::kScriptRuns, true}, {10000, TStage::kCarryOn, true},
      {10006, TStage::kCarryOn, true},    {70000, TStage::kCarryOn, true},   {9999, TStage::kCarryOn, false},
      {1, TStage::kCarryOn, false},       {0, TStage::kCarryOn, false},      {-10001, TStage::kCarryOn, false},
  };
  for (const Case& c : cases) {
    for (const TCountedPtr<TMapObject>& old : Stage().GetMapObjects()) old->Deactivate();
    AddMapObject("first", {c.result});
    AddMapObject("second", {1});
    const size_t mark = fieldLog.size();
    EXPECT_EQ(Stage().UpdateMapObjects(), c.walk) << c.result;
    const Log expected = c.stops ? Log{"test first"} : Log{"test first", "test second"};
    EXPECT_EQ(Lines(mark, "test"), expected) << c.result;
  }
}

TEST_F(StageTest, AnInactiveMapObjectIsDroppedDuringTheWalkAndTheWalkGoesOn) {
  OpenMap("03.pbms/field");
  // The map's own objects go first; the test's follow them.
  for (const TCountedPtr<TMapObject>& own : Stage().GetMapObjects()) own->Deactivate();
  Stage().UpdateMapObjects();
  AddMapObject("a", {1});
  TestMapObject* b = AddMapObject("b", {1});
  AddMapObject("c", {1});
  b->Deactivate();

  size_t mark = fieldLog.size();
  EXPECT_EQ(Stage().UpdateMapObjects(), TStage::kCarryOn);
  EXPECT_EQ(LogFrom(mark), (Log{"test a", "remove b", "test c"}));
  EXPECT_EQ(Stage().GetMapObjects().size(), 2u);

  mark = fieldLog.size();
  Stage().UpdateMapObjects();
  EXPECT_EQ(LogFrom(mark), (Log{"test a", "test c"}));
}

TEST_F(StageTest, OnlyTheFirstVillagerThatAsksToTalkIsChosenAndTheOthersAreStillUpdated) {
  OpenMap("03.pbms/town");
  AddVillager("v1", false);
  TestVillager* v2 = AddVillager("v2", true);
  TestVillager* v3 = AddVillager("v3", true);

  const size_t mark = fieldLog.size();
  EXPECT_TRUE(Stage().UpdateObjects());
  EXPECT_EQ(LogFrom(mark), (Log{"update v1", "ask v1", "update v2", "ask v2", "update v3"}));
  EXPECT_EQ(Stage().GetTalkTarget(), v2);
  EXPECT_TRUE(Stage().IsTalking());
  EXPECT_FALSE(v3->IsTalking());

  // While that talk runs, nobody is asked; all are still updated.
  const size_t again = fieldLog.size();
  EXPECT_FALSE(Stage().UpdateObjects());
  EXPECT_EQ(LogFrom(again), (Log{"update v1", "update v2", "update v3"}));
  EXPECT_EQ(Stage().GetTalkTarget(), v2);
}

// A second villager asking during a talk is not chosen, so the talk's end leaves nobody talking.
TEST_F(StageTest, NoOtherVillagerIsChosenWhileATalkRuns) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  auto& town = dynamic_cast<TStageB&>(Stage());
  TestVillager* first = AddVillager("elder", true);
  TestVillager* second = AddVillager("child", false);
  fieldServices.runs = {3, 3};
  Tick();
  ASSERT_TRUE(town.IsInConversation());
  second->asks = true;
  const size_t mark = fieldLog.size();
  Tick();
  Tick();
  EXPECT_EQ(Lines(mark, "ask"), Log{});
  EXPECT_EQ(Stage().GetTalkTarget(), first);
  Tick();
  EXPECT_FALSE(town.IsInConversation());
  EXPECT_FALSE(first->IsTalking());
  EXPECT_FALSE(second->IsTalking());
  EXPECT_FALSE(Stage().IsTalking());
}

TEST_F(StageTest, AConversationRunsUntilItsScriptEndsAndAMapEventResultHoldingAllOf10000EndsTheField) {
  struct Case {
    int32_t mapEvent;
    bool fieldEnds;
  };
  // 16384 and 20000 are past 10000 but do not hold all of its bits.
  for (const Case& c : {Case{1, false}, Case{9999, false}, Case{0, false}, Case{10000, true}, Case{10015, true},
                        Case{16384, false}, Case{20000, false}}) {
    OpenMap("03.pbms/town");
    FinishOpeningFade();
    auto& town = dynamic_cast<TStageB&>(Stage());
    TestVillager* villager = AddVillager("elder", true);
    fieldServices.mapEvent.result = c.mapEvent;
    fieldServices.runs = {3, 3};

    size_t mark = fieldLog.size();
    Tick();
    EXPECT_TRUE(town.IsInConversation());
    EXPECT_EQ(Lines(mark, "conversation"), Log{"conversation 03.pbsc/elder"});

    // The script waits twice, then ends.
    Tick();
    Tick();
    EXPECT_TRUE(town.IsInConversation());
    EXPECT_TRUE(villager->IsTalking());
    mark = fieldLog.size();
    Tick();
    const Log after = LogFrom(mark);
    EXPECT_NE(std::find(after.begin(), after.end(), "end talk elder"), after.end());
    EXPECT_NE(std::find(after.begin(), after.end(), "engine gone"), after.end());
    if (c.fieldEnds) {
      EXPECT_NE(app->GetCurrentScene(), field) << c.mapEvent << ": the field scene was popped";
    } else {
      ASSERT_EQ(app->GetCurrentScene(), field) << c.mapEvent;
      EXPECT_FALSE(villager->IsTalking());
      EXPECT_FALSE(town.IsInConversation());
      EXPECT_FALSE(Stage().IsTalking());
    }
    app->ClearScenes();
    field = nullptr;
  }
}

// A new stage's HUD messages start afresh with the area's title 25 updates in.
TEST_F(StageTest, TheAreaTitleShowsAfter25Updates) {
  SaveTestMaps(datakit::MapDataWriter().Entry("plain", BattleMap()));
  OpenMap("t.pbms/plain");
  const Log hud = Lines(0, "hud");
  const Log expected{"hud reset", "hud wait 25", "hud text plain"};
  EXPECT_NE(std::search(hud.begin(), hud.end(), expected.begin(), expected.end()), hud.end());
}

// While time stands still the player hangs where it is; once time runs again it falls.
TEST_F(StageTest, ThePlayerFeelsNoGravityWhileTimeStandsStill) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TestPlayer& player = *fieldServices.lastPlayer;
  const D3DXVECTOR3 ground = player.GetPosition();
  player.SetPosition(D3DXVECTOR3(ground.x, ground.y + 5, ground.z));
  const float high = player.GetPosition().y;
  SetTimeStop(true, nullptr, nullptr);
  Ticks(3);
  EXPECT_EQ(player.GetPosition().y, high);
  SetTimeStop(false, nullptr, nullptr);
  Tick();
  EXPECT_LT(player.GetPosition().y, high);
}

TEST_F(StageTest, TheCallersStartPointWinsOverTheMapsAndBothGetTheJitter) {
  CRand::Shared().Seed(1);
  CRand expected(1);
  const float r[4] = {expected.Next() / 32767.f, expected.Next() / 32767.f, expected.Next() / 32767.f,
                      expected.Next() / 32767.f};
  const D3DXVECTOR3 start(5, 1, 6), facing(1, 0, 0), camera(5, 4, 0);
  OpenMap("03.pbms/field");  // the map's own start only
  ASSERT_EQ(fieldServices.lastPlayer->placements.size(), 1u);

  CRand::Shared().Seed(1);
  Open(TFieldScene::CreateForMap(*app, "03.pbms/field", &start, &facing, &camera));
  const std::vector<D3DXVECTOR3>& placed = fieldServices.lastPlayer->placements;
  ASSERT_EQ(placed.size(), 2u);
  // The map's point first (0, 0, -10), the first value to z.
  EXPECT_FLOAT_EQ(placed[0].z, -10 + r[0] * 0.03f + 0.02f);
  EXPECT_FLOAT_EQ(placed[0].x, r[1] * 0.03f + 0.02f);
  // Then the caller's, where the player stays.
  EXPECT_FLOAT_EQ(placed[1].z, 6 + r[2] * 0.03f + 0.02f);
  EXPECT_FLOAT_EQ(placed[1].x, 5 + r[3] * 0.03f + 0.02f);
  EXPECT_FLOAT_EQ(placed[1].y, 1);
  const D3DXVECTOR3 at = fieldServices.lastPlayer->GetPosition();
  EXPECT_FLOAT_EQ(at.x, placed[1].x);
  EXPECT_FLOAT_EQ(at.z, placed[1].z);
  // The camera target went with it.
  D3DXVECTOR3 target;
  Stage().GetCameraTarget()->GetPosition(&target);
  EXPECT_FLOAT_EQ(target.z, placed[1].z);
}

TEST_F(StageTest, OnlyABattleMapLoadsTheHitTableAndMakesAnEnemyManager) {
  THitTable::Unload();
  OpenMap("03.pbms/town");
  EXPECT_EQ(CountOf("enemies made"), 0u);
  EXPECT_EQ(Stage().GetEnemyManager(), nullptr);
  EXPECT_EQ(THitTable::Find(3000)->id, 0u) << "no hit table was read";
  EXPECT_EQ(CountOf("player 1 plain model"), 1u) << "a town stands the plain model up";

  OpenMap("03.pbms/field");
  EXPECT_EQ(CountOf("enemies made"), 1u);
  EXPECT_NE(Stage().GetEnemyManager(), nullptr);
  EXPECT_EQ(THitTable::Find(3000)->id, 3000u);
  EXPECT_EQ(CountOf("player 2 plain model"), 0u);

  app->ClearScenes();
  field = nullptr;
  EXPECT_EQ(CountOf("enemies gone"), 1u);
  EXPECT_EQ(THitTable::Find(3000)->id, 0u) << "the battle stage empties the table it loaded";
}

TEST_F(StageTest, WithoutFogTheStageClearsToWhiteWithTheDeviceFogOff) {
  datakit::MapEntryWriter clear;
  clear.Header(BattleHeader())
      .View(0.1f, 200, 45)
      .PlayerStart({0, 0, 0}, {0, 0, 1}, {0, 3, -6})
      .ChaseCamera(0, 6, 2, "non");
  SaveTestMaps(datakit::MapDataWriter().Entry("clear", clear));

  OpenMap("03.pbms/field");
  bool on;
  float start, end;
  uint32_t colour;
  TD3D8::Instance()->GetFog(on, start, end, colour);
  EXPECT_TRUE(on);
  EXPECT_EQ(colour, 0xFF8098B0u);
  EXPECT_EQ(Stage().GetClearColour(), 0xFF8098B0u);

  OpenMap("t.pbms/clear");
  EXPECT_EQ(Stage().GetClearColour(), 0xFFFFFFFFu);
  EXPECT_EQ(Stage().GetFogColour(), 0xFFFFFFFFu);
  TD3D8::Instance()->GetFog(on, start, end, colour);
  EXPECT_FALSE(on);
  EXPECT_EQ(start, 100.0f);
  EXPECT_EQ(end, 200.0f);
  EXPECT_EQ(colour, 0xFFFFFFFFu);

  FinishOpeningFade();
  renderer->ClearLog();
  Tick();
  ASSERT_FALSE(renderer->Clears().empty());
  EXPECT_EQ(renderer->Clears().back().color, 0xFFFFFFFFu);
}

// The camera of the map's kind under the scene frame with the sky it asks for, the scenery cut into
// mesh areas around the player, and the minimap with the map's picture drawn over the stage.
TEST_F(StageTest, AStageShowsItsMapThroughItsCameraSkyMeshAreasAndMinimap) {
  struct Case {
    const char* map;
    uint32_t cameraType;
    uint32_t fog;
    const char* picture;
  };
  const Case cases[] = {{"03.pbms/field", 16, 0xFF8098B0, "minimap.ptx/field"},
                        {"03.pbms/town", 32, 0xFFB0C8E0, "minimap.ptx/town"}};
  ASSERT_NE(TGameData::Instance(), nullptr);
  TGameData::Instance()->SetMiniMapMode(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.map);
    OpenMap(c.map);
    TCamera* camera = Stage().GetCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetType(), c.cameraType);
    EXPECT_EQ(camera->GetFrame()->GetParent(), field->GetSceneFrame());
    EXPECT_EQ(fieldServices.lastPlayer->GetCamera(), camera) << "the player's object sees the camera";
    ASSERT_NE(camera->GetSky(), nullptr);
    EXPECT_EQ(camera->GetSky()->GetFogColour(), c.fog);
    EXPECT_EQ(camera->GetSkyFrame()->GetParent(), field->GetSceneFrame());
    EXPECT_EQ(Stage().GetMeshAreas().GetRoot()->GetParent(), field->GetSceneFrame());
    EXPECT_FALSE(Stage().GetMeshAreas().GetRoot()->GetMeshes().empty()) << "the ground around the player";
    EXPECT_EQ(field->GetMiniMap()->GetPicture().texture.GetName(), c.picture);

    FinishOpeningFade();
    renderer->ClearLog();
    Tick();
    std::vector<std::string> textures;
    for (const plat::RecordedDraw& draw : renderer->Draws()) textures.push_back(draw.textures[0].name);
    EXPECT_NE(std::find(textures.begin(), textures.end(), c.picture), textures.end());
    EXPECT_NE(std::find(textures.begin(), textures.end(), "sprite.ptx/cursor05"), textures.end());
    app->ClearScenes();
    field = nullptr;
  }
}

TEST_F(StageTest, AMapTheStageCannotBuildIsRefusedNamingIt) {
  datakit::MapEntryWriter kind2, mode8, noCamera, oneRailPoint;
  datakit::MapHeaderRow odd = BattleHeader();
  odd.kind = 2;
  kind2.Header(odd).View(0.1f, 200, 45).ChaseCamera(0, 6, 2, "non");
  mode8.Header(BattleHeader()).View(0.1f, 200, 45).CameraMode8(1, {0, 3, 0});
  noCamera.Header(TownHeader()).View(0.1f, 200, 45);
  oneRailPoint.Header(TownHeader()).View(0.1f, 200, 45).RailCamera(0).CameraPoint({0, 0, 0}, 0, -1, 6, 3, 0);
  SaveTestMaps(datakit::MapDataWriter()
                   .Entry("kind2", kind2)
                   .Entry("mode8", mode8)
                   .Entry("nocamera", noCamera)
                   .Entry("onerail", oneRailPoint));

  const std::string kindError = LoadError("t.pbms/kind2");
  EXPECT_NE(kindError.find("t.pbms/kind2"), std::string::npos) << kindError;
  EXPECT_EQ(fieldServices.players, 0) << "refused before a player is made";
  for (const char* name : {"t.pbms/mode8", "t.pbms/nocamera", "t.pbms/onerail"}) {
    const std::string error = LoadError(name);
    EXPECT_NE(error.find(name), std::string::npos) << error;
  }
  EXPECT_NE(LoadError("t.pbms/none").find("t.pbms/none"), std::string::npos);
  EXPECT_EQ(field, nullptr) << "nothing half-built reached the scene stack";
}

TEST_F(StageTest, TheMenuKeyOpensTheMenuBeforeAnythingElseRunsAndThatTicksPictureIsNotDrawn) {
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TestPlayer& player = *fieldServices.lastPlayer;
  player.menuKey = true;
  const uint32_t presents = renderer->PresentCount();
  size_t mark = fieldLog.size();
  Tick();
  EXPECT_EQ(LogFrom(mark), (Log{"menu made", "resume menu"}));
  EXPECT_EQ(renderer->PresentCount(), presents) << "the tick that opened the menu draws nothing";
  EXPECT_TRUE(field->IsSuspended());
  EXPECT_NE(app->GetCurrentScene(), field);

  // The menu closes on its first tick; the field resumes and draws again without catching up.
  player.menuKey = false;
  clock.Advance(5000);
  Tick();
  EXPECT_EQ(app->GetCurrentScene(), field);
  EXPECT_FALSE(field->IsDrawSkipped());
  mark = fieldLog.size();
  Tick();
  EXPECT_EQ(Lines(mark, "enemies"), Log{"enemies update"}) << "one tick, not the five seconds spent in the menu";
  EXPECT_EQ(renderer->PresentCount(), presents + 1);

  // A town reads the key the same way.
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  fieldServices.lastPlayer->menuKey = true;
  mark = fieldLog.size();
  Tick();
  EXPECT_EQ(Lines(mark, "menu"), Log{"menu made"});
  EXPECT_TRUE(Lines(mark, "player").empty());
}

}  // namespace
