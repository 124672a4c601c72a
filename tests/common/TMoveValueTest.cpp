#include "common/TMoveValue.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MoveValueI, SlidesInTenTruncatedStepsThenReportsTheEnd) {
  TMoveValueI t;
  t.Set(500, 344, 10, 0);
  EXPECT_EQ(t.value, 500);
  std::vector<int32_t> seen;
  while (t.Forward()) seen.push_back(t.value);
  EXPECT_EQ(seen, (std::vector<int32_t>{485, 469, 454, 438, 422, 407, 391, 376, 360, 344}));
  EXPECT_FALSE(t.Forward());
  EXPECT_EQ(t.value, 344);
  EXPECT_EQ(t.step, 10);

  EXPECT_TRUE(t.Backward());
  EXPECT_EQ(t.value, 360);
  t.Set(-170, 80, 10, 4);  // set part way: the value at that step
  EXPECT_EQ(t.value, -70);
  t.Finish();
  EXPECT_EQ(t.step, 10);
  EXPECT_EQ(t.value, -70) << "Finish leaves the value";
  EXPECT_FALSE(t.Forward());
  EXPECT_EQ(t.value, 80);
}

TEST(MoveValueI, BackwardStopsAtTheStartKeepingTheValue) {
  TMoveValueI t;
  t.Set(0, 100, 4, 1);
  EXPECT_TRUE(t.Backward());
  EXPECT_EQ(t.value, 0);
  t.value = 7;
  EXPECT_FALSE(t.Backward());
  EXPECT_EQ(t.step, 0);
  EXPECT_EQ(t.value, 7);
}

TEST(MoveValueI, ExtremeSpansWrapAndNoFramesNeverDivide) {
  TMoveValueI t;
  t.Set(-2147483647 - 1, 2147483647, 2, 1);  // the span wraps to -1: -1 / 2 is 0
  EXPECT_EQ(t.value, -2147483647 - 1);
  t.Set(3, 9, 0, 1);
  EXPECT_EQ(t.value, 9);
  EXPECT_FALSE(t.Forward());
}

TEST(MoveValue, FloatTweenKeepsTheSameRules) {
  TMoveValue t;
  t.Set(1.0f, 0.0f, 10, 0);
  EXPECT_FLOAT_EQ(t.value, 1.0f);
  for (int i = 1; i <= 10; ++i) {
    EXPECT_TRUE(t.Forward());
    EXPECT_FLOAT_EQ(t.value, 1.0f - i / 10.0f);
  }
  EXPECT_FALSE(t.Forward());
  EXPECT_FLOAT_EQ(t.value, 0.0f);
  EXPECT_TRUE(t.Backward());
  EXPECT_FLOAT_EQ(t.value, 0.1f);
  t.Set(1.0f, 0.0f, 10, 1);
  EXPECT_TRUE(t.Backward());
  EXPECT_FLOAT_EQ(t.value, 1.0f);
  t.value = 0.5f;
  EXPECT_FALSE(t.Backward());
  EXPECT_EQ(t.step, 0);
  EXPECT_FLOAT_EQ(t.value, 0.5f) << "at the start the value is left as it is";
}

std::vector<float> Steps(TLoopValue& loop, int ticks) {
  std::vector<float> values;
  for (int i = 0; i < ticks; ++i) {
    loop.Step();
    values.push_back(loop.Value());
  }
  return values;
}

TEST(LoopValue, BackAndForthTurnsWithoutAnExtraTickAndComesToRest) {
  TLoopValue shake;
  shake.Set(0.1f, -0.1f, 2, 8, true);
  EXPECT_FLOAT_EQ(shake.Value(), 0.1f);
  const std::vector<float> values = Steps(shake, 20);
  // Eight swings of two ticks each, then it rests at the end of the eighth (back at 0.1).
  const std::vector<float> expected = {0.0f, -0.1f, 0.0f, 0.1f, 0.0f, -0.1f, 0.0f, 0.1f, 0.0f, -0.1f,
                                       0.0f, 0.1f,  0.0f, -0.1f, 0.0f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f};
  ASSERT_EQ(values.size(), expected.size());
  for (size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], expected[i], 1e-6) << "tick " << i + 1;
  EXPECT_EQ(shake.repeatsDone, 8);
}

TEST(LoopValue, ForeverNeverCountsAndARestartShowsTheStartForATick) {
  TLoopValue bob;
  bob.Set(-3.0f, 3.0f, 10, TLoopValue::kForever, true);
  Steps(bob, 1000);
  EXPECT_EQ(bob.repeatsDone, 0);
  EXPECT_FLOAT_EQ(bob.Value(), -3.0f) << "1000 ticks: 100 swings, back at the start";

  TLoopValue saw;
  saw.Set(0.0f, 2.0f, 2, 2, false);
  EXPECT_EQ(Steps(saw, 7), (std::vector<float>{1.0f, 2.0f, 0.0f, 1.0f, 2.0f, 2.0f, 2.0f}));
}

}  // namespace
