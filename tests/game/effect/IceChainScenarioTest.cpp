// An ice chain cast by a character on a stage, with the registry's values of kinds 200 and 201:
// the chain sounds in each of its four windows and at its death, its piece strikes on its first
// update through the caster, and then everything fades away.
#include <gtest/gtest.h>

#include "game/effect/EffectRegistry.h"
#include "game/effect/TEffectManager.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using mathcheck::Near;
using mathcheck::Vec;

constexpr int32_t kCaster = 1;

class IceChainScenario : public effecttest::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    manager = std::make_unique<TEffectManager>([](TEffectManager& m) {
      for (TEffectKind kind : {200, 201}) m.Register(kind, MakePrototype(*FindEffectRow(kind)));
    });
    stage.manager = manager.get();
    stage.actors[kCaster] = &caster;
    caster.position = Vec(3, 0, 2);
  }
  void TearDown() override {
    manager.reset();
    EffectFixture::TearDown();
  }

  effecttest::StageDouble stage;
  std::unique_ptr<TEffectManager> manager;
  effecttest::ActorDouble caster{stage.scene.Get()};
};

TEST_F(IceChainScenario, TheChainSoundsInItsWindowsAndItsPieceStrikesThroughTheCaster) {
  // The caster puts the crystal one unit in front of itself.
  TCountedPtr<TEffect> chain =
      manager->Spawn(200, Vec(3, 0, 1), Vec(0, 0, -1), *stage.scene, &stage, {1, 1, 1, 1}, Vec(1, 1, 1));
  ASSERT_TRUE(chain);
  chain->SetCasterId(kCaster);

  int ticks = 0;
  size_t windowSounds = 0;
  while (chain->IsAlive() && ticks < 100) {
    manager->Update();
    ++ticks;
    if (chain->IsAlive()) windowSounds = caster.sounds.size();
  }
  ASSERT_FALSE(chain->IsAlive());
  EXPECT_EQ(windowSounds, 4u);
  // The death tick: the chain's own 504, then its piece's first update strikes in the same walk.
  EXPECT_EQ(caster.journal, (std::vector<std::string>{"se 504", "se 504", "se 504", "se 504", "se 504",
                                                      "hit 2101", "se 505"}));
  ASSERT_EQ(caster.hits.size(), 1u);
  EXPECT_EQ(caster.hits[0].parent, stage.scene.Get());
  EXPECT_TRUE(Near(caster.hits[0].position, Vec(3, 0.5f, 1), 1e-5f));
  EXPECT_EQ(manager->GetLiveCount(), 1u);

  int fading = 0;
  while (manager->GetLiveCount() != 0 && fading < 1000) {
    manager->Update();
    ++fading;
  }
  EXPECT_EQ(manager->GetLiveCount(), 0u);
  // White fades by 0.02 (a float a little under it) a fall: fifty falls leave a trace of colour,
  // the 51st would go below zero.
  EXPECT_EQ(fading, 51);
  EXPECT_EQ(caster.journal.size(), 7u);
  EXPECT_TRUE(stage.scene->GetChildren().empty());
}

}  // namespace
