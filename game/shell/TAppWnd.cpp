#include "game/shell/TAppWnd.h"

using namespace plat;

int TAppWnd::Run(int mode) {
  CreateWnd();
  Initialize();
  MSG msg;
  if (mode == kPollLoop) {
    for (;;) {
      if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        TranslateAndDispatch(msg);
      } else if (CanRunFrame()) {
        if (!Frame()) SendMessage(hwnd, WM_CLOSE, 0, 0);
      } else {
        WaitMessage();
      }
    }
  } else if (mode == kWaitLoop) {
    while (GetMessage(&msg, nullptr, 0, 0)) TranslateAndDispatch(msg);
  }
  Finalize();
  return static_cast<int>(msg.wParam);
}

void TAppWnd::TranslateAndDispatch(const MSG& message) {
  TranslateMessage(&message);
  DispatchMessage(&message);
}
