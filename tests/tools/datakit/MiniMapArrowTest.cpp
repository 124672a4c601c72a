// The sample's minimap arrow, read back as the game reads it and turned as the minimap turns it:
// drawn 16 × 16 and turned about the middle of that square. Turned by less than a full turn it
// must not look as it does unturned, or the hero's way reads two ways; unturned it points up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "tests/support/TempDir.h"
#include "tests/tools/datakit/PackReadBack.h"
#include "tools/datakit/SampleTextures.h"

namespace minimap_arrow_test {

using datakit_test::ReadBack;

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kDrawn = 16;            // the arrow's square on the screen
constexpr float kMiddle = kDrawn / 2;   // where it is turned about, on both axes
constexpr int kSamples = 8;             // area samples per pixel along each axis

// The arrow's silhouette on its drawn square: whether the texel under (x, y) shows (alpha > 0).
class Silhouette {
 public:
  explicit Silhouette(TPackPicture picture) : p(std::move(picture)) {}
  bool At(float x, float y) const {
    if (x < 0 || y < 0 || x >= kDrawn || y >= kDrawn) return false;
    const auto u = static_cast<uint32_t>(x / kDrawn * static_cast<float>(p.width));
    const auto v = static_cast<uint32_t>(y / kDrawn * static_cast<float>(p.height));
    return !p.HasAlphaLayer() || p.alpha[v * p.width + u] != 0;
  }

 private:
  TPackPicture p;
};

// Where the ink's weight lies, sampled as TurnedOverlap samples it.
struct Centre {
  float x, y;
};
Centre InkCentre(const Silhouette& arrow) {
  float sx = 0, sy = 0, n = 0;
  for (int j = 0; j < static_cast<int>(kDrawn) * kSamples; ++j)
    for (int i = 0; i < static_cast<int>(kDrawn) * kSamples; ++i) {
      const float x = (static_cast<float>(i) + 0.5f) / kSamples, y = (static_cast<float>(j) + 0.5f) / kSamples;
      if (!arrow.At(x, y)) continue;
      sx += x;
      sy += y;
      n += 1;
    }
  return n == 0 ? Centre{kMiddle, kMiddle} : Centre{sx / n, sy / n};
}

// Intersection over union of the silhouette and the silhouette turned by `angle` (clockwise on the
// screen, as a z rotation turns it) about `about`, both sampled kSamples² times a pixel over every
// place a turn can carry the square's corners to.
float TurnedOverlap(const Silhouette& arrow, float angle, Centre about) {
  const float c = std::cos(angle), s = std::sin(angle);
  const float reach = std::ceil(kDrawn * std::sqrt(2.0f));
  const int steps = static_cast<int>(2 * reach) * kSamples;
  int both = 0, either = 0;
  for (int j = 0; j < steps; ++j)
    for (int i = 0; i < steps; ++i) {
      const float dx = -reach + (static_cast<float>(i) + 0.5f) / kSamples;
      const float dy = -reach + (static_cast<float>(j) + 0.5f) / kSamples;
      const bool still = arrow.At(about.x + dx, about.y + dy);
      // The turned arrow shows here what the unturned one shows where the turn brought it from.
      const bool turned = arrow.At(about.x + dx * c + dy * s, about.y - dx * s + dy * c);
      both += still && turned;
      either += still || turned;
    }
  return either == 0 ? 0.0f : static_cast<float>(both) / static_cast<float>(either);
}

class MiniMapArrowTest : public ::testing::Test {
 protected:
  void SetUp() override { datakit::SampleSpritePack().Save(dir / "sprite.ptx"); }
  Silhouette Arrow() { return Silhouette(ReadBack(dir / "sprite.ptx", "cursor05")); }
  testkit::TempDir dir;
};

// A glance reads the arrow's shape, wherever on its square it stands: a turned copy laid over
// the arrow about the ink's own centre that still covers most of it is one the eye takes for it.
// A triangle as wide as it is high covers most of itself a third of a turn on. Turns of a sixth,
// a third and a half catch a picture that repeats six, three or two times a turn. Turned about
// the square's middle, as the minimap turns it, the copy must not cover it much either.
TEST_F(MiniMapArrowTest, NoTurnShortOfAFullOneLooksLikeTheUnturnedArrow) {
  constexpr float kMostOverlap = 0.45f;
  const Silhouette arrow = Arrow();
  const Centre ink = InkCentre(arrow), square{kMiddle, kMiddle};
  EXPECT_FLOAT_EQ(TurnedOverlap(arrow, 0, ink), 1.0f) << "the arrow has no ink";
  for (int degrees : {60, 120, 180}) {
    const float angle = static_cast<float>(degrees) * kPi / 180;
    const float shape = TurnedOverlap(arrow, angle, ink), inPlace = TurnedOverlap(arrow, angle, square);
    RecordProperty("overlap_" + std::to_string(degrees), std::to_string(shape));
    RecordProperty("overlap_in_place_" + std::to_string(degrees), std::to_string(inPlace));
    EXPECT_LT(shape, kMostOverlap) << "turned by " << degrees << " degrees about the ink's centre";
    EXPECT_LT(inPlace, kMostOverlap) << "turned by " << degrees << " degrees about the square's middle";
  }
}

// Unturned, the arrow points north: its ink narrows to a tip at the top, is widest in its lower
// half and stands in the middle of its square, so the turn turns it in place.
TEST_F(MiniMapArrowTest, UnturnedItPointsUpFromTheMiddleOfItsSquare) {
  const Silhouette arrow = Arrow();
  int top = -1, bottom = -1, left = static_cast<int>(kDrawn), right = -1, widestRow = -1, widest = 0, tipWidth = 0;
  for (int y = 0; y < static_cast<int>(kDrawn); ++y) {
    int width = 0, first = -1, last = -1;
    for (int x = 0; x < static_cast<int>(kDrawn); ++x)
      if (arrow.At(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f)) {
        ++width;
        if (first < 0) first = x;
        last = x;
      }
    if (width == 0) continue;
    if (top < 0) {
      top = y;
      tipWidth = width;
      EXPECT_NEAR((first + last + 1) / 2.0f, kMiddle, 0.5f) << "the tip stands off the arrow's axis";
    }
    bottom = y;
    left = std::min(left, first);
    right = std::max(right, last);
    if (width > widest) {
      widest = width;
      widestRow = y;
    }
  }
  ASSERT_GE(top, 0) << "the arrow has no ink";
  EXPECT_LE(tipWidth * 4, widest) << "the top row is no tip";
  EXPECT_GE(static_cast<float>(widestRow) + 0.5f, kMiddle) << "widest above the middle";
  EXPECT_NEAR((left + right + 1) / 2.0f, kMiddle, 0.5f) << "off the middle across";
  EXPECT_NEAR((top + bottom + 1) / 2.0f, kMiddle, 1.0f) << "off the middle up or down";
}

}  // namespace minimap_arrow_test
