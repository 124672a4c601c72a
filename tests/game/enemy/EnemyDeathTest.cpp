// Death for every enemy class of the sample arena: struck to 0 HP, an enemy dies and leaves the
// manager's list within a bounded number of ticks, however often it is struck while it dies, and
// its defeat is counted once.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/enemy/TEnemyManager.h"
#include "game/field/TStage.h"
#include "tests/game/enemy/EnemyFixture.h"
#include "tools/datakit/SampleEnemies.h"

namespace {

using enemytest::EnemyFixture;
using plat::D3DXVECTOR3;

constexpr uint32_t kStroke = 1000;
// The fall and the death count with room to spare; a struck corpse got up again for ever.
constexpr int kDeathTicks = 120;

struct DeathCase {
  uint32_t enemyId;
  int strikeEvery;  // ticks between the strokes on the dying enemy; 0 it is left alone
};

class EnemyDeath : public EnemyFixture, public testing::WithParamInterface<DeathCase> {
 protected:
  TCountedPtr<TEnemy> Find(uint32_t id) {
    for (const auto& [handle, enemy] : Manager().GetLive())
      if (enemy->GetKind() == id) return enemy;
    return TCountedPtr<TEnemy>();
  }
  // The hero's stroke at the enemy's body from beside it, tested on the next tick.
  void Strike(TEnemy& enemy) {
    D3DXVECTOR3 beside = enemy.GetPosition();
    beside.x += 1.2f;
    MoveHero(beside);
    const D3DXVECTOR3 at = enemy.GetBodyCenter();
    ASSERT_TRUE(Hero().CreateAttackHit(kStroke, Stage().GetSceneFrame(), &at));
  }
  // A tick after which the hero is whole again: the enemies' bites never end the test.
  void Step() {
    Tick();
    Hero().RecoverHp(Hero().GetMaxHp());
  }
};

TEST_P(EnemyDeath, StruckToZeroItDiesAndLeavesTheListInBoundedTicksAndItsDefeatCountsOnce) {
  const DeathCase c = GetParam();
  services.realManager = true;
  OpenMap("03.pbms/arena");
  FinishOpeningFade();
  MuteParticles();
  TCountedPtr<TEnemy> enemy = Find(c.enemyId);
  ASSERT_TRUE(enemy);
  const uint32_t handle = enemy->GetObjectId();

  // From 1 HP a stroke kills it; the phoenix first gets up whole from one death.
  for (int kills = 0; enemy->GetHp() > 0; ++kills) {
    ASSERT_LT(kills, 3);
    for (int t = 0; t < 200 && enemy->IsInvulnerable(); ++t) Step();
    enemy->LoseHp(enemy->GetHp() - 1);
    Strike(*enemy);
    Step();
  }

  int ticks = 0;
  int32_t lowest = enemy->GetHp();
  while (Manager().GetEnemy(handle)) {
    ASSERT_LT(++ticks, kDeathTicks) << "HP " << enemy->GetHp() << ", mode " << enemy->GetMode();
    if (c.strikeEvery && ticks % c.strikeEvery == 0 && !enemy->IsInvulnerable()) Strike(*enemy);
    Step();
    EXPECT_LE(enemy->GetHp(), lowest) << "a stroke never brings a dying enemy's HP back up";
    lowest = std::min(lowest, enemy->GetHp());
  }
  EXPECT_FALSE(enemy->IsAlive());
  EXPECT_EQ(std::count(Hero().defeats.begin(), Hero().defeats.end(), handle), 1);
  const std::vector<uint32_t>& defeated = Manager().GetDefeated();
  EXPECT_EQ(std::count(defeated.begin(), defeated.end(), c.enemyId), 1);
}

std::vector<DeathCase> Cases() {
  std::vector<DeathCase> cases;
  for (uint32_t id : {datakit::kSampleSlimeId, datakit::kSampleGolemId, datakit::kSampleFireballId,
                      datakit::kSamplePhoenixId, datakit::kSampleKnightId, datakit::kSampleTimeMageId})
    for (int every : {0, 5, 12}) cases.push_back({id, every});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(SampleEnemies, EnemyDeath, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<DeathCase>& info) {
                           return "Enemy" + std::to_string(info.param.enemyId) + "StruckEvery" +
                                  std::to_string(info.param.strikeEvery);
                         });

}  // namespace
