#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/common/MeshFixture.h"
#include "tests/common/MeshSamples.h"

using namespace testkit;

namespace {

class MeshMotionTest : public MeshFixture {
 protected:
  // Clip 0: three frames at speed 1; clip 1: one frame that never moves; clip 2: speeds 2, 0.5, 1.
  TMesh8 Walker() {
    datakit::MeshFile file = MorphingStripMesh();
    file.clips.push_back({"uneven", {0, 1, 2}, {2.0f, 0.5f, 1.0f}});
    return Save("walker.tob", file.Tob());
  }
};

struct Step {
  float timeAfter;
  bool running;
};

TEST_F(MeshMotionTest, AdvanceWrapsOrHoldsInTheCallThatPassesTheLastFrame) {
  struct Case {
    const char* what;
    uint32_t clip;
    bool loop;
    float step;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases = {
      {"held at the last frame", 0, false, 1.0f, {{1, true}, {2, true}, {2, false}, {2, false}}},
      {"looped to the start", 0, true, 1.0f, {{1, true}, {2, true}, {0, false}, {1, true}}},
      {"half steps", 0, false, 0.5f, {{0.5f, true}, {1, true}, {1.5f, true}, {2, true}, {2, false}}},
      {"the speed of the frame stood on", 2, false, 1.0f, {{2, true}, {2, false}}},
      {"speed 0 never ends", 1, false, 1.0f, {{0, true}, {0, true}}},
  };
  TMesh8 mesh = Walker();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    mesh.SetMotion(c.clip);
    for (const Step& s : c.steps) {
      EXPECT_EQ(mesh.AdvanceMotion(c.loop, c.step), s.running);
      EXPECT_FLOAT_EQ(mesh.GetMotionTime(), s.timeAfter);
    }
  }
  mesh.SetMotion(0);
  EXPECT_TRUE(mesh.StepMotion(false));
  EXPECT_FLOAT_EQ(mesh.GetMotionTime(), 1.0f);
}

TEST_F(MeshMotionTest, SetTimeClampsToTheClipAndRewindStopsAtZero) {
  TMesh8 mesh = Walker();
  mesh.SetMotion(0);
  const struct {
    float asked, kept;
  } times[] = {{-1, 0}, {1.5f, 1.5f}, {2, 2}, {7, 2}, {std::numeric_limits<float>::quiet_NaN(), 0}};
  for (const auto& t : times) {
    mesh.SetMotionTime(t.asked);
    EXPECT_FLOAT_EQ(mesh.GetMotionTime(), t.kept) << t.asked;
  }
  const struct {
    float from, step, after;
    bool result;
  } rewinds[] = {{0.25f, 0.5f, 0, false}, {2, 0.5f, 1.5f, true}, {0.5f, 0.5f, 0, true}};
  for (const auto& r : rewinds) {
    mesh.SetMotionTime(r.from);
    EXPECT_EQ(mesh.RewindMotion(r.step), r.result) << r.from;
    EXPECT_FLOAT_EQ(mesh.GetMotionTime(), r.after) << r.from;
  }
  mesh.SetMotionTime(1.5f);
  mesh.SetMotion(1);
  EXPECT_EQ(mesh.GetMotion(), 1u);
  EXPECT_EQ(mesh.GetMotionTime(), 0.0f);
}

TEST_F(MeshMotionTest, BlendFramesFollowTheClipsFrameMap) {
  TMesh8 mesh = Walker();
  const struct {
    uint32_t clip;
    float time;
    uint32_t a, b;
    float w;
  } cases[] = {{0, 0, 0, 0, 0}, {0, 0.25f, 0, 1, 0.25f}, {0, 1.5f, 1, 2, 0.5f}, {0, 2, 2, 2, 0}, {1, 0, 2, 2, 0}};
  for (const auto& c : cases) {
    mesh.SetMotion(c.clip);
    mesh.SetMotionTime(c.time);
    uint32_t a, b;
    float w;
    mesh.GetBlendFrames(a, b, w);
    EXPECT_EQ(a, c.a) << c.time;
    EXPECT_EQ(b, c.b) << c.time;
    EXPECT_FLOAT_EQ(w, c.w) << c.time;
  }
}

TEST_F(MeshMotionTest, MotionChangedComparesTheExactPair) {
  TMesh8 mesh = Walker();
  EXPECT_TRUE(mesh.MotionChanged());  // nothing blended yet
  EXPECT_FALSE(mesh.MotionChanged());
  mesh.StepMotion(false);
  EXPECT_TRUE(mesh.MotionChanged());
  mesh.SetMotion(1);
  mesh.SetMotion(0);
  mesh.SetMotionTime(1.0f);
  EXPECT_FALSE(mesh.MotionChanged());  // back on the pair already blended

  TMesh8 still = Save("strip.msh", StripMesh().Msh());
  EXPECT_FALSE(still.MotionChanged());
}

// A morphing mesh without clips, or a clip index past the clips: nothing moves, nothing breaks,
// and the draw takes morph frame 0.
TEST_F(MeshMotionTest, MissingClipsMakeMotionCallsDoNothing) {
  datakit::MeshFile file = MorphingStripMesh();
  file.clips.clear();
  TMesh8 noClips = Save("still.tob", file.Tob());
  TMesh8 outOfRange = Walker();
  outOfRange.SetMotion(9);
  for (TMesh8* mesh : {&noClips, &outOfRange}) {
    EXPECT_FALSE(mesh->AdvanceMotion(true, 1.0f));
    EXPECT_EQ(mesh->GetMotionTime(), 0.0f);
    mesh->SetMotionTime(1.5f);
    EXPECT_EQ(mesh->GetMotionTime(), 0.0f);
    uint32_t a = 7, b = 7;
    float w = 7;
    mesh->GetBlendFrames(a, b, w);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 0u);
    EXPECT_EQ(w, 0.0f);
  }
}

}  // namespace
