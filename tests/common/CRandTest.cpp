#include "common/CRand.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(CRand, FollowsTheRuntimeSequenceAndReseeds) {
  CRand r;
  EXPECT_EQ(r.Next(), 41);
  EXPECT_EQ(r.Next(), 18467);
  EXPECT_EQ(r.Next(), 6334);
  EXPECT_EQ(r.Next(), 26500);
  r.Seed(1);
  EXPECT_EQ(r.Next(), 41);
  r.Seed(0xFFFFFFFFu);  // the state wraps at 32 bits
  EXPECT_EQ(r.GetState(), 0xFFFFFFFFu);
  EXPECT_EQ(r.Next(), static_cast<int32_t>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST(CRand, EachThreadHasItsOwnSharedGenerator) {
  CRand::Shared().Seed(1);
  CRand::Shared().Next();
  int32_t other = -1;
  std::thread([&] { other = CRand::Shared().Next(); }).join();
  EXPECT_EQ(other, 41);
  EXPECT_EQ(CRand::Shared().Next(), 18467);
}

}  // namespace
