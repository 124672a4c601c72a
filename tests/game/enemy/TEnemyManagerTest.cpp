// The enemy manager: spawning by id, the map's enemies, the live table, removal and the defeated
// ids, the spawn points, the searches.
#include "game/enemy/TEnemyManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <typeinfo>

#include "common/my_error.h"
#include "game/enemy/TElementEnemy.h"
#include "game/enemy/TEnemyTable.h"
#include "game/enemy/TRevivingEnemy.h"
#include "game/enemy/TTimeStopEnemy.h"
#include "game/field/TMapData.h"
#include "game/field/TStage.h"
#include "tests/game/enemy/EnemyFixture.h"

namespace {

using enemytest::EnemyFixture;
using enemytest::TestSlime;
using plat::D3DXVECTOR3;

using EnemyManagerTest = EnemyFixture;

// The class of an enemy, as the spawn table names it.
char ClassOf(const TEnemy& enemy) {
  if (dynamic_cast<const TTimeStopEnemy*>(&enemy)) return 'F';
  if (dynamic_cast<const TRevivingEnemy*>(&enemy)) return 'D';
  if (dynamic_cast<const TElementEnemy*>(&enemy)) return 'C';
  if (dynamic_cast<const TEnemyKind2*>(&enemy)) return 'B';
  if (dynamic_cast<const TEnemyKind5*>(&enemy)) return 'E';
  return typeid(enemy) == typeid(TStandardEnemy) ? 'A' : '?';
}

// One class with one set of arguments and every id that has them.
struct SpawnCase {
  char enemyClass;
  int32_t actions;
  uint8_t aiFlag;
  int32_t extra;  // C: the element; D: the revival attack; F: the variant
  std::vector<uint32_t> ids;
  float factor = 0;  // D only
  int32_t limit = 0;
};

TEST_F(EnemyManagerTest, SpawningByIdBuildsEachOfThe108IdsAsItsClassWithItsArgumentsAndNoOtherId) {
  OpenArena();
  const TEnemyRecord slime = EnemyDatabase.at(1);
  auto define = [&](uint32_t id) {
    TEnemyRecord r = slime;
    r.Id = id;
    EnemyDatabase[id] = r;
  };
  for (uint32_t id = 0; id < 80; ++id) define(id);
  for (uint32_t id = 10000; id < 10028; ++id) define(id);

  const std::vector<SpawnCase> cases = {
      {'A', 1, 0, 0, {3, 11, 13, 18, 24, 25, 35, 46, 48, 61, 62, 72, 73}},
      {'A', 2, 0, 0, {0, 1, 4, 12, 14, 17, 23, 26, 30, 41, 42, 52, 71, 75}},
      {'A', 3, 0, 0, {6,  8,  9,  19, 20, 21, 27, 28, 29, 31, 32, 33, 34,
                      36, 38, 39, 40, 43, 45, 51, 54, 57, 65, 67, 70, 74}},
      {'A', 4, 0, 0, {37, 44, 49, 66}},
      {'A', 5, 0, 0, {78}},
      {'A', 2, 1, 0, {10012}},
      {'A', 3, 1, 0, {10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10009, 10014, 10015}},
      {'A', 5, 1, 0, {10010, 10013}},
      {'B', 3, 0, 0, {22, 58}},
      {'B', 3, 1, 0, {76, 10000}},
      {'B', 8, 1, 0, {10026}},
      {'C', 2, 0, 0, {2}},
      {'C', 2, 0, 1, {5, 60}},
      {'C', 2, 0, 2, {55, 63}},
      {'C', 2, 0, 3, {16}},
      {'C', 2, 0, 4, {47, 64}},
      {'C', 2, 0, 5, {77}},
      {'C', 3, 0, 1, {10, 15}},
      {'C', 3, 0, 2, {7}},
      {'C', 3, 0, 3, {53, 68}},
      {'C', 3, 0, 5, {50}},
      {'C', 3, 0, 6, {56, 69}},
      {'D', 7, 1, 11042, {10011}, 1.5f, -1},
      {'D', 7, 1, 200, {10024}, 1.1f, 1},
      {'E', 4, 1, 0, {59, 79, 10016, 10017, 10018, 10019, 10020, 10021, 10022, 10023}},
      {'F', 10, 1, 0, {10025}},
      {'F', 10, 1, 1, {10027}},
  };
  TEnemyManager& manager = Manager();
  std::map<char, int> perClass;
  std::set<uint32_t> seen;
  for (const SpawnCase& c : cases) {
    for (uint32_t id : c.ids) {
      SCOPED_TRACE(testing::Message() << "id " << id);
      TCountedPtr<TEnemy> enemy = manager.TEnemyManager::SpawnById(id);
      ASSERT_TRUE(enemy);
      EXPECT_EQ(ClassOf(*enemy), c.enemyClass);
      EXPECT_EQ(enemy->GetKind(), id);
      EXPECT_FALSE(enemy->IsAlive()) << "a prototype, never placed";
      // Read by columns: the ids from 10000 and 59, 76 and 79 take the aggressive table.
      const bool aggressive = id >= 10000 || id == 59 || id == 76 || id == 79;
      EXPECT_EQ(enemy->GetAiTableFlag(), aggressive ? 1 : 0);
      EXPECT_EQ(enemy->GetAiTableFlag(), c.aiFlag);
      EXPECT_EQ(dynamic_cast<TStandardEnemy&>(*enemy).GetActionCount(), c.actions);
      if (const auto* element = dynamic_cast<const TElementEnemy*>(enemy.Get())) {
        EXPECT_EQ(element->GetElementIndex(), c.extra);
      }
      if (const auto* reviving = dynamic_cast<const TRevivingEnemy*>(enemy.Get())) {
        EXPECT_EQ(reviving->GetRevivalAttackId(), c.extra);
        EXPECT_EQ(reviving->GetStatFactor(), c.factor) << "the single-precision value";
        EXPECT_EQ(reviving->GetRevivalLimit(), c.limit);
        EXPECT_EQ(reviving->GetRevivalCount(), 0);
      }
      if (const auto* timeStop = dynamic_cast<const TTimeStopEnemy*>(enemy.Get())) {
        EXPECT_EQ(timeStop->GetVariant(), c.extra);
      }
      ++perClass[c.enemyClass];
      EXPECT_TRUE(seen.insert(id).second) << "one row per id";
    }
  }
  EXPECT_EQ(perClass, (std::map<char, int>{{'A', 72}, {'B', 5}, {'C', 17}, {'D', 2}, {'E', 10}, {'F', 2}}));
  EXPECT_EQ(seen.size(), 108u);
  EXPECT_EQ(*seen.rbegin(), 10027u);

  // Id 10000 exists; nothing between the two ranges, after them or below them.
  EXPECT_EQ(ClassOf(*manager.TEnemyManager::SpawnById(10000)), 'B');
  const size_t records = EnemyDatabase.size();
  for (uint32_t id = 80; id < 10000; ++id) ASSERT_FALSE(manager.TEnemyManager::SpawnById(id)) << id;
  for (uint32_t id : {10028u, 10029u, 20000u, 0x7FFFFFFFu, static_cast<uint32_t>(-1), static_cast<uint32_t>(-10000)})
    EXPECT_FALSE(manager.TEnemyManager::SpawnById(id)) << id;
  EXPECT_EQ(EnemyDatabase.size(), records) << "asking leaves no record behind";

  // Every spawn is a new object.
  TCountedPtr<TEnemy> a = manager.TEnemyManager::SpawnById(22);
  TCountedPtr<TEnemy> b = manager.TEnemyManager::SpawnById(22);
  EXPECT_NE(a.Get(), b.Get());
  EXPECT_STREQ(a->GetEnemyClass().name, "super-armoured");
  EXPECT_STREQ(manager.TEnemyManager::SpawnById(1)->GetEnemyClass().name, "standard");
}

TEST_F(EnemyManagerTest, AnIdOfTheGameThatEnemyTblLacksStopsTheSpawnNamingIt) {
  OpenArena();
  ASSERT_EQ(EnemyDatabase.count(10026), 0u);
  try {
    Manager().TEnemyManager::SpawnById(10026);
    FAIL() << "no error";
  } catch (const my_error& e) {
    EXPECT_NE(std::string(e.what()).find("10026"), std::string::npos) << e.what();
  }
  EXPECT_EQ(EnemyDatabase.count(10026), 0u) << "no empty record was made";
}

TEST_F(EnemyManagerTest, PlacementsAppearAtOnceStandingAndLevelledWhileSpawnPointsWait) {
  OpenArena(Arena()
                .EnemyLimits(3, 50.0f)
                .EnemySpawn(1, {0, 0, 12}, {1, 1, 1}, 100000, 5.0f)
                .EnemyPlacement(1, {2, 0, 6}, {0, 0, 0})
                .EnemyPlacement(7, {0, 0, 6}, {0, 0, 0})  // no such enemy
                .EnemyPlacement(1, {-2, 0, 6}, {0, 0, -1}));
  TEnemyManager& manager = Manager();
  EXPECT_EQ(manager.GetMaximum(), 3u);
  EXPECT_FLOAT_EQ(manager.GetSpawnRange(), 50.0f);
  EXPECT_EQ(manager.GetLiveCount(), 2u);
  ASSERT_EQ(manager.GetLive().size(), 2u);
  EXPECT_EQ(manager.GetPrototypes().size(), 2u) << "one per id, an empty one for the unknown id";
  EXPECT_FALSE(manager.GetPrototypes().at(7));
  for (const auto& [handle, enemy] : manager.GetLive()) {
    EXPECT_EQ(handle, enemy->GetObjectId());
    EXPECT_NE(enemy->GetMode(), static_cast<uint32_t>(enemy_mode::kEntrance));
    EXPECT_EQ(enemy->GetMaxHp(), 40);
    EXPECT_EQ(enemy->GetParams()[0], 10) << "level 0: twice the base";
    EXPECT_EQ(enemy->GetManager(), &manager);
    EXPECT_EQ(manager.Find(handle), enemy.Get());
    EXPECT_EQ(Stage().FindActor(handle), enemy.Get());
  }
  ASSERT_EQ(manager.GetSpawnPoints().size(), 1u);
  EXPECT_FALSE(manager.GetSpawnPoints()[0].enemy) << "a spawn point spawns nothing at the load";
  EXPECT_EQ(manager.Find(12345), nullptr);
}

TEST_F(EnemyManagerTest, TheLiveCountHoldsThePlacedEnemiesSoSpawnPointsWaitForARemoval) {
  OpenArena(Arena()
                .EnemyLimits(4, 100.0f)
                .EnemySpawn(1, {0, 0, -8}, {0, 0, 0}, 0, 5.0f)
                .EnemyPlacement(1, {3, 0, 6}, {0, 0, 0})
                .EnemyPlacement(1, {-3, 0, 6}, {0, 0, 0})
                .EnemyPlacement(1, {6, 0, 6}, {0, 0, 0})
                .EnemyPlacement(1, {-6, 0, 6}, {0, 0, 0}));
  TEnemyManager& manager = Manager();
  for (int i = 0; i < 5; ++i) manager.SpawnWhileBelowMax();
  EXPECT_EQ(manager.GetLiveCount(), 4u);
  EXPECT_FALSE(manager.GetSpawnPoints()[0].enemy);

  manager.Remove(manager.GetLive().begin()->first);
  EXPECT_EQ(manager.GetLiveCount(), 3u);
  manager.SpawnWhileBelowMax();
  EXPECT_EQ(manager.GetLiveCount(), 4u);
  const TCountedPtr<TEnemy>& spawned = manager.GetSpawnPoints()[0].enemy;
  ASSERT_TRUE(spawned);
  EXPECT_EQ(spawned->GetMode(), static_cast<uint32_t>(enemy_mode::kEntrance));
  EXPECT_FLOAT_EQ(spawned->GetHomeRadius(), 5.0f);
  EXPECT_EQ(manager.GetSpawnPoints()[0].timer, 0u);
}

TEST_F(EnemyManagerTest, TheNearestReadyPointBeyondOneAndAHalfAndWithinTheRangeSpawnsOneATick) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  datakit::MapEntryWriter map = Arena();
  map.EnemyLimits(10, 10.0f)
      .EnemySpawn(1, {1.5f, 0, 0}, {1, 1, 1}, 0, 5)  // too near the player
      .EnemySpawn(1, {0, 0, 10}, {1, 1, 1}, 0, 5)    // at the range: out
      .EnemySpawn(1, {0, 0, 4}, {1, 1, 1}, 5, 5)     // not ready yet
      .EnemySpawn(1, {0, 0, -6}, {1, 1, 1}, 0, 5)    // an enemy stands on it
      .EnemySpawn(1, {6, 0, 0}, {1, 1, 1}, 0, 5)     // as near as the next: this one first
      .EnemySpawn(1, {-6, 0, 0}, {1, 1, 1}, 0, 5)
      .EnemySpawn(1, {0, 0, 8}, {1, 1, 1}, 0, 5);
  std::unique_ptr<enemytest::TestManager> own = OwnManager(map);
  TEnemyManager& manager = *own;
  TCountedPtr<TEnemy> blocker = manager.SpawnAt(1, D3DXVECTOR3(0, 0, -5.6f), D3DXVECTOR3(0, 0, -1), 5, true);
  const std::vector<TSpawnPoint>& points = manager.GetSpawnPoints();
  EXPECT_EQ(points[2].timer, 4u) << "trunc(5 - 25 / 216000), the rest of the interval 1";

  EXPECT_EQ(manager.ChooseSpawnPoint(), &points[4]);
  manager.SpawnWhileBelowMax();  // the timers step first: the nearer point is ready now
  EXPECT_TRUE(points[2].enemy);
  EXPECT_FALSE(points[4].enemy) << "one spawn a tick";
  for (size_t n : {4u, 5u, 6u}) {
    manager.SpawnWhileBelowMax();
    EXPECT_TRUE(points[n].enemy) << n;
  }
  EXPECT_EQ(manager.ChooseSpawnPoint(), nullptr);

  manager.Remove(blocker->GetObjectId());
  EXPECT_EQ(manager.ChooseSpawnPoint(), &points[3]);
  EXPECT_FALSE(points[0].enemy || points[1].enemy);
}

TEST_F(EnemyManagerTest, ADeathMakesThePointWaitAWholeIntervalButLeavingAliveReadiesItAtOnce) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  std::unique_ptr<enemytest::TestManager> own =
      OwnManager(Arena().EnemyLimits(1, 100.0f).EnemySpawn(1, {0, 0, 6}, {1, 1, 1}, 20, 5.0f));
  TEnemyManager& manager = *own;
  const TSpawnPoint& point = manager.GetSpawnPoints()[0];
  EXPECT_EQ(point.timer, 19u);
  manager.SpawnWhileBelowMax();
  ASSERT_TRUE(point.enemy);

  // It died.
  auto* first = dynamic_cast<TestSlime*>(point.enemy.Get());
  const uint32_t firstHandle = first->GetObjectId();
  first->hp = -15;
  first->alive = 0;
  manager.Remove(first->GetObjectId());
  int ticks = 1;
  for (manager.SpawnWhileBelowMax(); !manager.GetLiveCount() && ticks < 100; ++ticks) manager.SpawnWhileBelowMax();
  EXPECT_EQ(ticks, 21) << "a release, then twenty counted ticks";

  // It left alive.
  auto* second = dynamic_cast<TestSlime*>(point.enemy.Get());
  const uint32_t secondHandle = second->GetObjectId();
  EXPECT_NE(secondHandle, firstHandle);
  second->alive = 0;
  manager.Remove(secondHandle);
  manager.SpawnWhileBelowMax();
  EXPECT_EQ(manager.GetLiveCount(), 1u);
  ASSERT_TRUE(point.enemy);
  EXPECT_NE(point.enemy->GetObjectId(), secondHandle);
}

TEST_F(EnemyManagerTest, OnlyAnEnemyRemovedBelowZeroHpIsDefeatedOncePerRemoval) {
  OpenArena();
  TEnemyManager& manager = Manager();
  TestSlime& worn = Place(D3DXVECTOR3(2, 0, 4));
  TestSlime& dead = Place(D3DXVECTOR3(-2, 0, 4));
  worn.hp = 0;
  dead.hp = -1;
  const uint32_t deadHandle = dead.GetObjectId();
  manager.Remove(worn.GetObjectId());
  EXPECT_FALSE(manager.Contains(1));
  EXPECT_EQ(manager.GetDefeatedCount(), 0u);
  EXPECT_EQ(Stage().GetCollision()->GetActors().count(deadHandle), 1u);
  manager.Remove(deadHandle);
  EXPECT_TRUE(manager.Contains(1));
  EXPECT_FALSE(manager.Contains(2));
  EXPECT_EQ(Stage().GetCollision()->GetActors().count(deadHandle), 0u) << "it left the stage";
  manager.Remove(deadHandle);
  EXPECT_EQ(manager.GetDefeated(), std::vector<uint32_t>{1});
  EXPECT_EQ(manager.GetDefeatedCount(), 1u);
  EXPECT_EQ(manager.GetLiveCount(), 0u);
  EXPECT_FALSE(manager.GetEnemy(deadHandle));
}

TEST_F(EnemyManagerTest, FindingInARadiusIsStrictGivesTheLowestHandlesAndFillsTheRestWithMinusOne) {
  OpenArena();
  TEnemyManager& manager = Manager();
  // Body centres 0.6 above their places, measured from (0, 0.6, 0).
  TestSlime& a = Place(D3DXVECTOR3(1, 0, 0));
  TestSlime& outside = Place(D3DXVECTOR3(0, 0, 3));  // exactly at the radius
  TestSlime& b = Place(D3DXVECTOR3(-2, 0, 0));
  TestSlime& c = Place(D3DXVECTOR3(0, 0, -2.5f));
  const D3DXVECTOR3 point(0, 0.6f, 0);
  int32_t handles[5] = {7, 7, 7, 7, 7};
  manager.FindInRadius(point, 3.0f, handles, 4);
  EXPECT_EQ(handles[0], static_cast<int32_t>(a.GetObjectId()));
  EXPECT_EQ(handles[1], static_cast<int32_t>(b.GetObjectId()));
  EXPECT_EQ(handles[2], static_cast<int32_t>(c.GetObjectId()));
  EXPECT_EQ(handles[3], -1);
  EXPECT_EQ(handles[4], 7) << "nothing beyond the capacity is touched";
  manager.FindInRadius(point, 3.0f, handles, 2);
  EXPECT_EQ(handles[1], static_cast<int32_t>(b.GetObjectId()));
  EXPECT_EQ(handles[2], static_cast<int32_t>(c.GetObjectId())) << "left as it was";
  manager.FindInRadius(point, 3.01f, handles, 4);
  EXPECT_EQ(handles[1], static_cast<int32_t>(outside.GetObjectId()));
}

TEST_F(EnemyManagerTest, ASpawnDirectionWithAZeroComponentIsDrawnAndNeverNegative) {
  const D3DXVECTOR3 kept = TEnemyManager::SpawnDirection(D3DXVECTOR3(-1, 2, 3));
  EXPECT_EQ(kept.x, -1.0f);
  EXPECT_EQ(kept.z, 3.0f);
  for (const D3DXVECTOR3& stored : {D3DXVECTOR3(0, 1, 1), D3DXVECTOR3(1, 0, 1), D3DXVECTOR3(0, 0, 0)}) {
    const double z = PeekRand(0), y = PeekRand(1), x = PeekRand(2);
    const double length = std::sqrt(x * x + y * y + z * z);
    const D3DXVECTOR3 drawn = TEnemyManager::SpawnDirection(stored);
    EXPECT_NEAR(drawn.x, x / length, 1e-6);
    EXPECT_NEAR(drawn.y, y / length, 1e-6);
    EXPECT_NEAR(drawn.z, z / length, 1e-6);
    EXPECT_GE(drawn.x, 0.0f);
    EXPECT_GE(drawn.y, 0.0f);
    EXPECT_GE(drawn.z, 0.0f);
  }
}

TEST_F(EnemyManagerTest, AFirstTimerIsShortenedByTheSquareOfItsIntervalAndDrawnWithinTheRest) {
  // t0 = trunc(I - I * I * 4.6296295e-6); the timer, unsigned, is t0 + a draw % (I - t0) when
  // I > t0, else t0. Beyond 216000 frames t0 is below zero and so may be the sum.
  struct Case {
    uint32_t interval;
    int64_t t0;
  };
  for (const Case& c : {Case{1000, 995}, Case{60, 59}, Case{5000, 4884}, Case{0, 0}, Case{216000, 0},
                        Case{300000, -116666}}) {
    SCOPED_TRACE(c.interval);
    const uint32_t next = PeekRand();
    const int64_t sum = int64_t{c.interval} > c.t0 ? c.t0 + int64_t{next % (int64_t{c.interval} - c.t0)} : c.t0;
    EXPECT_EQ(TEnemyManager::FirstTimer(c.interval), static_cast<uint32_t>(sum));
    if (c.interval <= c.t0) {
      EXPECT_EQ(PeekRand(), next) << "no draw";
    }
  }

  // The map's spawn points take theirs at the load.
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  datakit::MapDataWriter maps;
  maps.Entry("points", Arena().EnemyLimits(1, 10.0f).EnemySpawn(1, {0, 0, 5}, {1, 1, 1}, 1000, 5.0f));
  maps.Entry("long", Arena().EnemyLimits(1, 10.0f).EnemySpawn(1, {0, 0, 5}, {1, 1, 1}, 300000, 5.0f));
  SaveTestMaps(maps);
  const uint32_t want = 995 + PeekRand() % 5;
  TEnemyManager manager(Stage(), TMapData("t.pbms/points"));
  EXPECT_EQ(manager.GetSpawnPoints()[0].timer, want);

  // A draw that leaves the long interval's sum below zero wraps the timer past the interval: the
  // point is ready at once and spawns on the first update.
  SeedRand(2);
  ASSERT_LT(PeekRand() % 416666, 116666u) << "the seed draws a first timer below zero";
  TEnemyManager longWait(Stage(), TMapData("t.pbms/long"));
  EXPECT_GE(longWait.GetSpawnPoints()[0].timer, 300000u);
  longWait.Update();
  EXPECT_TRUE(longWait.GetSpawnPoints()[0].enemy) << "ready at once";
  EXPECT_EQ(longWait.GetLiveCount(), 1u);
}

TEST_F(EnemyManagerTest, TheStageFindsTheGamesEnemiesForItsHitPass) {
  services.realManager = true;
  OpenArena(Arena().EnemyLimits(2, 40.0f).EnemyPlacement(1, {0, 0, 5}, {0, 0, 0}));
  TEnemyManager& manager = Manager();
  ASSERT_EQ(manager.GetLive().size(), 1u);
  TEnemy& slime = *manager.GetLive().begin()->second;
  EXPECT_NE(dynamic_cast<TStandardEnemy*>(&slime), nullptr);
  EXPECT_EQ(Stage().FindActor(slime.GetObjectId()), &slime);
  Ticks(5);
  // A stroke of the hero over it: power 22 (parameter 12 and the sword's 10) against defence 10.
  const D3DXVECTOR3 centre = slime.GetBodyCenter();
  ASSERT_TRUE(Hero().CreateAttackHit(1000, Stage().GetSceneFrame(), &centre));
  Tick();
  EXPECT_EQ(slime.GetHp(), 40 - 14);
  EXPECT_EQ(slime.GetGaugeTimer(), 199) << "200 from the hit, one drawn";
}

}  // namespace
