#include "game/effect/MtRandomState.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(MtRandom, UnseededIsSeed5489) {
  MtRandomState never;
  EXPECT_EQ(never.Next(), 3499211612u);
  MtRandomState seeded;
  seeded.Seed(5489);
  EXPECT_EQ(seeded.Next(), 3499211612u);
  std::mt19937 reference;  // the standard library's default seed is 5489 too
  reference();
  for (int i = 1; i < 2000; ++i) {
    uint32_t expected = reference();
    ASSERT_EQ(never.Next(), expected) << i;
    ASSERT_EQ(seeded.Next(), expected) << i;
  }
}

TEST(MtRandom, MatchesTheReferenceAcrossTheSecondTwist) {
  for (uint32_t seed : {0u, 1u, 0xFFFFFFFFu, 123456789u}) {
    SeedRand(seed);
    std::mt19937 reference(seed);
    for (int call = 1; call <= 1300; ++call) ASSERT_EQ(GenRand(), reference()) << seed << " call " << call;
  }
}

TEST(MtRandom, TheThirtyOneBitFormTakesTheNextWordOfTheSameStream) {
  SeedRand(42);
  std::mt19937 reference(42);
  for (int call = 1; call <= 10; ++call) {
    ASSERT_EQ(GenRand31(), reference() >> 1) << call;
    ASSERT_EQ(GenRand(), reference()) << call;
  }
}

}  // namespace
