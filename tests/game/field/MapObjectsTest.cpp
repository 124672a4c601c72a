// The map objects: their placement from the map data, the map script run at once, the exits, the
// items, the triggers, the conditions, the save points and the death watch, each tested against
// the field's doubles of the player, the enemies, the HUD and the script engine.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <typeinfo>

#include "common/TMesh8.h"
#include "common/TVertexShader8.h"
#include "game/data/TGameData.h"
#include "game/effect/TEffectManager.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/MapZones.h"
#include "game/field/TCondition.h"
#include "game/field/TDeathWatch.h"
#include "game/field/TEventArea.h"
#include "game/field/TMapItem.h"
#include "game/field/TMapTransition.h"
#include "game/field/TSavePoint.h"
#include "game/field/TStepCounter.h"
#include "game/field/TTrigger.h"
#include "sound/TDSound8.h"
#include "sound/TSoundSet8.h"
#include "tests/game/field/FieldSceneFixture.h"
#include "tools/datakit/MeshShapes.h"
#include "tools/datakit/MeshWriter.h"

namespace {

using namespace fieldscenetest;
using plat::D3DXMATRIX;

constexpr float kPi = 3.14159265f;

// A front at the angle (degrees) from +z toward +x. At the limits of the tests the cosine is the
// limit's own constant, and the vector is exactly of unit length.
D3DXVECTOR3 FrontAt(float degrees) {
  const float c = degrees == 50.0f ? kCosFacingLimit : std::cos(degrees * kPi / 180);
  return D3DXVECTOR3(std::sqrt(1 - c * c), 0, c);
}

std::string TypeName(const TMapObject& object) {
  if (dynamic_cast<const TDeathWatch*>(&object)) return "death watch";
  if (dynamic_cast<const TMapItem*>(&object)) return "item";
  if (dynamic_cast<const TSavePoint*>(&object)) return "save point";
  if (dynamic_cast<const TBoxTrigger*>(&object)) return "box trigger";
  if (dynamic_cast<const TExamineTrigger*>(&object)) return "examine trigger";
  if (dynamic_cast<const TBoxTestTrigger*>(&object)) return "box test trigger";
  if (dynamic_cast<const TCountCondition*>(&object)) return "count condition";
  if (dynamic_cast<const TEnemyCondition*>(&object)) return "enemy condition";
  if (dynamic_cast<const TBoxArea*>(&object)) return "box exit";
  if (dynamic_cast<const TCircleArea*>(&object)) return "circle exit";
  return typeid(object).name();
}

TExitTarget TownTarget(uint32_t kind = 0) {
  TExitTarget t;
  t.startPosition = D3DXVECTOR3(1, 0, 2);
  t.startFacing = D3DXVECTOR3(0, 0, 1);
  t.startCamera = D3DXVECTOR3(1, 3, -4);
  t.transitionKind = kind;
  t.destination = "03.pbms/town";
  return t;
}

// Effect 902 as the save point spawns it: where and in which colour.
struct Spawned {
  D3DXVECTOR3 position;
  plat::D3DCOLORVALUE colour;
};

class ArrivalEffect : public TEffect {
 public:
  explicit ArrivalEffect(std::shared_ptr<std::vector<Spawned>> log)
      : TEffect(TCountedPtr<TFrame8>()), log(std::move(log)) {}
  bool Update() override { return true; }
  void Init(int32_t newId, const D3DXVECTOR3& position, const D3DXVECTOR3& lookAt, TFrame8& parent,
            TEffectStage* stage, const plat::D3DCOLORVALUE& c) override {
    TEffect::Init(newId, position, lookAt, parent, stage, c);
    log->push_back({position, c});
  }
  std::unique_ptr<TEffect> Clone() const override { return std::make_unique<ArrivalEffect>(log); }

  std::shared_ptr<std::vector<Spawned>> log;
};

class MapObjectTest : public FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    datakit::MapEntryWriter plainTown = TownMap();
    SaveTestMaps(datakit::MapDataWriter().Entry("plain", BattleMap()).Entry("town", plainTown));
    OpenMap("t.pbms/plain");
  }

  TStage& Stage() { return *field->GetStage(); }
  TestPlayer& Player() { return *fieldServices.lastPlayer; }
  TGameData& Data() { return *TGameData::Instance(); }

  // The player stands at the point facing the direction (unit length), in the movement mode.
  void Stand(const D3DXVECTOR3& at, const D3DXVECTOR3& front = D3DXVECTOR3(0, 0, 1), int32_t mode = 2) {
    Face(Player(), front);
    Player().SetPosition(at);
    Player().SetMode(mode);
  }
  // The model looks along -z: the frame's z row is the opposite of the front.
  static void Face(TFrameObject& object, const D3DXVECTOR3& front) {
    const D3DXVECTOR3 z(-front.x, -front.y, -front.z), y(0, 1, 0);
    const D3DXVECTOR3 x = vec3::Unit(vec3::Cross(y, z));
    const D3DXVECTOR3 at = object.GetPosition();
    const float rows[16] = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, at.x, at.y, at.z, 1};
    object.GetFrame()->SetMatrix(rows);
  }
  std::vector<int32_t> Tests(TMapObject& object, int n) {
    std::vector<int32_t> results;
    for (int i = 0; i < n; ++i) results.push_back(object.Test());
    return results;
  }
  // The map-script lines of the log from `from` on.
  Log Scripts(size_t from) const {
    Log out;
    for (const std::string& line : LogFrom(from))
      if (line.rfind("map script", 0) == 0 || line.rfind("conversation", 0) == 0) out.push_back(line);
    return out;
  }
  TMapTransition* Transition() { return dynamic_cast<TMapTransition*>(field->GetMode()); }
  TestEnemies& Enemies() { return dynamic_cast<TestEnemies&>(*Stage().GetEnemyManager()); }

  TBoxExitRecord BoxExit(uint32_t kind = 0) {
    TBoxExitRecord r;
    r.corner1 = D3DXVECTOR3(-1, 0, -1);
    r.corner2 = D3DXVECTOR3(1, 2, 1);
    r.direction = D3DXVECTOR3(0, 0, 1);
    r.target = TownTarget(kind);
    return r;
  }
  TMapItemRecord Item(uint32_t id, uint32_t flag, uint32_t gold = 0, D3DXVECTOR3 at = D3DXVECTOR3(0, 0, 0)) {
    TMapItemRecord r;
    r.itemId = id;
    r.pickupFlagIndex = flag;
    r.goldAmount = gold;
    r.position = at;
    return r;
  }
  float OuterY(const TMapItem& item) { return item.GetOuterFrame()->GetMatrix()->m[3][1]; }
  // The outer frame's turn about y, for turns below half a circle.
  float OuterTurn(const TMapItem& item) { return std::acos(std::clamp(item.GetOuterFrame()->GetMatrix()->m[0][0], -1.f, 1.f)); }
  int Owned(uint32_t id) {
    TItemEntry* entry = Data().FindItem(id);
    return entry ? entry->count : 0;
  }
};

TEST_F(MapObjectTest, ObjectsArePlacedKindByKindInFileOrderWithTheDeathWatchFirstAndTheExitsLast) {
  datakit::MapEntryWriter all = BattleMap();
  datakit::ExitRow exit{{0, 0, 0}, {0, 0, 1}, {0, 3, -6}, 0, "03.pbms/town"};
  all.CircleExit({0, 0, 9}, 1, exit)
      .BoxExit({-1, 0, 8}, {1, 2, 9}, {0, 0, 1}, exit)
      .CountCondition(3, "03.pbsc/count")
      .MapItem(1, 20, 0, {5, 0, 5})
      .BoxTrigger({-9, 0, -9}, {-8, 2, -8}, {1, 0, 0}, "03.pbsc/box")
      .EnemyCondition(4, "03.pbsc/boss")
      .SavePoint(7, {6, 0, 6})
      .ExamineTrigger({7, 0, 7}, 1, "03.pbsc/look")
      .DeathScript("03.pbsc/death")
      .BoxTestTrigger({-7, 0, -7}, {-6, 2, -6}, "03.pbsc/stand")
      .MapItem(0xFFFFFFFF, 21, 30, {4, 0, 4})
      .BoxExit({-1, 0, 10}, {1, 2, 11}, {0, 0, 1}, exit);
  datakit::MapEntryWriter bare = BattleMap();
  SaveTestMaps(datakit::MapDataWriter().Entry("all", all).Entry("bare", bare));

  OpenMap("t.pbms/all");
  Log kinds;
  for (const TCountedPtr<TMapObject>& object : Stage().GetMapObjects()) kinds.push_back(TypeName(*object));
  EXPECT_EQ(kinds, (Log{"death watch", "item", "item", "save point", "box trigger", "examine trigger",
                        "box test trigger", "count condition", "enemy condition", "box exit", "box exit",
                        "circle exit"}));
  const auto& objects = Stage().GetMapObjects();
  EXPECT_EQ(dynamic_cast<const TDeathWatch&>(**objects.begin()).GetScriptName(), "03.pbsc/death");
  EXPECT_EQ(dynamic_cast<const TMapItem&>(**std::next(objects.begin())).GetPosition().x, 5) << "file order";
  EXPECT_EQ(dynamic_cast<const TBoxArea&>(**std::prev(objects.end(), 3)).GetEntry().GetBox().GetCorner1().z, 8);

  OpenMap("t.pbms/bare");
  ASSERT_EQ(Stage().GetMapObjects().size(), 1u) << "only the death watch";
  EXPECT_EQ(dynamic_cast<const TDeathWatch&>(*Stage().GetMapObjects().front()).GetScriptName(), "non");
}

TEST_F(MapObjectTest, FireRunsTheScriptUntilItWaitsEndsOrStopsAndGoesOnInteractivelyOn10003) {
  struct Case {
    std::deque<uint32_t> runs;
    int32_t mapEvent;
    size_t runsTaken;
    bool interactive;
  };
  // Results whose low three bits are 0 (8 unregistered, 0) run again; 3, 4 and 16 end the run.
  const Case cases[] = {{{8, 0, 3}, 1, 3, false},
                        {{4, 3}, 10001, 1, false},
                        {{16, 0, 3}, 42, 1, false},
                        {{3}, 10003, 1, true}};
  TDeathWatch watch(&Stage(), "03.pbsc/death");
  for (const Case& c : cases) {
    fieldServices.runs = c.runs;
    fieldServices.mapEvent.result = c.mapEvent;
    const size_t mark = fieldLog.size();
    EXPECT_EQ(watch.Fire("03.pbsc/m"), c.mapEvent);
    const Log runs(c.runsTaken, "run scripts");
    Log expected{"engine made", "map script 03.pbsc/m"};
    expected.insert(expected.end(), runs.begin(), runs.end());
    const Log end = c.interactive ? Log{"engine gone", "conversation 03.pbsc/m"} : Log{"engine gone"};
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(LogFrom(mark), expected) << c.mapEvent;
  }
}

TEST_F(MapObjectTest, ABoxExitStartsTheMapChangeOnThe15thTickInARowOfWalkingInFacingTheWayIn) {
  TBoxArea exit(&Stage(), BoxExit());
  // On the face x = 1, walking in along +z.
  Stand(D3DXVECTOR3(1, 0, 0));
  EXPECT_EQ(Tests(exit, 14), std::vector<int32_t>(14, 1));
  Stand(D3DXVECTOR3(1.01f, 0, 0));
  EXPECT_EQ(exit.Test(), 1);
  EXPECT_EQ(exit.GetEntry().GetFramesInside(), 0) << "one tick outside starts the count anew";

  Stand(D3DXVECTOR3(0, 2, -1));
  EXPECT_EQ(Tests(exit, 14), std::vector<int32_t>(14, 1));
  EXPECT_EQ(Transition(), nullptr);
  EXPECT_EQ(exit.Test(), kMapChangeStarted);
  ASSERT_NE(Transition(), nullptr);
  EXPECT_EQ(Transition()->GetMapData().GetMapName(), "03.pbms/town");
  EXPECT_TRUE(Transition()->GetMapData().HasStartTransform());
  EXPECT_TRUE(exit.IsActive()) << "the transition replaces the stage; the exit stays as it is";
}

TEST_F(MapObjectTest, ABoxExitCountsOnlyWalkingOrRunningWithinLessThan50DegreesOfTheWayIn) {
  struct Case {
    int32_t mode;
    float degrees;
    bool counts;
  };
  const Case cases[] = {{2, 0, true},   {3, 49.9f, true}, {2, 50, false}, {3, 180, false},
                        {0, 0, false},  {1, 0, false},    {4, 0, false},  {19, 0, false}};
  for (const Case& c : cases) {
    TBoxArea exit(&Stage(), BoxExit());
    Stand(D3DXVECTOR3(0, 0, 0), FrontAt(c.degrees), c.mode);
    EXPECT_EQ(exit.IsFacingEntry(), c.counts) << c.mode << " " << c.degrees;
    for (int i = 0; i < 20; ++i) exit.Test();
    EXPECT_EQ(exit.GetEntry().GetFramesInside(), c.counts ? TBoxEntry::kFramesToEnter : 0)
        << c.mode << " " << c.degrees;
  }
  EXPECT_NE(Transition(), nullptr) << "the exits that counted were entered";
}

TEST_F(MapObjectTest, AnExitOfAKindThatMakesNoTransitionGivesOneAndLeavesTheFieldsModeAlone) {
  for (uint32_t kind : {2u, 7u, 0xFFFFFFFFu}) {
    TBoxArea box(&Stage(), BoxExit(kind));
    TCircleExitRecord circleRecord{D3DXVECTOR3(0, 0, 1), 2, TownTarget(kind)};
    TCircleArea circle(&Stage(), circleRecord);
    TFieldMode* before = field->GetMode();
    Stand(D3DXVECTOR3(0, 0, 0));
    Player().examineKey = true;
    EXPECT_EQ(Tests(box, 16), std::vector<int32_t>(16, 1)) << kind;
    EXPECT_EQ(circle.Test(), 1) << kind;
    EXPECT_EQ(field->GetMode(), before) << kind;
  }
}

TEST_F(MapObjectTest, ACircleExitStartsTheChangeOnlyOnTheExaminePressFacingItsCentreWithin50Degrees) {
  TCircleExitRecord record{D3DXVECTOR3(0, 0, 5), 2, TownTarget(1)};
  TCircleArea exit(&Stage(), record);
  EXPECT_FLOAT_EQ(exit.GetCircle().GetHalfRadius(), 1);
  struct Case {
    D3DXVECTOR3 at;
    float degrees;
    bool examine;
    int32_t result;
  };
  const Case cases[] = {
      {D3DXVECTOR3(0, 0, 4), 0, false, 1},     // walked in: nothing
      {D3DXVECTOR3(0, 0, 3), 0, true, 1},      // exactly at the radius
      {D3DXVECTOR3(0, 0, 4), 51, true, 1},     // too far off
      {D3DXVECTOR3(0, 0, 4), 50, true, kMapChangeStarted},
      {D3DXVECTOR3(0, 0, 3.01f), 0, true, kMapChangeStarted},
  };
  for (const Case& c : cases) {
    field->SetMode(TCountedPtr<TFieldMode>());
    Stand(c.at, FrontAt(c.degrees), 0);
    Player().examineKey = c.examine;
    EXPECT_EQ(exit.Test(), c.result) << c.at.z << " " << c.degrees << " " << c.examine;
    EXPECT_EQ(Transition() != nullptr, c.result == kMapChangeStarted);
  }
  // A circle of radius 0, as a script's map change makes it, is never examined.
  TCircleExitRecord point{D3DXVECTOR3(0, 0, 0), 0, TownTarget()};
  TCircleArea scripted(&Stage(), point);
  field->SetMode(TCountedPtr<TFieldMode>());
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, -0.001f)}) {
    Stand(at, D3DXVECTOR3(0, 0, 1), 0);
    EXPECT_EQ(scripted.Test(), 1);
  }
  EXPECT_EQ(Transition(), nullptr);
}

TEST_F(MapObjectTest, AnItemTakenBeforeIsBornInactiveWithNothingBuilt) {
  Data().SetPickupFlag(5, 1);
  TMapItem taken(&Stage(), Item(1, 5));
  EXPECT_FALSE(taken.IsActive());
  EXPECT_EQ(taken.GetOuterFrame(), nullptr);
  EXPECT_EQ(taken.GetShadowFrame(), nullptr);
  Stand(D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(taken.Test(), 1);
  EXPECT_EQ(Owned(1), 0);

  TMapItem fresh(&Stage(), Item(1, 6));
  EXPECT_TRUE(fresh.IsActive());
  ASSERT_NE(fresh.GetOuterFrame(), nullptr);
  EXPECT_EQ(fresh.GetOuterFrame()->GetParent(), Stage().GetSceneFrame());
  EXPECT_EQ(fresh.GetInnerFrame()->GetParent(), fresh.GetOuterFrame());
  ASSERT_NE(fresh.GetShadowFrame(), nullptr) << "the sample ground lies below";
  EXPECT_EQ(fresh.GetShadowFrame()->GetParent(), Stage().GetSceneFrame());
  ASSERT_NE(fresh.GetMesh(), nullptr);
  EXPECT_NE(dynamic_cast<const TConstColorShader8*>(fresh.GetMesh()->GetShader().Get()), nullptr);
}

TEST_F(MapObjectTest, AnItemWithin1Point2IsStoredAnnouncedAndHeardItsFlagSetAndItRises) {
  const uint32_t gold = Data().GetGold();
  struct Case {
    uint32_t id;
    uint32_t flag;
    const char* hud;
    const char* sound;
  };
  const Case cases[] = {{1, 8, "hud item 1", "player 1 se 215"},
                        {TMapItem::kGold, 9, "hud money 25", "player 1 se 217"}};
  for (const Case& c : cases) {
    TMapItem item(&Stage(), Item(c.id, c.flag, 25));
    Stand(D3DXVECTOR3(0, 0, TMapItem::kPickUpReach));
    EXPECT_EQ(item.Test(), 1) << "exactly 1.2 away";
    Stand(D3DXVECTOR3(0, 0, 1.19f));
    const size_t mark = fieldLog.size();
    EXPECT_EQ(item.Test(), TMapItem::kTaken);
    EXPECT_EQ(LogFrom(mark), (Log{c.hud, c.sound}));
    EXPECT_EQ(Data().GetPickupFlag(c.flag), 1);
    EXPECT_TRUE(item.IsRising());
    EXPECT_EQ(item.Test(), 1) << "taken once";
  }
  EXPECT_EQ(Owned(1), 1);
  EXPECT_EQ(Data().GetGold(), gold + 25);
}

TEST_F(MapObjectTest, GoldIsRaisedByTheGoldBonusRateAndTruncated) {
  struct Case {
    uint32_t amount;
    float rate;
    uint32_t gained;
  };
  // The last three in single precision, as the game computes: 0.02 and 0.01 are a little under
  // themselves, and only the float product rounds back up to the whole number.
  for (const Case& c : {Case{10, 0.5f, 15}, Case{10, 0.3f, 13}, Case{7, 0.25f, 8}, Case{10, 0, 10}, Case{50, 0.02f, 51},
                        Case{100, 0.01f, 101}, Case{150, 0.02f, 153}}) {
    Data().SetBonusRate(TMapItem::kGoldBonusRate, c.rate);
    const uint32_t before = Data().GetGold();
    TMapItem item(&Stage(), Item(TMapItem::kGold, TMapItem::kUntracked, c.amount));
    Stand(D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(item.Test(), TMapItem::kTaken);
    EXPECT_EQ(Data().GetGold() - before, c.gained) << c.amount << " at " << c.rate;
  }
}

TEST_F(MapObjectTest, AnItemTheStockHasNoRoomForStaysSilentWithItsFlagUnsetAndIsTriedAgain) {
  ASSERT_TRUE(Data().TryAddItem(2, 99));
  TMapItem item(&Stage(), Item(2, 11));
  Stand(D3DXVECTOR3(0, 0, 0));
  const size_t mark = fieldLog.size();
  EXPECT_EQ(item.Test(), TMapItem::kNotStored);
  EXPECT_EQ(item.Test(), TMapItem::kNotStored);
  EXPECT_EQ(LogFrom(mark), Log{}) << "no sound, no message";
  EXPECT_EQ(Data().GetPickupFlag(11), 0) << "it comes back when the map is entered again";
  EXPECT_TRUE(item.IsBobbingUp() || item.IsBobbingDown());

  ASSERT_TRUE(Data().RemoveItem(2, 99));
  EXPECT_EQ(item.Test(), TMapItem::kTaken);
  EXPECT_EQ(Data().GetPickupFlag(11), 1);
}

TEST_F(MapObjectTest, AWaitingItemBobsAThousandthAFrameFor100FramesEachWayAndSpins) {
  TMapItem item(&Stage(), Item(1, 12));
  Stand(D3DXVECTOR3(0, 0, 9));
  const D3DXMATRIX inner = *item.GetInnerFrame()->GetMatrix();
  for (int frame = 1; frame <= 100; ++frame) {
    item.Test();
    ASSERT_TRUE(item.IsBobbingUp()) << frame;
    ASSERT_NEAR(OuterY(item), 0.001f * frame, 1e-5f) << frame;
    if (frame == 10) {
      EXPECT_NEAR(OuterTurn(item), 0.4f, 1e-4f);
    }
  }
  item.Test();
  EXPECT_TRUE(item.IsBobbingDown()) << "the 101st frame switches";
  EXPECT_NEAR(OuterY(item), 0.1f, 1e-5f) << "and does not move";
  for (int frame = 1; frame <= 100; ++frame) item.Test();
  EXPECT_NEAR(OuterY(item), 0.0f, 1e-5f);
  item.Test();
  EXPECT_TRUE(item.IsBobbingUp());
  EXPECT_EQ(std::memcmp(&inner, item.GetInnerFrame()->GetMatrix(), sizeof inner), 0) << "the outer frame moves";
}

TEST_F(MapObjectTest, ATakenItemRisesAndFadesFor100FramesThenLeavesTheStage) {
  auto* item = new TMapItem(&Stage(), Item(1, 13));
  Stage().AddMapObject(TCountedPtr<TMapObject>(item));
  Stand(D3DXVECTOR3(0, 0, 0.5f));
  ASSERT_EQ(item->Test(), TMapItem::kTaken);
  Stand(D3DXVECTOR3(0, 0, 9));
  const float y0 = OuterY(*item), turn0 = OuterTurn(*item);
  for (int frame = 1; frame <= 100; ++frame) {
    ASSERT_EQ(item->Test(), 1);
    ASSERT_NEAR(item->GetAlpha(), 1.0f - frame / 100.0f, 1e-5f) << frame;
    ASSERT_NEAR(item->GetMesh()->GetMaterial(0).GetMaterial().Emissive.a, item->GetAlpha(), 1e-6f) << frame;
    ASSERT_NEAR(OuterY(*item), y0 + 0.01f * frame, 1e-4f) << frame;
    if (frame == 5) {
      EXPECT_NEAR(OuterTurn(*item), turn0 + 5 * 0.08f, 1e-4f);
    }
    ASSERT_TRUE(item->IsActive());
  }
  EXPECT_EQ(item->GetAlpha(), 0.0f);
  EXPECT_NE(item->GetOuterFrame()->GetParent(), nullptr);
  item->Test();
  EXPECT_FALSE(item->IsActive());
  EXPECT_EQ(item->GetOuterFrame()->GetParent(), nullptr);
  EXPECT_NE(item->GetShadowFrame()->GetParent(), nullptr) << "the shadow goes with the object";

  const TFrame8* shadow = item->GetShadowFrame();
  auto hangsInScene = [&] {
    for (const TCountedPtr<TFrame8>& child : Stage().GetSceneFrame()->GetChildren())
      if (child.Get() == shadow) return true;
    return false;
  };
  const size_t before = Stage().GetMapObjects().size();
  EXPECT_TRUE(hangsInScene());
  Stage().UpdateMapObjects();
  EXPECT_EQ(Stage().GetMapObjects().size(), before - 1);
  EXPECT_FALSE(hangsInScene());
}

TEST_F(MapObjectTest, AnUntrackedItemFadesOutAfter1000TestsAndIsGoneOn1101) {
  TMapItem item(&Stage(), Item(1, TMapItem::kUntracked));
  EXPECT_EQ(item.GetLifetime(), TMapItem::kUntrackedLifetime);
  Stand(D3DXVECTOR3(0, 0, 9));
  for (int i = 1; i < 1000; ++i) item.Test();
  EXPECT_FALSE(item.IsFadingOut());
  EXPECT_EQ(item.Test(), 1);
  EXPECT_TRUE(item.IsFadingOut()) << "Test 1000";
  EXPECT_EQ(item.GetAlpha(), 1.0f);
  const float y = OuterY(item);
  for (int i = 1001; i <= 1100; ++i) item.Test();
  EXPECT_EQ(item.GetAlpha(), 0.0f);
  EXPECT_EQ(OuterY(item), y) << "it fades where it is";
  EXPECT_TRUE(item.IsActive());
  item.Test();
  EXPECT_FALSE(item.IsActive()) << "Test 1101";

  TMapItem tracked(&Stage(), Item(1, 14));
  EXPECT_EQ(tracked.GetLifetime(), -1);
}

TEST_F(MapObjectTest, AWeaponLiesTurnedAndMovedByThePoseOfItsType) {
  const TWeaponPose* eleven = FindWeaponPose(11);
  ASSERT_NE(eleven, nullptr);
  EXPECT_EQ((std::array{eleven->yAxis.x, eleven->yAxis.y, eleven->yAxis.z}), (std::array{-1.f, 0.f, 0.f}));
  EXPECT_EQ((std::array{eleven->zAxis.x, eleven->zAxis.y, eleven->zAxis.z}), (std::array{0.f, 0.f, 1.f}));
  EXPECT_EQ((std::array{eleven->offset.x, eleven->offset.y, eleven->offset.z}), (std::array{0.f, 0.f, 1.f}));
  EXPECT_EQ(FindWeaponPose(12), nullptr);

  // The sample sword (type 0): Y (0, 0, -1), Z (0, 1, 0), so X (1, 0, 0), moved 1 along z.
  TMapItem sword(&Stage(), Item(1000, 15, 0, D3DXVECTOR3(2, 0, 3)));
  const D3DXMATRIX& m = *sword.GetInnerFrame()->GetMatrix();
  const float expected[4][4] = {{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(m.m[r][c], expected[r][c]) << r << "," << c;
  EXPECT_FLOAT_EQ(sword.GetPosition().z, 4);
  EXPECT_FLOAT_EQ(sword.GetOuterFrame()->GetMatrix()->m[3][2], 4);
}

// Each model file gets a part named after it, so the mesh an item shows tells which file it came
// from.
TEST_F(MapObjectTest, AnItemLiesAsTheModelOfItsKind) {
  const char* files[] = {"item/hukuro00.msh", "item/ring00.msh", "item/coin00.msh", "wepon/sword00.msh"};
  for (const char* file : files)
    datakit::MeshFile::FromShape(file, datakit::BoxShape(0.2f, 0.2f, 0.2f),
                                 {datakit::MeshMaterial::Colored(file, 1, 1, 1)})
        .Msh()
        .Save(std::string("data/msh03/") + file);
  struct Case {
    const char* what;
    uint32_t id;
    const char* model;
  };
  const Case cases[] = {
      {"a potion (kind 0)", 1, "item/hukuro00.msh"},
      {"a key (kind 0)", 4, "item/hukuro00.msh"},
      {"a silver ring (kind 2)", 2001, "item/ring00.msh"},
      {"a crown (kind 2)", 2003, "item/ring00.msh"},
      {"a sword (kind 1, model sword00)", 1000, "wepon/sword00.msh"},
      {"gold", TMapItem::kGold, "item/coin00.msh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMapItem item(&Stage(), Item(c.id, TMapItem::kUntracked, 10));
    const TMesh8* mesh = item.GetMesh();
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetMaterial(0).GetName(), c.model);
  }
}

TEST_F(MapObjectTest, ABoxTriggerRunsItsScriptEveryTickFromThe15thTickInARowInItsBox) {
  TBoxTriggerRecord record{D3DXVECTOR3(-1, 0, -1), D3DXVECTOR3(1, 2, 1), D3DXVECTOR3(1, 0, 0), "03.pbsc/box"};
  TBoxTrigger trigger(&Stage(), record);
  fieldServices.mapEvent.result = 5;
  Stand(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0), 3);
  size_t mark = fieldLog.size();
  EXPECT_EQ(Tests(trigger, 14), std::vector<int32_t>(14, 1));
  EXPECT_EQ(Scripts(mark), Log{});
  EXPECT_EQ(Tests(trigger, 3), (std::vector<int32_t>{5, 5, 5}));
  EXPECT_EQ(Scripts(mark), Log(3, "map script 03.pbsc/box"));

  Player().SetMode(0);
  EXPECT_EQ(trigger.Test(), 1);
  Player().SetMode(2);
  EXPECT_EQ(Tests(trigger, 14), std::vector<int32_t>(14, 1)) << "the count started anew";
}

TEST_F(MapObjectTest, AnExamineTriggerRunsItsScriptOnThePressFacingItWithin50Degrees) {
  TExamineTriggerRecord record{D3DXVECTOR3(0, 0, 5), 2, "03.pbsc/look"};
  TExamineTrigger trigger(&Stage(), record);
  fieldServices.mapEvent.result = 7;
  Player().examineKey = true;
  Stand(D3DXVECTOR3(0, 0, 4), FrontAt(51), 0);
  size_t mark = fieldLog.size();
  EXPECT_EQ(trigger.Test(), 1);
  Stand(D3DXVECTOR3(0, 0, 4), FrontAt(-90), 0);
  EXPECT_EQ(trigger.Test(), 1);
  EXPECT_EQ(Scripts(mark), Log{});
  Stand(D3DXVECTOR3(0, 0, 4), FrontAt(50), 0);
  EXPECT_EQ(trigger.Test(), 7);
  Player().examineKey = false;
  EXPECT_EQ(trigger.Test(), 1);
  EXPECT_EQ(Scripts(mark), Log{"map script 03.pbsc/look"});
}

TEST_F(MapObjectTest, ABoxTestTriggerRunsItsScriptOnEveryTickThePlayerStandsInItBoundsIncluded) {
  TBoxTestTriggerRecord record{D3DXVECTOR3(-1, 0, -1), D3DXVECTOR3(1, 2, 1), "03.pbsc/stand"};
  TBoxTestTrigger trigger(&Stage(), record);
  fieldServices.mapEvent.result = 1;
  const size_t mark = fieldLog.size();
  Stand(D3DXVECTOR3(-1, 2, 1), D3DXVECTOR3(0, 0, -1), 0);  // a corner, any mode, any facing
  trigger.Test();
  trigger.Test();
  Stand(D3DXVECTOR3(-1.001f, 1, 0));
  trigger.Test();
  EXPECT_EQ(Scripts(mark), Log(2, "map script 03.pbsc/stand"));
}

TEST_F(MapObjectTest, ConditionsRunTheirScriptOnceTheDefeatedListHoldsWhatTheyWait) {
  fieldServices.mapEvent.result = 3;
  TCountCondition none(&Stage(), TCountConditionRecord{0, "03.pbsc/start"});
  TCountCondition two(&Stage(), TCountConditionRecord{2, "03.pbsc/two"});
  TEnemyCondition boss(&Stage(), TEnemyConditionRecord{1, "03.pbsc/boss"});
  EXPECT_EQ(none.Test(), 3) << "a count of 0 holds at once";
  EXPECT_EQ(two.Test(), 1);
  EXPECT_EQ(boss.Test(), 1);
  Enemies().defeated = {5};
  EXPECT_EQ(two.Test(), 1);
  EXPECT_EQ(boss.Test(), 1);
  Enemies().defeated = {5, 1};
  EXPECT_EQ(two.Test(), 3);
  EXPECT_EQ(boss.Test(), 3);
  EXPECT_EQ(boss.Test(), 3) << "and again on every tick";
}

TEST_F(MapObjectTest, OnATownWithoutEnemiesConditionsSeeNobodyDefeated) {
  OpenMap("t.pbms/town");
  ASSERT_EQ(Stage().GetEnemyManager(), nullptr);
  fieldServices.mapEvent.result = 3;
  const size_t mark = fieldLog.size();
  EXPECT_EQ(TCountCondition(&Stage(), TCountConditionRecord{0, "03.pbsc/start"}).Test(), 3);
  EXPECT_EQ(TCountCondition(&Stage(), TCountConditionRecord{1, "03.pbsc/one"}).Test(), 1);
  EXPECT_EQ(TEnemyCondition(&Stage(), TEnemyConditionRecord{0, "03.pbsc/boss"}).Test(), 1);
  EXPECT_EQ(Scripts(mark), Log{"map script 03.pbsc/start"});
}

TEST_F(MapObjectTest, ASavePointGlowsOnANewArrivalWithin1AndIsLeftAt1) {
  auto spawned = std::make_shared<std::vector<Spawned>>();
  field->GetEffectManager()->Register(TSavePoint::kArrivalEffect, std::make_unique<ArrivalEffect>(spawned));
  TSavePoint savePoint(&Stage(), TSavePointRecord{3, D3DXVECTOR3(2, 0, 2)});
  ASSERT_EQ(savePoint.GetFrame()->GetParent(), Stage().GetSceneFrame());
  EXPECT_EQ(savePoint.GetFrame()->GetName(), "savPointFrm");

  Stand(D3DXVECTOR3(2, 0, 2.5f));
  size_t mark = fieldLog.size();
  EXPECT_EQ(savePoint.Test(), 1);
  EXPECT_EQ(savePoint.Test(), 1);
  EXPECT_EQ(LogFrom(mark), (Log{"player 1 enter save point 3", "player 1 enter save point 3"}));
  ASSERT_EQ(spawned->size(), 1u) << "on the new arrival only";
  EXPECT_EQ((std::array{spawned->at(0).position.x, spawned->at(0).position.z}), (std::array{2.f, 2.f}));
  const plat::D3DCOLORVALUE& c = spawned->at(0).colour;
  EXPECT_EQ((std::array{c.r, c.g, c.b, c.a}), (std::array{0.4f, 0.4f, 0.8f, 1.0f}));

  Stand(D3DXVECTOR3(2, 0, 3));
  mark = fieldLog.size();
  EXPECT_EQ(savePoint.Test(), 1);
  EXPECT_EQ(LogFrom(mark), Log{"player 1 leave save point"}) << "exactly 1.0 away is away";
  Stand(D3DXVECTOR3(2, 0, 2));
  savePoint.Test();
  EXPECT_EQ(spawned->size(), 2u);
}

TEST_F(MapObjectTest, TheDeathWatchWaitsForTheEndOfTheDeathThenRunsTheScriptOrQueuesTheGameOver) {
  TDeathWatch none(&Stage(), "non");
  TDeathWatch scripted(&Stage(), "03.pbsc/death");
  EXPECT_EQ(none.Test(), 1);
  EXPECT_EQ(scripted.Test(), 1);
  EXPECT_TRUE(fieldServices.gameOvers.empty());

  Player().deathFinished = true;
  fieldServices.mapEvent.result = 10005;
  size_t mark = fieldLog.size();
  EXPECT_EQ(scripted.Test(), 10005);
  EXPECT_EQ(Scripts(mark), Log{"map script 03.pbsc/death"});

  TCountedPtr<TSoundSet8> music = TDSound8::Get().Find(2);
  const int32_t tune = Stage().GetMusicId();
  ASSERT_NE(tune, -1);
  const uint32_t users = music->GetCount(tune);
  EXPECT_EQ(none.Test(), kFieldEndsB);
  EXPECT_EQ(fieldServices.gameOvers, std::vector<int32_t>{tune});
  EXPECT_EQ(music->GetCount(tune), users + 1) << "the game over keeps the music";

  // The field ends on the stage's walk; the game over behind it ends at once and lets the music go.
  app->ClearScenes();
  field = nullptr;
  EXPECT_EQ(music->GetCount(tune), 0u);
}

TEST(StepCounter, StepsTowardItsEndAndReportsFalseOnlyWhenAStepWouldPassIt) {
  TStepCounter up(0, 3, 1);
  EXPECT_EQ((std::array{up.Step(), up.Step(), up.Step(), up.Step()}), (std::array{true, true, true, false}));
  EXPECT_EQ(up.GetValue(), 3);
  up.Reset();
  EXPECT_EQ(up.GetValue(), 0);

  TStepCounter big(0, 10, 4);
  EXPECT_TRUE(big.Step());
  EXPECT_TRUE(big.Step());
  EXPECT_FALSE(big.Step());
  EXPECT_EQ(big.GetValue(), 10) << "clamped";

  TStepCounter slow(5, 3, -2);  // one down every second call
  std::vector<int32_t> values;
  for (int i = 0; i < 6; ++i) {
    slow.Step();
    values.push_back(slow.GetValue());
  }
  EXPECT_EQ(values, (std::vector<int32_t>{5, 4, 4, 3, 3, 3}));
}

}  // namespace
