// The continue screen: a row for each chapter up to this one, a new game from row 0, the take-over
// screen from the others and back, and B back to the title.
#include "game/ui/TSelectContinueData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/data/TGameData.h"
#include "game/ui/TSaveLoad.h"
#include "tests/game/ui/TitleFixture.h"

namespace {

using menutest::TitleFixture;
using V = std::vector<int32_t>;

// "セーブデータを引き継がずに3章を開始する。", "1章のセーブデータを引き継いで3章を開始する。" and
// the same from chapter 2.
const std::string kAfresh =
    "\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xf0\x88\xf8\x82\xab\x8c\x70\x82\xaa\x82\xb8\x82\xc9"
    "3\x8f\xcd\x82\xf0\x8a\x4a\x8e\x6e\x82\xb7\x82\xe9\x81\x42";
std::string TakeOver(int from) {
  char line[128];
  std::snprintf(line, sizeof line,
                "%d\x8f\xcd\x82\xcc\x83\x5a\x81\x5b\x83\x75\x83\x66\x81\x5b\x83\x5e\x82\xf0\x88\xf8\x82\xab\x8c\x70"
                "\x82\xa2\x82\xc5"
                "3\x8f\xcd\x82\xf0\x8a\x4a\x8e\x6e\x82\xb7\x82\xe9\x81\x42",
                from);
  return line;
}

class ContinueData : public TitleFixture {
 protected:
  // The screen over the title's menu, waiting for input.
  TSelectContinueData& Open(int32_t chapter) {
    TitleMenu();
    auto* screen = TSelectContinueData::Create(*app, chapter);
    app->SetScene(screen);
    EXPECT_TRUE(TickUntil([screen] { return screen->InPhase(&TSelectContinueData::Input); }));
    Sounds();
    return *screen;
  }
};

// Rows centred on the screen's middle, 64 apart: three for chapter 3 filled in with the chapters;
// one for chapter 1, whose Up and Down still sound; six at most.
TEST_F(ContinueData, ARowForEachChapterUpToThisOne) {
  TSelectContinueData& three = Open(3);
  ASSERT_EQ(three.GetRows().Count(), 3);
  const std::string lines[3] = {kAfresh, TakeOver(1), TakeOver(2)};
  for (int32_t row = 0; row < 3; ++row) {
    EXPECT_EQ(three.GetRows().Row(row).Y(), 144 + 64 * row);
    EXPECT_EQ(three.GetRows().Row(row).y.start, 144 + 64 * row - 432);
    EXPECT_EQ(three.GetRows().Row(row).X(), 64);
    EXPECT_EQ(three.GetRowLine(row), lines[row]);
  }
  renderer->ClearLog();
  Tick();
  const auto texts = DrawsOf("ContinueNo0");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_FLOAT_EQ(texts[0]->Vertex(0).position.x + 0.5f, 64 + 96);
  EXPECT_FLOAT_EQ(DrawsOf("ContinueNo1")[0]->Vertex(0).position.x + 0.5f, 64 + 84);
  app->ClearScenes();

  TSelectContinueData& one = Open(1);
  ASSERT_EQ(one.GetRows().Count(), 1);
  EXPECT_EQ(one.GetRows().Row(0).Y(), 208);
  for (uint32_t key : {kButtonUp, kButtonDown}) {
    Press(key);
    EXPECT_EQ(one.GetCursor(), 0);
    EXPECT_EQ(Sounds(), V{601});
  }
  app->ClearScenes();
  EXPECT_EQ(Open(9).GetRows().Count(), TSelectContinueData::kMaxRows);
}

// Row 0: a new game, 605, the sound and the title's music kept for the change to the opening
// event, and the title behind gone.
TEST_F(ContinueData, RowZeroStartsANewGameWithTheOpeningEvent) {
  TSelectContinueData& screen = Open(3);
  TGameData::Instance()->SetGold(999);
  const uint32_t music = Set(2).GetCount(TSaveLoad::kTitleMusic);
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{605});
  TGameData fresh;
  fresh.NewGame();
  EXPECT_EQ(TGameData::Instance()->GetGold(), fresh.GetGold()) << "a new game";
  ASSERT_FALSE(fieldLog.empty());
  EXPECT_EQ(fieldLog.front(), "event change 15 61440 200 1");
  EXPECT_EQ(Set(2).GetCount(TSaveLoad::kTitleMusic), music) << "one more kept, one less with the title";
  EXPECT_GE(Set(0).GetCount(605), 1u);
  EXPECT_EQ(app->GetSceneCount(), 1u) << "the change alone";
  (void)screen;
}

// Row 2 slides the rows out and opens the take-over screen for chapter 2; leaving that brings the
// rows back in with the cursor where it was. B fades back to the title.
TEST_F(ContinueData, ATakeOverRowOpensItsSaveScreenAndBLeadsBack) {
  TSelectContinueData& screen = Open(3);
  Press(kButtonDown);
  Press(kButtonDown);
  Sounds();
  Tick(kButtonA);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(screen.GetOutcome(), TSelectContinueData::kTakeOver);
  ASSERT_TRUE(TickUntil([this] { return dynamic_cast<TSaveLoad*>(app->GetCurrentScene()) != nullptr; }));
  auto* takeOver = dynamic_cast<TSaveLoad*>(app->GetCurrentScene());
  EXPECT_EQ(takeOver->GetMode(), TSaveLoad::kTakeOver);
  EXPECT_EQ(takeOver->GetChapter(), 2);
  EXPECT_TRUE(screen.InPhase(&TSelectContinueData::SlideIn));
  ASSERT_TRUE(TickUntil([&] { return takeOver->GetList().InPhase(&TSlotList::LoadInput); }));
  Press(kButtonB);
  ASSERT_TRUE(TickUntil([&] { return app->GetCurrentScene() == &screen; }));
  ASSERT_TRUE(TickUntil([&] { return screen.InPhase(&TSelectContinueData::Input); }));
  EXPECT_EQ(screen.GetCursor(), 2);

  Sounds();
  Tick(kButtonB);
  EXPECT_EQ(Sounds(), V{606});
  EXPECT_EQ(screen.GetOutcome(), TSelectContinueData::kBackToTitle);
  ASSERT_TRUE(TickUntil([&] { return app->GetCurrentScene() == title; }));
  EXPECT_TRUE(fieldLog.empty());
}

}  // namespace
