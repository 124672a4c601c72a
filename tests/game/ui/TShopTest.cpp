// The buy shop and the sell shop: the list, the quantity window bounded by the gold, the room for
// 99 or the count owned, the confirmation and the deal, the dimmed rows and the empty list.
#include "game/ui/TShop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/data/GameGlobals.h"
#include "game/data/TItemListTable.h"
#include "tests/game/ui/ShopFixture.h"
#include "tools/datakit/SampleGameTables.h"

namespace {

using V = std::vector<int32_t>;

// Sample items: a usable item at 40, a bow the hero may not hold, a crown dearer than 4000 and a
// ring; a sword at 100; the key the shops never buy back.
constexpr uint32_t kWater = 2, kBow = 1005, kCrown = 2003, kRing = 2001, kSword = 1000, kKey = 4;
constexpr uint32_t kNothing = 2000;  // "---", which sells for nothing

const std::string kBell = " \x83\x78\x83\x8b";

class Shop : public shoptest::ShopFixture {
 protected:
  TShop& Open(TShop* shop) {
    TShop& s = OpenOverField([shop] { return shop; });
    EXPECT_TRUE(TickUntil([&s] { return s.InPhase(&TShop::Select) || s.InPhase(&TShop::EmptyList); }));
    Sounds();
    return s;
  }
  TShop& OpenBuy(std::vector<uint32_t> ids) { return Open(new TBuyShop(*app, std::move(ids))); }
  TShop& OpenSell() { return Open(new TSellShop(*app)); }
  // Presses the buttons and waits for the phase.
  template <class P>
  void PressUntil(uint32_t buttons, TShop& s, P phase) {
    Press(buttons);
    EXPECT_TRUE(TickUntil([&s, phase] { return s.InPhase(phase); }));
  }
  void PressTimes(uint32_t buttons, int n) {
    for (int i = 0; i < n; ++i) Press(buttons);
  }
  static uint32_t Owned(uint32_t id) {
    const TItemEntry* entry = Data().FindItem(id);
    return entry ? entry->count : 0;
  }
  static std::string Name(uint32_t id) { return TItemListTable::Find(id)->name; }
  static std::string Padded(const std::string& name) { return name + std::string(16 - name.size(), ' '); }
};

TEST_F(Shop, TheGoldBoundsTheQuantityAndTheRoomForNinetyNineBoundsItToo) {
  Data().SetGold(850);
  TShop& s = OpenBuy({kSword});
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_EQ(s.GetQuantity(), 1);
  PressTimes(kButtonLeft, 2);
  EXPECT_EQ(s.GetQuantity(), 3);
  EXPECT_EQ(Sounds(), V{601});
  Press(kButtonUp);
  EXPECT_EQ(s.GetQuantity(), 8) << "the most 850 pays for";
  EXPECT_EQ(Sounds(), V{601});
  Press(kButtonLeft);
  EXPECT_EQ(s.GetQuantity(), 8);
  EXPECT_EQ(Sounds(), V{}) << "nothing changed";
  EXPECT_EQ(s.GetQuantityLine(), Padded(Name(kSword)) + " \x81\x7e  8 \x81\x81      800" + kBell);
  Press(kButtonDown);
  EXPECT_EQ(s.GetQuantity(), 0);
  Sounds();
  PressUntil(kButtonB, s, &TShop::Select);
  EXPECT_EQ(Sounds(), V{606});

  Data().AddItem(kSword, 95);
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(s.GetQuantity(), 1);
  EXPECT_EQ(s.GetOwnedLine(), "95");
  Press(kButtonUp);
  EXPECT_EQ(s.GetQuantity(), 4) << "room for four more";
  PressUntil(kButtonB, s, &TShop::Select);

  Data().AddItem(kSword, 4);
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(s.GetQuantity(), 0) << "99 owned";
  Sounds();
  PressUntil(kButtonA, s, &TShop::Select);
  EXPECT_EQ(Sounds(), V{606}) << "A on 0 closes the window";
}

// Gold that pays exactly: an item whose price is all the gold is not too dear and opens the
// quantity; 800 pays for eight at 100, by Up from one and one at a time, and buying them leaves 0.
TEST_F(Shop, GoldEqualToTheCostPaysForIt) {
  Data().SetGold(100);
  TShop& s = OpenBuy({kSword});
  EXPECT_EQ(s.GetRowText(0).vertices[0].diffuse, 0xFFFFFFFFu) << "not dimmed";
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_EQ(s.GetQuantity(), 1);
  PressUntil(kButtonB, s, &TShop::Select);

  Data().SetGold(800);
  PressUntil(kButtonA, s, &TShop::Quantity);
  Press(kButtonUp);
  EXPECT_EQ(s.GetQuantity(), 8);
  PressTimes(kButtonRight, 8);
  PressTimes(kButtonLeft, 9);
  EXPECT_EQ(s.GetQuantity(), 8);
  PressUntil(kButtonA, s, &TShop::Confirm);
  Press(kButtonA);
  EXPECT_EQ(Owned(kSword), 8u);
  EXPECT_EQ(Data().GetGold(), 0u);
}

// Rows the gold cannot pay for are grey 102, a weapon the hero may not hold has its icon at 178;
// A on a row dearer than the gold is refused.
TEST_F(Shop, DearRowsAreGreyAndRefusedAndAWeaponTheMemberMayNotHoldHasAGreyIcon) {
  TShop& s = OpenBuy({kWater, kBow, kCrown, kRing});
  const uint32_t white = 0xFFFFFFFF, grey102 = 0xFF666666, grey178 = 0xFFB2B2B2;
  const uint32_t texts[] = {white, white, grey102, white}, icons[] = {white, grey178, white, white};
  for (int32_t row = 0; row < 4; ++row) {
    EXPECT_EQ(s.GetRowText(row).vertices[0].diffuse, texts[row]) << row;
    EXPECT_EQ(s.GetRowIcon(row).vertices[0].diffuse, icons[row]) << row;
  }
  EXPECT_EQ(s.GetRowPieces(0), (std::vector<TInfoPiece>{{0, Name(kWater)}, {174, "      40" + kBell}}));
  EXPECT_EQ(s.GetGoldLine(), "    4000" + kBell);

  PressTimes(kButtonDown, 2);
  EXPECT_EQ(Sounds(), V{601});
  Press(kButtonA);
  EXPECT_EQ(Sounds(), V{608});
  EXPECT_TRUE(s.InPhase(&TShop::Select));

  // With the quantity window open the list dims: the rows toward 0.3, the icons by their own way.
  PressTimes(kButtonUp, 2);
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(s.GetWindow(TShop::kList).sprite.vertices[0].diffuse, grey178);
  EXPECT_FLOAT_EQ(s.GetRowShade(0).value, 0.3f);
  EXPECT_FLOAT_EQ(s.GetIconShade(1).value, 0.5f);
  EXPECT_EQ(s.GetRowText(0).vertices[0].diffuse, 0xFF4C4C4Cu);
  EXPECT_EQ(s.GetWindow(TShop::kQuantity).Y(), 128);
  EXPECT_EQ(s.GetWindow(TShop::kOwned).X(), 408);
}

// Three are bought through the confirmation, after one look at Cancel: the count, the gold, the
// gold line and the sound follow.
TEST_F(Shop, BuyingThreeAddsThemAndSpendsTheirPrice) {
  TShop& s = OpenBuy({kRing, kWater});
  PressUntil(kButtonDown, s, &TShop::Select);
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(s.GetOwnedLine(), "0");
  PressTimes(kButtonLeft, 2);
  EXPECT_EQ(s.GetQuantityLine(), Padded(Name(kWater)) + " \x81\x7e  3 \x81\x81      120" + kBell);
  PressUntil(kButtonA, s, &TShop::Confirm);
  EXPECT_EQ(s.GetChoice(), TShop::kChoiceDeal);
  EXPECT_EQ(s.GetWindow(TShop::kConfirm).X(), 464);
  Sounds();
  Press(kButtonDown);
  EXPECT_EQ(s.GetChoice(), TShop::kChoiceCancel);
  EXPECT_EQ(Sounds(), V{601});
  PressUntil(kButtonA, s, &TShop::Quantity);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(Owned(kWater), 0u);

  PressUntil(kButtonA, s, &TShop::Confirm);
  EXPECT_EQ(s.GetChoice(), TShop::kChoiceDeal);
  Sounds();
  Press(kButtonA);
  EXPECT_EQ(Owned(kWater), 3u);
  EXPECT_EQ(Data().GetGold(), 4000u - 3 * 40);
  EXPECT_EQ(Sounds(), V{217});
  EXPECT_EQ(s.GetGoldLine(), "    3880" + kBell);
  EXPECT_TRUE(TickUntil([&s] { return s.InPhase(&TShop::Select); }));
  EXPECT_EQ(s.GetPager().GetIndex(), 1);

  // B closes the shop: the windows slide out, the board fades, and the field is in front again.
  Press(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([this] { return Current<menutest::PaintedField>() != nullptr; }));
}

// Nothing offered: the cursor stays on row 0 and A is refused.
TEST_F(Shop, AShopWithNothingOfferedKeepsItsCursorAndRefusesA) {
  TShop& s = OpenBuy({});
  EXPECT_TRUE(s.InPhase(&TShop::Select));
  for (uint32_t button : {kButtonDown, kButtonRight, kButtonUp, kButtonLeft}) {
    Press(button);
    EXPECT_EQ(s.GetPager().GetRow(), 0) << button;
    EXPECT_EQ(s.GetPager().GetTop(), 0) << button;
  }
  EXPECT_EQ(Sounds(), V{});
  Press(kButtonA);
  EXPECT_EQ(Sounds(), V{608});
  EXPECT_TRUE(s.InPhase(&TShop::Select));
  renderer->ClearLog();
  Tick();
  EXPECT_TRUE(DrawsOf("sprite.ptx/cursor02").empty());
}

// The sell list: owned items with a sell price and the sell flag, by id; the ring's items are not
// in the bag.
TEST_F(Shop, TheSellShopListsWhatMaySellWithCountsAndSellPrices) {
  for (uint32_t id : {kRing, kKey, kNothing, kWater}) Data().AddItem(id, 7);
  TShop& s = OpenSell();
  EXPECT_EQ(s.GetItems(), (std::vector<uint32_t>{kWater, kRing}));
  EXPECT_EQ(s.GetRowPieces(0),
            (std::vector<TInfoPiece>{{0, Padded(Name(kWater)) + " \x81\x7e  7       20" + kBell}}));
  EXPECT_TRUE(s.GetRowPieces(2).empty());
}

// Three of ten: seven are left and the cursor stays; then the whole stack of the last item empties
// the list, which waits for B alone.
TEST_F(Shop, SellingTheLastStackEmptiesTheListWhichOnlyBLeaves) {
  Data().AddItem(kWater, 10);
  TShop& s = OpenSell();
  PressUntil(kButtonA, s, &TShop::Quantity);
  PressTimes(kButtonLeft, 2);
  Press(kButtonUp);
  EXPECT_EQ(s.GetQuantity(), 10) << "no more than owned";
  PressTimes(kButtonRight, 7);
  EXPECT_EQ(s.GetQuantityLine(), Padded(Name(kWater)) + " \x81\x7e  3 \x81\x81       60" + kBell);
  PressUntil(kButtonA, s, &TShop::Confirm);
  Sounds();
  Press(kButtonA);
  EXPECT_EQ(Sounds(), V{217});
  EXPECT_EQ(Owned(kWater), 7u);
  EXPECT_EQ(Data().GetGold(), 4060u);
  EXPECT_EQ(s.GetItems(), std::vector<uint32_t>{kWater});
  EXPECT_TRUE(TickUntil([&s] { return s.InPhase(&TShop::Select); }));
  EXPECT_EQ(s.GetPager().GetIndex(), 0);

  PressUntil(kButtonA, s, &TShop::Quantity);
  Press(kButtonUp);
  PressUntil(kButtonA, s, &TShop::Confirm);
  Press(kButtonA);
  EXPECT_EQ(Owned(kWater), 0u);
  EXPECT_TRUE(s.GetItems().empty());
  EXPECT_TRUE(TickUntil([&s] { return s.InPhase(&TShop::EmptyList); }));
  Sounds();

  renderer->ClearLog();
  Tick();
  const auto empty = DrawsOf("tEmpty");
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_FLOAT_EQ(empty[0]->Vertex(0).position.x + 0.5f, 96 + 180);
  EXPECT_FLOAT_EQ(empty[0]->Vertex(0).position.y + 0.5f, 24 + 152);
  EXPECT_TRUE(DrawsOf("tItem0").empty());
  EXPECT_TRUE(DrawsOf("sprite.ptx/cursor02").empty());

  for (uint32_t button : {kButtonA, kButtonUp, kButtonDown, kButtonRight}) Press(button);
  EXPECT_TRUE(s.InPhase(&TShop::EmptyList));
  Press(kButtonB);
  EXPECT_TRUE(s.InPhase(&TShop::SlideOut));
  EXPECT_EQ(Sounds(), V{}) << "B leaves silently";
}

// The whole stack under row 2 with top 4 in a list of twelve: the list scrolls back by one and the
// cursor stays on row 2.
TEST_F(Shop, SellingAWholeStackScrollsTheListBackByOne) {
  std::vector<uint32_t> sellable;
  for (uint32_t id : datakit::SampleItemIds()) {
    const TItemListRecord& item = *TItemListTable::Find(id);
    if (id != 1 && item.sellFlag == 1 && item.sellPrice > 0) sellable.push_back(id);
  }
  ASSERT_GE(sellable.size(), 12u);
  sellable.resize(12);
  for (uint32_t id : sellable) Data().AddItem(id, 1);
  TShop& s = OpenSell();
  PressTimes(kButtonDown, 10);
  PressTimes(kButtonUp, 4);
  ASSERT_EQ(s.GetPager().GetTop(), 4);
  ASSERT_EQ(s.GetPager().GetRow(), 2);
  const uint32_t sold = s.GetItems()[6];
  PressUntil(kButtonA, s, &TShop::Quantity);
  PressUntil(kButtonA, s, &TShop::Confirm);
  Press(kButtonA);
  EXPECT_EQ(s.GetItems().size(), 11u);
  EXPECT_EQ(Owned(sold), 0u);
  EXPECT_EQ(s.GetPager().GetTop(), 3);
  EXPECT_EQ(s.GetPager().GetRow(), 2);
}

TEST_F(Shop, ASaleNearTheCapCompletesAndTheGoldStopsAtTheCap) {
  const int32_t cap = GetGoldCap();
  SetGoldCap(800000);
  Data().SetGold(799990);
  Data().AddItem(kCrown, 1);
  TShop& s = OpenSell();
  PressUntil(kButtonA, s, &TShop::Quantity);
  PressUntil(kButtonA, s, &TShop::Confirm);
  Press(kButtonA);
  EXPECT_EQ(Data().GetGold(), 800000u);
  EXPECT_EQ(Owned(kCrown), 0u);
  EXPECT_EQ(s.GetGoldLine(), "  800000" + kBell);
  SetGoldCap(cap);
}

}  // namespace
