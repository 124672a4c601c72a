// The save and load screen: its pages, the question before a save in use is overwritten, writing
// (and failing to write) a slot, and what each mode does with a chosen slot and with B.
#include "game/ui/TSaveLoad.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/data/SaveFiles.h"
#include "game/data/TGameData.h"
#include "platform/core/Clock.h"
#include "platform/core/FileSystem.h"
#include "tests/game/ui/TitleFixture.h"
#include "tools/datakit/SaveGameWriter.h"

namespace {

using menutest::TitleFixture;
using V = std::vector<int32_t>;

// "%2d：セーブデータの書き込みに失敗しました。" for slot 0.
const std::string kFailedLine =
    " 0\x81\x46\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xcc\x8f\x91\x82\xab\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8"
    "\x94\x73\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

std::vector<uint8_t> Bytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  plat::ReadWholeFile(path, bytes);
  return bytes;
}

class SaveLoad : public TitleFixture {
 protected:
  // A save of the chapter of the save point in the slot.
  void WriteSave(int32_t slot, uint32_t savePoint, uint32_t gold = 100) {
    datakit::SaveGame save;
    save.savePointId = savePoint;
    save.gold = gold;
    datakit::WriteSave(datakit::SaveFilePath("save/", slot), save, 0);
  }
  // The screen over a painted picture, waiting for input.
  TSaveLoad& Open(TSaveLoad* screen) {
    field.scene = new menutest::PaintedField(*app, kFieldColour);
    app->SetScene(field.scene);
    Ticks(6);
    app->SetScene(screen);
    EXPECT_TRUE(TickUntil([screen] { return InInput(screen->GetList()); }));
    Sounds();
    return *screen;
  }
  static bool InInput(const TSlotList& list) {
    return list.InPhase(&TSlotList::LoadInput) || list.InPhase(&TSlotList::SaveInput);
  }
  // Ticks until the list is back in its input phase.
  void Settle(const TSaveLoad& screen) {
    EXPECT_TRUE(TickUntil([&] { return InInput(screen.GetList()); }));
  }
  void Down(int n) {
    for (int i = 0; i < n; ++i) Press(kButtonDown);
    Sounds();
  }
};

// The page number in two columns; Left from the first page shows the last and Right from the
// last the first, with 601, the rows going out one side and in from the other, their slots read
// anew.
TEST_F(SaveLoad, PagesGoRoundTheTwentyWithTheRowsSlidingOutAndIn) {
  WriteSave(95, 8);
  TSaveLoad& screen = Open(TSaveLoad::CreateLoad(*app));
  const TSlotList& list = screen.GetList();
  EXPECT_EQ(list.GetPageLine(), "PAGE :  1 / 20");
  EXPECT_EQ(list.GetCaption(), "\x83\x8d\x81\x5b\x83\x68");  // ロード
  for (int32_t row = 0; row < TSlotList::kRows; ++row) {
    EXPECT_EQ(list.GetRows().Row(row).X(), 64);
    EXPECT_EQ(list.GetRows().Row(row).Y(), 80 + 64 * row);
  }
  EXPECT_EQ(list.GetLeftPanel().X(), 72);
  EXPECT_EQ(list.GetRightPanel().X(), 408);
  struct Case {
    uint32_t key;
    int32_t page;
    const char* line;
    int32_t outTo, inFrom;
  };
  for (Case c : {Case{kButtonLeft, 19, "PAGE : 20 / 20", 1152, -512}, Case{kButtonRight, 0, "PAGE :  1 / 20", -512, 1152},
                 Case{kButtonRight, 1, "PAGE :  2 / 20", -512, 1152}, Case{kButtonLeft, 0, "PAGE :  1 / 20", 1152, -512}}) {
    SCOPED_TRACE(c.line);
    Tick(c.key);
    EXPECT_EQ(Sounds(), V{601});
    EXPECT_EQ(list.GetRows().Row(4).x.end, c.outTo);
    Settle(screen);
    EXPECT_EQ(list.GetPage(), c.page);
    EXPECT_EQ(list.GetPageLine(), c.line);
    EXPECT_EQ(list.GetRows().Row(4).x.start, c.inFrom);
    EXPECT_EQ(list.GetRows().Row(4).X(), 64);
    EXPECT_EQ(list.GetSlotState(0), c.page == 19 ? TSlotList::kUsable : TSlotList::kEmpty);
    Tick();
  }
}

// Held, Right turns the page once at the press and then again at the first repeat update after
// each page's slide: always on the five-update beat, never more than five updates after the slide.
TEST_F(SaveLoad, AHeldRightTurnsAgainAtTheFirstRepeatAfterEachSlide) {
  TSaveLoad& screen = Open(TSaveLoad::CreateLoad(*app));
  const TSlotList& list = screen.GetList();
  std::vector<int> turns;
  int waited = 0, page = list.GetPage();
  for (int tick = 0; tick < 400 && turns.size() < 4; ++tick) {
    const bool waiting = InInput(list);
    Tick(kButtonRight);
    if (list.GetPage() != page) {
      page = list.GetPage();
      turns.push_back(tick);
      if (turns.size() > 1) {
        EXPECT_LE(waited, 5) << "turned at the first repeat";
        EXPECT_EQ((tick - turns[1]) % 5, 0) << "on the beat";
      }
      waited = 0;
    } else if (waiting) {
      ++waited;
    }
  }
  ASSERT_EQ(turns.size(), 4u);
  EXPECT_EQ(turns[0], 0) << "the press";
  EXPECT_EQ(list.GetPage(), 4);
}

// Saving: an empty slot is written at once; a slot in use asks first, with window25 for a save of
// this chapter and window26 for one of another; B answers No and nothing is written; Yes writes.
TEST_F(SaveLoad, AnEmptySlotIsSavedAtOnceASlotInUseAfterAQuestion) {
  WriteSave(1, 9);  // chapter 3
  WriteSave(2, 4);  // chapter 2
  TGameData::Instance()->SetSavePointId(10);
  TGameData::Instance()->SetGold(4321);
  TSaveLoad& screen = Open(TSaveLoad::CreateSave(*app));
  const TSlotList& list = screen.GetList();
  EXPECT_EQ(list.GetCaption(), "\x83\x5a\x81\x5b\x83\x75");  // セーブ
  EXPECT_EQ(list.GetSlotState(2), TSlotList::kUsable) << "another chapter's save may be overwritten";

  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{603});
  EXPECT_TRUE(list.InPhase(&TSlotList::Write)) << "no question";
  Settle(screen);
  EXPECT_EQ(Sounds(), V{605});
  EXPECT_EQ(list.GetLastSaveResult(), save_code::kDone);
  EXPECT_EQ(list.GetSlotState(0), TSlotList::kUsable);
  EXPECT_EQ(GetSaveSlotChapter(0), 3);

  struct Case {
    int32_t slot;
    const char* window;
    int32_t fromY, toY;
  };
  for (Case c : {Case{1, "sprite.ptx/window25", -128, 164}, Case{2, "sprite.ptx/window26", -192, 100}}) {
    SCOPED_TRACE(c.slot);
    Down(1);
    const std::vector<uint8_t> before = Bytes(datakit::SaveFilePath("save/", c.slot));
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{603});
    ASSERT_TRUE(TickUntil([&] { return list.InPhase(&TSlotList::Confirm); }));
    EXPECT_EQ(list.GetAnswer(), TSlotList::kYes);
    EXPECT_EQ(list.GetQuestion().y.start, c.fromY);
    EXPECT_EQ(list.GetQuestion().Y(), c.toY);
    EXPECT_EQ(list.GetQuestion().X(), 64);
    EXPECT_EQ(list.GetAnswerBox().y.start, 480);
    EXPECT_EQ(list.GetAnswerBox().Y(), 294);
    EXPECT_EQ(list.GetAnswerBox().X(), 283);
    EXPECT_FLOAT_EQ(list.GetDim().value, 0.5f);
    renderer->ClearLog();
    Tick();
    EXPECT_EQ(DrawsOf(c.window).size(), 1u);
    EXPECT_EQ(DrawsOf("sprite.ptx/window10").size(), 1u);

    Tick(kButtonB);
    EXPECT_EQ(Sounds(), V{606});
    EXPECT_EQ(list.GetAnswer(), TSlotList::kNo);
    Settle(screen);
    EXPECT_EQ(Bytes(datakit::SaveFilePath("save/", c.slot)), before) << "No writes nothing";
    EXPECT_EQ(list.GetCursor(), c.slot);

    Press(kButtonA);
    ASSERT_TRUE(TickUntil([&] { return list.InPhase(&TSlotList::Confirm); }));
    Press(kButtonDown);
    EXPECT_EQ(list.GetAnswer(), TSlotList::kNo);
    Press(kButtonUp);
    EXPECT_EQ(Sounds(), (V{601, 603}));
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{603}) << "Yes";
    Settle(screen);
    EXPECT_EQ(Sounds(), V{605});
    EXPECT_EQ(GetSaveSlotChapter(c.slot), 3);
  }
  EXPECT_TRUE(TGameData::Instance()->Load(2, -1) == save_code::kDone);
  EXPECT_EQ(TGameData::Instance()->GetGold(), 4321u);
}

// A write that fails (the new file cannot be made) leaves the slot's old save as it was, puts the
// failure line with the slot's number on its row, and plays 608.
TEST_F(SaveLoad, AFailedWriteSaysSoOnTheRowAndLosesNothing) {
  WriteSave(1, 9);
  std::filesystem::create_directories(dir / "save/sav_00.dat.new");
  std::filesystem::create_directories(dir / "save/sav_01.dat.new");
  const std::vector<uint8_t> before = Bytes("save/sav_01.dat");
  TSaveLoad& screen = Open(TSaveLoad::CreateSave(*app));
  const TSlotList& list = screen.GetList();
  Tick(kButtonA);
  Settle(screen);
  EXPECT_EQ(Sounds(), (V{603, 608}));
  EXPECT_NE(list.GetLastSaveResult(), save_code::kDone);
  EXPECT_EQ(list.GetRowNote(0), kFailedLine);
  EXPECT_EQ(list.GetSlotState(0), TSlotList::kEmpty);

  Down(1);
  Press(kButtonA);
  ASSERT_TRUE(TickUntil([&] { return list.InPhase(&TSlotList::Confirm); }));
  Tick(kButtonA);
  Settle(screen);
  EXPECT_EQ(Sounds(), (V{603, 608}));
  EXPECT_EQ(Bytes("save/sav_01.dat"), before);
  EXPECT_EQ(list.GetRowNote(0), "") << "the page was read anew";
  EXPECT_EQ(list.GetRowNote(1).substr(0, 2), " 1");
  EXPECT_EQ(list.GetSlotState(1), TSlotList::kUsable);
}

// After the ending the save screen leaves to the title: B slides the list out and the change to the
// title follows, keeping no music.
TEST_F(SaveLoad, BLeavesTheSaveScreenForTheTitle) {
  TSaveLoad& screen = Open(TSaveLoad::CreateSave(*app));
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_TRUE(screen.GetList().InPhase(&TSlotList::Closing));
  int32_t lastStep = -1;
  ASSERT_TRUE(TickUntil([&] {
    if (!fieldLog.empty()) return true;  // the screen has ended
    lastStep = screen.GetList().GetRows().Row(4).y.step;
    return false;
  }));
  EXPECT_EQ(fieldLog, (std::vector<std::string>{"title change -1"}));
  EXPECT_EQ(lastStep, 1) << "it ended as the last row arrived back up";
  Tick();
  EXPECT_EQ(app->GetSceneCount(), 3u) << "the painted scene, the title behind it and the change";
}

// Loading: an empty or unusable slot is refused; a usable one goes to the change, which loads it,
// with 603 and the title's music kept for it, and only the change stays.
TEST_F(SaveLoad, ALoadedSlotGoesToTheChangeAndOnlyTheChangeStays) {
  WriteSave(2, 8);
  std::vector<uint8_t> damaged = Bytes("save/sav_02.dat");
  damaged[damaged.size() / 2] ^= 0x55;
  plat::WriteWholeFile("save/sav_01.dat", damaged.data(), damaged.size());
  Set(2).Load(TSaveLoad::kTitleMusic);  // the title's list
  TSaveLoad& screen = Open(TSaveLoad::CreateLoad(*app));
  EXPECT_EQ(screen.GetList().GetSlotState(0), TSlotList::kEmpty);
  EXPECT_NE(screen.GetList().GetSlotState(1), TSlotList::kUsable);
  for (int32_t slot : {0, 1}) {
    Press(kButtonA);
    EXPECT_EQ(Sounds(), V{608}) << slot;
    Down(1);
  }
  const uint32_t decide = Set(0).GetCount(603), music = Set(2).GetCount(TSaveLoad::kTitleMusic);
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{603});
  ASSERT_FALSE(fieldLog.empty());
  EXPECT_EQ(fieldLog.front(), "load change 2 1");
  EXPECT_EQ(Set(0).GetCount(603), decide) << "one more for the change, one less with the screen's list";
  EXPECT_EQ(Set(2).GetCount(TSaveLoad::kTitleMusic), music + 1);
  EXPECT_EQ(app->GetSceneCount(), 1u);
  field.scene = nullptr;
}

// Taking over: the earlier chapter's save is loaded into the game and the opening event follows
// through the change, with 605 and the title's music kept; a save that no longer loads leads to
// the title instead.
TEST_F(SaveLoad, ATakenOverSaveStartsTheOpeningEventOrFallsBackToTheTitle) {
  for (bool loads : {true, false}) {
    SCOPED_TRACE(loads ? "loads" : "gone");
    fieldLog.clear();
    WriteSave(0, 4, 777);  // chapter 2
    TGameData::Instance()->NewGame();
    TSaveLoad& screen = Open(TSaveLoad::CreateTakeOver(*app, 2));
    EXPECT_EQ(screen.GetList().GetCaption(), "\x88\xf8\x8c\x70\x82\xac");  // 引継ぎ
    ASSERT_EQ(screen.GetList().GetSlotState(0), TSlotList::kUsable);
    if (!loads) std::filesystem::remove(dir / "save/sav_00.dat");
    const uint32_t music = Set(2).GetCount(TSaveLoad::kTitleMusic);
    const uint32_t newGameStart = TGameData::Instance()->GetRunStart();
    Tick(kButtonA);
    EXPECT_EQ(Sounds(), V{605});
    EXPECT_EQ(Set(2).GetCount(TSaveLoad::kTitleMusic), music + 1);
    if (loads) {
      ASSERT_FALSE(fieldLog.empty());
      EXPECT_EQ(fieldLog.front(), "event change 15 61440 200 1");
      EXPECT_EQ(TGameData::Instance()->GetSavePointId(), 4u);
      ASSERT_NE(plat::timeGetTime(), newGameStart);
      EXPECT_EQ(TGameData::Instance()->GetRunStart(), plat::timeGetTime()) << "the play clock starts at the load";
    } else {
      ASSERT_FALSE(fieldLog.empty());
      EXPECT_EQ(fieldLog.front(), "title change 1");
    }
    EXPECT_EQ(app->GetSceneCount(), 1u);
    field.scene = nullptr;
    app->ClearScenes();
  }
}

}  // namespace
