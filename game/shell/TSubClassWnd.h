// Binds an object to a window (or a dialog) by putting the framework's procedure in its place and
// keeping the object in a window property.
#pragma once
#include "platform/window/WindowManager.h"

class TSubClassWnd {
 public:
  static constexpr const char* kPropertyName = "TSubClassWnd";

  TSubClassWnd() = default;
  virtual ~TSubClassWnd();
  TSubClassWnd(const TSubClassWnd&) = delete;
  TSubClassWnd& operator=(const TSubClassWnd&) = delete;

  virtual void Attach(plat::HWND window);
  virtual void Detach();
  virtual bool CanRunFrame() { return true; }
  virtual plat::LRESULT DefWndProc(plat::HWND window, plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam);
  virtual plat::LRESULT WndProc(plat::HWND window, plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam) = 0;

  // The procedure that windows of the framework's classes register.
  static plat::LRESULT StaticWndProc(plat::HWND window, plat::UINT message, plat::WPARAM wParam, plat::LPARAM lParam);

  plat::HWND GetHandle() const { return hwnd; }
  plat::WNDPROC GetPreviousProc() const { return previousProc; }
  bool IsDialog() const { return dialog; }
  void SetUseDialogProc(bool use) { useDialogProc = use; }

 protected:
  plat::HWND hwnd = nullptr;

 private:
  int ProcSlot() const;

  plat::WNDPROC previousProc = nullptr;
  bool dialog = false;
  bool useDialogProc = false;
};
