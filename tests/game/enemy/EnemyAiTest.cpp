// The enemy AI: the rows of the situations, the two choice tables, and Think's decisions and
// behaviours.
#include "game/enemy/EnemyAi.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "game/enemy/TEnemy.h"
#include "tests/game/enemy/EnemyFixture.h"

namespace {

using enemytest::EnemyFixture;
using enemytest::TestSlime;
using plat::D3DXVECTOR3;

TAiSituation Near(float distance, float nearLimit = 1.5f) {
  TAiSituation s;
  s.distance = distance;
  s.nearLimit = nearLimit;
  return s;
}

// The two choice tables as the design writes them out: situation row by row, ten actions each.
using WrittenAiRows = std::array<std::array<int, 10>, 23>;
const WrittenAiRows kWrittenPlainAiRows = {{
    {1, 1, 1, 1, 1, 1, 1, 5, 6, 4},  // 0 near, no other condition, player not crowded
    {1, 1, 1, 2, 2, 2, 4, 4, 5, 6},  // 1 near, no other condition, player crowded
    {1, 1, 1, 1, 3, 3, 3, 3, 5, 6},  // 2 middle, no other condition, player not crowded
    {1, 1, 4, 4, 2, 2, 2, 2, 5, 6},  // 3 middle, no other condition, player crowded
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 2},  // 4 far, player not crowded
    {3, 3, 3, 3, 3, 3, 3, 2, 2, 2},  // 5 far, player crowded
    {4, 4, 4, 4, 1, 2, 5, 5, 6, 6},  // 6 near, player fading
    {2, 2, 2, 2, 2, 4, 4, 5, 5, 6},  // 7 middle, player fading
    {6, 4, 5, 5, 6, 6, 2, 2, 2, 2},  // 8 near, player acting, not crowded
    {2, 5, 5, 6, 6, 2, 2, 2, 2, 2},  // 9 middle, player acting, not crowded
    {2, 4, 4, 4, 4, 4, 2, 2, 2, 2},  // 10 near, player acting, crowded
    {2, 5, 5, 5, 6, 6, 6, 2, 2, 2},  // 11 middle, player acting, crowded
    {2, 1, 1, 4, 2, 2, 2, 5, 5, 6},  // 12 near, player reeling
    {6, 1, 1, 4, 2, 2, 2, 5, 5, 6},  // 13 middle, player reeling
    {6, 1, 1, 1, 1, 1, 4, 5, 5, 6},  // 14 near, enemy fading
    {6, 3, 3, 3, 3, 3, 1, 1, 1, 5},  // 15 middle, enemy fading
    {6, 4, 4, 4, 4, 2, 2, 5, 5, 6},  // 16 near, overmatched
    {6, 4, 4, 4, 2, 2, 2, 5, 5, 6},  // 17 middle or far, overmatched
    {6, 1, 1, 1, 1, 1, 1, 1, 1, 3},  // 18 near, player turned away
    {3, 1, 1, 1, 1, 1, 1, 1, 3, 3},  // 19 middle, player turned away
    {3, 1, 1, 1, 1, 7, 7, 7, 7, 5},  // 20 just hit
    {6, 4, 4, 4, 4, 4, 4, 4, 4, 2},  // 21 strayed from home
    {2, 2, 2, 2, 2, 2, 2, 2, 2, 5},  // 22 distance 8.0 or more
}};
const WrittenAiRows kWrittenAggressiveAiRows = {{
    {1, 1, 1, 1, 1, 1, 7, 5, 6, 4},  // 0 near, no other condition, player not crowded
    {1, 1, 1, 2, 2, 2, 4, 4, 5, 6},  // 1 near, no other condition, player crowded
    {1, 1, 1, 1, 1, 3, 3, 7, 6, 5},  // 2 middle, no other condition, player not crowded
    {1, 1, 4, 4, 2, 2, 2, 2, 5, 6},  // 3 middle, no other condition, player crowded
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 2},  // 4 far, player not crowded
    {3, 3, 3, 3, 3, 3, 3, 2, 2, 2},  // 5 far, player crowded
    {4, 4, 4, 4, 7, 7, 1, 2, 5, 6},  // 6 near, player fading
    {2, 2, 2, 2, 7, 7, 5, 5, 6, 6},  // 7 middle, player fading
    {4, 4, 5, 5, 6, 6, 2, 2, 2, 7},  // 8 near, player acting, not crowded
    {5, 5, 6, 6, 2, 2, 2, 2, 7, 7},  // 9 middle, player acting, not crowded
    {4, 4, 4, 4, 4, 2, 2, 2, 2, 2},  // 10 near, player acting, crowded
    {5, 5, 5, 6, 6, 6, 2, 2, 2, 2},  // 11 middle, player acting, crowded
    {1, 1, 1, 1, 1, 4, 2, 2, 5, 6},  // 12 near, player reeling
    {1, 1, 1, 2, 2, 2, 4, 7, 5, 6},  // 13 middle, player reeling
    {1, 1, 1, 1, 1, 1, 1, 4, 5, 6},  // 14 near, enemy fading
    {3, 3, 3, 1, 1, 1, 1, 1, 5, 6},  // 15 middle, enemy fading
    {4, 4, 2, 2, 1, 1, 5, 5, 6, 6},  // 16 near, overmatched
    {4, 4, 2, 2, 1, 1, 5, 5, 6, 6},  // 17 middle or far, overmatched
    {1, 1, 1, 1, 1, 1, 1, 3, 3, 7},  // 18 near, player turned away
    {1, 1, 1, 1, 1, 1, 1, 3, 3, 7},  // 19 middle, player turned away
    {1, 1, 1, 1, 1, 7, 7, 7, 7, 7},  // 20 just hit
    {4, 4, 4, 4, 4, 1, 1, 7, 2, 2},  // 21 strayed from home
    {3, 3, 3, 3, 3, 3, 3, 3, 5, 6},  // 22 distance 8.0 or more
}};

TEST(EnemyAiRows, EachSituationHasItsRow) {
  struct Case {
    const char* what;
    TAiSituation s;
    int32_t row;
  };
  const auto with = [](TAiSituation s, bool TAiSituation::*flag) {
    s.*flag = true;
    return s;
  };
  const auto both = [&](TAiSituation s, bool TAiSituation::*a, bool TAiSituation::*b) { return with(with(s, a), b); };
  const Case cases[] = {
      {"very far", Near(8.0f), 22},
      {"very far, even when strayed", with(Near(9.0f), &TAiSituation::awayFromHome), 22},
      {"strayed beyond the near limit", with(Near(2.0f), &TAiSituation::awayFromHome), 21},
      {"strayed but near", with(Near(1.0f), &TAiSituation::awayFromHome), 0},
      {"strayed, near and crowded", both(Near(1.0f), &TAiSituation::awayFromHome, &TAiSituation::crowded), 1},
      {"far", Near(3.01f), 4},
      {"far and crowded", with(Near(5.0f), &TAiSituation::crowded), 5},
      {"far and overmatched", with(Near(5.0f), &TAiSituation::overmatched), 17},
      {"beyond 3.0 though the near limit is larger", Near(3.5f, 4.0f), 4},
      {"exactly 3.0 with the near limit below", Near(3.0f, 2.9f), 0},
      {"exactly 3.0 within the near limit", with(Near(3.0f, 3.0f), &TAiSituation::reeling), 12},
      {"near", Near(1.5f), 0},
      {"near and crowded", with(Near(1.0f), &TAiSituation::crowded), 1},
      {"near, turned away before all else", both(Near(1.0f), &TAiSituation::turnedAway, &TAiSituation::overmatched),
       18},
      {"near, overmatched", both(Near(1.0f), &TAiSituation::overmatched, &TAiSituation::reeling), 16},
      {"near, reeling", both(Near(1.0f), &TAiSituation::reeling, &TAiSituation::acting), 12},
      {"near, acting", both(Near(1.0f), &TAiSituation::acting, &TAiSituation::playerFading), 8},
      {"near, acting, crowded", both(Near(1.0f), &TAiSituation::acting, &TAiSituation::crowded), 10},
      {"near, player fading", both(Near(1.0f), &TAiSituation::playerFading, &TAiSituation::enemyFading), 6},
      {"near, enemy fading", with(Near(1.0f), &TAiSituation::enemyFading), 14},
      {"middle", Near(2.0f), 2},
      {"middle, crowded", with(Near(2.0f), &TAiSituation::crowded), 3},
      {"middle, turned away", with(Near(2.0f), &TAiSituation::turnedAway), 19},
      {"middle, overmatched", with(Near(2.0f), &TAiSituation::overmatched), 17},
      {"middle, reeling", with(Near(2.0f), &TAiSituation::reeling), 13},
      {"middle, acting", with(Near(2.0f), &TAiSituation::acting), 9},
      {"middle, acting, crowded", both(Near(2.0f), &TAiSituation::acting, &TAiSituation::crowded), 11},
      {"middle, player fading", with(Near(2.0f), &TAiSituation::playerFading), 7},
      {"middle, enemy fading", with(Near(2.0f), &TAiSituation::enemyFading), 15},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseAiRow(c.s), c.row) << c.what;
}

TEST(EnemyAiRows, OnlyTheAggressiveTableFadesOutsideTheJustHitRow) {
  for (bool aggressive : {false, true}) {
    int fadingRows = 0;
    for (int32_t row = 0; row < kAiRows; ++row) {
      bool fades = false;
      for (uint8_t action : AiChoiceTable(aggressive)[static_cast<size_t>(row)]) {
        EXPECT_LT(action, kAiActions);
        fades = fades || action == 7;
      }
      if (fades && row != kAiJustHitRow) ++fadingRows;
      if (!aggressive && row == kAiJustHitRow) {
        EXPECT_TRUE(fades);
      }
    }
    EXPECT_EQ(fadingRows > 0, aggressive);
  }
  EXPECT_EQ(AiChoiceTable(false)[22][9], 5);
  EXPECT_EQ(AiChoiceTable(true)[21][7], 7);
}

TEST(EnemyAiRows, EachTableHoldsItsWrittenRows) {
  for (bool aggressive : {false, true}) {
    const WrittenAiRows& want = aggressive ? kWrittenAggressiveAiRows : kWrittenPlainAiRows;
    for (size_t row = 0; row < want.size(); ++row) {
      SCOPED_TRACE(testing::Message() << (aggressive ? "aggressive" : "plain") << " row " << row);
      const auto& got = AiChoiceTable(aggressive)[row];
      EXPECT_EQ(std::vector<int>(got.begin(), got.end()), std::vector<int>(want[row].begin(), want[row].end()));
    }
  }
}

using EnemyAiTest = EnemyFixture;

TEST_F(EnemyAiTest, AHitMakesTheNextDecisionADrawFromTheJustHitRow) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  std::set<int32_t> behaviours;
  for (int n = 0; n < 12; ++n) {
    TestSlime& slime = Place(D3DXVECTOR3(-6.0f + n, 0, 5));
    slime.aiTimer = -1000;
    const int32_t wait = 40 + static_cast<int32_t>(PeekRand(0) % 30);
    const uint8_t action = AiChoiceTable(false)[kAiJustHitRow][PeekRand(1) % 10];
    slime.Think();
    SCOPED_TRACE(static_cast<int>(action));
    EXPECT_EQ(slime.GetAiTimer(), wait);
    if (action <= 1) {
      EXPECT_EQ(slime.GetBehaviour(), 0);
      EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kAction)) << "it attacks";
    } else {
      EXPECT_EQ(slime.GetBehaviour(), action);
    }
    behaviours.insert(slime.GetBehaviour());
  }
  EXPECT_GT(behaviours.size(), 1u);
}

TEST_F(EnemyAiTest, OnlyATimerBelowMinus99AfterItsStepMakesTheJustHitDecision) {
  OpenArena();
  // The decision steps the timer first: -99 becomes -100, a hit's; -98 becomes -99, an ordinary
  // run-out that reads the situation, here very far (row 22).
  struct Case {
    int32_t timer;
    size_t row;
  };
  float x = -6;
  for (const Case& c : {Case{-1000, 20}, Case{-99, 20}, Case{-98, 22}, Case{0, 22}}) {
    SCOPED_TRACE(c.timer);
    MoveHero(D3DXVECTOR3(x += 3, 0, 0));
    TestSlime& slime = Place(D3DXVECTOR3(x, 0, 8.5f));
    slime.aiTimer = c.timer;
    const size_t entry = PeekRand(1) % 10;
    ASSERT_NE(kWrittenPlainAiRows[20][entry], kWrittenPlainAiRows[22][entry]) << "the draw tells the rows apart";
    const int action = kWrittenPlainAiRows[c.row][entry];
    slime.Think();
    EXPECT_EQ(slime.GetBehaviour(), action >= 2 ? action : 0) << "action " << action;
  }
}

TEST_F(EnemyAiTest, ADecisionComesWhenTheTimerRunsOutAndFromTheRowOfTheSituation) {
  services.aiTableFlag = 1;
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& far = Place(D3DXVECTOR3(0, 0, 8.5f));
  far.aiTimer = 2;
  far.Think();
  EXPECT_EQ(far.GetAiTimer(), 1) << "no decision before the timer runs out";
  EXPECT_EQ(far.GetBehaviour(), 0);
  const int32_t wait = 40 + static_cast<int32_t>(PeekRand(0) % 30);
  const uint8_t action = AiChoiceTable(true)[22][PeekRand(1) % 10];
  far.Think();
  EXPECT_EQ(far.GetAiTimer(), wait);
  EXPECT_EQ(far.GetBehaviour(), action) << "the aggressive table's very-far row: moving, never attacking";
  EXPECT_EQ(far.GetMode(), static_cast<uint32_t>(action - 2));
}

TEST_F(EnemyAiTest, AReelingEnemyStartsNoAttackAndAnAttackingOneDecidesNothing) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& reeling = Place(D3DXVECTOR3(0, 0, 1.4f));
  reeling.DoAction(3);
  reeling.SetMainState(enemy_state::kReeling);
  reeling.SetMode(enemy_mode::kReelFromFront);
  const uint32_t next = PeekRand();
  for (int i = 0; i < 3; ++i) reeling.Think();
  EXPECT_EQ(reeling.GetBehaviour(), 0);
  EXPECT_EQ(reeling.GetMode(), static_cast<uint32_t>(enemy_mode::kReelFromFront));
  EXPECT_EQ(reeling.GetAiTimer(), -3);
  EXPECT_EQ(PeekRand(), next) << "no draw at all";

  TestSlime& attacking = Place(D3DXVECTOR3(2, 0, 1.4f));
  attacking.ChangeState(0);
  attacking.aiTimer = 0;
  attacking.Think();
  EXPECT_EQ(attacking.GetAiTimer(), -1);
  EXPECT_EQ(attacking.GetMode(), static_cast<uint32_t>(enemy_mode::kAction));
  EXPECT_EQ(PeekRand(), next);
}

TEST_F(EnemyAiTest, ClosingInDecidesAnewWithinTheSummedHeightsAndBackingOffBeyondThree) {
  SetHeroLevel(11);
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  // Heights 0.5 and 0.6: closing in stops at 1.21.
  struct Case {
    int32_t action;
    float distance;
    int32_t level;  // the slime's; the player's is 11
    bool decidesAnew;
  };
  const Case cases[] = {
      {3, 1.2f, 1, true}, {3, 1.25f, 1, false}, {4, 3.05f, 1, true}, {4, 2.95f, 1, false},
      {4, 3.0f, 1, false},   // not yet beyond 3.0
      {4, 3.05f, 0, false},  // overmatched: it keeps backing off
  };
  float x = -6;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.action << " at " << c.distance);
    MoveHero(D3DXVECTOR3(x += 3, 0, 0));
    TestSlime& slime = Place(D3DXVECTOR3(x, 0, c.distance));
    slime.level = c.level;
    slime.DoAction(c.action);
    slime.aiTimer = 30;
    slime.Think();
    EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(c.action - 2));
    EXPECT_EQ(slime.GetAiTimer(), c.decidesAnew ? 0 : 29);
  }
}

TEST_F(EnemyAiTest, TheEnemySeesWhatThePlayerDoes) {
  SetHeroLevel(11);
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 2));
  slime.level = 1;  // the player is ten levels above
  const auto measure = [&] { return slime.Measure(Hero(), 2.0f); };
  TAiSituation s = measure();
  EXPECT_FLOAT_EQ(s.nearLimit, (0.5f + 0.6f) * 1.3f);
  EXPECT_FALSE(s.crowded || s.overmatched || s.turnedAway || s.reeling || s.acting || s.playerFading ||
               s.enemyFading || s.awayFromHome);

  Hero().SetNeighbourCount(2);
  slime.level = 0;  // eleven
  Hero().SetMode(TPlayerChar::kActionMode);  // action state 0: acting
  Hero().SetMainState(10);
  Hero().StartBlink(0, 50);
  slime.StartBlink(0, 50);
  s = measure();
  EXPECT_TRUE(s.crowded && s.overmatched && s.acting && s.reeling && s.playerFading && s.enemyFading);
  EXPECT_FALSE(s.turnedAway) << "the player stands (mode 0)";

  Hero().LoseHp(Hero().GetHp());
  slime.level = 1;
  EXPECT_FALSE(measure().reeling) << "a player without HP is not reeling";
  EXPECT_FALSE(measure().overmatched) << "ten levels above is not more than ten";

  Hero().SetMode(3);
  Hero().GetFrame()->LookAt(D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 1, 0));  // its front +z, toward the slime
  EXPECT_FALSE(measure().turnedAway);
  Hero().GetFrame()->LookAt(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));  // its front -z
  EXPECT_TRUE(measure().turnedAway);
  Hero().SetMode(7);
  EXPECT_FALSE(measure().turnedAway);

  TestSlime& strayed = Place(D3DXVECTOR3(3, 0, 3), 0.5f);
  strayed.SetPosition(D3DXVECTOR3(3, 0, 3.6f));
  EXPECT_TRUE(strayed.Measure(Hero(), 2.0f).awayFromHome);
}

// Crowding comes from the player's neighbours as the stage's proximity pass counts them, the
// deciding enemy among them when it stands within 4.0: one neighbour is not a crowd, two are.
TEST_F(EnemyAiTest, ThePlayerIsCrowdedWithMoreThanOneNeighbour) {
  OpenArena();
  struct Case {
    const char* what;
    D3DXVECTOR3 thinker;              // from the player
    std::vector<D3DXVECTOR3> others;  // from the player
    uint32_t neighbours;
    size_t row, otherRow;  // the row expected, and the one the other crowding would give
  };
  const Case cases[] = {
      {"middle, the enemy itself alone", {0, 0, 2}, {}, 1, 2, 3},
      {"middle, the enemy and one more", {0, 0, 2}, {{0, 0, -2}}, 2, 3, 2},
      {"near, one more beyond 4.0", {0, 0, 1.4f}, {{0, 0, -4.5f}}, 1, 0, 1},
      {"near, the enemy and one more", {0, 0, 1.4f}, {{2, 0, 0}}, 2, 1, 0},
      {"far, one other near the player", {0, 0, 5}, {{2, 0, 0}}, 1, 4, 5},
      {"far, two others near the player", {0, 0, 5}, {{2, 0, 0}, {-2, 0, 0}}, 2, 5, 4},
  };
  const auto behaviourOf = [](int action) { return action >= 2 ? action : 0; };
  float x = -60;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const D3DXVECTOR3 hero(x += 20, 0, 0);
    MoveHero(hero);
    TestSlime& thinker = Place(D3DXVECTOR3(x + c.thinker.x, 0, c.thinker.z));
    for (const D3DXVECTOR3& other : c.others) Place(D3DXVECTOR3(x + other.x, 0, other.z));
    Stage().GetCollision()->SeparateObjects();
    ASSERT_EQ(Hero().GetNeighbourCount(), c.neighbours);

    // The decision's draw (the one after the wait's) lands on an entry where the two rows differ.
    const auto entry = [] { return PeekRand(1) % 10; };
    while (behaviourOf(kWrittenPlainAiRows[c.row][entry()]) == behaviourOf(kWrittenPlainAiRows[c.otherRow][entry()]))
      GenRand();
    const int action = kWrittenPlainAiRows[c.row][entry()];
    thinker.aiTimer = 0;
    thinker.Think();
    EXPECT_EQ(thinker.GetBehaviour(), behaviourOf(action)) << "action " << action;
  }
}

TEST_F(EnemyAiTest, TheAimIsBeforeARunningPlayerAndThePlayerItselfOtherwise) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& near = Place(D3DXVECTOR3(0, 0, 2.5f));
  TestSlime& far = Place(D3DXVECTOR3(0, 0, 3.5f));
  EXPECT_EQ(near.AimFrame(), Hero().GetFrame());
  for (int32_t mode : {3, 4}) {
    Hero().SetMode(mode);
    EXPECT_EQ(near.AimFrame(), Hero().GetEnemyTarget0());
    EXPECT_EQ(far.AimFrame(), Hero().GetEnemyTarget1());
  }
  Hero().SetMode(5);
  EXPECT_EQ(far.AimFrame(), Hero().GetFrame());
}

TEST_F(EnemyAiTest, TheFadingActionFadesOnlyAnEnemyNotFadingYet) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 5));
  slime.DoAction(7);
  slime.aiTimer = 30;
  const int32_t fade = 80 + static_cast<int32_t>(PeekRand() % 60);
  slime.Think();
  EXPECT_EQ(slime.GetBlinkTimer(), fade);
  EXPECT_EQ(slime.GetMode(), static_cast<uint32_t>(enemy_mode::kStand)) << "it turns where it stands";
  const uint32_t next = PeekRand();
  slime.Think();
  EXPECT_EQ(slime.GetBlinkTimer(), fade);
  EXPECT_EQ(PeekRand(), next);
  for (int32_t action : {0, 1, 8, -1}) {
    slime.DoAction(action);
    EXPECT_EQ(slime.GetBehaviour(), 0);
  }
}

}  // namespace
