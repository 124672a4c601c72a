// The enemy's life: its level, copies, appearance, the steal, the group heal, death and the drop,
// the gauge and its range.
#include "game/enemy/TEnemy.h"

#include <gtest/gtest.h>

#include <bit>
#include <algorithm>
#include <cmath>

#include "common/TD3D8.h"
#include "common/TMesh8.h"
#include "common/TView8.h"
#include "game/data/TGameData.h"
#include "game/enemy/TEnemyTable.h"
#include "game/field/TFieldScene.h"
#include "game/field/TMapItem.h"
#include "game/field/TStage.h"
#include "tests/game/enemy/EnemyFixture.h"

namespace {

using enemytest::EnemyFixture;
using enemytest::TestSlime;
using plat::D3DXVECTOR3;

// The slime's definition with the level values given.
TEnemyRecord Definition(uint32_t level, int32_t maxHp, int32_t hpGrowth, std::array<int32_t, 4> param,
                        std::array<int32_t, 4> paramGrowth) {
  TEnemyRecord r = EnemyDatabase.at(1);
  r.Level = level;
  r.MaxHp = r.Hp = maxHp;
  r.HpGrowth = hpGrowth;
  r.Param = param;
  r.ParamGrowth = paramGrowth;
  r.ValueA = 7;
  r.ValueB = 9;
  r.GrowthA = 3;
  r.GrowthB = 2;
  return r;
}

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

THitVolumeValues Stroke(int32_t landedValue) {
  THitVolumeValues v;
  v.hitFlags = hit_kind::kKind1;
  v.radius = 1.0f;
  v.landedValue = landedValue;
  return v;
}

// A drawn quad's corners and the u of its left and right edges.
struct Quad {
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
  float uLeft = 1e9f, uRight = -1e9f;
};

Quad QuadOf(const plat::RecordedDraw& d) {
  Quad q;
  for (const auto& v : d.vertices) {
    q.left = std::min(q.left, v.position.x);
    q.right = std::max(q.right, v.position.x);
    q.top = std::min(q.top, v.position.y);
    q.bottom = std::max(q.bottom, v.position.y);
    q.uLeft = std::min(q.uLeft, v.texcoord[0].x);
    q.uRight = std::max(q.uRight, v.texcoord[0].x);
  }
  return q;
}

template <class Draw>
void DrawInScene(Draw draw) {
  TD3D8::GetDevice()->BeginScene();
  draw();
  TD3D8::GetDevice()->EndScene();
}

// The drops lying on the stage.
std::vector<const TMapItem*> Drops(TStage& stage) {
  std::vector<const TMapItem*> drops;
  for (const TCountedPtr<TMapObject>& object : stage.GetMapObjects())
    if (auto* item = dynamic_cast<const TMapItem*>(object.Get())) drops.push_back(item);
  return drops;
}

class EnemyTest : public EnemyFixture {
 protected:
  // A slime placed at x, lying one frame short of its end (HP -14), with these drops.
  TestSlime& Dying(float x, int32_t item1, float chance1, int32_t item2, float chance2, uint32_t money) {
    TestSlime& slime = Place(D3DXVECTOR3(x, 0, 3));
    slime.SetMainState(enemy_state::kDown);
    slime.SetMode(enemy_mode::kLying);
    slime.hp = -14;
    slime.dropItem1 = item1;
    slime.dropChance1 = chance1;
    slime.dropItem2 = item2;
    slime.dropChance2 = chance2;
    slime.dropMoney = money;
    return slime;
  }
};

TEST_F(EnemyTest, TheLevelSetsValuesHpAndDoubledTruncatedParameters) {
  OpenArena();
  struct Case {
    uint32_t level;
    int32_t offset;
    int32_t maxHp, hpGrowth;
    std::array<int32_t, 4> param, growth;
    int32_t wantLevel, wantMaxHp, wantHp;
    std::array<int32_t, 4> wantParams;
  };
  const Case cases[] = {
      // Level 0: twice the bases, HP the base.
      {0, 0, 40, 10, {5, 6, -7, 0}, {30, 30, 30, 30}, 0, 40, 40, {10, 12, -14, 0}},
      // L = 5, g = 25: HP 40 + 1.25; 5 + 3.75 = 8.75 is cut to 8 before the doubling.
      {2, 3, 40, 10, {5, 6, -7, 0}, {30, -30, 30, 7}, 5, 41, 41, {16, 4, -6, 0}},
      // A maximum beyond 99999 is held there, and so is HP.
      {10, 0, 90000, 100000, {1, 1, 1, 1}, {0, 0, 0, 0}, 10, 99999, 99999, {2, 2, 2, 2}},
      // A negative level runs the formula as it is.
      {0, -2, 100, 500, {4, 4, 4, 4}, {0, 0, 0, 0}, -2, 82, 82, {8, 8, 8, 8}},
      // L = 10, g = 30 in single precision: 0.09 x 300 and 0.18 x 300 make 27 and 54, where a
      // product widened to double ends a hair under each.
      {10, 0, 40, 90, {5, 5, 5, 5}, {180, 180, 180, 180}, 10, 67, 67, {118, 118, 118, 118}},
  };
  for (const Case& c : cases) {
    TestSlime slime(Definition(c.level, c.maxHp, c.hpGrowth, c.param, c.growth), 1, 0);
    slime.SetLevel(c.offset);
    SCOPED_TRACE(c.wantLevel);
    EXPECT_EQ(slime.GetLevel(), c.wantLevel);
    EXPECT_EQ(slime.GetValueA(), 7 + 3 * c.wantLevel);
    EXPECT_EQ(slime.GetValueB(), 9 + 2 * c.wantLevel);
    EXPECT_EQ(slime.GetMaxHp(), c.wantMaxHp);
    EXPECT_EQ(slime.GetHp(), c.wantHp);
    EXPECT_LE(slime.GetHp(), slime.GetMaxHp());
    EXPECT_EQ(slime.GetParams(), c.wantParams);
  }
}

TEST_F(EnemyTest, ACopyTakesTheSourcesCurrentValuesAsItsBasesAndStartsItsTimersAgain) {
  OpenArena();
  TestSlime prototype(Definition(2, 40, 10, {5, 6, 7, 8}, {30, 30, 30, 30}), 1, 0);
  prototype.SetLevel(3);
  prototype.aiTimer = 12;
  prototype.gaugeTimer = 34;
  TCountedPtr<TEnemy> copy = prototype.Clone(&Manager());
  EXPECT_EQ(copy->GetManager(), &Manager());
  EXPECT_EQ(copy->GetBaseLevel(), 5);
  EXPECT_EQ(copy->GetValueABase(), prototype.GetValueA());
  EXPECT_EQ(copy->GetParamBase(), prototype.GetParams());
  EXPECT_EQ(copy->GetMaxHpBase(), prototype.GetMaxHp());
  EXPECT_EQ(copy->GetAiTimer(), 0);
  EXPECT_EQ(copy->GetGaugeTimer(), 0);
  EXPECT_FALSE(copy->IsAlive());
  EXPECT_NE(copy->GetObjectId(), prototype.GetObjectId());
  // The level formula runs again on the copied values.
  copy->SetLevel(0);
  EXPECT_EQ(copy->GetValueA(), prototype.GetValueA() + 3 * 5);
  EXPECT_FLOAT_EQ(copy->GetRewardFactor(), 1.0f) << "the sample slime's spare word holds 1.0f";
}

TEST_F(EnemyTest, AnEnemyAppearsFacingThePlayerOrItsDirectionAndStartsInItsEntranceUnlessPlaced) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TCountedPtr<TEnemy> facing = Manager().SpawnAt(1, D3DXVECTOR3(0, 0, 5), D3DXVECTOR3(0, 0, 0), 7.0f, false);
  EXPECT_TRUE(facing->IsAlive());
  EXPECT_EQ(facing->GetMode(), static_cast<uint32_t>(enemy_mode::kEntrance));
  EXPECT_NEAR(facing->GetFront().z, -1.0f, 1e-5f) << "toward the player at the origin";
  EXPECT_FLOAT_EQ(facing->GetHomeRadius(), 7.0f);
  EXPECT_FLOAT_EQ(facing->GetHomePoint().z, 5.0f);
  EXPECT_EQ(facing->GetFrame()->GetParent(), Stage().GetSceneFrame());

  TCountedPtr<TEnemy> along = Manager().SpawnAt(1, D3DXVECTOR3(4, 0, 0), D3DXVECTOR3(3, 5, 4), 7.0f, true);
  EXPECT_EQ(along->GetMode(), static_cast<uint32_t>(enemy_mode::kStand));
  EXPECT_NEAR(along->GetFront().x, 0.6f, 1e-5f);
  EXPECT_NEAR(along->GetFront().y, 0.0f, 1e-5f);
  EXPECT_NEAR(along->GetFront().z, 0.8f, 1e-5f);

  const TSprite8& bar = along->GetGaugeBar();
  EXPECT_FLOAT_EQ(bar.vertices[0].u, 0.375f);
  EXPECT_FLOAT_EQ(bar.vertices[3].u, 0.609375f);
  EXPECT_FLOAT_EQ(bar.vertices[0].v, 0.75f);
  EXPECT_FLOAT_EQ(bar.vertices[3].v, 0.875f);
  EXPECT_EQ(along->GetGaugeFrame().texture.GetName(), "sprite.ptx/guage08");
}

TEST_F(EnemyTest, AHitShowsTheGaugeAndMakesTheNextDecisionOneOfTheJustHitRow) {
  OpenArena();
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 1.5f));
  THitVolumeValues stroke = Stroke(-1);
  stroke.attackValue = 20;  // against defence 10: 12
  HitWith(slime, stroke);
  EXPECT_EQ(slime.GetGaugeTimer(), 200);
  EXPECT_EQ(slime.GetAiTimer(), -1000);
  EXPECT_EQ(slime.GetHp(), 40 - 12);
  EXPECT_EQ(PlayerHud().panels, (std::vector<enemytest::TestPlayerHud::TPanel>{{1, 12}})) << "hits and damage";
  EXPECT_EQ(Hero().GetBestCombos(), (std::array<int32_t, 4>{12, 1, 0, 1})) << "the player keeps the best combo";
  EXPECT_EQ(Hero().GetEnemyHandle().Get(), static_cast<TPlayerFoe*>(&slime)) << "and which enemy it hit";
}

TEST_F(EnemyTest, AStealRollsOnlyForItsTwoHitValuesAndTheComboCountRaisesIt) {
  OpenArena();
  MuteParticles();
  struct Case {
    int32_t value;
    int32_t hitsBefore;  // the hit makes one more
    double divisor;      // the chance is just above what this factor needs
    bool stolen;
  };
  const Case cases[] = {
      {100000, 6, 3, true},  {100000, 5, 3, false}, {100000, 7, 3, false}, {100000, 8, 3, false},
      {100000, 9, 2, true},  {100000, 12, 2, true}, {100000, 9, 2.5, false}, {100001, 0, 1.2, true},
      {100000, 0, 1.2, false}, {99999, 6, 0.5, false},
  };
  // A stream whose rolls all leave room to set a chance just above one factor and below the next.
  SeedRand(5);
  float x = -6;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " after " << c.hitsBefore << " hits");
    TestSlime& slime = Place(D3DXVECTOR3(x += 1.5f, 0, 3));
    slime.comboHits = c.hitsBefore;
    slime.dropItem2 = 4;
    slime.dropMoney = 0;
    const uint32_t roll = PeekRand() % 1000000;
    ASSERT_GE(roll, 100u) << "the seed gives a roll too small to set a chance under";
    slime.dropChance2 = static_cast<float>((roll + 1.5) / (c.divisor * 1e6));
    HitWith(slime, Stroke(c.value));
    EXPECT_EQ(slime.IsStolen(), c.stolen);
    EXPECT_EQ(slime.GetDropItem2(), c.stolen ? 0 : 4);
  }
}

TEST_F(EnemyTest, AStolenItemGoesIntoTheStockWithItsMessageEffectsAndSoundAndOnlyOnce) {
  OpenArena();
  MuteParticles();
  WatchEffects({104, 105});
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 1.5f));
  slime.dropItem2 = 1;
  slime.dropChance2 = 1.0f;
  slime.dropMoney = 500;
  const TItemEntry* held = TGameData::Instance()->FindItem(1);
  const int before = held ? held->count : 0;
  const size_t logged = fieldLog.size();
  HitWith(slime, Stroke(100001));
  EXPECT_TRUE(slime.IsStolen());
  EXPECT_EQ(slime.GetDropItem2(), 0);
  ASSERT_NE(TGameData::Instance()->FindItem(1), nullptr);
  EXPECT_EQ(TGameData::Instance()->FindItem(1)->count, before + 1);
  const fieldscenetest::Log lines = LogFrom(logged);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "hud stolen item 1"), lines.end());
  EXPECT_EQ(Hero().se, std::vector<int32_t>{217});
  ASSERT_EQ(SpawnedKinds(), (std::vector<TEffectKind>{104, 105}));
  const D3DXVECTOR3 over = slime.GetBodyCenter();
  EXPECT_LT(Distance((*spawns)[0].position, over), 1e-5f);
  EXPECT_FLOAT_EQ((*spawns)[0].colour.g, 0.2f);
  EXPECT_FLOAT_EQ((*spawns)[0].scale.x, 1.5f);

  // Stolen once, it gives nothing more, not even its money.
  const uint32_t gold = TGameData::Instance()->GetGold();
  const uint32_t next = PeekRand();
  HitWith(slime, Stroke(100001));
  EXPECT_EQ(TGameData::Instance()->GetGold(), gold);
  EXPECT_EQ(PeekRand(), next);
  EXPECT_EQ(Hero().se.size(), 1u);
}

TEST_F(EnemyTest, AnItemOfMinusOneEndsTheStealAndMoneyIsStolenOnAnOddWordAsADrawBelowATenth) {
  OpenArena();
  MuteParticles();
  TestSlime& empty = Place(D3DXVECTOR3(-3, 0, 2));
  empty.dropItem2 = -1;
  empty.dropChance2 = 1.0f;
  empty.dropMoney = 500;
  const uint32_t afterRoll = PeekRand(1);
  HitWith(empty, Stroke(100000));
  EXPECT_FALSE(empty.IsStolen());
  EXPECT_EQ(PeekRand(), afterRoll) << "one draw for the item, none for money";

  bool sawOdd = false, sawEven = false;
  for (int n = 0; n < 8; ++n) {
    TestSlime& slime = Place(D3DXVECTOR3(-5.0f + 1.5f * n, 0, 4));
    slime.dropItem2 = 0;
    slime.dropMoney = 95;  // at most 9 is taken
    const uint32_t word = PeekRand(0), amount = PeekRand(1) % 9;
    const uint32_t gold = TGameData::Instance()->GetGold();
    const size_t logged = fieldLog.size();
    HitWith(slime, Stroke(100000));
    const bool odd = (word & 1) != 0;
    (odd ? sawOdd : sawEven) = true;
    const bool stolen = odd && amount != 0;
    EXPECT_EQ(slime.IsStolen(), stolen);
    EXPECT_EQ(TGameData::Instance()->GetGold(), gold + (stolen ? amount : 0));
    if (stolen) {
      EXPECT_EQ(LogFrom(logged).back(), "hud stolen money " + std::to_string(amount));
    }
  }
  EXPECT_TRUE(sawOdd && sawEven);
}

TEST_F(EnemyTest, TheGroupHealGivesSixHundredToTheTenLowestHandlesWithinItsRadius) {
  OpenArena();
  WatchEffects({906, 107, 103, 5});
  std::vector<TestSlime*> slimes;
  slimes.push_back(&Place(D3DXVECTOR3(0, 0, 20000)));  // the lowest handle, out of reach
  for (int n = 0; n < 11; ++n) slimes.push_back(&Place(D3DXVECTOR3(-8.0f + 1.6f * n, 0, 5)));
  for (TestSlime* s : slimes) {
    s->maxHp = 1000;
    s->hp = 1;
  }
  TAttackInfo heal;
  heal.attackKind = TEnemy::kGroupHealAttack;
  slimes[1]->Attack(heal);
  for (size_t n = 0; n < slimes.size(); ++n) {
    const bool healed = n >= 1 && n <= 10;
    SCOPED_TRACE(n);
    EXPECT_EQ(slimes[n]->GetHp(), healed ? 601 : 1);
    EXPECT_EQ(slimes[n]->se, healed ? std::vector<int32_t>{503} : std::vector<int32_t>{});
  }
  ASSERT_EQ(spawns->size(), 40u);
  EXPECT_EQ(SpawnedKinds()[0], 906);
  EXPECT_EQ(SpawnedKinds()[1], 107);
  EXPECT_FLOAT_EQ((*spawns)[1].position.y, slimes[1]->GetPosition().y + 0.01f);
  EXPECT_EQ(SpawnedKinds()[3], 5);

  TAttackInfo other;
  other.attackKind = 1012;
  slimes[2]->Attack(other);
  EXPECT_EQ(slimes[2]->se.size(), 1u) << "only kind 50021 heals";
}

TEST_F(EnemyTest, ADyingEnemyEndsAtMinus15OnceItsVoiceIsOverAndDropsAndRewards) {
  OpenArena();
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 3));
  slime.SetMainState(enemy_state::kDown);
  slime.SetMode(enemy_mode::kLying);
  slime.hp = 0;
  slime.voiceTimer = 20;
  slime.dropItem1 = 5;
  slime.dropChance1 = 1.0f;
  // What the player reads of it: the level (the player's own: entry 100 of the tables, 200 points of
  // experience), the factor, the ability points and the two words after them.
  slime.level = static_cast<int32_t>(Hero().GetLevel());
  slime.rewardFactor = 2.0f;
  slime.valueA = 7;
  slime.valueB = 9;
  slime.valueABase = 4;
  const uint32_t experience = Hero().GetExperience();
  int updates = 0;
  while (slime.IsAlive() && updates < 100) {
    slime.Update();
    ++updates;
  }
  EXPECT_EQ(updates, 21) << "HP reached -15 on the 15th; the voice ran out on the 21st";
  EXPECT_EQ(slime.GetHp(), -21);
  EXPECT_EQ(slime.attacks, std::vector<uint16_t>{TEnemy::kDeathAttack});
  const std::vector<const TMapItem*> drops = Drops(Stage());
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0]->GetItemId(), 5u);
  EXPECT_EQ(static_cast<int32_t>(drops[0]->GetGoldAmount()), -1);
  EXPECT_LT(Distance(drops[0]->GetPosition(), slime.GetPosition()), 1e-5f);
  EXPECT_FALSE(drops[0]->IsTracked());
  EXPECT_EQ(drops[0]->GetLifetime(), TMapItem::kUntrackedLifetime) << "a temporary item";
  ASSERT_NE(drops[0]->GetOuterFrame(), nullptr);
  EXPECT_EQ(drops[0]->GetOuterFrame()->GetParent(), Stage().GetSceneFrame()) << "it lies in the scene";
  EXPECT_EQ(Hero().defeats, std::vector<uint32_t>{slime.GetObjectId()});
  EXPECT_EQ(Hero().GetExperience(), experience + 400);
  Hero().UpdateChildren();
  ASSERT_EQ(PlayerHud().notices.size(), 1u);
  const TGainNotice& notice = PlayerHud().notices[0];
  EXPECT_EQ(notice.experience, 400u);
  EXPECT_EQ(notice.enemyPoints, 7u);
  EXPECT_EQ(notice.enemyValues[0], 9u);
  EXPECT_EQ(notice.enemyValues[1], 4u);
}

TEST_F(EnemyTest, TheDropTriesTheFirstItemThenTheSecondThenMoney) {
  OpenArena();
  MuteParticles();
  struct Case {
    int32_t item1;
    float chance1;
    int32_t item2;
    float chance2;
    uint32_t money;
    int32_t wantItem;  // 0: money or nothing, by the draws
    uint32_t seed;     // of the random stream before the drop
    bool wantMoney;    // the seed's word after the item rolls is odd
    uint32_t gold;     // int(money x (1 - cut x 0.01) + extra + 1) with the seed's cut and extra
  };
  const Case cases[] = {
      {5, 1, 6, 1, 50, 5, 1, false, 0},
      {5, 0, 6, 1, 50, 6, 1, false, 0},
      {-1, 1, 6, 1, 50, 0, 1, false, 0},
      {0, 1, -1, 1, 50, 0, 1, false, 0},
      {5, 0, 0, 1, 50, 0, 2, true, 49},   // cut 11, extra 4: 44.5 + 4 + 1
      {5, 0, 6, 0, 80, 0, 3, true, 59},   // cut 27, extra 0: 58.4 + 0 + 1
      {5, 0, 6, 0, 80, 0, 1, false, 0},
      {0, 0, 0, 0, 1000, 0, 1, true, 715},  // cut 29, extra 4: 710 + 4 + 1
      {0, 0, 0, 0, 0, 0, 1, false, 0},
  };
  float x = -9;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.item1 << " " << c.item2 << " " << c.money << " seed " << c.seed);
    TestSlime& slime = Dying(x += 1.8f, c.item1, c.chance1, c.item2, c.chance2, c.money);
    SeedRand(c.seed);
    // The draws the drop takes, in order: a roll per item tried, then the word, the cut and the extra.
    int rolls = (c.item1 != 0) + (c.item1 != 0 && c.chance1 == 0 && c.item2 != 0);
    if (c.item1 == 0 && c.item2 != 0) rolls = 1;
    const uint32_t word = PeekRand(rolls);
    const size_t before = Drops(Stage()).size();
    slime.Update();
    ASSERT_FALSE(slime.IsAlive());
    const std::vector<const TMapItem*> drops = Drops(Stage());
    const bool endsAtMinusOne = c.item1 == -1 || (c.item1 == 0 && c.item2 == -1);
    const bool money = c.wantItem == 0 && !endsAtMinusOne && c.money != 0 && (word & 1);
    ASSERT_EQ(money, c.wantMoney) << "the seed gives the word the case is for";
    if (c.wantItem != 0) {
      ASSERT_EQ(drops.size(), before + 1);
      EXPECT_EQ(drops.back()->GetItemId(), static_cast<uint32_t>(c.wantItem));
    } else if (money) {
      ASSERT_EQ(drops.size(), before + 1);
      EXPECT_EQ(drops.back()->GetItemId(), TMapItem::kGold);
      EXPECT_EQ(drops.back()->GetGoldAmount(), c.gold);
    } else {
      EXPECT_EQ(drops.size(), before);
    }
  }
}

// The rolls and amounts of drops and steals are single-precision products, as the game computes
// them; each seed gives the draws that tell them from double ones.
TEST_F(EnemyTest, DropsAndStealsReckonInSinglePrecision) {
  OpenArena();
  MuteParticles();
  {
    SCOPED_TRACE("a roll of 699999 against 0.7: 700000 in float, 699999 in double");
    TestSlime& slime = Dying(-3, 5, 0.7f, 0, 0, 0);
    SeedRand(1486403);
    ASSERT_EQ(PeekRand() % 1000000, 699999u);
    const size_t before = Drops(Stage()).size();
    slime.Update();
    ASSERT_EQ(Drops(Stage()).size(), before + 1);
    EXPECT_EQ(Drops(Stage()).back()->GetItemId(), 5u);
  }
  {
    SCOPED_TRACE("500 less 7 % is 465 in float, a hair under in double; extra 7 and 1");
    TestSlime& slime = Dying(0, 0, 0, 0, 0, 500);
    SeedRand(30);
    ASSERT_EQ(PeekRand(0) & 1, 1u);
    ASSERT_EQ(PeekRand(1) % 30, 7u);
    ASSERT_EQ(PeekRand(2) % 10, 7u);
    slime.Update();
    EXPECT_EQ(Drops(Stage()).back()->GetGoldAmount(), 473u);
  }
  {
    SCOPED_TRACE("a tenth of 16777219 is 1677722 in float, 1677721 in double");
    TestSlime& slime = Place(D3DXVECTOR3(3, 0, 3));
    slime.dropItem2 = 0;
    slime.dropMoney = 16777219;
    SeedRand(1);
    ASSERT_EQ(PeekRand(0) & 1, 1u);
    const uint32_t amount = PeekRand(1) % 1677722;
    const size_t logged = fieldLog.size();
    HitWith(slime, Stroke(100000));
    ASSERT_TRUE(slime.IsStolen());
    EXPECT_EQ(LogFrom(logged).back(), "hud stolen money " + std::to_string(amount));
  }
}

TEST_F(EnemyTest, TheGaugeShowsTheHpShareForItsTimeAndNeverDividesByAZeroMaximum) {
  OpenArena();
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 4));
  Tick();  // the camera and view follow the player
  struct Case {
    int32_t hp, maxHp;
    float fill;
  };
  for (const Case& c : {Case{20, 40, 0.5f}, Case{40, 40, 1.0f}, Case{-3, 40, 0.0f}, Case{5, 0, 0.0f}}) {
    SCOPED_TRACE(c.hp);
    slime.hp = c.hp;
    slime.maxHp = c.maxHp;
    slime.gaugeTimer = 10;
    renderer->ClearLog();
    DrawInScene([&] { slime.DrawGauge(); });
    EXPECT_EQ(slime.GetGaugeTimer(), 9);
    const plat::RecordedDraw* frameDraw = nullptr;
    const plat::RecordedDraw* barDraw = nullptr;
    for (const plat::RecordedDraw& d : renderer->Draws()) {
      if (d.textures[0].name == "sprite.ptx/guage08") frameDraw = &d;
      if (d.textures[0].name == "sprite.ptx/bar00") barDraw = &d;
    }
    ASSERT_TRUE(frameDraw && barDraw);
    const Quad frame = QuadOf(*frameDraw), bar = QuadOf(*barDraw);
    EXPECT_FLOAT_EQ(frame.right - frame.left, 64.0f);
    EXPECT_FLOAT_EQ(frame.bottom - frame.top, 8.0f);
    EXPECT_FLOAT_EQ(bar.left - frame.left, 2.0f);
    EXPECT_FLOAT_EQ(bar.top - frame.top, 2.0f);
    EXPECT_NEAR(bar.right - bar.left, 60.0f * c.fill, 1e-4f);
    EXPECT_FLOAT_EQ(bar.bottom - bar.top, 4.0f);
    EXPECT_FLOAT_EQ(bar.uLeft, 0.375f);
    EXPECT_FLOAT_EQ(bar.uRight, 0.375f + 0.234375f * c.fill);
    const float fx = frame.left, fy = frame.top;

    // The frame sits where the centre of the model's bounds projects.
    TMeshBounds bounds;
    plat::D3DXMATRIX world;
    slime.GetModel()->GetBoundingSphere(bounds, *slime.GetFrame()->GetWorldMatrix(&world));
    const D3DXVECTOR3 centre(bounds.x, bounds.y, bounds.z);
    plat::D3DXVECTOR4 p;
    plat::D3DXVec3Transform(&p, &centre, field->GetView()->GetViewProjection());
    EXPECT_NEAR(fx + 0.5f, 640 * 0.5f * (p.x / p.w + 1), 1e-3f);
    EXPECT_NEAR(fy + 0.5f, 480 * 0.5f * (1 - p.y / p.w), 1e-3f);
  }

  renderer->ClearLog();
  slime.gaugeTimer = 1;
  DrawInScene([&] { slime.DrawGauge(); });
  EXPECT_EQ(slime.GetGaugeTimer(), 0);
  slime.gaugeTimer = 50;
  slime.alive = 0;
  DrawInScene([&] { slime.DrawGauge(); });
  EXPECT_EQ(slime.GetGaugeTimer(), 0);
  EXPECT_TRUE(renderer->Draws().empty());
}

TEST_F(EnemyTest, OnlyAnEnemyBelowId10000OutsideItsEntranceLeavesBeyondTheSpawnRange) {
  OpenArena(Arena().EnemyLimits(3, 10.0f));
  MoveHero(D3DXVECTOR3(0, 0, 0));
  TestSlime& near = Place(D3DXVECTOR3(0, 0, 9.9f));
  TestSlime& far = Place(D3DXVECTOR3(0, 0, 10.1f));
  EXPECT_FALSE(near.IsOutOfRange());
  EXPECT_TRUE(far.IsOutOfRange());
  far.SetMode(enemy_mode::kEntrance);
  EXPECT_FALSE(far.IsOutOfRange());
  far.SetMode(enemy_mode::kStand);

  TEnemyRecord boss = EnemyDatabase.at(1);
  boss.Id = 10000;
  TestSlime guard(boss, 1, 0);
  guard.SetManager(&Manager());
  guard.Appear(Stage(), D3DXVECTOR3(0, 0, 30), D3DXVECTOR3(0, 0, -1), 5.0f, true);
  EXPECT_FALSE(guard.IsOutOfRange());
  guard.Detach();

  // Out of range it leaves on its next tick, with no death and no drop.
  const uint32_t handle = far.GetObjectId();
  Tick();
  EXPECT_EQ(Manager().GetEnemy(handle).Get(), nullptr);
  EXPECT_FALSE(Manager().Contains(1));
  EXPECT_TRUE(Drops(Stage()).empty());
}

TEST_F(EnemyTest, TheSampleSlimeLoadsItsModelPatternAndSounds) {
  OpenArena();
  TestSlime& slime = Place(D3DXVECTOR3(0, 0, 3));
  EXPECT_EQ(slime.GetModel()->GetData()->GetClipCount(), 18u);
  EXPECT_EQ(slime.GetPattern().GetMotionCount(), 18u);
  EXPECT_EQ(slime.GetPattern().GetInfo(16, 14)->hitId, 5000);
  EXPECT_EQ(slime.GetPattern().GetInfo(17, 14)->hitId, 5000);
  EXPECT_LT(slime.GetPattern().GetInfo(1, 0)->displacement[2], 0.0f) << "closing in steps forward";
  EXPECT_EQ(slime.GetSounds().GetSeList().GetIds().size(), 14u);
  slime.PlaySe(503);
  EXPECT_TRUE(Played(503));
}

}  // namespace
