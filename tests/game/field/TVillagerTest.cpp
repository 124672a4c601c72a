// Villagers: the record that their script fills, where and how they stand, when the player's
// examine press starts a talk with them, and how they idle and turn while it lasts.
#include <array>
#include <cmath>

#include "game/effect/MtRandomState.h"
#include "game/field/CollisionGeometry.h"
#include "game/field/TVillager.h"
#include "tests/game/field/FieldSceneFixture.h"

namespace {

using namespace fieldscenetest;

class VillagerTest : public FieldSceneFixture {
 protected:
  void SetUp() override {
    FieldSceneFixture::SetUp();
    OpenMap("03.pbms/town");
  }

  TStage& Stage() { return *field->GetStage(); }
  TestPlayer& Player() { return *fieldServices.lastPlayer; }

  static VillagerRecord Record(uint32_t faceMode, const D3DXVECTOR3& facing = D3DXVECTOR3(0, 0, -1)) {
    VillagerRecord r;
    r.scriptName = "03.pbsc/Elder";
    r.modelName = "villager00";
    r.kind = 3;
    r.faceMode = faceMode;
    r.bodyHeight = 0.5f;
    r.shadowSize = 1.0f;
    r.gravity = -0.01f;
    r.shadowVisible = 1;
    r.facing = facing;
    return r;
  }
  TVillager& Place(const VillagerRecord& record) {
    auto* villager = new TVillager(record);
    Stage().AddObject(TCountedPtr<TVillager>(villager));
    return *villager;
  }
  // The player at the point, its front (-z of its frame) along the unit direction.
  void Stand(const D3DXVECTOR3& at, const D3DXVECTOR3& front) {
    const D3DXVECTOR3 z(-front.x, -front.y, -front.z), y(0, 1, 0), x = vec3::Unit(vec3::Cross(y, z));
    const float rows[16] = {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, at.x, at.y, at.z, 1};
    Player().GetFrame()->SetMatrix(rows);
  }
  // How far (as a cosine) the villager's front is from the player.
  float CosToPlayer(const TVillager& v) {
    return vec3::Dot(v.GetFront(), vec3::Unit(vec3::Sub(Player().GetPosition(), v.GetPosition())));
  }
};

TEST_F(VillagerTest, ARecordIsWhatItsScriptDescribesAndItsRunEndsOnAWaitTheEndOrAStoppedEngine) {
  struct Case {
    std::deque<uint32_t> runs;
    size_t taken;
  };
  // 16 (stopped) would otherwise be run for ever: its low bits ask for no stop.
  for (const Case& c : {Case{{16, 0, 3}, 1}, Case{{8, 0, 3}, 3}, Case{{4}, 1}}) {
    fieldServices.runs = c.runs;
    fieldServices.describeVillager = [](VillagerRecord& r) {
      r.modelName = "villager01";
      r.faceMode = 1;
    };
    const size_t mark = fieldLog.size();
    const VillagerRecord record("03.pbsc/Daughter");
    EXPECT_EQ(record.scriptName, "03.pbsc/Daughter");
    EXPECT_EQ(record.modelName, "villager01");
    EXPECT_EQ(record.faceMode, 1u);
    const Log runs(c.taken, "run scripts");
    Log expected{"villager script 03.pbsc/Daughter"};
    expected.insert(expected.end(), runs.begin(), runs.end());
    const Log end{"villager script ends"};
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_EQ(LogFrom(mark), expected);
  }
}

TEST_F(VillagerTest, AVillagerStandsWhereItsRecordSaysFacingItsWayOrARandomOneBetweenXAndZ) {
  TVillager& v = Place(Record(0, D3DXVECTOR3(1, 0, 0)));
  EXPECT_EQ(v.GetFrame()->GetParent(), Stage().GetSceneFrame());
  EXPECT_EQ(v.GetFrame()->GetName(), "villager00");
  EXPECT_EQ(v.GetScriptName(), "03.pbsc/Elder");
  // The frame looks along the facing; the model's front is its -z.
  EXPECT_NEAR(v.GetFront().x, -1, 1e-6f);

  for (uint32_t seed : {1u, 5489u, 77u, 123456u}) {
    SeedRand(seed);
    VillagerRecord record = Record(0, D3DXVECTOR3(0, 0, 0));
    record.position = D3DXVECTOR3(2, 0, 3);
    TVillager& drawn = Place(record);
    const D3DXVECTOR3 f = drawn.GetFacing();
    EXPECT_GE(f.x, 0) << seed;
    EXPECT_GE(f.z, 0) << seed;
    EXPECT_EQ(f.y, 0) << seed;
    EXPECT_NEAR(vec3::Length(f), 1, 1e-6f) << seed;
    EXPECT_EQ(drawn.GetPosition().z, 3);
  }
}

TEST_F(VillagerTest, ATalkStartsOnTheExaminePressNearerThanBothBodiesAndAHalfAndFacingWithin30Degrees) {
  TVillager& v = Place(Record(0));
  // Body heights 0.5 and 0.5: the reach is 1.5.
  const float c30 = kCosTalkLimit, c31 = std::cos(31 * 3.14159265f / 180);
  struct Case {
    float z;
    D3DXVECTOR3 front;
    bool examine;
    bool talks;
  };
  const Case cases[] = {
      {-1.5f, D3DXVECTOR3(0, 0, 1), true, false},  {-1.49f, D3DXVECTOR3(0, 0, 1), false, false},
      {-1.0f, D3DXVECTOR3(std::sqrt(1 - c31 * c31), 0, c31), true, false},
      {-1.0f, D3DXVECTOR3(0.5f, 0, c30), true, true},  // exactly 30 degrees
      {-1.49f, D3DXVECTOR3(0, 0, 1), true, true},
  };
  for (const Case& c : cases) {
    Stand(D3DXVECTOR3(0, 0, c.z), c.front);
    Player().examineKey = c.examine;
    EXPECT_EQ(v.CheckTalk(), c.talks) << c.z << " " << c.front.z << " " << c.examine;
    if (c.talks) v.EndTalk();
  }
}

TEST_F(VillagerTest, ASecondPressWhileTalkingIsIgnoredUntilTheTalkEnds) {
  TVillager& v = Place(Record(1));
  Stand(D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 0, 1));
  Player().examineKey = true;
  EXPECT_TRUE(v.CheckTalk());
  EXPECT_TRUE(v.IsTalking());
  EXPECT_FALSE(v.CheckTalk());
  EXPECT_TRUE(v.IsTalking());
  v.EndTalk();
  EXPECT_FALSE(v.IsTalking());
  EXPECT_EQ(v.GetMode(), 0u);
  EXPECT_TRUE(v.CheckTalk());
}

TEST_F(VillagerTest, WithFaceMode1ATalkingVillagerTurnsTowardThePlayerInMode2AndOtherwiseKeepsItsWay) {
  for (uint32_t faceMode : {1u, 0u}) {
    SCOPED_TRACE(faceMode);
    TVillager& v = Place(Record(faceMode, D3DXVECTOR3(-1, 0, 0)));  // its front is +x
    // The player to its side, looking at it.
    const D3DXVECTOR3 at(-0.6f, 0, -1);
    Stand(at, vec3::Unit(vec3::Sub(v.GetPosition(), at)));
    Player().examineKey = true;
    ASSERT_TRUE(v.CheckTalk());
    EXPECT_EQ(v.GetMode(), faceMode == 1 ? 2u : 0u);

    const float before = CosToPlayer(v);
    const float motion = v.GetModel()->GetMotionTime();
    for (int i = 0; i < 60; ++i) v.Update();
    EXPECT_GT(v.GetModel()->GetMotionTime(), motion) << "it idles all the while";
    if (faceMode == 1) {
      EXPECT_GT(CosToPlayer(v), 0.999f) << "turned to the player from " << before;
    } else {
      EXPECT_FLOAT_EQ(CosToPlayer(v), before);
    }
    v.EndTalk();
    EXPECT_EQ(v.GetMode(), 0u);
    const float after = CosToPlayer(v);
    v.Update();
    EXPECT_FLOAT_EQ(CosToPlayer(v), after) << "mode 0 turns no more";
  }
}

}  // namespace
