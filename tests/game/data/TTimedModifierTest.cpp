#include "game/data/TTimedModifier.h"

#include <gtest/gtest.h>

namespace {

TCountedPtr<TItemEffect> Effect(int32_t duration, std::array<int32_t, 4> boosts) {
  return MakeCounted<TItemEffect>(TItemEffect{7, duration, 0, 0, boosts, 0});
}

TEST(TimedModifier, StartsEmptyAndInactive) {
  TTimedModifier m;
  EXPECT_FALSE(m.IsActive());
  EXPECT_EQ(m.GetValues(), (std::array<int32_t, 4>{}));
  EXPECT_FALSE(m.GetSource().Owns());
  EXPECT_EQ(m.GetSource().GetCount(), 1);
  m.Clear();  // clearing an empty record changes nothing
  EXPECT_FALSE(m.IsActive());
}

TEST(TimedModifier, CounterZeroGivesExactlyOneMoreActiveFrame) {
  TTimedModifier m;
  m.Assign(Effect(0, {5, 0, 0, 0}));
  EXPECT_TRUE(m.IsActive());
  m.Tick();
  EXPECT_EQ(m.GetSource()->duration, -1);
  EXPECT_FALSE(m.IsActive());
  EXPECT_EQ(m.GetValues(), (std::array<int32_t, 4>{}));
  EXPECT_TRUE(m.GetSource());  // the source stays attached until the next Assign or Clear
}

TEST(TimedModifier, ZeroValuesWithASourceAreInactive) {
  TTimedModifier m;
  m.Assign(Effect(10, {0, 0, 0, 0}));
  EXPECT_FALSE(m.IsActive());
}

TEST(TimedModifier, SharedSourceCountsDownOncePerHolder) {
  auto effect = Effect(3, {1, 2, 3, 4});
  TTimedModifier a, b;
  a.Assign(effect);
  b.Assign(effect);
  EXPECT_EQ(effect.GetCount(), 3);
  a.Tick();
  b.Tick();
  EXPECT_EQ(effect->duration, 1);
  a.Tick();
  b.Tick();
  EXPECT_TRUE(a.IsActive());   // counter 0 after a's tick
  EXPECT_FALSE(b.IsActive());  // -1 after b's
}

TEST(TimedModifier, AssigningTheSameSourceOnlyRefreshesValues) {
  auto effect = Effect(3, {1, 2, 3, 4});
  TTimedModifier m;
  m.Assign(effect);
  effect->boosts = {9, 9, 9, 9};
  m.Assign(effect);
  EXPECT_EQ(effect.GetCount(), 2);
  EXPECT_EQ(m.GetValues(), (std::array<int32_t, 4>{9, 9, 9, 9}));

  auto other = Effect(1, {6, 0, 0, 0});
  m.Assign(other);
  EXPECT_EQ(effect.GetCount(), 1);  // the old share was released
  EXPECT_EQ(m.GetValues()[0], 6);
  m.Clear();
  EXPECT_EQ(other.GetCount(), 1);
  EXPECT_FALSE(m.IsActive());
}

}  // namespace
