// The enemy's movement modes and the hit reactions that move it between them.
#include <gtest/gtest.h>

#include <cmath>

#include "game/enemy/TEnemy.h"
#include "tests/game/enemy/EnemyFixture.h"

namespace {

using enemytest::EnemyFixture;
using enemytest::TestSlime;
using plat::D3DXVECTOR3;

using EnemyModesTest = EnemyFixture;

// One reaction, as ReceiveHit calls it with the kind's weight.
void React(TestSlime& slime, int32_t kind, int32_t type, bool fromFront, int32_t damage, bool freeze = false,
           float rate = 0.8f, float slide = 90.0f, float launch = 0.1f) {
  const int32_t power = HitKindScale(kind);
  switch (kind) {
    case 1: slime.OnHitKind1(0, -1, type, power, fromFront, rate, slide, damage); break;
    case 2: slime.OnHitKind2(0, -1, type, power, fromFront, rate, slide, damage); break;
    case 4: slime.OnHitKind4(0, -1, type, power, fromFront, rate, slide, launch, damage); break;
    case 8: slime.OnHitKind8(0, -1, type, power, freeze, fromFront, rate, slide, damage); break;
    case 16: slime.OnHitKind16(0, -1, type, power, fromFront, rate, slide, damage); break;
    default: break;
  }
}

TEST_F(EnemyModesTest, EachReactionMovesTheEnemyByItsKindItsStateAndWhereTheHitCameFrom) {
  OpenArena();
  using namespace enemy_state;
  using namespace enemy_mode;
  constexpr int32_t kAny = -1;
  struct Case {
    int32_t kind, state, mode, type;
    bool fromFront, killing;
    int32_t wantState, wantMode;
    float wantSlide;  // < 0: not checked
  };
  const Case cases[] = {
      {1, kNormal, kStand, 0, true, false, kReeling, kReelFromFront, 90},
      {2, kNormal, kCloseIn, 0, false, false, kReeling, kReelFromBehind, 90},
      {1, kNormal, kStand, 64, true, false, kDown, kDownFromFront, 90},
      {2, kNormal, kStand, 32, false, false, kDown, kDownFromBehind, 90},
      {1, kNormal, kStand, 0, true, true, kDown, kDownFromFront, 120},
      {2, kNormal, kStand, 0, false, true, kDown, kDownFromBehind, 0},
      {1, kReeling, kReelFromFront, 0, false, false, kReeling, kReelFromBehind, 90},
      {1, enemy_state::kStunned, enemy_mode::kStunned, 0, true, false, kReeling, kReelFromFront, 90},
      {1, kDown, kLying, 0, true, false, kDown, kLying, kAny},   // a light hit does not move it
      {2, kDown, kLying, 64, true, true, kDown, kLying, kAny},
      {4, kNormal, kStand, 0, true, false, kLaunched, kRising, 90},
      {4, kBlownAway, kLying, 0, true, false, kBlownAway, kLying, kAny},
      {8, kNormal, kStand, 0, true, false, enemy_state::kStunned, enemy_mode::kStunned, kAny},
      {8, kReeling, kReelFromBehind, 0, true, false, enemy_state::kStunned, enemy_mode::kStunned, kAny},
      {8, enemy_state::kStunned, enemy_mode::kStunned, 0, false, false, kDown, kDownFromBehind, 120},
      {8, kDown, kLying, 0, true, false, kDown, kLying, kAny},
      {8, kNormal, kStand, 0, true, true, kDown, kDownFromFront, 120},
      {8, kNormal, kStand, 64, true, true, kDown, kDownFromFront, 90},  // a killing stun fells, whatever its knock
      {8, kReeling, kReelFromFront, 32, false, true, kDown, kDownFromBehind, 90},
      {16, kNormal, kStand, 0, false, false, kBlownAway, kDownFromBehind, 90},
      {16, kDown, kLying, 0, true, false, kBlownAway, kDownFromFront, 90},
      {16, kBlownAway, kLying, 0, true, false, kBlownAway, kLying, kAny},
  };
  float x = -10;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " on state " << c.state << " type " << c.type
                                    << (c.fromFront ? " front" : " behind") << (c.killing ? " killing" : ""));
    TestSlime& slime = Place(D3DXVECTOR3(x += 1.0f, 0, 3));
    slime.SetMode(c.mode);
    slime.SetMainState(c.state);
    slime.hp = c.killing ? 5 : 30;
    React(slime, c.kind, c.type, c.fromFront, 5);
    EXPECT_EQ(slime.GetMainState(), c.wantState);
    EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(c.wantMode));
    if (c.wantSlide >= 0) {
      EXPECT_FLOAT_EQ(slime.GetSlideDivisor(), c.wantSlide);
    }
    EXPECT_EQ(slime.GetHp(), c.killing ? 0 : 25) << "the damage is taken whatever the motion does";
    EXPECT_EQ(slime.GetComboHits(), 1);
    EXPECT_EQ(slime.GetReactionCount(), 4);
  }
}

TEST_F(EnemyModesTest, AStunThatKillsFellsTheEnemyWhateverItsKnockFlagAndItsDefeatCounts) {
  OpenArena();
  MuteParticles();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  float x = -4;
  for (int32_t knock : {0, hit_kind::kKnockDown32, hit_kind::kKnockDown64}) {
    SCOPED_TRACE(knock);
    TestSlime& slime = Place(D3DXVECTOR3(x += 2, 0, 2));
    const uint32_t handle = slime.GetObjectId();
    const uint32_t defeated = Manager().GetDefeatedCount();
    slime.hp = 1;
    THitVolumeValues stun;
    stun.hitFlags = hit_kind::kStun | knock;
    stun.radius = 1.0f;
    stun.attackValue = 1000;
    HitWith(slime, stun);
    ASSERT_EQ(slime.GetHp(), 0);
    EXPECT_EQ(slime.GetMainState(), enemy_state::kDown);
    int ticks = 0;
    bool stoodUp = false;
    for (; Manager().GetEnemy(handle) && ticks < 200; ++ticks) {
      Tick();
      stoodUp = stoodUp || slime.GetMainState() == enemy_state::kNormal;
    }
    EXPECT_FALSE(stoodUp) << "it never stands again";
    EXPECT_LT(ticks, 200) << "it died and left";
    EXPECT_EQ(Manager().GetDefeatedCount(), defeated + 1);
  }
}

TEST_F(EnemyModesTest, ALaunchedEnemyIsKeptUpByFurtherHitsAndLandsLyingDown) {
  OpenArena();
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 3));
  React(slime, 4, 0, true, 1, false, 1.0f, 80.0f, 0.12f);
  EXPECT_FLOAT_EQ(slime.GetGravity(), -0.002f);
  EXPECT_FLOAT_EQ(slime.GetVelocity().y, 0.12f);
  const float z = slime.GetPosition().z;
  slime.Update();
  EXPECT_NEAR(slime.GetPosition().z, z + 0.8f / 80.0f, 1e-5f) << "drifting back along its own z";

  // Hit again on the way up: not launched anew, but lifted and its motion run back.
  slime.velocity.y = 0.001f;
  React(slime, 4, 0, true, 1);
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kRising));
  EXPECT_GT(slime.GetVelocity().y, 0.001f);
  // A heavy blow in the air restarts it at 0.12 of the blow's slide.
  React(slime, 16, 0, true, 1, false, 1.0f, 50.0f);
  EXPECT_EQ(slime.GetMainState(), enemy_state::kLaunched);
  EXPECT_FLOAT_EQ(slime.GetSlideDivisor(), 6.0f);

  slime.velocity.y = 0;
  slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kFalling));
  slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kFalling));
  slime.landed = 1;
  slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kLanding));
  for (int i = 0; i < 10; ++i) slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kLying));
}

TEST_F(EnemyModesTest, AFrozenStunLasts400TicksWithTheMotionStillAndAnOrdinaryOneFourPlays) {
  OpenArena();
  struct Case {
    bool freeze;
    int ticks;
  };
  for (const Case& c : {Case{true, 400}, Case{false, 4 * 20}}) {
    SCOPED_TRACE(c.freeze);
    TestSlime& slime = Place(D3DXVECTOR3(c.freeze ? -2.0f : 2.0f, 0, 3));
    React(slime, 8, 0, true, 1, c.freeze);
    EXPECT_EQ(slime.IsFrozen(), c.freeze);
    EXPECT_EQ(slime.GetReactionCount(), c.freeze ? 400 : 4);
    slime.aiTimer = 10000;  // no decision when it comes to
    for (int i = 1; i < c.ticks; ++i) slime.Update();
    EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kStunned));
    if (c.freeze) {
      EXPECT_EQ(slime.GetModel()->GetMotionTime(), 0.0f);
    }
    slime.Update();
    EXPECT_EQ(slime.GetMainState(), enemy_state::kNormal);
    EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kStand));
    EXPECT_FALSE(slime.IsFrozen());
  }
}

TEST_F(EnemyModesTest, AnEnemyGettingUpFadesFor30To89Ticks) {
  OpenArena();
  for (int n = 0; n < 6; ++n) {
    TestSlime& slime = Place(D3DXVECTOR3(-5.0f + 2 * n, 0, 3));
    React(slime, 1, 64, true, 1);
    slime.SetMode(enemy_mode::kLying);
    slime.GetModel()->SetMotionTime(39);  // the last frame of the lying motion
    slime.aiTimer = 10000;
    const int32_t fade = 30 + static_cast<int32_t>(PeekRand() % 60);
    slime.Update();
    EXPECT_EQ(slime.GetMainState(), enemy_state::kNormal);
    EXPECT_EQ(slime.GetBlinkTimer(), fade - 1) << "counted once by the tick's end";
    EXPECT_TRUE(slime.IsInvulnerable());
    GenRand();  // another fade length next time
  }
}

TEST_F(EnemyModesTest, ReelingAndFallingSlideAwayFromTheHitUnlessTheirDivisorIsZero) {
  OpenArena();
  struct Case {
    int32_t kind, type;
    bool fromFront, killing;
    float slide, rate;
    float wantStep;  // along world z: the placed slime faces -z
  };
  const Case cases[] = {
      {1, 0, true, false, 60, 0.5f, 15.0f / 60 * 0.5f},  // reel, clip of 16 frames
      {1, 0, false, false, 60, 0.5f, -15.0f / 60 * 0.5f},
      {1, 64, true, false, 95, 1.0f, 19.0f / 95},  // knock-down, 20 frames, the hit's rate
      {2, 0, false, true, 90, 1.0f, 0.0f},         // the killing kind-2 blow: divisor 0
  };
  float x = -6;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.kind << " " << c.type << " " << c.fromFront);
    TestSlime& slime = Place(D3DXVECTOR3(x += 2, 0, 3));
    slime.hp = c.killing ? 1 : 30;
    React(slime, c.kind, c.type, c.fromFront, 1, false, c.rate, c.slide);
    const float z = slime.GetPosition().z;
    slime.Update();
    EXPECT_NEAR(slime.GetPosition().z - z, c.wantStep, 1e-5f);
    for (int i = 0; i < 200 && slime.GetMode() != static_cast<uint32_t>(enemy_mode::kLying) &&
                    slime.GetMainState() != enemy_state::kNormal;
         ++i)
      slime.Update();
    EXPECT_TRUE(std::isfinite(slime.GetPosition().z));
  }
}

TEST_F(EnemyModesTest, AnAttackPlaysItsMotionOnceThenTheEnemyStandsAndDecidesAtOnce) {
  OpenArena();
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 6));
  slime.ChangeState(0);
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kAction));
  EXPECT_EQ(slime.GetActionState(), 1);
  EXPECT_EQ(slime.GetModel()->GetMotion(), 16u);
  EXPECT_TRUE(slime.QueryStateA());
  slime.ChangeState(7);  // the standard class has seven attacks: 0 to 6
  EXPECT_EQ(slime.GetActionState(), 1);

  slime.aiTimer = 10000;
  for (int i = 0; i < 14; ++i) slime.Update();
  EXPECT_TRUE(slime.GetHits().empty());
  slime.Update();
  EXPECT_EQ(slime.GetHits().size(), 1u) << "the bite's volume opens on frame 14";
  for (int i = 15; i < 35; ++i) slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kAction));
  slime.Update();
  EXPECT_NE(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kAction));
  EXPECT_GE(slime.GetAiTimer(), 40) << "a decision was taken at once";
}

TEST_F(EnemyModesTest, TheEntrancePlaysOnceAndTheStunnedAndAirborneTestsFollowTheMode) {
  OpenArena();
  TCountedPtr<TEnemy> enemy = Manager().SpawnAt(1, D3DXVECTOR3(0, 0, 6), D3DXVECTOR3(0, 0, -1), 9.0f, false);
  auto& slime = dynamic_cast<TestSlime&>(*enemy);
  for (int i = 0; i < 29; ++i) slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kEntrance));
  EXPECT_EQ(slime.GetBehaviour(), 0) << "no decision during the entrance";
  slime.Update();
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kStand));

  slime.SetMode(enemy_mode::kStunned);
  EXPECT_TRUE(slime.QueryStateB());
  EXPECT_FALSE(slime.IsAirborne());
  slime.SetMode(enemy_mode::kRising);
  EXPECT_TRUE(slime.IsAirborne());
  slime.SetMode(17);
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kRising)) << "no mode 17";
}

}  // namespace
