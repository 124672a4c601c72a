#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/TSingleInstance.h"
#include "platform/core/Clock.h"
#include "platform/core/Com.h"
#include "platform/core/DxComponents.h"
#include "platform/core/FileSystem.h"
#include "tests/game/shell/ShellFixture.h"

using namespace plat;
using namespace shelltest;

namespace {

class Entry : public ShellFixture {
 protected:
  std::string ErrorLog() {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(dir / "ErrorLog.txt", bytes)) return "";
    return std::string(bytes.begin(), bytes.end());
  }
};

// A start that ends in an error box is a failure to whoever started the program: status 1.
TEST_F(Entry, EveryKindOfFailureIsReportedAndTheProgramEndsWithOne) {
  struct Case {
    Throw kind;
    std::string caption;
    std::string text;  // a part of the box's text
    bool logged;
  };
  const Case cases[] = {
      {Throw::MyError, "TransactionError", "error : injected failure\r\n", true},
      {Throw::CString, "Error Message", "injected text", false},
      {Throw::Other, "TransactionError", "file : From TransactionUnkownError\r\n", true},
  };
  for (const Case& c : cases) {
    ResetWindowManager();
    boxes.calls.clear();
    std::remove((dir / "ErrorLog.txt").c_str());
    my_error::SetLogOptions(my_error::GetLogString(), 100, "Other.txt", 1);
    services.throwAt = "LoadGameTables";
    services.throwKind = c.kind;

    EXPECT_EQ(RunGame(services, nullptr), 1) << c.caption;
    ASSERT_EQ(boxes.calls.size(), 1u) << c.caption;
    const MessageBoxCall& box = boxes.calls[0];
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_NE(box.text.find(c.text), std::string::npos) << box.text;
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.style, MB_OK | MB_ICONSTOP | MB_TOPMOST);
    EXPECT_EQ(my_error::GetLogOptions().sizeLimit, 4096u);
    EXPECT_EQ(my_error::GetLogOptions().logFileName, "ErrorLog.txt");
    EXPECT_EQ(ErrorLog().empty(), !c.logged) << "the log lies beside the program";
    if (c.logged) {
      EXPECT_EQ(ErrorLog(), box.text);
    }
  }
}

// The refusals end in their box as well, and a start that is refused is a failed start: status
// 1. A close request after a start that went well is the normal quit: status 0.
TEST_F(Entry, ARefusedStartEndsWithOneAndANormalCloseWithZero) {
  enum class Start { SecondCopy, NoSettingIni, OldDirectX, Normal };
  struct Case {
    Start start;
    const char* name;
    int status;
    size_t boxCount;
  };
  const Case cases[] = {
      {Start::SecondCopy, "second copy", 1, 1},
      {Start::NoSettingIni, "no setting.ini", 1, 1},
      {Start::OldDirectX, "DirectX 7", 1, 1},
      {Start::Normal, "normal close", 0, 0},
  };
  for (const Case& c : cases) {
    ResetWindowManager();
    boxes.calls.clear();
    WriteSettings(dir.path());
    SetDxComponents(DxComponents{});
    std::unique_ptr<TSingleInstance> first;
    switch (c.start) {
      case Start::SecondCopy:
        first = std::make_unique<TSingleInstance>(TGameWnd::kMutexName, kGameWindowTitle, kGameWindowClass);
        ASSERT_TRUE(first->Check());
        break;
      case Start::NoSettingIni: std::remove("setting.ini"); break;
      case Start::OldDirectX: {
        DxComponents dx;
        dx.d3d8Library = false;
        SetDxComponents(dx);
        break;
      }
      case Start::Normal: break;
    }
    headless.onWait = [&] { PostMessage(services.app->GetHandle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(RunGame(services, nullptr), c.status) << c.name;
    EXPECT_EQ(boxes.calls.size(), c.boxCount) << c.name;
    EXPECT_TRUE(ErrorLog().empty()) << c.name << ": a refusal is a box, not an error record";
    headless.onWait = nullptr;
  }
}

TEST_F(Entry, AFailedRunLeavesNoGuardOrWindowBehind) {
  services.throwAt = "InitDevice";  // no device could be built
  EXPECT_EQ(RunGame(services, nullptr), 1);
  ASSERT_EQ(boxes.calls.size(), 1u);

  // The object is gone with its mutex: the next start is not taken for a second instance.
  ResetWindowManager();
  boxes.calls.clear();
  log.clear();
  services.throwAt.clear();
  headless.onWait = [&] { PostMessage(services.app->GetHandle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(RunGame(services, nullptr), 0);
  EXPECT_TRUE(boxes.calls.empty());
  EXPECT_EQ(Count("CleanupDevice"), 1u);
}

// Whatever the start had begun when it failed is shut down once, before the error is shown.
TEST_F(Entry, AStartThatFailsLateUndoesWhatItBegan) {
  for (const char* step : {"LoadGameTables", "InitDevice", "CreateTitle"}) {
    ResetWindowManager();
    boxes.calls.clear();
    log.clear();
    services.throwAt = step;
    EXPECT_EQ(RunGame(services, nullptr), 1) << step;
    EXPECT_EQ(boxes.calls.size(), 1u) << step;
    EXPECT_EQ(Count("UninitSound com=1"), 1u) << step;
    EXPECT_EQ(Count("CleanupDevice"), 1u) << step;
    EXPECT_EQ(ComInitCount(), 0) << step;
    EXPECT_EQ(TimerPeriodsInForce(), 0) << step;
  }
}

}  // namespace
