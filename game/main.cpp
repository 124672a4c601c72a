// The game program: real windows and message boxes through SDL, then the game's own entry.
#include "game/shell/WinMain.h"
#include "platform/core/MessageBox.h"
#include "platform/window/SdlBackend.h"

int main() {
  int exitCode;
  {
    plat::SdlBackend sdl;
    plat::SetWindowBackend(&sdl);
    plat::SetMessageBoxHandler(&sdl);
    char commandLine[] = "";
    exitCode = WinMain(nullptr, nullptr, commandLine, plat::SW_SHOWDEFAULT);
    plat::SetMessageBoxHandler(nullptr);
    plat::SetWindowBackend(nullptr);
  }
  return exitCode;
}
