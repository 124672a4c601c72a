#include "common/TTriangle8.h"

#include <gtest/gtest.h>

#include "tests/common/MathChecks.h"

namespace {

using namespace mathcheck;
using plat::D3DXVECTOR3;

// Records what the hook saw.
class Face : public TTriangle8 {
 public:
  uint32_t extra = 0;
  D3DXVECTOR3 normalSeen;

 protected:
  void OnSet(uint32_t e) override {
    extra = e;
    normalSeen = normal;
  }
};

TEST(Triangle, NormalDistanceAndHook) {
  struct Case {
    const char* what;
    D3DXVECTOR3 a, b, c;
    D3DXVECTOR3 normal;
    float distance, length;
  } cases[] = {
      {"floor", Vec(0, 0, 0), Vec(1, 0, 0), Vec(0, 0, 1), Vec(0, -1, 0), 0, 1},
      {"other winding", Vec(0, 0, 0), Vec(0, 0, 1), Vec(1, 0, 0), Vec(0, 1, 0), 0, 1},
      {"raised and scaled", Vec(0, 2, 0), Vec(0, 2, 5), Vec(5, 2, 0), Vec(0, 1, 0), -2, 1},
      {"wall", Vec(3, 0, 0), Vec(3, 1, 0), Vec(3, 0, 1), Vec(1, 0, 0), -3, 1},
      {"collinear", Vec(0, 0, 0), Vec(1, 1, 1), Vec(2, 2, 2), Vec(0, 0, 0), 0, 0},
      {"one point", Vec(4, 4, 4), Vec(4, 4, 4), Vec(4, 4, 4), Vec(0, 0, 0), 0, 0},
  };
  uint32_t extra = 7;
  for (const Case& c : cases) {
    Face f;
    f.Set(c.a, c.b, c.c, ++extra);
    EXPECT_TRUE(Near(f.normal, c.normal)) << c.what;
    EXPECT_FLOAT_EQ(f.distance, c.distance) << c.what;
    EXPECT_FLOAT_EQ(f.normalLength, c.length) << c.what;
    EXPECT_TRUE(Near(f.p1, c.b)) << c.what;
    EXPECT_EQ(f.extra, extra) << c.what;
    EXPECT_TRUE(Near(f.normalSeen, c.normal)) << "the hook runs after the plane is set: " << c.what;
  }
}

}  // namespace
