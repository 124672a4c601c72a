#include "game/shell/TSubClassWnd.h"

using namespace plat;

TSubClassWnd::~TSubClassWnd() { Detach(); }

int TSubClassWnd::ProcSlot() const { return dialog && useDialogProc ? DWLP_DLGPROC : GWLP_WNDPROC; }

void TSubClassWnd::Attach(HWND window) {
  hwnd = window;
  dialog = GetWindowLongPtr(window, DWLP_DLGPROC) != 0;
  SetProp(window, kPropertyName, this);
  auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(window, ProcSlot()));
  if (current == &StaticWndProc) return;  // never chain the procedure to itself
  previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(window, ProcSlot(), reinterpret_cast<intptr_t>(&StaticWndProc)));
}

void TSubClassWnd::Detach() {
  if (!hwnd) return;
  if (previousProc) {
    SetWindowLongPtr(hwnd, ProcSlot(), reinterpret_cast<intptr_t>(previousProc));
    previousProc = nullptr;
  }
  RemoveProp(hwnd, kPropertyName);
  hwnd = nullptr;
  dialog = false;
}

LRESULT TSubClassWnd::DefWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (previousProc) return CallWindowProc(previousProc, window, message, wParam, lParam);
  if (dialog && useDialogProc) return 0;
  return DefWindowProc(window, message, wParam, lParam);
}

LRESULT TSubClassWnd::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* object = static_cast<TSubClassWnd*>(GetProp(window, kPropertyName));
  if (!object) {
    if ((message == WM_NCCREATE || message == WM_CREATE) && lParam)
      object = static_cast<TSubClassWnd*>(reinterpret_cast<CREATESTRUCT*>(lParam)->lpCreateParams);
    else if (message == WM_INITDIALOG)
      object = reinterpret_cast<TSubClassWnd*>(lParam);
    if (!object) return DefWindowProc(window, message, wParam, lParam);
    object->Attach(window);
  }
  LRESULT result = object->WndProc(window, message, wParam, lParam);
  if (message == WM_DESTROY) object->Detach();
  return result;
}
