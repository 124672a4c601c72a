#include "platform/window/WindowManager.h"

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/LastError.h"
#include "platform/core/WindowLookup.h"
#include "platform/window/InputState.h"
#include "platform/window/WindowBackend.h"

namespace plat {
namespace {

struct ClassRecord {
  ATOM atom;
  WNDCLASSEX wc;
  std::string name;
};

struct State {
  std::mutex lock;  // the queue may be posted to from other threads
  std::map<std::string, ClassRecord> classes;
  std::vector<std::unique_ptr<WindowObject>> windows;
  std::deque<MSG> queue;
  ATOM nextAtom = 0xC000;
  int cursorCount = 0;
  WindowObject desktop;
};

State& S() {
  static State* state = [] {
    auto* s = new State;
    SetWindowFinder([](const std::string& cls, const std::string& title) -> HWND {
      for (auto& w : S().windows)
        if (w->alive && w->parent == nullptr && w->className == cls && w->title == title) return w.get();
      return nullptr;
    });
    return s;
  }();
  return *state;
}

WindowObject* Live(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (auto& w : S().windows)
    if (w.get() == hwnd) return w->alive ? hwnd : nullptr;
  return nullptr;
}

bool Matches(const MSG& m, HWND hwnd, UINT lo, UINT hi) {
  if (hwnd && m.hwnd != hwnd) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

bool TakeMessage(MSG* msg, HWND hwnd, UINT lo, UINT hi, bool remove) {
  std::lock_guard<std::mutex> guard(S().lock);
  auto& q = S().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (it->message == WM_QUIT || Matches(*it, hwnd, lo, hi)) {
      *msg = *it;
      if (remove) q.erase(it);
      return true;
    }
  }
  return false;
}

bool QueueEmpty() {
  std::lock_guard<std::mutex> guard(S().lock);
  return S().queue.empty();
}

void Post(const MSG& m) {
  std::lock_guard<std::mutex> guard(S().lock);
  S().queue.push_back(m);
}

}  // namespace

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || !wc->lpfnWndProc || wc->cbSize != sizeof(WNDCLASSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string name = wc->lpszClassName ? wc->lpszClassName : "";
  if (S().classes.count(name)) {
    SetLastError(1410);  // class already exists
    return 0;
  }
  ATOM atom = S().nextAtom++;
  S().classes[name] = ClassRecord{atom, *wc, name};
  return atom;
}

bool UnregisterClass(const char* className, HINSTANCE) {
  return S().classes.erase(className ? className : "") > 0;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  auto cls = S().classes.find(className ? className : "");
  if (cls == S().classes.end()) {
    SetLastError(1407);  // cannot find window class
    return nullptr;
  }
  auto owned = std::make_unique<WindowObject>();
  WindowObject* w = owned.get();
  w->className = cls->first;
  w->title = title ? title : "";
  w->style = style;
  w->exStyle = exStyle;
  w->x = x == CW_USEDEFAULT ? 0 : x;
  w->y = y == CW_USEDEFAULT ? 0 : y;
  w->width = width == CW_USEDEFAULT ? 640 : width;
  w->height = height == CW_USEDEFAULT ? 480 : height;
  w->parent = parent;
  w->instance = instance;
  w->proc = cls->second.wc.lpfnWndProc;
  w->visible = (style & WS_VISIBLE) != 0;
  if (!CurrentWindowBackend().CreateNative(*w)) return nullptr;
  S().windows.push_back(std::move(owned));

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = w->width;
  cs.cy = w->height;
  cs.x = w->x;
  cs.y = w->y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = w->title.c_str();
  cs.lpszClass = w->className.c_str();
  cs.dwExStyle = exStyle;
  auto lp = reinterpret_cast<LPARAM>(&cs);
  if (SendMessage(w, WM_NCCREATE, 0, lp) == 0 || SendMessage(w, WM_CREATE, 0, lp) == -1) {
    DestroyWindow(w);
    return nullptr;
  }
  return w;
}

bool DestroyWindow(HWND hwnd) {
  WindowObject* w = Live(hwnd);
  if (!w) {
    SetLastError(1400);  // invalid window handle
    return false;
  }
  if (w->visible) {
    w->visible = false;
    CurrentWindowBackend().Update(*w);
  }
  SendMessage(w, WM_DESTROY, 0, 0);
  SendMessage(w, WM_NCDESTROY, 0, 0);
  CurrentWindowBackend().DestroyNative(*w);
  w->alive = false;  // the record stays so stale handles are recognised as dead
  std::lock_guard<std::mutex> guard(S().lock);
  auto& q = S().queue;
  for (auto it = q.begin(); it != q.end();) it = it->hwnd == w ? q.erase(it) : it + 1;
  return true;
}

bool IsWindow(HWND hwnd) { return Live(hwnd) != nullptr; }
HWND GetDesktopWindow() { return &S().desktop; }

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_NCCREATE: return 1;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) PostMessage(hwnd, WM_CLOSE, 0, 0);
      return 0;
    default: return 0;
  }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : DefWindowProc(hwnd, message, wParam, lParam);
}

intptr_t GetWindowLongPtr(HWND hwnd, int index) {
  WindowObject* w = Live(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<intptr_t>(w->proc);
    case DWLP_DLGPROC: return reinterpret_cast<intptr_t>(w->dialogProc);
    case GWL_STYLE: return static_cast<intptr_t>(w->style);
    case GWL_EXSTYLE: return static_cast<intptr_t>(w->exStyle);
    default: return 0;
  }
}

intptr_t SetWindowLongPtr(HWND hwnd, int index, intptr_t value) {
  WindowObject* w = Live(hwnd);
  if (!w) return 0;
  intptr_t old = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case DWLP_DLGPROC: w->dialogProc = reinterpret_cast<WNDPROC>(value); break;
    case GWL_STYLE:
      w->style = static_cast<DWORD>(value);
      CurrentWindowBackend().Update(*w);
      break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    default: return 0;
  }
  return old;
}

bool SetProp(HWND hwnd, const char* name, void* value) {
  WindowObject* w = Live(hwnd);
  if (!w || !name) return false;
  w->props[name] = value;
  return true;
}

void* GetProp(HWND hwnd, const char* name) {
  WindowObject* w = Live(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(name);
  return it == w->props.end() ? nullptr : it->second;
}

void* RemoveProp(HWND hwnd, const char* name) {
  WindowObject* w = Live(hwnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(name);
  if (it == w->props.end()) return nullptr;
  void* v = it->second;
  w->props.erase(it);
  return v;
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT lo, UINT hi, UINT remove) {
  if (TakeMessage(msg, hwnd, lo, hi, remove & PM_REMOVE)) return true;
  CurrentWindowBackend().WaitBriefly();
  return TakeMessage(msg, hwnd, lo, hi, remove & PM_REMOVE);
}

bool WaitMessage() {
  CurrentWindowBackend().Pump(0);
  while (QueueEmpty()) CurrentWindowBackend().Pump(INFINITE);
  return true;
}

bool GetMessage(MSG* msg, HWND hwnd, UINT lo, UINT hi) {
  while (!PeekMessage(msg, hwnd, lo, hi, PM_REMOVE)) CurrentWindowBackend().Pump(INFINITE);
  return msg->message != WM_QUIT;
}

bool TranslateMessage(const MSG*) { return false; }  // the game reads no character messages

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !Live(msg->hwnd)) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowObject* w = Live(hwnd);
  if (!w) return 0;
  return CallWindowProc(w->proc, hwnd, message, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !Live(hwnd)) return false;
  MSG m;
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = timeGetTime();
  Post(m);
  return true;
}

void PostQuitMessage(int exitCode) {
  MSG m;
  m.message = WM_QUIT;
  m.wParam = static_cast<WPARAM>(exitCode);
  m.time = timeGetTime();
  Post(m);
}

void ResetWindowManager() {
  std::lock_guard<std::mutex> guard(S().lock);
  S().queue.clear();
  for (auto& w : S().windows) w->alive = false;
  S().classes.clear();
  S().cursorCount = 0;
}

bool ShowWindow(HWND hwnd, int command) {
  WindowObject* w = Live(hwnd);
  if (!w) return false;
  bool wasVisible = w->visible;
  bool minimise = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
  w->visible = command != SW_HIDE;
  CurrentWindowBackend().Update(*w);
  if (minimise) SendMessage(w, WM_SIZE, SIZE_MINIMIZED, 0);
  return wasVisible;
}

bool UpdateWindow(HWND hwnd) {
  WindowObject* w = Live(hwnd);
  if (!w) return false;
  if (w->visible) SendMessage(w, WM_PAINT, 0, 0);
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  WindowObject* w = Live(hwnd);
  if (!w) return false;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  CurrentWindowBackend().Update(*w);
  if (repaint) UpdateWindow(w);
  return true;
}

bool SetWindowPos(HWND hwnd, HWND, int x, int y, int width, int height, UINT flags) {
  WindowObject* w = Live(hwnd);
  if (!w) return false;
  if (!(flags & SWP_NOMOVE)) {
    w->x = x;
    w->y = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    w->width = width;
    w->height = height;
  }
  if (flags & SWP_SHOWWINDOW) w->visible = true;
  if (flags & SWP_HIDEWINDOW) w->visible = false;
  CurrentWindowBackend().Update(*w);
  return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
  WindowObject* w = Live(hwnd);
  if (!w || !rect) return false;
  *rect = RECT{0, 0, w->width, w->height};
  return true;
}

bool GetWindowRect(HWND hwnd, RECT* rect) {
  WindowObject* w = Live(hwnd);
  if (!w || !rect) return false;
  *rect = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
  return true;
}

bool AdjustWindowRect(RECT* rect, DWORD, bool) { return rect != nullptr; }

int ShowCursor(bool show) {
  int count = show ? ++S().cursorCount : --S().cursorCount;
  CurrentWindowBackend().SetCursorVisible(count >= 0);
  return count;
}

HICON LoadIcon(HINSTANCE, int resourceId) { return reinterpret_cast<HICON>(static_cast<intptr_t>(resourceId)); }
HCURSOR LoadCursor(HINSTANCE, int resourceId) {
  return reinterpret_cast<HCURSOR>(static_cast<intptr_t>(resourceId));
}
void* GetStockObject(int kind) { return reinterpret_cast<void*>(static_cast<intptr_t>(0x1000 + kind)); }

void HeadlessBackend::Pump(DWORD timeoutMs) {
  if (timeoutMs == 0 || !QueueEmpty()) return;
  ++waits;
  if (onWait) onWait();
  if (QueueEmpty()) {
    std::fprintf(stderr, "headless window backend: waiting on an empty queue; posting WM_QUIT\n");
    PostQuitMessage(0);
  }
}

namespace {
WindowBackend* backend = nullptr;
}

HeadlessBackend& DefaultHeadlessBackend() {
  static HeadlessBackend headless;
  return headless;
}

void SetWindowBackend(WindowBackend* b) {
  if (!b) DefaultHeadlessBackend() = HeadlessBackend{};
  backend = b;
}

WindowBackend& CurrentWindowBackend() { return backend ? *backend : DefaultHeadlessBackend(); }

}  // namespace plat
