// Every way onto one of the sample's maps, on the game's own services: the hero arrives with its
// back to the camera, looking into the map as the README says (north in the town and on the
// battle map, the cave's way after its events, east on the castle's maps), the minimap's arrow
// turned the same way, and what the README puts before the hero lies before it. The town's way
// out is its north wall, walked into.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>

#include "game/field/TMiniMap.h"
#include "game/script/EventFactory.h"
#include "game/shell/TInput.h"
#include "tests/game/app/GameFieldFixture.h"
#include "tools/datakit/SampleMaps.h"

namespace {

using L = datakit::SampleMapLayout;
using plat::D3DXVECTOR3;

D3DXVECTOR3 At(const datakit::Vec3& v) { return D3DXVECTOR3(v.x, v.y, v.z); }

// How the hero comes onto the map.
enum class Way {
  kOpened,  // the map opened on its own start
  kEvent,   // the story event (from its first tick, skipped) ending on it
  kExit,    // the exit of another map, walked into
  kLoaded,  // a save made at the save point loaded
};

// The hero's front (its body's -z axis) and the minimap arrow's turn from straight up (north),
// clockwise, as the README's words and the sample's maps give them.
constexpr datakit::Vec3 kNorth{0, 0, 1}, kEast{1, 0, 0};
constexpr float kArrowUp = 0, kArrowRight = 1.5707964f;

struct Arrival {
  const char* what;
  Way way;
  const char* from;  // the map opened (kOpened, kExit)
  int32_t number;    // the event (kEvent) or the save point (kLoaded)
  const char* map;   // where the hero arrives
  datakit::Vec3 looks;
  float arrow;
  std::optional<datakit::Vec3> ahead;  // what the hero finds before it, if anything
};

void PrintTo(const Arrival& a, std::ostream* out) { *out << a.what; }

const Arrival kArrivals[] = {
    {"a new game, its opening skipped: the elder a few steps ahead", Way::kEvent, nullptr, 200, "03.pbms/r01_07_b",
     kNorth, kArrowUp, L::kElderAt},
    {"the town's north wall: the battle map's ring before the hero", Way::kExit, "03.pbms/town", 0, "03.pbms/field",
     kNorth, kArrowUp, L::kRingAt},
    {"the battle map's south wall: the town", Way::kExit, "03.pbms/field", 0, "03.pbms/town", kNorth, kArrowUp,
     std::nullopt},
    {"event 202: the cave's depths, their guardian ahead", Way::kEvent, nullptr, 202, "03.pbms/d04_02boss", kNorth,
     kArrowUp, L::kCaveBossAt},
    {"event 203: the cave", Way::kEvent, nullptr, 203, "03.pbms/d04_02", kNorth, kArrowUp, std::nullopt},
    {"event 204: the castle", Way::kEvent, nullptr, 204, "03.pbms/c00boss0", kEast, kArrowRight, std::nullopt},
    {"event 205: the castle", Way::kEvent, nullptr, 205, "03.pbms/c00boss1", kEast, kArrowRight, std::nullopt},
    {"event 207: the castle", Way::kEvent, nullptr, 207, "03.pbms/c00boss2", kEast, kArrowRight, std::nullopt},
    {"event 208: the castle", Way::kEvent, nullptr, 208, "03.pbms/c00boss3", kEast, kArrowRight, std::nullopt},
    {"a save made on the town's disc: the elder ahead", Way::kLoaded, nullptr, 7, "03.pbms/town", kNorth, kArrowUp,
     L::kElderAt},
    {"the cleared chapter's save", Way::kLoaded, nullptr, 10, "03.pbms/town", kNorth, kArrowUp, L::kElderAt},
    {"the town on its own", Way::kOpened, "03.pbms/town", 0, "03.pbms/town", kNorth, kArrowUp, L::kElderAt},
    {"the battle map on its own", Way::kOpened, "03.pbms/field", 0, "03.pbms/field", kNorth, kArrowUp, L::kRingAt},
    {"the arena: the fireball ahead", Way::kOpened, "03.pbms/arena", 0, "03.pbms/arena", kNorth, kArrowUp,
     L::kArenaFireballAt},
    {"the cave's depths on their own", Way::kOpened, "03.pbms/d04_02boss", 0, "03.pbms/d04_02boss", kNorth, kArrowUp,
     L::kCaveBossAt},
    {"the cave on its own", Way::kOpened, "03.pbms/d04_02", 0, "03.pbms/d04_02", kNorth, kArrowUp, std::nullopt},
    {"the castle on its own", Way::kOpened, "03.pbms/c00boss0", 0, "03.pbms/c00boss0", kEast, kArrowRight,
     std::nullopt},
};

class ArrivalScenario : public GameFieldFixture {
 protected:
  void SetUp() override {
    GameFieldFixture::SetUp();
    for (int i = 0; i < 5; ++i) app->GetInput()->Update();  // past the input's warm-up
    app->ClearScenes();
  }
  void TearDown() override {
    plat::SetKeyDown('X', false);
    Release();
    field = nullptr;
    app->ClearScenes();
    GameFieldFixture::TearDown();
  }

  // The event with the cancel button held from its first tick, through any event it changes to,
  // until a field is current.
  void SkipEvent(int32_t id) {
    ASSERT_TRUE(CreateEventScene(*app, id));
    plat::SetKeyDown('X', true);
    for (int i = 0; i < 3000 && !Current<TFieldScene>(); ++i) Tick();
    plat::SetKeyDown('X', false);
  }
  // From a little short of the exit, walked into along its way until the map changes.
  void LeaveThrough(const TMapBox& exit, const D3DXVECTOR3& way) {
    const float edge = way.z > 0 ? exit.GetCorner1().z : exit.GetCorner2().z;
    const D3DXVECTOR3 shortOf(exit.GetCentre().x, 0, edge - 2 * way.z);
    ASSERT_TRUE(WalkTo(shortOf));
    for (int i = 0; i < kLongestWalk && !InMode(); ++i) {
      HoldToward(way);
      Tick();
    }
    Release();
    ASSERT_TRUE(InMode()) << "the exit never started the change";
    for (int i = 0; i < 300 && InMode(); ++i) Tick();
  }
  void ArriveBy(const Arrival& a) {
    switch (a.way) {
      case Way::kOpened:
        OpenMap(a.from);
        break;
      case Way::kEvent:
        SkipEvent(a.number);
        break;
      case Way::kExit: {
        OpenMap(a.from);
        FinishOpeningFade();
        const bool town = std::string(a.from) == "03.pbms/town";
        const TMapBox exit = town ? TMapBox(At(L::kTownExitMin), At(L::kTownExitMax))
                                  : TMapBox(At(L::kFieldExitMin), At(L::kFieldExitMax));
        LeaveThrough(exit, At(town ? L::kTownExitWay : L::kFieldExitWay));
        break;
      }
      case Way::kLoaded:
        Open(TFieldScene::CreateFromSave(*app, static_cast<uint32_t>(a.number)));
        break;
    }
  }
  // Horizontal unit vector from a to b.
  static D3DXVECTOR3 Toward(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return vec3::Unit(D3DXVECTOR3(b.x - a.x, 0, b.z - a.z));
  }
};

class Arrivals : public ArrivalScenario, public ::testing::WithParamInterface<Arrival> {};

TEST_P(Arrivals, TheHeroShowsTheCameraItsBackLookingIntoTheMap) {
  const Arrival& a = GetParam();
  ArriveBy(a);
  if (HasFatalFailure()) return;
  ASSERT_NE(Arrive(a.map), nullptr);

  const D3DXVECTOR3 front = Hero().GetFront();
  EXPECT_NEAR(front.x, a.looks.x, 1e-4f);
  EXPECT_NEAR(front.y, 0, 1e-4f);
  EXPECT_NEAR(front.z, a.looks.z, 1e-4f);
  EXPECT_NEAR(field->GetMiniMap()->GetAngle(), a.arrow, 1e-3f) << "the minimap's arrow";

  // The camera looks at the hero's back: its view across the ground lies within 60 degrees of the
  // hero's front.
  D3DXVECTOR3 eye;
  Stage().GetViewFrame()->GetWorldPosition(&eye);
  const D3DXVECTOR3 hero = Hero().GetPosition();
  EXPECT_GT(vec3::Dot(Toward(eye, hero), front), 0.5f)
      << "camera at " << eye.x << ", " << eye.z << ", hero at " << hero.x << ", " << hero.z;

  if (a.ahead) {
    EXPECT_GT(vec3::Dot(Toward(hero, At(*a.ahead)), front), 0.85f) << "within about 30 degrees of the front";
  }
}

INSTANTIATE_TEST_SUITE_P(SampleMaps, Arrivals, ::testing::ValuesIn(kArrivals));

// The town's way out is anywhere along its north wall: a hero walked north into the wall, far
// from the middle, comes onto the battle map, the change starting on its 15th tick there.
TEST_F(ArrivalScenario, WalkingNorthIntoTheTownsNorthWallLeadsToTheBattleMap) {
  OpenMap("03.pbms/town");
  FinishOpeningFade();
  const TMapBox exit(At(L::kTownExitMin), At(L::kTownExitMax));
  ASSERT_TRUE(WalkTo(D3DXVECTOR3(-10, 0, 12)));
  const bool left = WalkIntoFor(D3DXVECTOR3(0, 0, 1), exit, 15, [&](int tick) {
    EXPECT_EQ(InMode(), tick == 15) << "tick " << tick;
  });
  Release();
  ASSERT_TRUE(left) << "the hero never stood in the exit for 15 ticks";
  for (int i = 0; i < 300 && InMode(); ++i) Tick();
  ASSERT_NE(Arrive("03.pbms/field"), nullptr);
  EXPECT_LT(Distance(At(L::kFieldArrival)), 0.1f);
}

// A loaded save puts the hero where its save point says, standing on the ground from its first
// tick: a save made on the town's pale blue disc (the save point's area, within 1 of its centre)
// on the disc, the cleared chapter's in the town.
struct LoadedAt {
  const char* what;
  uint32_t savePoint;
  D3DXVECTOR3 at;  // where the sample's maps put the place
  bool onDisc;
};

void PrintTo(const LoadedAt& l, std::ostream* out) { *out << l.what; }

const LoadedAt kLoads[] = {
    {"a save made on the town's disc", 7, D3DXVECTOR3(4, 0, -4), true},
    {"the cleared chapter's save, in the town's middle", 10, D3DXVECTOR3(0, 0, 0), false},
};

class LoadedSaves : public ArrivalScenario, public ::testing::WithParamInterface<LoadedAt> {};

TEST_P(LoadedSaves, TheHeroStandsOnTheGroundWhereTheSavePointPutsIt) {
  const LoadedAt& l = GetParam();
  Open(TFieldScene::CreateFromSave(*app, l.savePoint));
  float highest = Hero().GetPosition().y;
  for (int i = 0; i < 200 && InMode(); ++i) {
    Tick();
    highest = std::max(highest, Hero().GetPosition().y);
  }
  ASSERT_NE(Arrive("03.pbms/town"), nullptr);
  EXPECT_LT(highest, 0.05f) << "the hero dropped in from above";
  EXPECT_LT(Distance(l.at), 0.1f) << "at " << Hero().GetPosition().x << ", " << Hero().GetPosition().z;
  EXPECT_EQ(Hero().IsAtSavePoint(), l.onDisc);
  if (l.onDisc) {
    EXPECT_EQ(Hero().GetSavePointId(), static_cast<int32_t>(l.savePoint));
  }
}

INSTANTIATE_TEST_SUITE_P(SampleSavePoints, LoadedSaves, ::testing::ValuesIn(kLoads));

}  // namespace
