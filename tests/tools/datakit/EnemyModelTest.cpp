#include "tools/datakit/EnemyModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(EnemyModelTest, ABoxFigureStandsOnItsOriginWithAClipPerLengthAlternatingTwoPoses) {
  datakit::EnemyFigure figure;
  figure.width = 1.0f;
  figure.height = 2.0f;
  figure.depth = 1.0f;
  const datakit::MeshFile model = datakit::EnemyModel("beast", figure, {3, 9, 0});
  ASSERT_EQ(model.frames.size(), 2u);
  ASSERT_EQ(model.clips.size(), 3u);
  EXPECT_EQ(model.clips[0].frameMap, (std::vector<uint32_t>{0, 0, 0}));
  EXPECT_EQ(model.clips[1].frameMap, (std::vector<uint32_t>{0, 0, 0, 0, 1, 1, 1, 1, 0}));
  EXPECT_EQ(model.clips[2].frameMap.size(), 1u) << "a clip has one frame at least";
  EXPECT_EQ(model.clips[1].speeds, std::vector<float>(9, 1.0f));
  EXPECT_EQ(model.materials.size(), 2u);
  float low = 1e9f, high = -1e9f, front = 1e9f;
  for (size_t i = 0; i < model.frames[0].size(); ++i) {
    const datakit::MeshVertex& v = model.frames[0][i];
    low = std::min(low, v.y);
    high = std::max(high, v.y);
    front = std::min(front, v.z);
    EXPECT_FLOAT_EQ(model.frames[1][i].y, v.y * 0.8f) << "the second pose squashed";
  }
  EXPECT_FLOAT_EQ(low, 0.0f);
  EXPECT_FLOAT_EQ(high, 2.0f);
  EXPECT_LT(front, -0.5f) << "the head stands out at the front (-z)";
}

}  // namespace
