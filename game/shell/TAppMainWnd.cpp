#include "game/shell/TAppMainWnd.h"

void TAppMainWnd::CreateWnd() {
  // The creating messages attach the object (the class's procedure is the framework's).
  hwnd = plat::CreateWindowEx(params.exStyle, params.className.c_str(), params.title.c_str(), params.style,
                              params.x, params.y, params.width, params.height, params.parent, params.menu,
                              params.instance, this);
}
