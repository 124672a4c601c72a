// The program's wiring: the shell's services bound to the real folders, tables, sound, device and
// the scenes that start, and the entry that runs the game with them.
#pragma once
#include "game/shell/TShellServices.h"
#include "platform/window/WindowTypes.h"

TShellServices& DefaultShellServices();

// The seams between the subsystems bound to the real ones: what the field, the screens and the
// scripts make of the subsystems beside and above them. The program's services install them at
// once; a test may too.
void InstallGameLinks();
// Each seam back to what it is before anything is installed.
void RemoveGameLinks();

int WinMain(plat::HINSTANCE instance, plat::HINSTANCE previous, char* commandLine, int showCommand);
