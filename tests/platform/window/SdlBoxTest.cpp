// Message boxes of the SDL backend on a virtual X display (the test command starts Xvfb), shown by
// a stand-in for zenity, so that no real box ever waits for a person.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/core/FileSystem.h"
#include "platform/window/SdlBackend.h"
#include "platform/window/WindowManager.h"
#include "tests/support/TempDir.h"

using namespace plat;

namespace {

void Put(const std::string& path, const std::string& text) {
  ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size()));
}

std::string Read(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

LRESULT Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// The stand-in notes its process and arguments, then exits with the status in "rc" (default 0),
// or waits until it is ended when "hang" exists.
class SdlBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    const std::string d = dir.path();
    Put(program, "#!/bin/sh\n"
                 "echo $$ > " + d + "/pid\n"
                 "printf '%s\\0' \"$@\" > " + d + "/args\n"
                 "[ -f " + d + "/hang ] && exec sleep 60\n"
                 "exit $(cat " + d + "/rc 2>/dev/null || echo 0)\n");
    testkit::SetFileMode(program, 0755);
    sdl.SetBoxProgram(program);
    SetWindowBackend(&sdl);
  }
  void TearDown() override {
    ResetWindowManager();
    SetWindowBackend(nullptr);
    sdl.SetBoxProgram("zenity");
  }
  bool HasArgument(const std::string& argument) const {
    const std::string all = Read(dir / "args");
    return all.find(std::string(1, '\0') + argument + '\0') != std::string::npos ||
           all.rfind(argument + '\0', 0) == 0;
  }

  static inline SdlBackend sdl;  // one for the program: Xvfb starts over when its last client leaves
  testkit::TempDir dir;
  const std::string program = dir / "zenity";
};

TEST_F(SdlBoxTest, TheGamesTextsReachTheBoxAsUtf8AndItsButtonAnswers) {
  // "起動エラー", "設定ファイル\r\nOKを押す"
  const MessageBoxCall call{nullptr, "\x90\xdd\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\r\nOK\x82\xf0\x89\x9f\x82\xb7",
                            "\x8b\x4e\x93\xae\x83\x47\x83\x89\x81\x5b", MB_ICONEXCLAMATION};
  EXPECT_EQ(sdl.Show(call), IDOK);
  EXPECT_TRUE(HasArgument("--text=設定ファイル\nOKを押す")) << "a line ends in a line feed alone";
  EXPECT_TRUE(HasArgument("--title=起動エラー"));
  EXPECT_TRUE(HasArgument("--warning"));

  Put(dir / "rc", "1");
  EXPECT_EQ(sdl.Show(MessageBoxCall{nullptr, "quit?", "Duskwheel", MB_YESNO | MB_ICONQUESTION}), IDNO);
}

// A close request (here SIGTERM) while a box is shown takes the box away, answers as a closed box
// does, and stays for the game: the next peek finds the window's close message.
TEST_F(SdlBoxTest, ACloseRequestTakesTheBoxAwayAndReachesTheWindow) {
  WNDCLASSEX wc;
  wc.lpfnWndProc = Procedure;
  wc.lpszClassName = "box test";
  ASSERT_NE(RegisterClassEx(&wc), 0);
  HWND window = CreateWindowEx(0, "box test", "box test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  Put(dir / "hang", "");
  std::thread request([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(getpid(), SIGTERM);
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sdl.Show(MessageBoxCall{nullptr, "quit?", "Duskwheel", MB_YESNO}), IDNO);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  request.join();
  const pid_t box = std::stoi(Read(dir / "pid"));
  EXPECT_NE(kill(box, 0), 0) << "the box's program is ended";

  MSG m{};
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, window);
  EXPECT_EQ(m.message, WM_CLOSE);
}

}  // namespace
