// The field menu's save screen: the choice, which offers Save at a save point only; saving, which
// keeps the save point and the player first; loading, which leaves through the scene change; and
// the way back from the slot list to the choice.
#include "game/ui/TMenuSave.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "tests/game/shell/ShellFixture.h"
#include "tests/game/ui/MenuScreenFixture.h"
#include "tools/datakit/SaveGameWriter.h"

namespace {

using menutest::MenuScreenFixture;
using V = std::vector<int32_t>;

// "セーブ", "ロード"
constexpr char kSaveCaption[] = "\x83\x5a\x81\x5b\x83\x75";
constexpr char kLoadCaption[] = "\x83\x8d\x81\x5b\x83\x68";

class MenuSave : public MenuScreenFixture {
 protected:
  TMenuSave& Open() { return OpenScreen<TMenuSave>(&TChoiceMenu::Select); }
  // The choice on the item, decided; the list slid in.
  void Choose(TMenuSave& screen, int32_t item) {
    while (screen.GetCursor() != item) Press(kButtonUp);
    Sounds();
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{603});
    EXPECT_TRUE(TickUntil([&] { return InList(screen); }));
  }
  static bool InList(const TMenuSave& screen) {
    return screen.GetList().InPhase(&TSlotList::SaveInput) || screen.GetList().InPhase(&TSlotList::LoadInput);
  }
  static void WriteSave(int32_t slot, uint32_t savePoint) {
    datakit::SaveGame save;
    save.savePointId = savePoint;
    datakit::WriteSave(datakit::SaveFilePath("save/", slot), save, 0);
  }
};

// At a save point Save, Load and Cancel; elsewhere Load and Cancel. The cursor starts on Cancel, and
// A there closes the screen with 606.
TEST_F(MenuSave, SaveIsOfferedAtASavePointOnlyAndTheChoiceOpensOnCancel) {
  struct Case {
    bool atSavePoint;
    std::vector<std::string> panels;
  };
  for (const Case& c : {Case{false, {"window02_h", "window02_k"}}, Case{true, {"window02_g", "window02_h", "window02_k"}}}) {
    SCOPED_TRACE(c.atSavePoint);
    app->ClearScenes();
    field.player.atSavePoint = c.atSavePoint;
    TMenuSave& screen = Open();
    EXPECT_EQ(screen.OffersSave(), c.atSavePoint);
    ASSERT_EQ(screen.GetPanels().Size(), c.panels.size());
    for (size_t n = 0; n < c.panels.size(); ++n) {
      EXPECT_EQ(screen.GetPanels().Panel(n).sprite.texture.GetName(), "sprite.ptx/" + c.panels[n]);
      EXPECT_EQ(screen.GetPanels().Panel(n).X(), 16 + 8 * static_cast<int32_t>(n));
    }
    EXPECT_EQ(screen.GetCursor(), static_cast<int32_t>(c.panels.size()) - 1);
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{606});
    EXPECT_TRUE(TickUntil([&] { return app->GetCurrentScene() == menu; }));
  }
}

// Save: the save point the player stands at and the player's state go into the record first. An
// empty slot is written at once (605), a used one after the question, window25 for a save of this
// chapter and window26 for one of another; B goes back to the choice.
TEST_F(MenuSave, SavingKeepsTheSavePointAndThePlayerAndWritesTheSlot) {
  WriteSave(1, 9);  // this chapter's
  WriteSave(2, 4);  // the second chapter's
  field.player.atSavePoint = true;
  field.player.savePointId = 8;
  field.player.hp = 77;
  Data().SetSavePointId(7);
  TMenuSave& screen = Open();
  Choose(screen, 0);
  const TSlotList& list = screen.GetList();
  EXPECT_TRUE(list.IsSaving());
  EXPECT_EQ(list.GetCaption(), kSaveCaption);
  EXPECT_EQ(Data().GetSavePointId(), 8u);
  EXPECT_EQ(Data().GetCharBlock(0).hp, 77);

  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_TRUE(list.InPhase(&TSlotList::Write)) << "no question";
  EXPECT_TRUE(TickUntil([&] { return InList(screen); }));
  EXPECT_EQ(Sounds(), V{605});
  EXPECT_EQ(list.GetSlotState(0), TSlotList::kUsable);
  TGameData loaded;
  ASSERT_EQ(loaded.Load(0, -1), save_code::kDone);
  EXPECT_EQ(loaded.GetSavePointId(), 8u);
  EXPECT_EQ(loaded.GetCharBlock(0).hp, 77);

  for (const char* question : {"sprite.ptx/window25", "sprite.ptx/window26"}) {
    SCOPED_TRACE(question);
    Press(kButtonDown);
    Tick(kButtonA);
    ASSERT_TRUE(TickUntil([&] { return list.InPhase(&TSlotList::Confirm); }));
    EXPECT_EQ(list.GetQuestion().sprite.texture.GetName(), question);
    Tick(kButtonB);  // No
    EXPECT_TRUE(TickUntil([&] { return InList(screen); }));
  }
  Sounds();

  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(TickUntil([&] { return screen.InPhase(&TChoiceMenu::Select); }));
  EXPECT_EQ(app->GetCurrentScene(), &screen) << "back at the choice, not the menu";
  EXPECT_EQ(screen.GetPanels().Panel(0).X(), 16);
}

// Load: an unusable slot is refused with 608; a usable one keeps the decide sound and the stage
// music for the change, leaves only itself on the stack, queues the change to the slot with the
// music, and finishes.
TEST_F(MenuSave, LoadingLeavesTheMenuAndTheFieldForTheChange) {
  WriteSave(1, 9);
  PlayFieldMusic();
  TMenuSave& screen = Open();
  Press(kButtonUp);
  EXPECT_EQ(Sounds(), V{600});
  Press(kButtonDown);
  Sounds();
  Choose(screen, 0);
  EXPECT_FALSE(screen.GetList().IsSaving());
  EXPECT_EQ(screen.GetList().GetCaption(), kLoadCaption);
  Press(kButtonA);
  EXPECT_EQ(Sounds(), V{608}) << "slot 0 is empty";

  Press(kButtonDown);
  Sounds();
  fieldLog.clear();
  Tick(kButtonA);
  ASSERT_FALSE(fieldLog.empty());
  EXPECT_EQ(fieldLog.front(), "load change 1 0");
  EXPECT_EQ(app->GetSceneCount(), 1u);
  auto* change = dynamic_cast<shelltest::TestScene*>(app->GetCurrentScene());
  EXPECT_NE(change, nullptr);
  menu = nullptr;
  field.scene = nullptr;
  EXPECT_EQ(Sounds(), V{603}) << "kept through the change";
}

}  // namespace
