// What the game program installs once SDL has a display: the adapter table of the real desktop
// and the OpenGL renderer for every device.
#pragma once

namespace plat {

// The adapter table of the desktop SDL shows on display 0; false (the table left as it was) when
// SDL cannot tell, as without a display.
bool InstallSdlAdapterTable();
// Every device created from now on draws through OpenGL in its window.
void UseGlRenderer();

}  // namespace plat
