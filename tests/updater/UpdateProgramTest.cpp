// The exit status of the real program: 0 only after the completion box, 1 after every run that
// ends early, with its message still shown and the installed game left as it was.
#include <gtest/gtest.h>

#include <functional>

#include "tests/updater/UpdateProgram.h"

namespace {

using updater_program::RunWithoutTerminal;
using updater_program::TerminalSession;

// The interruption box's text as a terminal or stderr shows it (UTF-8, lines ended by "\n").
std::string Interrupted(const std::string& cause) {
  return "アップデートは次の原因で中断されました。\n\n" + cause +
         "\n\nエラーの原因に対処した後にもう一度アップデートを行ってください。\n"
         "OK を押しすと終了します。\n";
}

// Whether every part appears in text, each after the one before.
bool InOrder(const std::string& text, const std::vector<std::string>& parts) {
  size_t at = 0;
  for (const std::string& part : parts) {
    at = text.find(part, at);
    if (at == std::string::npos) return false;
    at += part.size();
  }
  return true;
}

TEST_F(UpdateProgramTest, AnUpdateStoppedAtTheTerminalExitsWith1) {
  struct Answer {
    std::string prompt;  // waited for before the keys are sent
    std::string keys;
  };
  const Answer yes{"アップデートを開始しますか？\n[y/n] > ", "y\n"};
  const std::string folderPrompt = "folder (empty line cancels) > ";
  struct Case {
    const char* what;
    std::function<void(UpdateProgramTest&)> setup;
    std::vector<Answer> answers;
    std::string cause;
  } cases[] = {
      {"no at the confirmation", [](UpdateProgramTest&) {}, {{yes.prompt, "n\n"}},
       "ユーザーによってアップデートは中断されました。"},
      {"folder choice cancelled", [](UpdateProgramTest&) {}, {yes, {folderPrompt, "\n"}},
       "アップデート先フォルダの取得に失敗しました。"},
      {"folder that does not exist, not chosen again",
       [](UpdateProgramTest&) {},
       {yes,
        {folderPrompt, "../nowhere\n"},
        {"[i] エラー\n入力されたフォルダ名\n../nowhere\n"
         "は無効なフォルダ名です。\nフォルダの選択を続行しますか？\n[y/n] > ",
         "n\n"}},
       "アップデート先フォルダの取得に失敗しました。"},
      {"patch without its data folder", [](UpdateProgramTest& t) { std::filesystem::remove_all(t.data); },
       {yes, {folderPrompt, "../game\n"}}, "アップデートファイルの列挙に失敗しました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WritePatch();
    c.setup(*this);
    const auto before = Snapshot(game);
    TerminalSession session(program, app);
    ASSERT_TRUE(session.Started());
    for (const Answer& a : c.answers) ASSERT_TRUE(session.Answer(a.prompt, a.keys)) << session.output;
    ASSERT_TRUE(session.Answer("[!] Duskwheel アップデートパッチ\n" + Interrupted(c.cause) + "\n[Enter] > ", "\n"))
        << session.output;
    EXPECT_EQ(session.Finish(), 1) << session.output;
    EXPECT_EQ(Snapshot(game), before);
  }
}

TEST_F(UpdateProgramTest, AnUpdateStoppedWithoutATerminalExitsWith1) {
  struct Case {
    const char* what;
    std::function<void(UpdateProgramTest&)> setup;
    std::vector<std::string> messages;  // UTF-8, in the order stderr shows them
    std::vector<std::string> log;       // Shift-JIS, in the order "ErrorLog.txt" holds them; none: no log
  } cases[] = {
      {"no update.ini", [](UpdateProgramTest& t) { ::unlink((t.app + "/update.ini").c_str()); },
       {"[Duskwheel アップデートパッチ] " + Interrupted("初期化ファイルの読み込みに失敗しました。")},
       {}},
      {"a confirmation nobody could answer", [](UpdateProgramTest&) {},
       {"[Duskwheel 3章 アップデートパッチ] ", "アップデートを開始しますか？\n",
        "[Duskwheel アップデートパッチ] " + Interrupted("ユーザーによってアップデートは中断されました。")},
       {}},
      {"a key given twice in update.ini",
       [](UpdateProgramTest& t) { Put(t.app + "/update.ini", "[ApplicationInfo]\r\nname=a\r\nname=b\r\n"); },
       {"[TransactionError] module : " + app + "/duskwheel-update\nfile : CINI\nline : 96\n",
        "error : エラーを詳細を添えて製作者へご一報を・・・\n"},
       {"module : " + app + "/duskwheel-update\nfile : CINI\nline : 96\n",
        "error : " + Sjis("エラーを詳細を添えて製作者へご一報を・・・") + "\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni("Duskwheel 3\x8f\xcd");
    ::unlink((app + "/ErrorLog.txt").c_str());
    c.setup(*this);
    const auto before = Snapshot(game);
    const updater_program::QuietRun run = RunWithoutTerminal(program, app);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_TRUE(InOrder(run.errors, c.messages)) << run.errors;
    if (c.log.empty())
      EXPECT_FALSE(std::filesystem::exists(app + "/ErrorLog.txt"));
    else
      EXPECT_TRUE(InOrder(Read(app + "/ErrorLog.txt"), c.log)) << Read(app + "/ErrorLog.txt");
    EXPECT_EQ(Snapshot(game), before);
  }
}

}  // namespace
