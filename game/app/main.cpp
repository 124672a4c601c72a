// The game program: real windows and message boxes through SDL, the desktop's adapter and OpenGL
// pictures when there is a display, then the game's own entry.
#include "game/app/GameServices.h"
#include "platform/core/MessageBox.h"
#include "platform/gfx/gl/SdlDisplay.h"
#include "platform/window/SdlBackend.h"

int main() {
  int exitCode;
  {
    plat::SdlBackend sdl;
    if (sdl.Ready() && plat::InstallSdlAdapterTable()) plat::UseGlRenderer();
    plat::SetWindowBackend(&sdl);
    plat::SetMessageBoxHandler(&sdl);
    char commandLine[] = "";
    exitCode = WinMain(nullptr, nullptr, commandLine, plat::SW_SHOWDEFAULT);
    plat::SetMessageBoxHandler(nullptr);
    plat::SetWindowBackend(nullptr);
  }
  return exitCode;
}
