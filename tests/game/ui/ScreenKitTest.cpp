// The screen kit: the repeat rule of the screens' input, the staggered walks of their windows and
// the list pager's rows, pages and arrows.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "common/TD3D8.h"
#include "game/shell/TInput.h"
#include "game/ui/TListPager.h"
#include "game/ui/TScreenInput.h"
#include "game/ui/TScreenWindow.h"
#include "platform/window/InputState.h"
#include "tests/game/ui/MenuFixture.h"

namespace {

using menutest::MenuFixture;

class ScreenKit : public MenuFixture {
 protected:
  void SetUp() override {
    MenuFixture::SetUp();
    input = app->GetInput();
    for (int i = 0; i < 5; ++i) input->Update();  // the warm-up
  }
  // One input tick with the buttons held.
  void Sample(uint32_t buttons) {
    for (int k = 0; k < TInput::kButtonCount; ++k)
      plat::SetKeyDown(static_cast<int>(TInput::kDefaultKeys[k]), (buttons >> k & 1) != 0);
    input->Update();
  }

  TInput* input = nullptr;
};

constexpr TPagerLayout kLayout{{46, 54}, 34, {402, 32}, {402, 272}};

// Rows and pages over lists of 5, 7, 8, 10 and 12 entries: where a move from a place lands.
TEST_F(ScreenKit, ThePagerMovesByRowsAndPagesAndNeverWraps) {
  enum Move { Up, Down, PageUp, PageDown };
  struct Case {
    int32_t count;
    std::vector<Move> moves;
    int32_t top, row;
    bool upArrow, downArrow;
  };
  const Case cases[] = {
      {7, {PageDown}, 0, 6, false, false},
      {7, {PageDown, PageUp}, 0, 0, false, false},
      {10, {PageDown}, 3, 6, true, false},
      {10, {PageDown, PageUp}, 0, 0, false, true},
      {5, {PageDown}, 0, 4, false, false},
      {5, {PageDown, Down}, 0, 4, false, false},
      {8, {PageDown}, 1, 6, true, false},
      {12, {PageDown}, 5, 6, true, false},
      {12, {Down, Down, Down, Down, Down, Down, Down, Down}, 2, 6, true, true},
      {12, {PageDown, Up, Up, Up, Up, Up, Up, Up, Up}, 3, 0, true, true},
      {20, {PageDown}, 7, 0, true, true},
      {20, {PageDown, PageDown}, 13, 6, true, false},
      {10, {Up}, 0, 0, false, true},
      {0, {Down, PageDown, Up, PageUp}, 0, 0, false, false},
  };
  TListPager pager(kLayout);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " entries, " << c.moves.size() << " moves");
    pager.Reset(c.count);
    for (Move m : c.moves) {
      switch (m) {
        case Up: pager.Up(); break;
        case Down: pager.Down(); break;
        case PageUp: pager.PageUp(); break;
        case PageDown: pager.PageDown(); break;
      }
    }
    EXPECT_EQ(pager.GetTop(), c.top);
    EXPECT_EQ(pager.GetRow(), c.row);
    EXPECT_EQ(pager.ShowsUpArrow(), c.upArrow);
    EXPECT_EQ(pager.ShowsDownArrow(), c.downArrow);
  }
}

// An entry leaves the list under the cursor: the cursor keeps its row where rows below move up and
// the list scrolls back by one; on the last row it stays on the new last entry.
TEST_F(ScreenKit, WhenTheEntryUnderTheCursorLeavesTheListTheCursorKeepsItsRow) {
  struct Case {
    int32_t count, downs, ups;  // the place: Down and Up presses from the top
    int32_t top, row;           // after the removal
  };
  const Case cases[] = {
      {12, 10, 4, 3, 2},  // top 4, row 2
      {12, 2, 0, 0, 2},   // nothing above to scroll back
      {10, 9, 0, 2, 6},   // the last entry: the new last one
      {8, 7, 0, 0, 6},    // seven left, all on the page
      {5, 4, 0, 0, 3},
      {1, 0, 0, 0, 0},    // the list is empty
  };
  TListPager pager(kLayout);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " entries, " << c.downs << " down, " << c.ups << " up");
    pager.Reset(c.count);
    for (int32_t n = 0; n < c.downs; ++n) pager.Down();
    for (int32_t n = 0; n < c.ups; ++n) pager.Up();
    pager.RemoveAtCursor();
    EXPECT_EQ(pager.GetCount(), c.count - 1);
    EXPECT_EQ(pager.GetTop(), c.top);
    EXPECT_EQ(pager.GetRow(), c.row);
  }
}

// Up on the first entry and Down on the last take the key and change nothing, so the screen
// plays no sound; a held Down acts on the press, then every fifth tick once it has been held
// through the whole input history.
TEST_F(ScreenKit, PagerKeysActOnThePressAndRepeatEveryFifthTickOnceHeldThroughTheHistory) {
  TListPager pager(kLayout);
  TScreenInput keys(input);
  pager.Reset(7);
  Sample(kButtonUp);
  TPagerMove move = pager.Move(keys);
  EXPECT_TRUE(move.taken);
  EXPECT_FALSE(move.moved);
  Sample(0);
  pager.PageDown();
  Sample(kButtonDown);
  move = pager.Move(keys);
  EXPECT_TRUE(move.taken);
  EXPECT_FALSE(move.moved);
  EXPECT_EQ(pager.GetIndex(), 6);
  Sample(0);

  pager.Reset(40);
  std::vector<int> movedAt;
  for (int tick = 0; tick < 30; ++tick) {
    Sample(kButtonDown);
    keys.TakeRepeat();
    if (pager.Move(keys).moved) movedAt.push_back(tick);
  }
  ASSERT_GE(movedAt.size(), 3u);
  EXPECT_EQ(movedAt[0], 0) << "on the press";
  EXPECT_GE(movedAt[1], 9) << "not before the history is full";
  EXPECT_LE(movedAt[1], 13);
  for (size_t n = 2; n < movedAt.size(); ++n) EXPECT_EQ(movedAt[n] - movedAt[n - 1], 5) << n;
  EXPECT_EQ(pager.GetIndex(), static_cast<int32_t>(movedAt.size()));

  // Held with A, Left repeats too; A counts on its press only.
  Sample(0);
  keys.TakeRepeat();
  int lefts = 0;
  for (int tick = 0; tick < 20; ++tick) {
    Sample(kButtonA | kButtonLeft);
    keys.TakeRepeat();
    EXPECT_EQ(keys.Pressed(kButtonA), tick == 0) << tick;
    if (keys.Stepped(kButtonLeft)) ++lefts;
  }
  EXPECT_EQ(lefts, 3);
}

TEST_F(ScreenKit, ThePagerDrawsTheArrowsThatShowAndTheBobbingCursor) {
  TListPager pager(kLayout);
  TScreenWindow list(TWindowShape{"", 96, 96, 24, 24});
  pager.Reset(12);
  pager.Down();
  pager.Down();
  pager.PageDown();  // top 5, row 6: more above only
  for (int n = 0; n < 3; ++n) pager.StepBob();
  const int32_t bob = pager.Bob();
  EXPECT_EQ(bob, -1) << "-3 + 6 * 3 / 10, truncated";
  renderer->ClearLog();
  ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
  pager.Draw(list);
  TD3D8::EndScene();
  ASSERT_EQ(DrawsOf("sprite.ptx/cursor03").size(), 1u);
  EXPECT_TRUE(DrawsOf("sprite.ptx/cursor04").empty());
  const plat::RecordedDraw* up = DrawsOf("sprite.ptx/cursor03")[0];
  EXPECT_FLOAT_EQ(up->Vertex(0).position.x, 96 + 402 - 0.5f);
  EXPECT_FLOAT_EQ(up->Vertex(0).position.y, 24 + 32 - bob - 0.5f);
  ASSERT_EQ(DrawsOf("sprite.ptx/cursor02").size(), 1u);
  const plat::RecordedDraw* cursor = DrawsOf("sprite.ptx/cursor02")[0];
  EXPECT_FLOAT_EQ(cursor->Vertex(0).position.x, 96 + 46 + bob - 0.5f);
  EXPECT_FLOAT_EQ(cursor->Vertex(0).position.y, 24 + 54 + 34 * 6 - 0.5f);

  pager.Reset(0);
  renderer->ClearLog();
  ASSERT_EQ(TD3D8::BeginScene(), plat::D3D_OK);
  pager.Draw(list);
  TD3D8::EndScene();
  EXPECT_TRUE(renderer->Draws().empty()) << "an empty list shows no cursor and no arrows";
}

// The tick on which each of three windows first moves, going in and going out, and the tick on
// which the walk reports that it is over.
TEST_F(ScreenKit, StaggeredWalksStartEachWindowAtTheThresholdOfTheOneBefore) {
  struct Case {
    TStagger rule;
    std::array<int, 3> inStarts;
    int inOver;
    std::array<int, 3> outStarts;
    int outOver;
  };
  const Case cases[] = {
      {{6, 5, false}, {1, 6, 11}, 20, {1, 6, 11}, 20},
      {{5, 5, false}, {1, 5, 9}, 18, {1, 6, 11}, 20},
      {{6, 5, true}, {1, 6, 11}, 20, {1, 6, 11}, 21},
  };
  const TWindowShape shapes[3] = {{"", 0, 100, 0, 0}, {"", 0, 100, 0, 0}, {"", 0, 100, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rule.startAfter << " " << c.rule.restAtStart);
    TWindowLayout layout(shapes);
    std::array<int, 3> starts{};
    int over = 0;
    for (int tick = 1; tick <= 40 && !over; ++tick) {
      if (WalkIn(layout.All(), c.rule)) over = tick;
      for (size_t n = 0; n < 3; ++n)
        if (!starts[n] && layout[n].Step() > 0) starts[n] = tick;
    }
    EXPECT_EQ(starts, c.inStarts);
    EXPECT_EQ(over, c.inOver);
    EXPECT_EQ(layout[2].X(), 100);

    starts = {};
    over = 0;
    for (int tick = 1; tick <= 40 && !over; ++tick) {
      if (WalkOut(layout.All(), c.rule)) over = tick;
      for (size_t n = 0; n < 3; ++n)
        if (!starts[n] && layout[n].Step() < 10) starts[n] = tick;
    }
    EXPECT_EQ(starts, c.outStarts);
    EXPECT_EQ(over, c.outOver);
    EXPECT_EQ(layout[2].X(), 0);
  }
}

}  // namespace
