// The arrow: shown for its ticks, a private copy of the arrow mesh per clone, the mesh file's own
// render modes.
#include <gtest/gtest.h>

#include "game/effect/TArrowEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using mathcheck::Vec;

class ArrowTest : public effecttest::EffectFixture {
 protected:
  std::unique_ptr<TEffect> Spawned(const TEffect& prototype) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, Vec(0, 1, 0), Vec(1, 0, 0), *stage.scene, &stage, {1, 1, 1, 1});
    return effect;
  }
  effecttest::StageDouble stage;
};

TEST_F(ArrowTest, AnArrowOfTenTicksEndsOnItsTenthUpdate) {
  TArrowEffect prototype(10);
  auto effect = Spawned(prototype);
  for (int n = 1; n <= 9; ++n) EXPECT_TRUE(effect->Update()) << n;
  EXPECT_FALSE(effect->Update());
  effect->Detach();
}

TEST_F(ArrowTest, ClonesCarryAPrivateCopyOfTheArrowInItsOwnLook) {
  TArrowEffect prototype(27);
  const TMesh8& original = prototype.GetFrame()->GetMeshes().at(0);
  EXPECT_EQ(original.GetName(), "arrow");
  auto effect = Spawned(prototype);
  ASSERT_EQ(effect->GetFrame()->GetMeshes().size(), 1u);
  const TMesh8& copy = effect->GetFrame()->GetMeshes()[0];
  EXPECT_EQ(effect->GetFrame()->GetName(), "arrow");
  EXPECT_NE(copy.GetData(), original.GetData());
  EXPECT_EQ(copy.GetMaterial(0).GetRenderMode(), original.GetMaterial(0).GetRenderMode());
  EXPECT_NE(copy.GetMaterial(0).GetRenderMode(), 4000);
  effect->Detach();
}

TEST_F(ArrowTest, AnArrowMadeWithoutTicksLivesUntilItIsKilled) {
  TArrowEffect prototype(0);
  auto effect = Spawned(prototype);
  for (int n = 0; n < 100; ++n) EXPECT_TRUE(effect->Update());
  effect->Kill();
  EXPECT_FALSE(effect->Update());
  effect->Detach();
}

}  // namespace
