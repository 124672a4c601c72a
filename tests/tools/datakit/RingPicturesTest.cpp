// The sample's ring pictures, read back as the game reads them, laid where the HUD and the item
// screen draw them: the item icons ride on the wheel's band and the cursor frames the icon that
// letting go of the ring would use; on the skill bar the icons stand on the frame and the cursor
// frames the selected cell's icon.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/tools/datakit/PackReadBack.h"
#include "tools/datakit/SampleGameTables.h"
#include "tools/datakit/SampleTextures.h"

namespace ring_pictures_test {

using datakit_test::ReadBack;

constexpr float kSlotAngle = 0.7853982f;  // the eight slots stand 45 degrees apart
constexpr float kSlotRadius = 96;

// Whether the picture shows anything at pixel (x, y); nothing outside it.
bool Inked(const TPackPicture& p, float x, float y) {
  if (x < 0 || y < 0 || x >= static_cast<float>(p.width) || y >= static_cast<float>(p.height)) return false;
  if (!p.HasAlphaLayer()) return true;
  return p.alpha[static_cast<uint32_t>(y) * p.width + static_cast<uint32_t>(x)] != 0;
}

struct Box {
  float left, top, right, bottom;
};

// A cursor picture drawn at its own size with its corner at `at` (each texel on the screen pixel
// it is aligned to) marks the box when all its ink lies within a few pixels of the box, it shows
// on each of the box's four sides, and it leaves the middle of the box in view.
::testing::AssertionResult Marks(const TPackPicture& cursor, float atX, float atY, Box box) {
  constexpr float kNear = 4;
  const float quarterW = (box.right - box.left) / 4, quarterH = (box.bottom - box.top) / 4;
  bool left = false, right = false, top = false, bottom = false;
  for (uint32_t v = 0; v < cursor.height; ++v)
    for (uint32_t u = 0; u < cursor.width; ++u) {
      if (!Inked(cursor, static_cast<float>(u), static_cast<float>(v))) continue;
      const float x = atX + static_cast<float>(u) + 0.5f, y = atY + static_cast<float>(v) + 0.5f;
      if (x < box.left - kNear || x > box.right + kNear || y < box.top - kNear || y > box.bottom + kNear)
        return ::testing::AssertionFailure() << "ink at (" << x << ", " << y << ") away from the icon at ("
                                             << box.left << ", " << box.top << ")";
      if (x > box.left + quarterW && x < box.right - quarterW && y > box.top + quarterH && y < box.bottom - quarterH)
        return ::testing::AssertionFailure() << "ink at (" << x << ", " << y << ") hides the icon's middle";
      const bool alongY = y > box.top && y < box.bottom, alongX = x > box.left && x < box.right;
      left |= alongY && std::fabs(x - box.left) < kNear;
      right |= alongY && std::fabs(x - box.right) < kNear;
      top |= alongX && std::fabs(y - box.top) < kNear;
      bottom |= alongX && std::fabs(y - box.bottom) < kNear;
    }
  if (left && right && top && bottom) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no ink on a side of the icon at (" << box.left << ", " << box.top
                                       << "): left " << left << " right " << right << " top " << top
                                       << " bottom " << bottom;
}

class RingPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    datakit::SampleSpritePack().Save(dir / "sprite.ptx");
    datakit::WriteSampleHudPacks(dir.path() + "/");
  }
  TPackPicture Sprite(const std::string& entry) { return ReadBack(dir / "sprite.ptx", entry); }
  testkit::TempDir dir;
};

// Where a screen draws the item ring's wheel: the wheel with its corner at the wheel's place and
// turned about its centre; icon i at its own size about the icon place, moved 96 pixels along its
// angle (the wheel's angle + i × 45 degrees) and kept upright; the cursor at its own size at the
// cursor's place. The HUD's ring is shown at x = -96; the item screen's ring has come in.
struct ItemRingPlaces {
  const char* screen;
  float wheelX, wheelY, iconX, iconY, cursorX, cursorY;
};
constexpr ItemRingPlaces kItemRings[] = {
    {"HUD", -96, 162, -96 + 96, 258, -96 + 136, 258},
    {"item screen", 64, 48, 64 + 96, 48 + 96, 200, 144},
};

struct Size {
  float width, height;
  bool operator<(const Size& o) const { return width < o.width || (width == o.width && height < o.height); }
};

// The sizes of the sample's item icons.
std::set<Size> ItemIconSizes(const testkit::TempDir& dir) {
  std::set<Size> sizes;
  for (uint32_t id : datakit::SampleItemIds()) {
    const TPackPicture icon = ReadBack(dir / "itemicon.ptx", datakit::SampleItemIconEntry(id));
    sizes.insert({static_cast<float>(icon.width), static_cast<float>(icon.height)});
  }
  return sizes;
}

TEST_F(RingPicturesTest, EveryItemIconRidesOnTheWheelAsItTurns) {
  const TPackPicture wheel = Sprite("ring01_c");
  const float halfW = static_cast<float>(wheel.width) / 2, halfH = static_cast<float>(wheel.height) / 2;
  const std::set<Size> icons = ItemIconSizes(dir);
  ASSERT_FALSE(icons.empty());
  for (const ItemRingPlaces& at : kItemRings)
    for (float turn : {0.0f, 0.3f, kSlotAngle, -2 * kSlotAngle + 0.55f})
      for (int slot = 0; slot < 8; ++slot)
        for (const Size& icon : icons) {
          const float angle = static_cast<float>(slot) * kSlotAngle + turn;
          const float cx = at.iconX + icon.width / 2 + kSlotRadius * std::cos(angle);
          const float cy = at.iconY + icon.height / 2 + kSlotRadius * std::sin(angle);
          // Back through the wheel's turn about its centre to the wheel picture's pixel.
          const float dx = cx - (at.wheelX + halfW), dy = cy - (at.wheelY + halfH);
          const float c = std::cos(turn), s = std::sin(turn);
          EXPECT_TRUE(Inked(wheel, halfW + dx * c + dy * s, halfH - dx * s + dy * c))
              << at.screen << ": slot " << slot << " at wheel angle " << turn << ", icon centre (" << cx << ", "
              << cy << ") off the wheel";
        }
}

// Each turn moves every slot by the step that moves the selection, so the selected slot, the one
// letting go uses, comes to rest at angle 0: its icon stands 96 pixels right of the icon place.
TEST_F(RingPicturesTest, TheItemCursorFramesTheIconOfTheSelectedSlot) {
  const TPackPicture cursor = Sprite("ring_cursor00");
  for (const ItemRingPlaces& at : kItemRings)
    for (const Size& icon : ItemIconSizes(dir)) {
      const Box selected{at.iconX + kSlotRadius, at.iconY, at.iconX + kSlotRadius + icon.width, at.iconY + icon.height};
      EXPECT_TRUE(Marks(cursor, at.cursorX, at.cursorY, selected)) << at.screen;
    }
}

// The skill bar at (0, 416): the frame's pieces cut side by side from one picture by u (its whole
// height drawn 64 pixels tall), icon k at its own size at (32 + 48k, 440) and the cursor at its
// own size where the selected cell's icon stands.
TEST_F(RingPicturesTest, TheSkillIconsStandOnTheFrameAndTheCursorFramesTheSelectedOne) {
  struct Piece {
    float x, width, uLeft, uRight;
  };
  constexpr Piece kPieces[] = {{0, 72, 0, 0.28125f},       {72, 48, 0.28125f, 0.46875f}, {120, 48, 0.28125f, 0.46875f},
                               {168, 48, 0.28125f, 0.46875f}, {216, 72, 0.46875f, 0.75f}};
  constexpr float kBarY = 416, kPieceHeight = 64;
  const TPackPicture frame = Sprite("guage06"), cursor = Sprite("ring_cursor01");
  const float frameW = static_cast<float>(frame.width), frameH = static_cast<float>(frame.height);
  const auto onFrame = [&](float x, float y) {
    for (const Piece& piece : kPieces)
      if (x >= piece.x && x < piece.x + piece.width)
        return Inked(frame, (piece.uLeft + (x - piece.x) / piece.width * (piece.uRight - piece.uLeft)) * frameW,
                     (y - kBarY) / kPieceHeight * frameH);
    return false;
  };
  const std::pair<const char*, int> groups[] = {{"act", 5}, {"mag", 6}, {"pow", 11}, {"bon", 3}, {"atk", 13}};
  for (const auto& [stem, count] : groups)
    for (int n = 0; n < count; ++n) {
      char entry[16];
      std::snprintf(entry, sizeof entry, "%s%02d_skl", stem, n);
      const TPackPicture icon = ReadBack(dir / "skl_icon.ptx", entry);
      const float w = static_cast<float>(icon.width), h = static_cast<float>(icon.height);
      for (int k = 0; k < 5; ++k) {
        const Box box{32 + 48 * static_cast<float>(k), kBarY + 24, 32 + 48 * static_cast<float>(k) + w, kBarY + 24 + h};
        int off = 0;
        for (float y = box.top + 0.5f; y < box.bottom; ++y)
          for (float x = box.left + 0.5f; x < box.right; ++x) off += !onFrame(x, y);
        EXPECT_EQ(off, 0) << entry << " in cell " << k << ": pixels off the frame";
        EXPECT_TRUE(Marks(cursor, box.left, box.top, box)) << entry << " in cell " << k;
      }
    }
}

}  // namespace ring_pictures_test
