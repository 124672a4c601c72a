// A window of the framework that creates itself from stored creation parameters.
#pragma once
#include <string>

#include "game/shell/TAppWnd.h"

struct TWindowParams {
  plat::DWORD exStyle = 0;
  std::string className;
  std::string title;
  plat::DWORD style = 0;
  int x = plat::CW_USEDEFAULT, y = plat::CW_USEDEFAULT;
  int width = plat::CW_USEDEFAULT, height = plat::CW_USEDEFAULT;
  plat::HWND parent = nullptr;
  plat::HMENU menu = nullptr;
  plat::HINSTANCE instance = nullptr;
};

class TAppMainWnd : public TAppWnd {
 public:
  explicit TAppMainWnd(const TWindowParams& params) : params(params) {}

  // The handle stays null when the window could not be made; the caller checks.
  void CreateWnd() override;

  const TWindowParams& GetParams() const { return params; }

 protected:
  TWindowParams params;
};
