// The item screen: the wheel of the item ring's eight positions, the list of usable items for a
// position, what going onto the ring and coming off it does to the bag, and the counts.
#include "game/ui/TItemMenu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "game/data/TItemListTable.h"
#include "tests/game/ui/DrawnText.h"
#include "tests/game/ui/MenuScreenFixture.h"

namespace {

using menutest::MenuScreenFixture;
using V = std::vector<int32_t>;
using Stacks = std::vector<std::pair<uint32_t, int>>;

constexpr uint32_t kHerb = 1, kWater = 2, kFruit = 3, kKey = 4;  // the key may not go on the ring
constexpr float kTwoPi = 6.2831853f;
// "はずす", "ＮＯ ＩＴＥＭ"
constexpr char kRemoval[] = "\x82\xcd\x82\xb8\x82\xb7";
constexpr char kNoItem[] = "\x82\x6d\x82\x6e\x20\x82\x68\x82\x73\x82\x64\x82\x6c";

class ItemMenu : public MenuScreenFixture {
 protected:
  TItemMenu& Open() { return OpenScreen<TItemMenu>(&TItemMenu::Ring); }
  // Turned to the position, at rest.
  void TurnTo(TItemMenu& screen, int32_t position) {
    while (screen.GetPosition() != position) {
      Tick(kButtonDown);
      EXPECT_TRUE(TickUntil([&] { return screen.InPhase(&TItemMenu::Ring); }));
    }
    Sounds();
  }
  // The position's list, dropped in.
  void OpenList(TItemMenu& screen, int32_t position) {
    TurnTo(screen, position);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([&] { return !screen.InPhase(&TMenuListScreen::ListOpening); }));
    Sounds();
  }
  static bool SameGlyph(const TSprite8& a, const TSprite8& b) {
    return a.texture.GetName() == b.texture.GetName() && a.vertices[0].u == b.vertices[0].u &&
           a.vertices[0].v == b.vertices[0].v && a.vertices[3].u == b.vertices[3].u;
  }
  static const TItemEntry& Ring(uint32_t position) { return Data().GetEquipEntry(position); }
};

// Down turns the wheel on by a position with 607, eight times round to the first; the angle goes on
// to -2π rather than back to 0. A on the first position does nothing; Up from it goes to the last.
TEST_F(ItemMenu, TheWheelTurnsRoundWithoutReducingItsAngle) {
  TItemMenu& screen = Open();
  EXPECT_EQ(screen.GetWindow(TItemMenu::kRing).X(), 64);
  EXPECT_EQ(screen.GetWindow(TItemMenu::kRingCursor).X(), 200);
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kName).X(), 80);
  Press(kButtonA);
  EXPECT_EQ(Sounds(), V{});
  EXPECT_TRUE(screen.InPhase(&TItemMenu::Ring));

  for (int32_t turn = 1; turn <= 8; ++turn) {
    Tick(kButtonDown);
    EXPECT_EQ(Sounds(), V{607});
    EXPECT_TRUE(screen.InPhase(&TItemMenu::Turning));
    ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TItemMenu::Ring); }));
    EXPECT_EQ(screen.GetPosition(), turn % 8);
    EXPECT_NEAR(screen.GetWheel().GetRotation().value, -turn * kTwoPi / 8, 1e-4);
    // The selected position's icon rests at the front.
    EXPECT_NEAR(std::remainder(screen.GetWheel().GetSlotAngle(turn % 8).value, kTwoPi), 0.0f, 1e-4);
  }
  EXPECT_NEAR(screen.GetWheel().GetRotation().value, -kTwoPi, 1e-4);
  Tick(kButtonUp);
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TItemMenu::Ring); }));
  EXPECT_EQ(screen.GetPosition(), 7);
  EXPECT_NEAR(screen.GetWheel().GetRotation().value, -kTwoPi + kTwoPi / 8, 1e-4);
}

// An empty position without usable items in the bag: "ＮＯ ＩＴＥＭ", and B alone, with 606.
TEST_F(ItemMenu, AnEmptyPositionWithoutItemsShowsNoItemAndTakesOnlyB) {
  Data().AddItem(1000, 1);  // a weapon is not listed
  TItemMenu& screen = Open();
  OpenList(screen, 2);
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::EmptyList));
  renderer->ClearLog();
  for (uint32_t key : {kButtonA, kButtonUp, kButtonLeft}) Press(key);
  EXPECT_EQ(Sounds(), V{});
  ASSERT_EQ(DrawsOf("tEmpty").size(), 6u);
  EXPECT_TRUE(uitest::ShowsText(DrawsOf("tEmpty")[0]->textures[0].name, kNoItem));
  EXPECT_TRUE(DrawsOf("itemInfo0").empty());
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TItemMenu::Ring); }));
}

// An occupied position without usable items lists "はずす" alone; taking it returns the stack to
// the bag with 606 and leaves the position empty.
TEST_F(ItemMenu, TheRemovalTakesThePositionsStackOff) {
  TItemMenu& screen = Open();
  OpenList(screen, 1);  // a new game's five herbs
  EXPECT_EQ(Ids(screen), std::vector<uint32_t>{0});
  EXPECT_EQ(screen.GetRowLook(0).text, kRemoval);
  EXPECT_EQ(screen.GetRowIcon(0).texture.Object(), nullptr);
  EXPECT_EQ(screen.GetInfoId(), 0u);
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(Ring(1).id, 0u);
  EXPECT_EQ(Bag(), (Stacks{{kHerb, 5}}));
  EXPECT_EQ(screen.GetWheel().GetIcon(1).texture.Object(), nullptr);
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::ListClosing));
  EXPECT_EQ(screen.GetInfoId(), 0u);
}

// A usable item goes onto the position with its whole stack and 603, the information showing the
// ring's entry; the item it replaces goes back to the bag. An item already on the ring, or one
// that may not go on it, is refused without a sound and the list stays.
TEST_F(ItemMenu, AnItemGoesOnWithItsStackOrIsRefused) {
  Data().AddItem(kWater, 3);
  Data().AddItem(kFruit, 1);
  Data().AddItem(kKey, 1);
  Data().GetEquipEntry(0) = {kFruit, 2};  // the first position, which the screen does not change
  TItemMenu& screen = Open();
  OpenList(screen, 2);
  EXPECT_EQ(Ids(screen), (std::vector<uint32_t>{kWater, kFruit, kKey}));
  EXPECT_EQ(screen.GetInfoId(), kWater);

  struct Refusal {
    const char* what;
    int32_t row;
  };
  for (Refusal r : {Refusal{"on the ring already", 1}, Refusal{"not for the ring", 2}}) {
    SCOPED_TRACE(r.what);
    while (screen.GetPager().GetRow() != r.row) Press(kButtonDown);
    Sounds();
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{});
    EXPECT_TRUE(screen.InPhase(&TMenuListScreen::ListSelect));
    EXPECT_EQ(Ring(2).id, 0u);
  }
  Press(kButtonUp);
  Press(kButtonUp);
  Sounds();
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_EQ(Ring(2).id, kWater);
  EXPECT_EQ(Ring(2).count, 3);
  EXPECT_EQ(Bag(), (Stacks{{kFruit, 1}, {kKey, 1}}));
  EXPECT_EQ(screen.GetInfoId(), kWater);
  const std::string& name = TItemListTable::Find(kWater)->name;
  EXPECT_EQ(screen.GetNameLine(), (std::vector<TInfoPiece>{{CentredX(name), name}}));
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TItemMenu::Ring); }));

  Data().GetEquipEntry(0) = {};
  Tick(kButtonA);
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TMenuListScreen::ListSelect); }));
  EXPECT_EQ(Ids(screen), (std::vector<uint32_t>{0, kFruit, kKey})) << "the removal first";
  Press(kButtonDown);
  Tick(kButtonA);
  EXPECT_EQ(Ring(2).id, kFruit);
  EXPECT_EQ(Bag(), (Stacks{{kKey, 1}, {kWater, 3}}));
  EXPECT_EQ(screen.GetInfoId(), kFruit);
}

// The counts beside each icon: two digits, a blank before one below 10, nothing for an empty entry.
TEST_F(ItemMenu, CountsShowTwoDigitsOrABlankAndOne) {
  Data().GetEquipEntry(1).count = 99;
  Data().GetEquipEntry(3) = {kWater, 5};
  TItemMenu& screen = Open();
  TGlyphTable& glyphs = field.GetGlyphTable();
  struct Case {
    int32_t position;
    char tens, units;
  };
  for (Case c : {Case{1, '9', '9'}, Case{3, '#', '5'}, Case{2, '#', '#'}}) {
    SCOPED_TRACE(c.position);
    auto glyph = [&](char ch) -> TSprite8& { return ch == '#' ? glyphs.GetGlyph('#') : glyphs.GetDigit(ch - '0'); };
    EXPECT_TRUE(SameGlyph(screen.GetWheel().GetCountDigit(c.position, 0), glyph(c.tens)));
    EXPECT_TRUE(SameGlyph(screen.GetWheel().GetCountDigit(c.position, 1), glyph(c.units)));
  }
  EXPECT_EQ(screen.GetWheel().GetIcon(3).texture.GetName(), LoadItemIcon(kWater).texture.GetName());
}

// While the list is open the other positions' icons and counts dim to 0.4 and the wheel to 0.7.
TEST_F(ItemMenu, TheListDimsTheOtherPositionsAndTheWheel) {
  Data().AddItem(kWater, 1);
  TItemMenu& screen = Open();
  OpenList(screen, 3);
  EXPECT_EQ(screen.GetWheel().GetIcon(1).vertices[0].diffuse, Faded(1.0f, 0.4f));
  EXPECT_EQ(screen.GetWheel().GetCountDigit(1, 1).vertices[0].diffuse, Faded(1.0f, 0.4f));
  EXPECT_EQ(screen.GetWheel().GetIcon(3).vertices[0].diffuse, OpaqueGrey(1.0f));
  EXPECT_EQ(screen.GetWheel().GetWheel().vertices[0].diffuse, Faded(1.0f, 0.7f));
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kList).Y(), 32);
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kTitle).Y(), 16);
  ASSERT_TRUE(LeaveList(screen));
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(screen.GetWheel().GetIcon(1).vertices[0].diffuse, OpaqueGrey(1.0f));
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kList).Y(), -320);
}

}  // namespace
