#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/shell/TAppMainWnd.h"
#include "platform/window/WindowBackend.h"

using namespace plat;

namespace {

std::vector<UINT> classProcSeen;
LRESULT ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  classProcSeen.push_back(message);
  if (message == WM_USER) return 5;
  return DefWindowProc(hwnd, message, wParam, lParam);
}

// Records what reaches the object and passes everything on.
class RecordingWnd : public TAppMainWnd {
 public:
  explicit RecordingWnd(const TWindowParams& p) : TAppMainWnd(p) {}
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    if (message == WM_USER + 1) return 99;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWndProc(window, message, wParam, lParam);
  }
  bool CanRunFrame() override { return framesAllowed; }
  bool Frame() override { return ++frames < framesBeforeClose; }

  std::vector<UINT> seen;
  bool framesAllowed = true;
  int frames = 0;
  int framesBeforeClose = 3;
};

class WindowFramework : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowManager();
    SetWindowBackend(nullptr);
    classProcSeen.clear();
    Register("Framework", &TSubClassWnd::StaticWndProc);
    Register("Plain", &ClassProc);
  }
  void TearDown() override { ResetWindowManager(); }
  static void Register(const char* name, WNDPROC proc) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassEx(&wc), 0);
  }
  static TWindowParams Params(const char* cls) {
    TWindowParams p;
    p.className = cls;
    p.title = "w";
    p.style = WS_POPUP;
    return p;
  }
};

TEST_F(WindowFramework, TheCreatingMessageAttachesAndTheDestroyMessageDetaches) {
  RecordingWnd wnd(Params("Framework"));
  wnd.CreateWnd();
  HWND w = wnd.GetHandle();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetProp(w, TSubClassWnd::kPropertyName), &wnd);
  EXPECT_EQ(wnd.seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 99);
  EXPECT_EQ(wnd.GetPreviousProc(), nullptr) << "the class's procedure is the framework's: nothing to chain";

  DestroyWindow(w);
  EXPECT_EQ(wnd.GetHandle(), nullptr);
  EXPECT_EQ(wnd.seen.back(), static_cast<UINT>(WM_DESTROY)) << "WM_NCDESTROY no longer reaches the object";
}

TEST_F(WindowFramework, MessagesBeforeTheObjectIsKnownGetDefaultProcessing) {
  HWND w = CreateWindowEx(0, "Framework", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr) << "no object in the creation parameters: the defaults create the window";
  EXPECT_EQ(GetProp(w, TSubClassWnd::kPropertyName), nullptr);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, 0), HTCLIENT);
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 0);
}

TEST_F(WindowFramework, SubclassingChainsToThePreviousProcedureOnceAndRestoresIt) {
  HWND w = CreateWindowEx(0, "Plain", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  RecordingWnd wnd(Params("Plain"));
  wnd.Attach(w);
  wnd.Attach(w);  // a second attach must not make the framework its own previous procedure
  EXPECT_EQ(wnd.GetPreviousProc(), &ClassProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &TSubClassWnd::StaticWndProc);

  classProcSeen.clear();
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 5) << "the object passes it to the procedure it replaced";
  EXPECT_EQ(classProcSeen, (std::vector<UINT>{WM_USER}));

  wnd.Detach();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &ClassProc);
  EXPECT_EQ(GetProp(w, TSubClassWnd::kPropertyName), nullptr);

  // The destroy message detaches too, putting the replaced procedure back.
  wnd.Attach(w);
  DestroyWindow(w);
  EXPECT_EQ(wnd.GetHandle(), nullptr);
  EXPECT_EQ(wnd.GetPreviousProc(), nullptr);
}

TEST_F(WindowFramework, ADialogsProcedureIsReplacedWhenAsked) {
  HWND w = CreateWindowEx(0, "Plain", "w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(w, DWLP_DLGPROC, reinterpret_cast<intptr_t>(&ClassProc));
  RecordingWnd wnd(Params("Plain"));
  wnd.SetUseDialogProc(true);
  wnd.Attach(w);
  EXPECT_TRUE(wnd.IsDialog());
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, DWLP_DLGPROC)), &TSubClassWnd::StaticWndProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &ClassProc);
  wnd.Detach();
  EXPECT_FALSE(wnd.IsDialog());
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, DWLP_DLGPROC)), &ClassProc);
}

TEST_F(WindowFramework, PollLoopRunsFramesWhenIdleAndClosesWhenAFrameFails) {
  RecordingWnd wnd(Params("Framework"));
  // A close through the default procedure destroys the window, which posts the quit message.
  EXPECT_EQ(wnd.Run(TAppWnd::kPollLoop), 0);
  EXPECT_EQ(wnd.frames, 3);
  EXPECT_NE(std::find(wnd.seen.begin(), wnd.seen.end(), WM_CLOSE), wnd.seen.end());
}

TEST_F(WindowFramework, LoopsEndOnTheQuitMessageWithItsCode) {
  for (int mode : {TAppWnd::kPollLoop, TAppWnd::kWaitLoop}) {
    SetUp();  // a fresh queue: the last window's destruction left a quit message
    RecordingWnd wnd(Params("Framework"));
    wnd.framesAllowed = false;  // the poll loop then waits like the other
    int waits = 0;
    DefaultHeadlessBackend().onWait = [&] {
      if (++waits == 1) PostMessage(nullptr, WM_USER, 0, 0);
      else PostQuitMessage(7);
    };
    EXPECT_EQ(wnd.Run(mode), 7) << mode;
    EXPECT_EQ(wnd.frames, 0);
    DefaultHeadlessBackend().onWait = nullptr;
  }
}

}  // namespace
