// The enemy AI: the rows of the situations, the two choice tables, and Think's decisions and
// behaviours.
#include "game/enemy/EnemyAi.h"

#include <gtest/gtest.h>

#include <set>

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
