// Finding a top-level window by class and title. The window manager registers the real finder;
// without one no window exists.
#pragma once
#include <functional>
#include <string>

#include "platform/core/Win32Types.h"

namespace plat {

using WindowFinder = std::function<HWND(const std::string& className, const std::string& title)>;
void SetWindowFinder(WindowFinder finder);
HWND FindWindow(const std::string& className, const std::string& title);

}  // namespace plat
