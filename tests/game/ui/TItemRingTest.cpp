#include "game/ui/TItemRing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/shell/TInput.h"
#include "tests/game/ui/HudFixture.h"

namespace {

class ItemRing : public HudFixture {
 protected:
  void SetUp() override {
    HudFixture::SetUp();
    Data().GetEquipEntry(1) = {1, 9};
    Data().GetEquipEntry(2) = {2, 12};
    Data().GetEquipEntry(3) = {3, 0};
    Data().GetEquipEntry(7) = {2, 5};
    ring = TItemRing::Create(glyphs.get());
    ASSERT_TRUE(ring);
    ring->Reset();
  }
  // One tick with the pad word; the ring's answer.
  bool Tick(uint32_t buttons = 0) {
    player.Press(buttons);
    return ring->Step(player);
  }
  // Holds the ring button until the ring is open.
  void Open() {
    player.ringKey = true;
    EXPECT_FALSE(Tick()) << "the tick that opens it still leaves the pad to the character";
    ASSERT_TRUE(ring->IsOpen());
  }
  // Lets go and ticks until the ring has slid out; the ticks taken.
  int Release() {
    player.ringKey = false;
    int ticks = 0;
    while (!ring->IsClosed() && ticks < 50) {
      Tick();
      ++ticks;
    }
    return ticks;
  }

  TCountedPtr<TItemRing> ring;
};

TEST_F(ItemRing, UpFromSlotZeroSelectsSlotSevenAndTurnsTheWheelAnEighth) {
  Open();
  EXPECT_TRUE(Tick(kButtonUp));
  EXPECT_EQ(ring->GetCursor(), 7);
  EXPECT_TRUE(Played(TItemRing::kSoundTurn));
  TRingWheel& wheel = ring->GetWheel();
  for (int n = 1; n < 10; ++n) {
    EXPECT_TRUE(Tick(kButtonUp)) << "held: no second turn";
    EXPECT_LT(wheel.GetRotation().value, 0.7853982f) << n;
  }
  Tick();
  EXPECT_FLOAT_EQ(wheel.GetRotation().value, 0.7853982f);
  EXPECT_FLOAT_EQ(wheel.GetSlotAngle(3).value, 4 * 0.7853982f);
  EXPECT_FALSE(Played(TItemRing::kSoundTurn));

  // Down twice turns back past the start, one slot a press, and wraps the cursor.
  Tick(kButtonDown);
  Tick();
  Tick(kButtonDown);
  EXPECT_EQ(ring->GetCursor(), 1);
  EXPECT_FLOAT_EQ(wheel.GetRotation().end, -0.7853982f);
  EXPECT_FLOAT_EQ(wheel.GetRotation().start, 0.0f) << "a new turn starts where the last one ends";
}

TEST_F(ItemRing, LettingGoUsesTheSelectedItemButNeverSlotZeroOrAnEmptyCount) {
  struct Case {
    int downs;
    std::vector<uint32_t> used;
  } cases[] = {{0, {}}, {1, {1}}, {2, {2}}, {3, {}}, {4, {}}};  // slot 3 holds none, slot 4 nothing
  for (const Case& c : cases) {
    SCOPED_TRACE(c.downs);
    player.used.clear();
    Open();
    for (int n = 0; n < c.downs; ++n) {
      Tick(kButtonDown);
      Tick();
    }
    Release();
    EXPECT_EQ(player.used, c.used);
    Tick();
  }
}

TEST_F(ItemRing, CountsShowABlankTensBelowTen) {
  struct Case {
    int slot;
    char tens, units;
  } cases[] = {{1, '#', '9'}, {2, '1', '2'}, {3, '#', '0'}, {4, '#', '#'}, {0, '#', '#'}};
  for (const Case& c : cases) {
    EXPECT_TRUE(ShowsGlyph(ring->GetWheel().GetCountDigit(c.slot, 0), c.tens)) << c.slot;
    EXPECT_TRUE(ShowsGlyph(ring->GetWheel().GetCountDigit(c.slot, 1), c.units)) << c.slot;
  }
  // While open the counts follow the game data every tick.
  Open();
  Data().GetEquipEntry(1).count = 10;
  Tick();
  EXPECT_TRUE(ShowsGlyph(ring->GetWheel().GetCountDigit(1, 0), '1'));
  EXPECT_TRUE(ShowsGlyph(ring->GetWheel().GetCountDigit(1, 1), '0'));
}

TEST_F(ItemRing, EveryOpeningStartsAtSlotZeroAndAngleZero) {
  Open();
  Tick(kButtonUp);
  Tick();
  Release();
  EXPECT_EQ(ring->GetCursor(), 7) << "the cursor stays while the ring slides out";
  Tick();
  EXPECT_EQ(ring->GetCursor(), 0);
  Open();
  EXPECT_EQ(ring->GetCursor(), 0);
  EXPECT_EQ(ring->GetWheel().GetRotation().value, 0.0f);
  EXPECT_FLOAT_EQ(ring->GetWheel().GetSlotAngle(2).value, 2 * 0.7853982f);
}

TEST_F(ItemRing, SlidesInAndOutInTenTicksAndLettingGoEarlyClosesFromWhereItIs) {
  Open();
  for (int n = 0; n < 10; ++n) Tick();
  EXPECT_FLOAT_EQ(ring->GetSlide().value, -96);
  EXPECT_EQ(Release(), 11) << "the tick that lets go, then ten sliding out";

  Tick();
  Open();
  for (int n = 0; n < 4; ++n) Tick();
  EXPECT_FLOAT_EQ(ring->GetSlide().value, -266 + 170 * 0.4f);
  EXPECT_EQ(Release(), 6) << "the tick that lets go still slides in a step";
  EXPECT_FLOAT_EQ(ring->GetSlide().value, -266);
}

TEST_F(ItemRing, DrawsTheWheelAndKeepsEachIconUprightOnItsCircle) {
  device.renderer->ClearLog();
  ring->Draw();
  EXPECT_TRUE(Draws().empty()) << "nothing while closed";

  Open();
  for (int n = 0; n < 10; ++n) Tick();
  device.renderer->ClearLog();
  ring->Draw();
  const std::vector<Quad> wheel = QuadsOf("sprite.ptx/ring01_c");
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_FLOAT_EQ(wheel[0].left, -96);
  EXPECT_FLOAT_EQ(wheel[0].top, 162);
  EXPECT_FLOAT_EQ(wheel[0].Width(), 224);
  // Slot 2 stands a quarter turn round: 96 pixels below the centre, upright and unturned.
  const std::vector<Quad> icon = QuadsOf("itemicon.ptx/" + datakit::SampleItemIconEntry(2));
  ASSERT_EQ(icon.size(), 2u) << "slots 2 and 7 hold item 2";
  EXPECT_NEAR(icon[0].left, -96 + 96, 1e-3f);
  EXPECT_NEAR(icon[0].top, 258 + 96, 1e-3f);
  EXPECT_NEAR(icon[0].Width(), 32, 1e-3f);
  // Slot 7 stands an eighth short of a whole turn.
  EXPECT_NEAR(icon[1].left, 96 * std::cos(7 * 0.7853982f), 1e-3f);
  EXPECT_NEAR(icon[1].top, 258 + 96 * std::sin(7 * 0.7853982f), 1e-3f);
  const std::vector<Quad> cursor = QuadsOf("sprite.ptx/ring_cursor00");
  ASSERT_EQ(cursor.size(), 1u);
  EXPECT_FLOAT_EQ(cursor[0].left, -96 + 136 - 0.5f);
  EXPECT_FLOAT_EQ(cursor[0].top, 258 - 0.5f);
}

}  // namespace
