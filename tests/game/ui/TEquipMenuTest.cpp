// The equipment screen: the three slots round the character panel, the weapon and accessory lists,
// what equipping does to the bag, the player and the panel, and the mastery points it shows.
#include "game/ui/TEquipMenu.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game/data/TItemListTable.h"
#include "game/data/TWeaponTable.h"
#include "game/ui/TGauge.h"
#include "game/ui/TPanelColumn.h"
#include "tests/game/ui/MenuScreenFixture.h"

namespace {

using menutest::MenuScreenFixture;
using V = std::vector<int32_t>;
using Stacks = std::vector<std::pair<uint32_t, int>>;

constexpr uint32_t kSword = 1000, kSpear = 1001, kBow = 1005, kDaggers = 1004, kDaggersOtherHand = 11004;
constexpr uint32_t kNoAccessory = 2000, kSilverRing = 2001, kBracelet = 2002;

class EquipMenu : public MenuScreenFixture {
 protected:
  TEquipMenu& Open() { return OpenScreen<TEquipMenu>(&TEquipMenu::Slots); }
  // The slot's list, open and waiting.
  void OpenList(TEquipMenu& screen, int32_t slot) {
    while (screen.GetSlot() != slot) Press(kButtonDown);
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([&] { return screen.InPhase(&TMenuListScreen::ListSelect); }));
    Sounds();
    fieldLog.clear();
  }
  // The cursor onto the entry of the id.
  void MoveTo(const TEquipMenu& screen, uint32_t id) {
    while (screen.GetEntries()[static_cast<size_t>(screen.GetPager().GetIndex())].id != id) Press(kButtonDown);
    Sounds();
  }
  // Between cases: the scenes gone, a new game, the player as given.
  void Reset(uint32_t weapon, uint32_t accessoryA) {
    menu = nullptr;
    field.scene = nullptr;
    app->ClearScenes();
    Data().NewGame();
    field.player.weaponId = weapon;
    field.player.accessoryA = accessoryA;
  }
};

// Up from the weapon wraps to accessory B and down from B to the weapon, each with 601, and the
// information follows the slot.
TEST_F(EquipMenu, UpAndDownGoRoundTheThreeSlots) {
  field.player.accessoryA = kSilverRing;
  field.player.accessoryB = kBracelet;
  TEquipMenu& screen = Open();
  EXPECT_EQ(screen.GetInfoId(), kSword);
  EXPECT_EQ(screen.GetWindow(TEquipMenu::kPanel).X(), 64);
  EXPECT_EQ(screen.GetWindow(TEquipMenu::kPanel).Y(), 48);
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kName).X(), 80);
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kInfo).Y(), 344);
  EXPECT_EQ(screen.GetWindow(TMenuListScreen::kList).Y(), -320) << "the list waits above";
  struct Case {
    uint32_t key;
    int32_t slot;
    uint32_t item;
  };
  for (Case c : {Case{kButtonUp, 2, kBracelet}, Case{kButtonDown, 0, kSword}, Case{kButtonDown, 1, kSilverRing},
                 Case{kButtonUp, 0, kSword}}) {
    Press(c.key);
    EXPECT_EQ(screen.GetSlot(), c.slot);
    EXPECT_EQ(Sounds(), V{601});
    EXPECT_EQ(screen.GetInfoId(), c.item);
  }
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([&] { return screen.GetWindow(TEquipMenu::kPanel).X() == -256; }));
  EXPECT_EQ(app->GetCurrentScene(), &screen) << "popped on the tick after the panel is back";
  Tick();
  EXPECT_EQ(app->GetCurrentScene(), menu);
}

// A decided weapon: one the member may not use is refused with 608, the one in hand again is
// silent, and a new one trades places with the old in the bag, rebuilding the player when its type
// differs.
TEST_F(EquipMenu, AWeaponIsRefusedIgnoredOrEquipped) {
  struct Case {
    const char* what;
    uint32_t wielded, chosen;
    V sounds;
    Stacks bag;
    std::vector<std::string> log;
    bool closes;
  };
  const Case cases[] = {
      {"one the hero may not use", kSword, kBow, V{608}, Stacks{{kBow, 1}}, {}, false},
      {"the one in hand", kSword, kSword, V{}, Stacks{{kSword, 1}}, {}, false},
      {"another type", kSword, kSpear, V{602}, Stacks{{kSword, 1}}, {"weapon 1001", "update gauge", "rebuild 0"}, true},
      {"the same type", kDaggersOtherHand, kDaggers, V{602}, Stacks{{kDaggersOtherHand, 1}}, {"weapon 1004", "update gauge"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset(c.wielded, kNoAccessory);
    Data().AddItem(c.chosen, 1);
    TEquipMenu& screen = Open();
    const uint32_t typeBefore = TWeaponTable::Find(c.wielded)->type;
    EXPECT_EQ(screen.GetWeaponType(), typeBefore);
    OpenList(screen, 0);
    MoveTo(screen, c.chosen);
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), c.sounds);
    EXPECT_EQ(Bag(), c.bag);
    EXPECT_EQ(fieldLog, c.log);
    EXPECT_EQ(screen.InPhase(&TMenuListScreen::ListClosing), c.closes);
    EXPECT_EQ(screen.InPhase(&TMenuListScreen::ListSelect), !c.closes);
    EXPECT_EQ(field.player.weaponId, c.closes ? c.chosen : c.wielded);
    EXPECT_EQ(screen.GetWeaponType(), TWeaponTable::Find(field.player.weaponId)->type);
    if (c.closes) {
      EXPECT_EQ(field.GetGauge().GetIcon(0).texture.GetName(), TWeaponTable::GetIcon(c.chosen).texture.GetName());
    }
  }
}

// A decided accessory: the slot's own plays 603 and the list stays; another takes the slot, the old
// one going back into the bag; on an empty slot nothing goes back, and no entry of id 0 appears.
TEST_F(EquipMenu, AnAccessoryTakesTheSlotAndTheOldOneGoesBack) {
  struct Case {
    const char* what;
    uint32_t worn, chosen;
    V sounds;
    Stacks bag;
    bool closes;
  };
  const Case cases[] = {
      {"the slot's own", kSilverRing, kSilverRing, V{603}, Stacks{{kSilverRing, 1}}, false},
      {"another", kSilverRing, kBracelet, V{602}, Stacks{{kSilverRing, 1}}, true},
      {"into an empty slot", 0, kBracelet, V{602}, Stacks{}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset(kSword, c.worn);
    Data().AddItem(c.chosen, 1);
    TEquipMenu& screen = Open();
    OpenList(screen, 1);
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), c.sounds);
    EXPECT_EQ(Bag(), c.bag);
    EXPECT_EQ(Data().FindItem(0), nullptr);
    EXPECT_EQ(field.player.accessoryA, c.closes ? c.chosen : c.worn);
    EXPECT_EQ(screen.InPhase(&TMenuListScreen::ListClosing), c.closes);
    if (c.closes) {
      EXPECT_EQ(fieldLog, (std::vector<std::string>{"accessory 2002 A", "update gauge"}));
    }
  }
}

// Points at 1000 read "Master!" in the slot's text and at x 152 after the name; below, the points
// in four columns, after "ABP:" at x 136.
TEST_F(EquipMenu, MasteryPointsShowInTheSlotAndAfterTheName) {
  struct Case {
    uint16_t points;
    const char* slotLine;
    TInfoPiece after;
  };
  for (Case c : {Case{1000, "Master!", {152, "Master!"}}, Case{999, " 999pts", {136, "ABP: 999pts"}},
                 Case{0, "   0pts", {136, "ABP:   0pts"}}}) {
    SCOPED_TRACE(c.slotLine);
    Reset(kSword, kSilverRing);
    *Data().GetCharBlock(0).PointsSlot(kSword) = c.points;
    TEquipMenu& screen = Open();
    EXPECT_EQ(screen.GetPointsLine(0), c.slotLine);
    const std::string& name = screen.GetNameLine().front().text;
    EXPECT_EQ(screen.GetNameLine(), (std::vector<TInfoPiece>{{CentredX(name), name}, c.after}));
    EXPECT_EQ(screen.GetPointsLine(1), "   0pts");
  }
}

// The weapon list: the title centred, each row the name and count with the icon of the weapon's
// type; a weapon the hero may not use in grey text with a dimmed icon. While the list is open the
// panel dims all but the chosen slot.
TEST_F(EquipMenu, TheWeaponListGreysWhatTheHeroMayNotUse) {
  Data().AddItem(kSpear, 2);
  Data().AddItem(kBow, 1);
  Data().AddItem(kSilverRing, 1);
  TEquipMenu& screen = Open();
  OpenList(screen, 0);
  EXPECT_EQ(screen.GetTitleLine(), "\x95\x90\x8a\xed");  // 武器
  EXPECT_EQ(Ids(screen), (std::vector<uint32_t>{kSpear, kBow}));
  char spear[64];
  std::snprintf(spear, sizeof spear, "%-16s\x81\x7e%2d", TItemListTable::Find(kSpear)->name.c_str(), 2);
  EXPECT_EQ(screen.GetRowLook(0).text, spear);
  EXPECT_EQ(screen.GetRowText(0).vertices[0].diffuse, 0xFFFFFFFFu);
  EXPECT_EQ(screen.GetRowIcon(0).vertices[0].diffuse, 0xFFFFFFFFu);
  EXPECT_EQ(screen.GetRowText(1).vertices[0].diffuse, 0xFF666666u);
  EXPECT_EQ(screen.GetRowIcon(1).vertices[0].diffuse, OpaqueGrey(0.7f));
  EXPECT_EQ(screen.GetRowIcon(1).texture.GetName(), TWeaponTable::GetIcon(kBow).texture.GetName());
  EXPECT_TRUE(screen.GetRowLook(2).text.empty());

  const TGauge& gauge = field.GetGauge();
  EXPECT_EQ(gauge.GetFrame().vertices[0].diffuse, Faded(1.0f, 0.7f));
  EXPECT_EQ(gauge.GetBar(TGauge::kHp).vertices[0].diffuse, Faded(1.0f, 0.4f));
  EXPECT_EQ(gauge.GetBar(TGauge::kWeapon).vertices[0].diffuse, OpaqueGrey(1.0f));
  EXPECT_EQ(gauge.GetBar(TGauge::kAccessoryA).vertices[0].diffuse, Faded(1.0f, 0.4f));
  EXPECT_EQ(gauge.GetIcon(2).vertices[0].diffuse, Faded(1.0f, 0.7f));
  EXPECT_EQ(gauge.GetPercentSign().vertices[0].diffuse, Faded(0.9f, 0.7f));
  EXPECT_EQ(screen.GetPointsText(1).vertices[0].diffuse, Faded(1.0f, 0.4f));

  ASSERT_TRUE(LeaveList(screen));
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(screen.InPhase(&TEquipMenu::Slots));
  EXPECT_EQ(gauge.GetFrame().vertices[0].diffuse, 0xFFFFFFFFu) << "undimmed again";
  EXPECT_EQ(gauge.GetIcon(2).vertices[0].diffuse, 0xFFFFFFFFu);
}

// Without a weapon in the bag the list shows "ＮＯ ＩＴＥＭ" and takes B alone.
TEST_F(EquipMenu, AnEmptyListTakesOnlyB) {
  TEquipMenu& screen = Open();
  Tick(kButtonA);
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TMenuListScreen::EmptyList); }));
  Sounds();
  renderer->ClearLog();
  for (uint32_t key : {kButtonA, kButtonDown, kButtonRight}) Press(key);
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::EmptyList));
  EXPECT_EQ(DrawsOf("tEmpty").size(), 6u);
  EXPECT_EQ(Sounds(), V{});
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::ListClosing));
}

}  // namespace
