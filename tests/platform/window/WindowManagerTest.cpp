#include "platform/window/WindowManager.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/WindowLookup.h"
#include "platform/window/WindowBackend.h"

using namespace plat;

namespace {

std::vector<UINT> seen;
void* createParam = nullptr;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  seen.push_back(message);
  if (message == WM_NCCREATE) createParam = reinterpret_cast<CREATESTRUCT*>(lParam)->lpCreateParams;
  if (message == WM_USER) return static_cast<LRESULT>(wParam * 2);
  return DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT Replacement(HWND, UINT message, WPARAM, LPARAM) { return message == WM_USER ? 77 : 0; }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowManager();
    SetWindowBackend(nullptr);
    seen.clear();
    WNDCLASSEX wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Harrowick Duskwheel";
    ASSERT_NE(RegisterClassEx(&wc), 0);
  }
  void TearDown() override { ResetWindowManager(); }
  HWND Create(const char* title = "title") {
    int param = 0;
    return CreateWindowEx(0, "Harrowick Duskwheel", title, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                          nullptr, nullptr, nullptr, &param);
  }
};

TEST_F(WindowTest, CreationSendsTheCreatingMessagesWithTheParameter) {
  int param = 0;
  HWND w = CreateWindowEx(0, "Harrowick Duskwheel", "t", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr, nullptr, &param);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(createParam, &param);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "t", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  WNDCLASSEX again;
  again.lpfnWndProc = RecordingProc;
  again.lpszClassName = "Harrowick Duskwheel";
  EXPECT_EQ(RegisterClassEx(&again), 0) << "a class registers once";

  DefaultHeadlessBackend().failCreate = true;
  EXPECT_EQ(Create(), nullptr);
}

TEST_F(WindowTest, FindWindowByClassAndTitle) {
  HWND w = Create("Duskwheel");
  EXPECT_EQ(FindWindow("Harrowick Duskwheel", "Duskwheel"), w);
  EXPECT_EQ(FindWindow("Harrowick Duskwheel", "Other"), nullptr);
  DestroyWindow(w);
  EXPECT_EQ(FindWindow("Harrowick Duskwheel", "Duskwheel"), nullptr);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowTest, ProceduresPropertiesAndSend) {
  HWND w = Create();
  EXPECT_EQ(SendMessage(w, WM_USER, 21, 0), 42);
  auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&Replacement)));
  EXPECT_EQ(previous, &RecordingProc);
  EXPECT_EQ(SendMessage(w, WM_USER, 21, 0), 77);
  EXPECT_EQ(CallWindowProc(previous, w, WM_USER, 5, 0), 10);

  int object = 0;
  EXPECT_TRUE(SetProp(w, "TSubClassWnd", &object));
  EXPECT_EQ(GetProp(w, "TSubClassWnd"), &object);
  EXPECT_EQ(RemoveProp(w, "TSubClassWnd"), &object);
  EXPECT_EQ(GetProp(w, "TSubClassWnd"), nullptr);
}

TEST_F(WindowTest, QueuePeekGetAndQuit) {
  HWND w = Create();
  PostMessage(w, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessage(w, WM_PAINT, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_ESCAPE));
  seen.clear();
  DispatchMessage(&m);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_KEYDOWN}));

  PostQuitMessage(3);
  EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowTest, DestroyDropsQueuedMessagesAndCloseDestroys) {
  HWND w = Create();
  PostMessage(w, WM_PAINT, 0, 0);
  seen.clear();
  SendMessage(w, WM_CLOSE, 0, 0);  // the default answer to a close is to destroy
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostMessage(w, WM_PAINT, 0, 0));
}

TEST_F(WindowTest, HeadlessWaitAsksTheTestOrQuits) {
  HWND w = Create();
  DefaultHeadlessBackend().onWait = [w] { PostMessage(w, WM_ACTIVATEAPP, 1, 0); };
  MSG m;
  ASSERT_TRUE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_ACTIVATEAPP);
  DefaultHeadlessBackend().onWait = nullptr;
  EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0)) << "an empty headless wait ends in WM_QUIT";
}

// A peek on an empty queue lets the backend wait a moment for native events (what arrives in that
// moment is answered at once) instead of returning straight away to a loop that would spin.
TEST_F(WindowTest, AnEmptyPeekWaitsBrieflyForTheBackend) {
  struct Backend : HeadlessBackend {
    void WaitBriefly() override {
      ++briefWaits;
      if (post) PostMessage(post, WM_KEYDOWN, VK_SPACE, 0);
    }
    HWND post = nullptr;
    int briefWaits = 0;
  } backend;
  SetWindowBackend(&backend);
  HWND w = Create();
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(backend.briefWaits, 1);
  EXPECT_EQ(backend.waits, 0) << "a peek never blocks";
  PostMessage(w, WM_PAINT, 0, 0);
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(backend.briefWaits, 1) << "no wait while messages are queued";
  backend.post = w;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_KEYDOWN);
  SetWindowBackend(nullptr);
}

TEST_F(WindowTest, GeometryAndVisibility) {
  HWND w = Create();
  RECT r;
  r.right = 640;
  r.bottom = 480;
  ASSERT_TRUE(AdjustWindowRect(&r, WS_CAPTION, false));
  EXPECT_EQ(r.right - r.left, 640);
  SetWindowLongPtr(w, GWL_STYLE, WS_CAPTION);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE)), WS_CAPTION);
  SetWindowPos(w, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_HIDEWINDOW);
  ASSERT_TRUE(GetClientRect(w, &r));
  EXPECT_EQ(r.right, 800);
  EXPECT_EQ(r.bottom, 600);
  seen.clear();
  ShowWindow(w, SW_SHOWDEFAULT);
  UpdateWindow(w);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_PAINT}));
  EXPECT_EQ(ShowCursor(false), -1);
  EXPECT_FALSE(DefaultHeadlessBackend().cursorVisible);
  EXPECT_EQ(ShowCursor(true), 0);
}

}  // namespace
