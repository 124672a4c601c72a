// The program entry: sets up the error log, runs the game window object and reports whatever
// escapes it.
#pragma once
#include "game/shell/TAppMainWnd.h"
#include "game/shell/TShellServices.h"
#include "platform/window/WindowTypes.h"

// "Duskwheel 3章 ～ Harvest ～"
constexpr const char* kGameWindowTitle =
    "\x44\x75\x73\x6b\x77\x68\x65\x65\x6c\x20\x33\x8f\xcd\x20\x81\x60\x20\x48\x61\x72\x76\x65\x73\x74\x20\x81\x60";
constexpr const char* kGameWindowClass = "Harrowick Duskwheel";

// The game window's creation parameters: a 640 x 480 popup of the game's class and title.
TWindowParams GameWindowParams(plat::HINSTANCE instance);

// The exit code: the quit message's, or TGameWnd::kFailedStart after a failed check, a missing
// "setting.ini" or a reported error.
int RunGame(TShellServices& services, plat::HINSTANCE instance);
