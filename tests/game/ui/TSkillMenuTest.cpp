// The skill screen: the skill bar's five slots, the learned skills offered for a slot by the weapon
// in hand, putting a skill in and taking it out, and the bar's own selection kept.
#include "game/ui/TSkillMenu.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/data/TSkillTable.h"
#include "game/ui/TPanelColumn.h"
#include "game/ui/TSkillRing.h"
#include "tests/game/ui/DrawnText.h"
#include "tests/game/ui/MenuScreenFixture.h"

namespace {

using menutest::MenuScreenFixture;
using V = std::vector<int32_t>;
using IdList = std::vector<uint32_t>;

constexpr uint32_t kHeal = 103, kFireUp = 1145, kUpperCut = 2000;  // the last a sword's technique
constexpr uint32_t kSword = 1000, kSpear = 1001;
// "はずす", "ＮＯ ＳＫＩＬＬ"
constexpr char kRemoval[] = "\x82\xcd\x82\xb8\x82\xb7";
constexpr char kNoSkill[] = "\x82\x6d\x82\x6e\x20\x82\x72\x82\x6a\x82\x68\x82\x6b\x82\x6b";

class SkillMenu : public MenuScreenFixture {
 protected:
  void SetUp() override {
    MenuScreenFixture::SetUp();
    for (uint32_t skill : {kUpperCut, kFireUp, kHeal}) Data().LearnSkill(0, skill);
  }
  TSkillMenu& Open() { return OpenScreen<TSkillMenu>(&TSkillMenu::SlotSelect); }
  // A on the slot, the list dropped in.
  void OpenList(TSkillMenu& screen) {
    Tick(kButtonA);
    EXPECT_TRUE(TickUntil([&] { return !screen.InPhase(&TMenuListScreen::ListOpening); }));
    Sounds();
  }
  void BackToSlots(TSkillMenu& screen) {
    EXPECT_TRUE(TickUntil([&] { return screen.InPhase(&TSkillMenu::SlotSelect); }));
    Sounds();
  }
  static uint32_t Slot(uint32_t n) { return Data().GetSkillSlot(0, n); }
  static std::string IconName(uint32_t skill) { return DrawSkillIcon(TSkillTable::Find(skill)->icon).texture.GetName(); }
};

// The offer follows the weapon in hand: a sword's technique only with a sword; the others always.
TEST_F(SkillMenu, TheWeaponInHandChoosesWhichTechniquesAreOffered) {
  struct Case {
    uint32_t weapon;
    IdList offered;
  };
  for (Case c : {Case{kSword, {kHeal, kFireUp, kUpperCut}}, Case{kSpear, {kHeal, kFireUp}}}) {
    SCOPED_TRACE(c.weapon);
    field.player.weaponId = c.weapon;
    app->ClearScenes();
    EXPECT_EQ(Ids(Open()), c.offered);
  }
}

// A slot holding a skill lists "はずす" first; taking it empties the slot with 606, and the skill is
// offered at the next opening.
TEST_F(SkillMenu, TheRemovalEmptiesTheSlotAndTheSkillIsOfferedAgain) {
  Data().SetSkillSlot(0, 0, kFireUp);
  TSkillMenu& screen = Open();
  EXPECT_EQ(field.GetSkillRing().GetIcon(0).texture.GetName(), IconName(kFireUp));
  EXPECT_EQ(screen.GetInfoId(), kFireUp);
  OpenList(screen);
  EXPECT_EQ(Ids(screen), (IdList{0, kHeal, kUpperCut}));
  EXPECT_EQ(screen.GetRowLook(0).text, kRemoval);
  EXPECT_EQ(screen.GetRowLook(1).text, TSkillTable::Find(kHeal)->name);
  EXPECT_EQ(screen.GetRowIcon(1).texture.GetName(), IconName(kHeal));
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(Slot(0), 0u);
  EXPECT_EQ(field.GetSkillRing().GetIcon(0).texture.Object(), nullptr);
  BackToSlots(screen);
  OpenList(screen);
  EXPECT_EQ(Ids(screen), (IdList{kHeal, kFireUp, kUpperCut}));
}

// Another skill goes into a filled slot with 602; the one it replaces is offered again.
TEST_F(SkillMenu, AnotherSkillTakesTheSlotAndTheOldOneIsOfferedAgain) {
  Data().SetSkillSlot(0, 1, kHeal);
  TSkillMenu& screen = Open();
  Press(kButtonRight);
  EXPECT_EQ(screen.GetSlot(), 1);
  EXPECT_EQ(Sounds(), V{601}) << "the bar's own sound";
  EXPECT_EQ(screen.GetInfoId(), kHeal);
  OpenList(screen);
  Press(kButtonDown);
  EXPECT_EQ(Sounds(), V{601});
  EXPECT_EQ(screen.GetInfoId(), kFireUp);
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{602});
  EXPECT_EQ(Slot(1), kFireUp);
  EXPECT_EQ(field.GetSkillRing().GetIcon(1).texture.GetName(), IconName(kFireUp));
  BackToSlots(screen);
  OpenList(screen);
  EXPECT_EQ(Ids(screen), (IdList{0, kHeal, kUpperCut}));
}

// B in the list leaves the "はずす" entry behind, so the list keeps its length.
TEST_F(SkillMenu, BTakesTheRemovalOffTheListAgain) {
  Data().SetSkillSlot(0, 0, kHeal);
  TSkillMenu& screen = Open();
  const size_t offered = screen.GetEntries().size();
  OpenList(screen);
  EXPECT_EQ(screen.GetEntries().size(), offered + 1);
  ASSERT_TRUE(LeaveList(screen));
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(screen.GetEntries().size(), offered);
  EXPECT_EQ(Slot(0), kHeal);
}

// An empty slot with nothing to offer: "ＮＯ ＳＫＩＬＬ", and B leaves without a sound.
TEST_F(SkillMenu, NothingOfferedShowsNoSkillAndBLeavesSilently) {
  Data().GetCharBlock(0).learned.clear();
  TSkillMenu& screen = Open();
  OpenList(screen);
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::EmptyList));
  renderer->ClearLog();
  Press(kButtonA);
  ASSERT_EQ(DrawsOf("tEmpty").size(), 2u);
  EXPECT_TRUE(uitest::ShowsText(DrawsOf("tEmpty")[0]->textures[0].name, kNoSkill));
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::EmptyList));
  Tick(kButtonB);
  EXPECT_TRUE(screen.InPhase(&TMenuListScreen::ListClosing));
  EXPECT_EQ(Sounds(), V{});
}

// The screen starts on the first slot and dims the bar but the selected icon while the list is
// open; closing puts the bar's own selection back and undims it.
TEST_F(SkillMenu, ClosingPutsTheBarsSelectionBack) {
  Data().SetSkillSlot(0, 0, kHeal);
  Data().SetSkillSlot(0, 2, kFireUp);
  TSkillRing& ring = field.GetSkillRing();
  ring.SetCursor(3);
  TSkillMenu& screen = Open();
  EXPECT_EQ(screen.GetSavedSlot(), 3);
  EXPECT_EQ(screen.GetSlot(), 0);
  EXPECT_EQ(screen.GetWindow(TSkillMenu::kRing).X(), 32);
  OpenList(screen);
  EXPECT_EQ(ring.GetPiece(4).vertices[0].diffuse, Faded(1.0f, 0.7f));
  EXPECT_EQ(ring.GetIcon(2).vertices[0].diffuse, Faded(1.0f, 0.7f));
  EXPECT_EQ(ring.GetIcon(0).vertices[0].diffuse, 0xFFFFFFFFu) << "the selected slot's";
  ASSERT_TRUE(LeaveList(screen));
  Press(kButtonLeft);
  EXPECT_EQ(screen.GetSlot(), 4);
  Sounds();
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([&] { return app->GetCurrentScene() == menu; }));
  EXPECT_EQ(ring.GetCursor(), 3);
  EXPECT_EQ(ring.GetPiece(4).vertices[0].diffuse, 0xFFFFFFFFu);
  EXPECT_EQ(ring.GetIcon(2).vertices[0].diffuse, 0xFFFFFFFFu);
}

}  // namespace
