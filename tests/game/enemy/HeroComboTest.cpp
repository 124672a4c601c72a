// The sample hero's ground combo with the sample sword against an enemy standing in front of it:
// each of the four strokes lands, and the combo carries the hero toward the enemy, never away.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tests/game/enemy/EnemyFixture.h"

namespace {

using enemytest::EnemyFixture;
using plat::D3DXVECTOR3;

// The action states of the ground combo's four strokes.
constexpr int32_t kStrokes[] = {25, 27, 29, 31};

float Flat(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return std::hypot(a.x - b.x, a.z - b.z); }

class HeroCombo : public EnemyFixture, public testing::WithParamInterface<float> {
 protected:
  void TearDown() override {
    plat::ReleaseAllKeys();
    EnemyFixture::TearDown();
  }
  // Ticks with the buttons' keys down and every other key up; the damage the enemy takes is noted
  // under the hero's action state of the tick. The enemy stands still: it never decides anything.
  void Hold(uint32_t buttons, int ticks) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    for (int t = 0; t < ticks; ++t) {
      enemy->aiTimer = 1000000;
      const int32_t hp = enemy->hp;
      Tick();
      if (enemy->hp < hp) damage[Hero().GetActionState()] += hp - enemy->hp;
    }
  }

  enemytest::TestSlime* enemy = nullptr;
  std::map<int32_t, int32_t> damage;
};

TEST_P(HeroCombo, EachStrokeOfTheGroundComboLandsOnAnEnemyInFrontAndTheHeroKeepsUpWithIt) {
  OpenArena();
  MuteParticles();
  for (int t = 0; t < 30; ++t) Tick();
  const D3DXVECTOR3 hero = Hero().GetPosition(), front = Hero().GetFront();
  enemy = &Place(D3DXVECTOR3(hero.x + front.x * GetParam(), hero.y, hero.z + front.z * GetParam()));
  enemy->maxHp = enemy->hp = 10000;  // it outlasts the combo
  // Closer than their bodies allow, the two are first pushed apart.
  Hold(0, 1);
  const D3DXVECTOR3 from = Hero().GetPosition();
  const float start = Flat(from, enemy->GetPosition());

  // A release of the attack button and three more presses a tick apart: the four strokes.
  Hold(TPlayerChar::kButtonA, 1);
  Hold(0, 3);
  for (int k = 0; k < 3; ++k) {
    Hold(TPlayerChar::kButtonA, 1);
    Hold(0, 1);
  }
  Hold(0, 100);

  for (int32_t state : kStrokes) EXPECT_GT(damage[state], 0) << "stroke of state " << state;
  EXPECT_EQ(damage.size(), std::size(kStrokes)) << "nothing else struck";
  EXPECT_EQ(Hero().GetMode(), 0u) << "the combo ran to its end";
  const D3DXVECTOR3 to = Hero().GetPosition();
  EXPECT_GT((to.x - from.x) * front.x + (to.z - from.z) * front.z, 0.5f) << "the strokes step forward";
  // Pressed against the enemy, the bodies keep their touching distance, give or take a hair.
  EXPECT_LE(Flat(to, enemy->GetPosition()), start + 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Distances, HeroCombo, testing::Values(1.0f, 1.25f, 1.5f),
                         [](const testing::TestParamInfo<float>& info) {
                           return "Metres" + std::to_string(static_cast<int>(info.param * 100));
                         });

}  // namespace
