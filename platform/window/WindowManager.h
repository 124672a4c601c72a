// A small window manager of our own: classes, windows with procedures and properties, and one
// message queue for the game thread. A backend (headless or SDL) gives windows a native side and
// turns native events into messages.
#pragma once
#include <map>
#include <string>

#include "platform/window/WindowTypes.h"

namespace plat {

struct WindowObject {
  std::string className;
  std::string title;
  DWORD style = 0, exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  HINSTANCE instance = nullptr;
  WNDPROC proc = nullptr;
  WNDPROC dialogProc = nullptr;  // set for dialogs only
  std::map<std::string, void*> props;
  bool visible = false;
  bool alive = true;
  void* native = nullptr;  // the backend's own record
};

ATOM RegisterClassEx(const WNDCLASSEX* wc);
bool UnregisterClass(const char* className, HINSTANCE instance);
// Sends WM_NCCREATE and WM_CREATE (lParam = CREATESTRUCT*); nullptr when the class is unknown,
// the backend cannot make the window, or WM_NCCREATE answers 0.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
HWND GetDesktopWindow();

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
intptr_t GetWindowLongPtr(HWND hwnd, int index);
intptr_t SetWindowLongPtr(HWND hwnd, int index, intptr_t value);

bool SetProp(HWND hwnd, const char* name, void* value);
void* GetProp(HWND hwnd, const char* name);
void* RemoveProp(HWND hwnd, const char* name);

// On an empty queue the backend takes in native events, waiting briefly for one, before the
// answer is no.
bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove);
// Blocks until a message arrives; false for WM_QUIT.
bool GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
bool WaitMessage();
bool TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Drops every queued message and every window (for tests).
void ResetWindowManager();

bool ShowWindow(HWND hwnd, int command);
bool UpdateWindow(HWND hwnd);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool SetWindowPos(HWND hwnd, HWND after, int x, int y, int width, int height, UINT flags);
bool GetClientRect(HWND hwnd, RECT* rect);
bool GetWindowRect(HWND hwnd, RECT* rect);
// The desktop draws the frame itself, so the outer rectangle of a client area is the area.
bool AdjustWindowRect(RECT* rect, DWORD style, bool menu);
int ShowCursor(bool show);
HICON LoadIcon(HINSTANCE instance, int resourceId);
HCURSOR LoadCursor(HINSTANCE instance, int resourceId);
void* GetStockObject(int kind);

}  // namespace plat
