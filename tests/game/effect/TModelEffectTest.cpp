// Model-animation effects: the state machine's phases and their strict ends, the colour steps of
// Init, the faded channel of each look, the loops, the clamped fade-out, and clones.
#include <gtest/gtest.h>

#include "game/effect/TModelEffect.h"
#include "tests/common/MathChecks.h"
#include "tests/game/effect/EffectDoubles.h"
#include "tests/game/effect/EffectFixture.h"

namespace {

using mathcheck::Vec;

class ModelTest : public effecttest::EffectFixture {
 protected:
  std::unique_ptr<TEffect> Spawned(const TEffect& prototype, const plat::D3DCOLORVALUE& colour) {
    std::unique_ptr<TEffect> effect = prototype.Clone();
    effect->Init(0, Vec(0, 0, 0), Vec(0, 0, 1), *stage.scene, &stage, colour);
    return effect;
  }
  static TModelEffect& Model(std::unique_ptr<TEffect>& e) { return static_cast<TModelEffect&>(*e); }
  // The colour of the ring's mesh, which hangs below the effect's root frame.
  static const plat::D3DCOLORVALUE& RingColour(const TEffect& effect) {
    return effect.GetFrame()->GetChildren().at(0)->GetMeshes().at(0).GetMaterial(0).GetMaterial().Emissive;
  }
  // Updates until the effect reports itself finished; the number of the update that did.
  static int UpdatesToFinish(TEffect& effect, int limit = 1000) {
    for (int n = 1; n <= limit; ++n)
      if (!effect.Update()) return n;
    return -1;
  }

  effecttest::StageDouble stage;
};

TEST_F(ModelTest, VariantBFadesInHoldsAndFadesOutOverItsTimes) {
  TAddModelEffect prototype("ring01_anim.frm", TModelTimes::InHoldOut(5.0f, 2.0f, 10.0f, 1.0f, 20.0f, 1.0f));
  auto effect = Spawned(prototype, {1.0f, 0.5f, 0.25f, 1.0f});
  TModelEffect& model = Model(effect);
  EXPECT_EQ(model.GetState(), TModelState::kFadeIn);
  EXPECT_FLOAT_EQ(model.GetColourStep1().r, 0.4f);   // spread over 5 / 2 ticks
  EXPECT_FLOAT_EQ(model.GetColourStep3().g, 0.05f);  // over (20 - 10) / 1 ticks

  std::vector<TModelState> states;
  int finishedAt = 0;
  for (int n = 1; n <= 18 && !finishedAt; ++n) {
    if (!effect->Update()) finishedAt = n;
    states.push_back(model.GetState());
    // The frame tree's animation runs on the effect's time.
    EXPECT_EQ(effect->GetFrame()->GetChildren().at(0)->GetAnimationTime(), model.GetTime());
  }
  EXPECT_EQ(finishedAt, 18);
  EXPECT_EQ(states[1], TModelState::kFadeIn);
  EXPECT_EQ(states[2], TModelState::kHoldThenFadeOut);  // time 6 passed 5
  EXPECT_EQ(states[6], TModelState::kHoldThenFadeOut);
  EXPECT_EQ(states[7], TModelState::kFadeOut);  // time 11 passed 10
  effect->Detach();
}

TEST_F(ModelTest, FadeInRaisesTheFadedChannelFromZeroAndItsEndSetsTheFullColour) {
  const plat::D3DCOLORVALUE spawn{0.8f, 0.6f, 0.4f, 0.5f};
  TAddModelEffect additive("ring01_anim.frm", TModelTimes::InHoldOut(4.0f, 1.0f, 8.0f, 1.0f, 12.0f, 1.0f));
  auto effect = Spawned(additive, spawn);
  effect->Update();
  EXPECT_FLOAT_EQ(RingColour(*effect).r, 0.2f);
  EXPECT_FLOAT_EQ(RingColour(*effect).b, 0.1f);
  EXPECT_FLOAT_EQ(RingColour(*effect).a, 1.0f);  // the additive look leaves alpha to the mesh
  for (int n = 0; n < 4; ++n) effect->Update();  // time 5 passes 4
  EXPECT_FLOAT_EQ(RingColour(*effect).g, 0.6f);

  TAlphaModelEffect alpha("ring01_anim.frm", TModelTimes::InHoldOut(4.0f, 1.0f, 8.0f, 1.0f, 12.0f, 1.0f));
  auto faded = Spawned(alpha, spawn);
  faded->Update();
  EXPECT_FLOAT_EQ(RingColour(*faded).a, 0.125f);
  EXPECT_FLOAT_EQ(RingColour(*faded).r, 0.75f);  // the alpha look leaves the mesh's colour
  EXPECT_EQ(faded->GetFrame()->GetChildren().at(0)->GetMeshes().at(0).GetMaterial(0).GetRenderMode(), 2100);
  EXPECT_EQ(effect->GetFrame()->GetChildren().at(0)->GetMeshes().at(0).GetMaterial(0).GetRenderMode(), 4000);
  effect->Detach();
  faded->Detach();
}

TEST_F(ModelTest, AnEndOneOfZeroSwitchesOnTheFirstTickWithTheFullColour) {
  TAddModelEffect prototype("ring01_anim.frm", TModelTimes::InHoldOut(0.0f, 0.1f, 2.0f, 0.1f, 4.0f, 0.1f));
  auto effect = Spawned(prototype, {0.9f, 0.7f, 0.5f, 1.0f});
  TModelEffect& model = Model(effect);
  EXPECT_EQ(model.GetColourStep1().r, 0.0f);  // no fade-in ticks: no step
  EXPECT_TRUE(effect->Update());
  EXPECT_EQ(model.GetState(), TModelState::kHoldThenFadeOut);
  EXPECT_FLOAT_EQ(model.GetCurrentColour().g, 0.7f);
  EXPECT_FLOAT_EQ(RingColour(*effect).r, 0.9f);
  effect->Detach();
}

TEST_F(ModelTest, ALoopCountLeavesTheLoopAfterThatManyPassesOfEndTwo) {
  for (int32_t loops : {1, 2}) {
    SCOPED_TRACE(loops);
    TAddModelEffect prototype("ring01_anim.frm", TModelTimes::InLoopOut(1.0f, 1.0f, 3.0f, 1.0f, loops, 9.0f, 1.0f));
    auto effect = Spawned(prototype, {1, 1, 1, 1});
    TModelEffect& model = Model(effect);
    effect->Update();
    effect->Update();  // time 2 passes 1
    ASSERT_EQ(model.GetState(), TModelState::kLoop);
    for (int pass = 1; pass <= loops; ++pass) {
      EXPECT_EQ(model.GetState(), TModelState::kLoop);
      do effect->Update();
      while (model.GetTime() != 1.0f && model.GetTime() < 10.0f);  // past 3: back to 1
      EXPECT_EQ(model.GetLoopCount(), loops - pass);
    }
    EXPECT_EQ(model.GetState(), TModelState::kFadeOut);
    effect->Detach();
  }
}

TEST_F(ModelTest, LoopUntilStopRunsUntilTheStopFlagThenFadesOutNeverBelowZero) {
  TAlphaModelEffect prototype("ring01_anim.frm", TModelTimes::InLoopOut(0.0f, 1.0f, 2.0f, 1.0f, -1, 6.0f, 1.0f));
  auto effect = Spawned(prototype, {1.0f, 1.0f, 1.0f, 0.8f});
  TModelEffect& model = Model(effect);
  effect->Update();
  ASSERT_EQ(model.GetState(), TModelState::kLoopUntilStop);
  for (int n = 0; n < 50; ++n) EXPECT_TRUE(effect->Update());
  EXPECT_LE(model.GetTime(), 2.0f);
  effect->SetFlag();
  EXPECT_TRUE(effect->Update());
  EXPECT_EQ(model.GetState(), TModelState::kFadeOutClamped);
  EXPECT_EQ(model.GetTime(), 0.0f);
  // Four ticks' worth of colour over seven ticks: the last three would go below zero.
  EXPECT_EQ(UpdatesToFinish(*effect), 7);
  EXPECT_EQ(model.GetCurrentColour().a, 0.0f);
  EXPECT_EQ(RingColour(*effect).a, 0.0f);
  effect->Detach();
}

TEST_F(ModelTest, TheOtherFadesOutRunBelowZeroAndVariantAFadeInDiesAtItsEnd) {
  TAddModelEffect fadeOut("ring01_anim.frm", TModelTimes::FadeOnly(2.0f, 1.0f, false));
  auto out = Spawned(fadeOut, {1.0f, 1.0f, 1.0f, 1.0f});
  EXPECT_EQ(Model(out).GetState(), TModelState::kFadeOut);
  EXPECT_FLOAT_EQ(Model(out).GetCurrentColour().r, 1.0f);  // no fade-in: it starts at full colour
  EXPECT_EQ(UpdatesToFinish(*out), 3);
  EXPECT_FLOAT_EQ(Model(out).GetCurrentColour().r, -0.5f);
  EXPECT_FLOAT_EQ(RingColour(*out).r, -0.5f);

  TAddModelEffect fadeIn("ring01_anim.frm", TModelTimes::FadeOnly(1.0f, 0.25f, true));
  auto in = Spawned(fadeIn, {1.0f, 1.0f, 1.0f, 1.0f});
  EXPECT_EQ(UpdatesToFinish(*in), 5);
  EXPECT_FLOAT_EQ(Model(in).GetCurrentColour().r, 1.25f);
  out->Detach();
  in->Detach();
}

TEST_F(ModelTest, ClonesStartAtTimeZeroWithoutColourAndScaleTheirFrame) {
  TAddModelEffect prototype("flash01.frm", TModelTimes::InHoldOut(2.0f, 1.0f, 4.0f, 1.0f, 6.0f, 1.0f));
  auto effect = Spawned(prototype, {1, 1, 1, 1});
  effect->Update();
  effect->Update();
  effect->Update();
  auto copy = effect->Clone();
  TModelEffect& model = static_cast<TModelEffect&>(*copy);
  EXPECT_EQ(model.GetTime(), 0.0f);
  EXPECT_EQ(model.GetState(), TModelState::kHoldThenFadeOut);  // states are copied
  EXPECT_EQ(model.GetCurrentColour().r, 0.0f);
  EXPECT_EQ(model.GetColourStep1().r, 0.0f);
  EXPECT_NE(copy->GetFrame(), effect->GetFrame());
  copy->SetScale(Vec(2, 3, 4));
  EXPECT_EQ(copy->GetFrame()->GetMatrix()->_22, 3.0f);
  effect->Detach();
}

}  // namespace
