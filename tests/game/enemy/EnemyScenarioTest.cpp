// The sample battle map played headless with the game's enemy manager and the game's own player
// character, the sample hero: the two slimes close in on the hero and bite it; the hero's strokes
// reel one, knock it down and kill it; it drops its item, counts as defeated, the hero gains its
// experience, and the spawn point brings another. The hero stands at the start and strikes where
// the test says (its movesets are not built yet).
#include <gtest/gtest.h>

#include <cmath>

#include "game/actor/TPlayerFactory.h"
#include "game/enemy/TEnemyManager.h"
#include "game/field/TMapItem.h"
#include "game/field/TStage.h"
#include "game/moveset/PlayerStyles.h"
#include "tests/game/enemy/EnemyFixture.h"
#include "tools/datakit/SampleEnemies.h"

namespace {

using enemytest::EnemyFixture;
using enemytest::TestPlayerHud;
using plat::D3DXVECTOR3;

class EnemyScenario : public EnemyFixture {
 protected:
  // Ticks until the condition holds; false when it never did within the limit.
  template <class Condition>
  bool TickUntil(Condition done, int limit) {
    for (int t = 0; t < limit; ++t) {
      if (done()) return true;
      Tick();
    }
    return done();
  }
  // A stroke of the hero's hit record at the enemy's body, half a unit off on the side away from
  // the other enemies so that it hits this one alone; the stage's next hit pass tests it.
  void Strike(TEnemy& enemy, uint32_t record) {
    D3DXVECTOR3 at = enemy.GetBodyCenter();
    for (const auto& [handle, other] : services.manager->GetLive()) {
      if (other.Get() == &enemy) continue;
      const D3DXVECTOR3 p = enemy.GetPosition(), o = other->GetPosition();
      const float d = std::hypot(p.x - o.x, p.z - o.z);
      if (d > 0) {
        at.x += (p.x - o.x) / d * 0.5f;
        at.z += (p.z - o.z) / d * 0.5f;
      }
    }
    ASSERT_TRUE(Player().CreateAttackHit(record, Stage().GetSceneFrame(), &at));
    Tick();
  }
  static int32_t Mode(const TEnemy& enemy) { return static_cast<int32_t>(enemy.GetMode()); }
  bool AnyInMode(int32_t mode) const {
    for (const auto& [handle, enemy] : services.manager->GetLive())
      if (Mode(*enemy) == mode) return true;
    return false;
  }
  size_t GaugeDraws() const {
    size_t n = 0;
    for (const plat::RecordedDraw& d : renderer->Draws()) n += d.textures[0].name == "sprite.ptx/guage08";
    return n;
  }
};

TEST_F(EnemyScenario, SlimesCloseInAndBiteAndTheOneTheHeroStrikesDownDropsItsItemRewardsItAndIsReplaced) {
  SetPlayerStyleMaker(&MakePlayerStyle);  // the game's own style
  services.realManager = true;
  OpenMap("03.pbms/field");
  FinishOpeningFade();
  TPlayerChar& hero = Player();
  ASSERT_NE(dynamic_cast<TPlayerStyle00*>(&hero), nullptr);
  EXPECT_EQ(hero.GetModelName(), "hero01");
  TEnemyManager& manager = Manager();
  ASSERT_EQ(manager.GetLive().size(), 2u);
  EXPECT_EQ(manager.GetMaximum(), 2u);

  const int32_t fullHp = hero.GetHp();
  EXPECT_TRUE(TickUntil([&] { return AnyInMode(enemy_mode::kCloseIn); }, 200)) << "they close in";
  EXPECT_TRUE(TickUntil([&] { return AnyInMode(enemy_mode::kAction); }, 2000)) << "and attack";
  EXPECT_TRUE(TickUntil([&] { return hero.GetHp() < fullHp; }, 200)) << "the bite lands";

  // The slime nearest to the hero.
  TCountedPtr<TEnemy> slime;
  float nearest = 1e9f;
  for (const auto& [handle, enemy] : manager.GetLive()) {
    const D3DXVECTOR3 p = enemy->GetPosition(), h = hero.GetPosition();
    const float d = std::hypot(p.x - h.x, p.z - h.z);
    if (d < nearest) {
      nearest = d;
      slime = enemy;
    }
  }
  const uint32_t handle = slime->GetObjectId();
  ASSERT_EQ(slime->GetHp(), 40);
  const uint32_t experience = hero.GetExperience();

  renderer->ClearLog();
  Strike(*slime, 1000);
  EXPECT_EQ(slime->GetMainState(), enemy_state::kReeling);
  EXPECT_TRUE(Mode(*slime) == enemy_mode::kReelFromFront || Mode(*slime) == enemy_mode::kReelFromBehind);
  EXPECT_EQ(slime->GetHp(), 40 - 14) << "power 22 (parameter 12 and the sword's 10) against defence 10";
  EXPECT_EQ(GaugeDraws(), 1u) << "its gauge shows";
  EXPECT_EQ(hero.GetEnemyHandle().Get(), static_cast<TPlayerFoe*>(slime.Get())) << "the hero knows its enemy";

  Strike(*slime, 3000);
  EXPECT_EQ(slime->GetMainState(), enemy_state::kBlownAway);
  EXPECT_TRUE(Mode(*slime) == enemy_mode::kDownFromFront || Mode(*slime) == enemy_mode::kDownFromBehind);
  EXPECT_EQ(slime->GetHp(), 26 - 21) << "the smash strikes 1.5 times as hard";

  Strike(*slime, 1000);
  EXPECT_EQ(slime->GetHp(), 0);
  EXPECT_FALSE(manager.Contains(datakit::kSampleSlimeId));
  EXPECT_EQ(PlayerHud().panels, (std::vector<TestPlayerHud::TPanel>{{1, 14}, {2, 35}, {3, 49}}))
      << "the enemy panel follows the combo";
  EXPECT_EQ(hero.GetBestCombos(), (std::array<int32_t, 4>{49, 3, 1, 2})) << "the last stroke hit it blown away";

  ASSERT_TRUE(TickUntil([&] { return !manager.GetEnemy(handle); }, 200)) << "it dies on the ground";
  EXPECT_TRUE(manager.Contains(datakit::kSampleSlimeId));
  EXPECT_LE(slime->GetHp(), -15);
  size_t drops = 0;
  for (const TCountedPtr<TMapObject>& object : Stage().GetMapObjects())
    if (auto* item = dynamic_cast<const TMapItem*>(object.Get()); item && !item->IsTracked()) {
      ++drops;
      EXPECT_EQ(item->GetItemId(), 1u);
    }
  EXPECT_EQ(drops, 1u);

  // The spawn point was ready long since: it fills the gap at once, in the entrance.
  const TSpawnPoint& point = manager.GetSpawnPoints().at(0);
  ASSERT_TRUE(point.enemy);
  EXPECT_EQ(manager.GetLiveCount(), 2u);
  EXPECT_EQ(point.enemy->GetMode(), static_cast<uint32_t>(enemy_mode::kEntrance));
  EXPECT_NEAR(point.enemy->GetPosition().z, 6.0f, 0.05f);
  EXPECT_TRUE(TickUntil([&] { return Mode(*point.enemy) != enemy_mode::kEntrance; }, 100));

  // The hero gained what the slime was worth; its notice is shown.
  EXPECT_GT(hero.GetExperience(), experience);
  ASSERT_EQ(PlayerHud().notices.size(), 1u);
  const TGainNotice& notice = PlayerHud().notices[0];
  EXPECT_EQ(notice.experience, hero.GetExperience() - experience);
  EXPECT_EQ(notice.enemyPoints, static_cast<uint32_t>(slime->GetValueA()));
}

}  // namespace
