#include "common/TAnimation8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/TFile.h"
#include "tests/common/MathChecks.h"
#include "tests/support/TempDir.h"
#include "tools/datakit/FrameWriter.h"

namespace {

using namespace mathcheck;
using datakit::AnimationBlock;
using plat::D3DXMATRIX;

constexpr float kHalfPi = 1.5707963f;
constexpr uint32_t kSentinel = 0x5EA1AB1Eu;

class AnimationTest : public ::testing::Test {
 protected:
  // Reads one block from bytes followed by a sentinel word; reports whether the reader stopped
  // exactly in front of the sentinel.
  TCountedPtr<TAnimation8> Read(const datakit::ByteWriter& bytes, bool* ok = nullptr, bool* inStep = nullptr) {
    datakit::ByteWriter w = bytes;
    w.U32(kSentinel);
    w.Save(dir / "block.bin");
    TFile file(dir / "block.bin");
    EXPECT_TRUE(file.Open(true, plat::GENERIC_READ));
    bool good = true;
    TCountedPtr<TAnimation8> block = TAnimation8::Read(file, good);
    uint32_t next = 0;
    if (ok) *ok = good;
    if (inStep) *inStep = file.Read(&next, 4) && next == kSentinel && file.Remaining() == 0;
    return block;
  }
  TCountedPtr<TAnimation8> Read(const AnimationBlock& written, bool* inStep = nullptr) {
    datakit::ByteWriter w;
    datakit::WriteAnimation(w, written);
    bool ok = false;
    TCountedPtr<TAnimation8> block = Read(w, &ok, inStep);
    EXPECT_TRUE(ok);
    return block;
  }

  testkit::TempDir dir;
};

TEST_F(AnimationTest, PositionKeysClampAndInterpolate) {
  auto block = Read(AnimationBlock{{datakit::PositionTrack({0, 10, 20}, {{2, 0, 0}, {4, 0, 0}, {8, 0, 0}})}});
  struct Case {
    float time, x;
  } cases[] = {{-3, 2}, {0, 2}, {5, 3}, {10, 4}, {15, 6}, {20, 8}, {25, 8}};
  for (const Case& c : cases) {
    const D3DXMATRIX m = block->GetMatrix(c.time, IdentityMatrix());
    EXPECT_TRUE(Near(Row(m, 3), Vec(c.x, 0, 0))) << "time " << c.time;
  }
}

TEST_F(AnimationTest, OneKeyHoldsAndEqualTimesTakeTheLaterKey) {
  auto one = Read(AnimationBlock{{datakit::ScaleTrack({7}, {{3, 3, 3}})}});
  for (float t : {-1.0f, 7.0f, 100.0f}) EXPECT_FLOAT_EQ(one->GetMatrix(t, IdentityMatrix())._11, 3) << t;

  auto same = Read(AnimationBlock{
      {datakit::PositionTrack({0, 10, 10, 20}, {{0, 0, 0}, {1, 0, 0}, {5, 0, 0}, {9, 0, 0}})}});
  EXPECT_FLOAT_EQ(same->GetMatrix(10, IdentityMatrix())._41, 5);
  EXPECT_FLOAT_EQ(same->GetMatrix(5, IdentityMatrix())._41, 0.5f);
  EXPECT_FLOAT_EQ(same->GetMatrix(15, IdentityMatrix())._41, 7);
}

TEST_F(AnimationTest, RotationKeysAreStoredConjugated) {
  // (0, sin 45°, 0, cos 45°) is +90° about y; the track turns by -90°.
  const float s = std::sin(kHalfPi / 2), c = std::cos(kHalfPi / 2);
  auto block = Read(AnimationBlock{{datakit::RotationTrack({0, 10}, {{0, 0, 0, 1}, {0, s, 0, c}})}});
  EXPECT_TRUE(Near(block->GetMatrix(10, IdentityMatrix()), RotationY(-kHalfPi)));
  EXPECT_TRUE(Near(block->GetMatrix(5, IdentityMatrix()), RotationY(-kHalfPi / 2)));
  EXPECT_TRUE(Near(Apply(block->GetMatrix(10, IdentityMatrix()), Vec(1, 0, 0)), Vec(0, 0, 1)));
}

TEST_F(AnimationTest, ScaleRotatesThenMovesWhateverTheFileOrder) {
  auto block = Read(AnimationBlock{{datakit::PositionTrack({0}, {{5, 0, 0}}), datakit::ScaleTrack({0}, {{2, 2, 2}})}});
  EXPECT_TRUE(Near(Apply(block->GetMatrix(0, IdentityMatrix()), Vec(1, 0, 0)), Vec(7, 0, 0)));
}

TEST_F(AnimationTest, WithoutPositionOnlyTheBaseTranslationIsKept) {
  const float s = std::sin(kHalfPi / 2), c = std::cos(kHalfPi / 2);
  auto block = Read(AnimationBlock{{datakit::RotationTrack({0}, {{0, -s, 0, c}})}});  // +90° about y
  // The base's own rotation and scale are not used, only its translation row.
  const D3DXMATRIX base = Scaling(3, 3, 3) * RotationY(1.0f) * Translation(1, 2, 3);
  const D3DXMATRIX m = block->GetMatrix(0, base);
  EXPECT_TRUE(Near(m, RotationY(kHalfPi) * Translation(1, 2, 3)));
  EXPECT_TRUE(Near(Apply(m, Vec(1, 0, 0)), Vec(1, 2, 2)));
}

TEST_F(AnimationTest, TrackKindsInTheFile) {
  using datakit::PositionTrack;
  struct Case {
    const char* what;
    AnimationBlock block;
    bool position;
    float x;  // of the position at time 0
  } cases[] = {
      {"an unknown kind is its kind word only", {{{7, {}, {}}, PositionTrack({0}, {{4, 0, 0}})}}, true, 4},
      {"a later track of a kind replaces the earlier",
       {{PositionTrack({0}, {{1, 0, 0}}), PositionTrack({0}, {{2, 0, 0}})}}, true, 2},
      {"a track without keys is left out", {{PositionTrack({}, {})}}, false, 0},
      {"and does not replace an earlier one", {{PositionTrack({0}, {{3, 0, 0}}), PositionTrack({}, {})}}, true, 3},
      {"no tracks", {}, false, 0},
  };
  for (const Case& c : cases) {
    bool inStep = false;
    auto block = Read(c.block, &inStep);
    EXPECT_TRUE(inStep) << c.what;
    EXPECT_EQ(block->HasPosition(), c.position) << c.what;
    EXPECT_FLOAT_EQ(block->GetMatrix(0, IdentityMatrix())._41, c.x) << c.what;
  }
}

TEST_F(AnimationTest, CountsPastTheEndAreFailedReads) {
  struct Case {
    const char* what;
    datakit::ByteWriter bytes;
    bool rotation;
  } cases[] = {
      {"track count", datakit::ByteWriter().U32(0x40000000u), false},
      {"key count", datakit::ByteWriter().U32(1).U32(2).U32(0x10000000u).U32(0), false},
      {"keys of a later track",
       datakit::ByteWriter().U32(2).U32(0).U32(1).U32(0).F32(0).F32(0).F32(0).F32(1).U32(1).U32(3).U32(0),
       true},
  };
  for (const Case& c : cases) {
    bool ok = true, inStep = true;
    // The sentinel word counts among the bytes left, so every case reads it as data or fails.
    auto block = Read(c.bytes, &ok, &inStep);
    EXPECT_FALSE(ok) << c.what;
    EXPECT_FALSE(inStep) << c.what;
    EXPECT_FALSE(block->HasPosition() || block->HasScale()) << c.what;
    EXPECT_EQ(block->HasRotation(), c.rotation) << c.what;
  }
}

}  // namespace
