#include "updater/CTerminalUi.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "tests/updater/UpdaterFixture.h"

extern char** environ;

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

// The real program on a pseudo-terminal, answered as a person at the terminal would. Every wait
// has a deadline, and a program still running at the end is killed.
class TerminalSession {
 public:
  TerminalSession(const std::string& program, const std::string& folder) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) env.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    struct winsize size {};
    size.ws_row = 24;
    size.ws_col = 100;
    pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      if (::chdir(folder.c_str()) == 0) ::execve(program.c_str(), argv, envp.data());
      ::_exit(127);
    }
  }
  ~TerminalSession() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }
  bool Started() const { return pid_ > 0; }

  // Waits until text has appeared after what the last expectation consumed. Line ends may be
  // written either way: the terminal shows each as "\r\n".
  bool Expect(const std::string& lines) {
    std::string text;
    for (char c : lines) {
      if (c == '\n') text += '\r';
      if (c != '\r') text += c;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
      size_t at = output.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      if (!ReadSome(deadline)) return false;
    }
  }
  void Send(const std::string& keys) {
    ASSERT_EQ(::write(master_, keys.data(), keys.size()), ssize_t(keys.size()));
  }
  // The exit code once the program has ended by itself; -1 when it did not in time.
  int Finish() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (ReadSome(deadline)) {
    }
    for (;;) {
      int status = 0;
      pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      if (std::chrono::steady_clock::now() > deadline) return -1;
      struct pollfd none {};
      ::poll(&none, 0, 10);
    }
  }

  std::string output;

 private:
  // False at the end of the output or at the deadline.
  bool ReadSome(std::chrono::steady_clock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    struct pollfd p {
      master_, POLLIN, 0
    };
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int master_ = -1;
  size_t consumed_ = 0;
};

class TerminalUpdateTest : public UpdaterTest {
 public:
  void SetUp() override {
    UpdaterTest::SetUp();
    program = app + "/duskwheel-update";
    std::filesystem::copy_file(DW_UPDATE_PROGRAM, program);
    testkit::SetFileMode(program, 0755);
    WriteIni("Duskwheel 3\x8f\xcd");
    Put(game + "/game.exe", "exe");
    Put(data + "/game.exe", "new exe");
    Put(data + "/data/tbl03/wepon.tbl", "table");
  }
  std::string program;
};

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
  EXPECT_EQ(session.Finish(), 0) << session.output;
  EXPECT_EQ(Read(game + "/game.exe"), "exe");
}

}  // namespace
