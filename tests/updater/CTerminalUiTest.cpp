#include "updater/CTerminalUi.h"

#include <gtest/gtest.h>

#include "tests/updater/UpdateProgram.h"

namespace {

using updater::CTerminalUi;

TEST(TerminalLine, TheLongestPartGivesWayFromItsFront) {
  struct Case {
    std::vector<std::string> parts;
    size_t width;
    std::string line;
  } cases[] = {
      {{"ab", "0123456789"}, 14, "ab  0123456789"},
      {{"ab", "0123456789"}, 10, "ab  ...789"},
      {{"アアアアアア", "x"}, 10, "...アア  x"},
      {{"現在", "", "1 / 2"}, 40, "現在    1 / 2"},
  };
  for (const Case& c : cases) EXPECT_EQ(CTerminalUi::FitLine(c.parts, c.width), c.line) << c.width;
}

using updater_program::TerminalSession;

class TerminalUpdateTest : public UpdateProgramTest {};

TEST_F(TerminalUpdateTest, FromTheConfirmationToTheCompletionBox) {
  TerminalSession session(program, app);
  ASSERT_TRUE(session.Started());
  ASSERT_TRUE(session.Expect("アップデートを開始しますか？\n[y/n] > ")) << session.output;
  session.Send("y\n");
  ASSERT_TRUE(session.Expect("フォルダを選択してください\nDuskwheel 3章\n")) << session.output;
  ASSERT_TRUE(session.Expect("folder (empty line cancels) > ")) << session.output;
  session.Send(dir / "nowhere\n");
  ASSERT_TRUE(session.Expect("[i] エラー\n入力されたフォルダ名\n" + (dir / "nowhere"))) << session.output;
  ASSERT_TRUE(session.Expect("[y/n] > ")) << session.output;
  session.Send("y\n");
  ASSERT_TRUE(session.Expect("folder (empty line cancels) > ")) << session.output;
  session.Send(game + "\n");
  ASSERT_TRUE(session.Expect("Duskwheel アップデートパッチ 進行状況\n")) << session.output;
  ASSERT_TRUE(session.Expect("現在処理中のファイル  game.exe  処理進行状況  2 / 2")) << session.output;
  ASSERT_TRUE(session.Expect("[i] Duskwheel 3章 アップデートパッチ\n"
                             "Duskwheel 3章 アップデートパッチは\n"
                             "バージョン 1.01 へのアップデートを正常に完了しました。\n\n"
                             "お疲れ様でした。\n"
                             "OK を押しすと終了します。\n"))
      << session.output;
  ASSERT_TRUE(session.Expect("[Enter] > ")) << session.output;
  session.Send("\n");
  EXPECT_EQ(session.Finish(), 0) << session.output;
  EXPECT_EQ(Read(game + "/game.exe"), "new exe");
  EXPECT_EQ(Read(game + "/data/tbl03/wepon.tbl"), "table");
}

TEST_F(TerminalUpdateTest, EndOfInputAtTheConfirmationIsANo) {
  TerminalSession session(program, app);
  ASSERT_TRUE(session.Started());
  ASSERT_TRUE(session.Expect("[y/n] > ")) << session.output;
  session.Send("\x04");  // end of input on an empty line
  ASSERT_TRUE(session.Expect("[!] Duskwheel アップデートパッチ\n"
                             "アップデートは次の原因で中断されました。\n\n"
                             "ユーザーによってアップデートは中断されました。"))
      << session.output;
  ASSERT_TRUE(session.Expect("[Enter] > ")) << session.output;
  session.Send("\x04");
  EXPECT_EQ(session.Finish(), 1) << session.output;
  EXPECT_EQ(Read(game + "/game.exe"), "exe");
}

// The dialog's counts start as "9999999999", a text that only sizes the control: the terminal
// prints no line before the real counts are in.
TEST_F(TerminalUpdateTest, TheProgressLineShowsOnlyRealCounts) {
  TerminalSession session(program, app);
  ASSERT_TRUE(session.Started());
  ASSERT_TRUE(session.Answer("[y/n] > ", "y\n") && session.Answer("folder (empty line cancels) > ", "../game\n"))
      << session.output;
  for (const char* line : {"アップデートパッチ 進行状況\n", "  0 / 2", "  1 / 2", "  2 / 2"})
    ASSERT_TRUE(session.Expect(line)) << session.output;
  ASSERT_TRUE(session.Answer("[Enter] > ", "\n")) << session.output;
  EXPECT_EQ(session.Finish(), 0) << session.output;
  EXPECT_EQ(session.output.find("9999999999"), std::string::npos) << session.output;
}

}  // namespace
