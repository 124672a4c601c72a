// The sample arena played headless with the game's enemy manager: one enemy of each class, and a
// scripted hero that steps up to each in turn and strikes it. The armoured knight, struck down
// from behind, lies turned; the phoenix gets up once; the golem takes every stroke unmoved until
// the one that kills it; the fireball's aura follows it about; and the time mage, left last,
// pins the hero for 600 ticks with its attack 9, until its finishing blow lands and time runs.
#include <gtest/gtest.h>

#include <cmath>

#include "game/effect/TShotEffect.h"
#include "game/effect/TimeStopState.h"
#include "game/enemy/TElementEnemy.h"
#include "game/enemy/TEnemyManager.h"
#include "game/enemy/TRevivingEnemy.h"
#include "game/enemy/TTimeStopEnemy.h"
#include "game/field/TStage.h"
#include "platform/window/InputState.h"
#include "tests/game/enemy/EnemyFixture.h"
#include "tools/datakit/SampleEnemies.h"

namespace {

using enemytest::EnemyFixture;
using plat::D3DXVECTOR3;

float Flat(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return std::hypot(a.x - b.x, a.z - b.z); }

D3DXVECTOR3 Along(const D3DXVECTOR3& from, const D3DXVECTOR3& way, float distance) {
  const float length = std::hypot(way.x, way.z);
  return D3DXVECTOR3(from.x + way.x / length * distance, from.y, from.z + way.z / length * distance);
}

// The enemy's front (its frame's -z) on the ground plane.
D3DXVECTOR3 FrontOf(const TEnemy& enemy) {
  D3DXVECTOR3 z;
  enemy.GetFrame()->GetAxis(&z, 3);
  return D3DXVECTOR3(-z.x, 0, -z.z);
}

class ArenaScenario : public EnemyFixture {
 protected:
  void TearDown() override {
    plat::ReleaseAllKeys();
    SetTimeStop(false, nullptr, nullptr);
    EnemyFixture::TearDown();
  }

  // A tick after which the hero is whole again: the enemies' bites never end the scenario.
  void Step() {
    Tick();
    Hero().RecoverHp(Hero().GetMaxHp());
  }
  template <class Condition>
  bool StepUntil(Condition done, int limit) {
    for (int t = 0; t < limit && !done(); ++t) Step();
    return done();
  }
  TCountedPtr<TEnemy> Find(uint32_t id) const {
    for (const auto& [handle, enemy] : services.manager->GetLive())
      if (enemy->GetKind() == id) return enemy;
    return TCountedPtr<TEnemy>();
  }
  // The hero stands beside the enemy, this far from it on the side of the way given.
  void StandBy(const TEnemy& enemy, const D3DXVECTOR3& way, float distance = 1.5f) {
    MoveHero(Along(enemy.GetPosition(), way, distance));
  }
  // A stroke of the hero's hit record at the enemy's body once it can be hit; the stage's next hit
  // pass tests it. The hero is made whole and able to be hit first.
  void Strike(TEnemy& enemy, uint32_t record = 1000) {
    ASSERT_TRUE(StepUntil([&] { return !enemy.IsInvulnerable(); }, 200)) << "it stopped fading";
    const D3DXVECTOR3 at = enemy.GetBodyCenter();
    ASSERT_TRUE(Hero().CreateAttackHit(record, Stage().GetSceneFrame(), &at));
    Step();
  }
  bool Gone(uint32_t handle) const { return !services.manager->GetEnemy(handle); }
  static uint32_t Mode(const TEnemy& enemy) { return enemy.GetMode(); }
};

TEST_F(ArenaScenario, EachClassMeetsTheHeroAsItsRowSaysAndTheTimeMageStopsTimeUntilItsFinishingBlow) {
  services.realManager = true;
  OpenMap("03.pbms/arena");
  FinishOpeningFade();
  MuteParticles();
  TEnemyManager& manager = Manager();
  ASSERT_EQ(manager.GetLive().size(), 6u);
  for (uint32_t id : {datakit::kSampleSlimeId, datakit::kSampleGolemId, datakit::kSampleFireballId,
                      datakit::kSamplePhoenixId, datakit::kSampleKnightId, datakit::kSampleTimeMageId})
    ASSERT_TRUE(Find(id)) << id;

  // The armoured knight, struck from behind by the killing blow, falls forward and lies turned.
  {
    TCountedPtr<TEnemy> knight = Find(datakit::kSampleKnightId);
    ASSERT_NE(dynamic_cast<TEnemyKind5*>(knight.Get()), nullptr);
    while (knight->GetHp() > 0) {
      const int32_t hp = knight->GetHp();
      const D3DXVECTOR3 front = FrontOf(*knight);
      StandBy(*knight, D3DXVECTOR3(-front.x, 0, -front.z));  // at its back
      Strike(*knight);
      ASSERT_LT(knight->GetHp(), hp);
      if (knight->GetHp() > 0) {
        EXPECT_EQ(knight->GetMainState(), enemy_state::kNormal) << "only the killing blow fells it";
      }
    }
    EXPECT_EQ(Mode(*knight), static_cast<uint32_t>(enemy_mode::kDownFromBehind));
    EXPECT_TRUE(StepUntil([&] { return Mode(*knight) == enemy_mode::kLyingTurned; }, 100));
    const uint32_t handle = knight->GetObjectId();
    EXPECT_TRUE(StepUntil([&] { return Gone(handle); }, 200)) << "and dies there";
    EXPECT_EQ(Mode(*knight), static_cast<uint32_t>(enemy_mode::kLyingTurned));
  }

  // The phoenix gets up from its first death, whole and stronger, and not from its second.
  {
    TCountedPtr<TEnemy> phoenix = Find(datakit::kSamplePhoenixId);
    auto* reviving = dynamic_cast<TRevivingEnemy*>(phoenix.Get());
    ASSERT_NE(reviving, nullptr);
    const int32_t strength = phoenix->GetParams()[0];
    const uint32_t handle = phoenix->GetObjectId();
    int revivals = 0;
    for (int strokes = 0; strokes < 40 && !Gone(handle) && phoenix->GetHp() > 0; ++strokes) {
      StandBy(*phoenix, D3DXVECTOR3(1, 0, -1));
      const int32_t count = reviving->GetRevivalCount();
      Strike(*phoenix);
      if (reviving->GetRevivalCount() > count && phoenix->GetHp() > 0) {
        ++revivals;
        EXPECT_EQ(phoenix->GetHp(), phoenix->GetMaxHp());
        EXPECT_GT(phoenix->GetParams()[0], strength);
      }
    }
    EXPECT_EQ(revivals, 1);
    EXPECT_EQ(phoenix->GetHp(), 0);
    EXPECT_TRUE(StepUntil([&] { return Gone(handle); }, 300));
    EXPECT_TRUE(manager.Contains(datakit::kSamplePhoenixId));
  }

  // The golem: struck from its side, it never turns, reels, rises or staggers until it dies.
  {
    TCountedPtr<TEnemy> golem = Find(datakit::kSampleGolemId);
    ASSERT_NE(dynamic_cast<TEnemyKind2*>(golem.Get()), nullptr);
    int strokes = 0;
    while (golem->GetHp() > 0) {
      ASSERT_LT(++strokes, 20);
      D3DXVECTOR3 side;
      golem->GetFrame()->GetAxis(&side, 1);
      StandBy(*golem, side);
      const D3DXVECTOR3 before = FrontOf(*golem);
      Strike(*golem, strokes % 2 ? 1000 : 3000);
      const D3DXVECTOR3 after = FrontOf(*golem);
      // Its own turning to the hero is at most 10 degrees a call (its decision and its behaviour
      // may both turn it); a hit's would be a quarter turn.
      EXPECT_GT(before.x * after.x + before.z * after.z, std::cos(0.4f));
      if (golem->GetHp() > 0) {
        for (uint32_t mode : {5u, 6u, 7u, 8u, 11u, 12u, 13u, 14u}) EXPECT_NE(Mode(*golem), mode);
        EXPECT_EQ(golem->GetMainState(), enemy_state::kNormal);
      }
    }
    EXPECT_EQ(Mode(*golem), static_cast<uint32_t>(enemy_mode::kDownFromFront));
    EXPECT_EQ(golem->GetMainState(), enemy_state::kDown);
    const uint32_t handle = golem->GetObjectId();
    EXPECT_TRUE(StepUntil([&] { return Gone(handle); }, 300)) << "a killed golem dies all the same";
    EXPECT_TRUE(manager.Contains(datakit::kSampleGolemId));
  }

  // The fireball closes in on the hero with its fire aura shaking about it; struck down, it takes
  // the aura with it.
  {
    TCountedPtr<TEnemy> fireball = Find(datakit::kSampleFireballId);
    auto* element = dynamic_cast<TElementEnemy*>(fireball.Get());
    ASSERT_NE(element, nullptr);
    const TCountedPtr<TEffect> aura = element->GetAura();
    ASSERT_TRUE(aura);
    TShotEffect* shot = AsShot(aura.Get());
    ASSERT_NE(shot, nullptr);
    StandBy(*fireball, D3DXVECTOR3(0, 0, -1), 5.0f);
    const D3DXVECTOR3 start = fireball->GetPosition();
    float farthest = 0;
    for (int t = 0; t < 150; ++t) {
      Step();
      D3DXVECTOR3 head;
      shot->GetHeadFrame()->GetWorldPosition(&head);
      farthest = std::max(farthest, std::hypot(head.x - fireball->GetPosition().x, head.z - fireball->GetPosition().z));
    }
    EXPECT_GT(Flat(fireball->GetPosition(), start), 1.0f) << "it moved";
    EXPECT_LT(farthest, 1.0f) << "and its aura with it";
    EXPECT_TRUE(aura->IsAlive());
    const uint32_t handle = fireball->GetObjectId();
    for (int strokes = 0; strokes < 20 && fireball->GetHp() > 0; ++strokes) {
      StandBy(*fireball, D3DXVECTOR3(0, 0, -1));
      Strike(*fireball);
    }
    ASSERT_TRUE(StepUntil([&] { return Gone(handle); }, 300));
    EXPECT_FALSE(aura->IsAlive());
  }

  // The slime, for the time mage to be the last.
  {
    TCountedPtr<TEnemy> slime = Find(datakit::kSampleSlimeId);
    const uint32_t handle = slime->GetObjectId();
    for (int strokes = 0; strokes < 20 && slime->GetHp() > 0; ++strokes) {
      StandBy(*slime, D3DXVECTOR3(0, 0, -1));
      Strike(*slime);
    }
    ASSERT_TRUE(StepUntil([&] { return Gone(handle); }, 300));
  }
  ASSERT_EQ(manager.GetLive().size(), 1u);

  // The time mage, its one hit brought on: time stops, the hero is pinned under the board for 600
  // ticks however it is driven, and the finishing blow ends it.
  TCountedPtr<TEnemy> mage = Find(datakit::kSampleTimeMageId);
  ASSERT_NE(dynamic_cast<TTimeStopEnemy*>(mage.Get()), nullptr);
  MoveHero(Along(mage->GetPosition(), FrontOf(*mage), 1.3f));
  Hero().EndBlink();
  mage->ChangeState(TTimeStopEnemy::kTimeStopAttack);
  ASSERT_TRUE(StepUntil([&] { return GetTimeStop(); }, 40)) << "the hit of value 11111 landed";
  const D3DXVECTOR3 pinned = Hero().GetPosition();
  TFrame8* board = TimeStopState::Get().GetBoard();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->GetParent(), Stage().GetViewFrame());

  plat::SetKeyDown(plat::VK_UP, true);
  const size_t hurts = Hero().hurts.size();
  int stopped = 0;
  while (GetTimeStop() && stopped < 700) {
    Tick();
    ++stopped;
    if (GetTimeStop()) {
      ASSERT_EQ(Hero().GetPosition().x, pinned.x);
      ASSERT_EQ(Hero().GetPosition().z, pinned.z);
      ASSERT_EQ(board->GetParent(), Stage().GetViewFrame());
      ASSERT_EQ(Hero().hurts.size(), hurts) << "nothing else hit the hero";
    }
  }
  EXPECT_EQ(stopped, TimeStopState::kStopFrames) << "the timer ran out on the 600th tick";
  EXPECT_FALSE(GetTimeStop());
  ASSERT_EQ(Hero().hurts.size(), hurts + 1) << "the finishing blow landed";
  EXPECT_EQ(board->GetParent(), nullptr);

  // Time runs: the hero walks again once it has taken the blow.
  EXPECT_TRUE(StepUntil([&] { return Flat(Hero().GetPosition(), pinned) > 0.5f; }, 200));
}

}  // namespace
