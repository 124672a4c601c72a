// The program's wiring: the shell's services bound to the real folders, tables, sound, device and
// the scenes that start, and the entry that runs the game with them.
#pragma once
#include "game/shell/TShellServices.h"
#include "platform/window/WindowTypes.h"

TShellServices& DefaultShellServices();

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, char* commandLine, int showCommand);
