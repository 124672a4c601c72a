// Keyboard, mouse and joystick state as the game polls it. Backends (SDL) and tests feed it.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/window/WindowTypes.h"

namespace plat {

// Polling.
// A key pressed since the previous read shows as down once, even when it was let go before it.
bool GetKeyboardState(uint8_t keys[256]);
// Bit 0x8000: down now; bit 0x0001: pressed since the previous query of this key.
int16_t GetAsyncKeyState(int vk);
bool GetCursorPos(POINT* point);
UINT joyGetNumDevs();
MMRESULT joyGetDevCaps(UINT id, JOYCAPS* caps, UINT size);
MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info);

// Feeding.
void SetKeyDown(int vk, bool down);
void SetCursorPosition(LONG x, LONG y);
void ReleaseAllKeys();

struct JoystickDevice {
  JOYCAPS caps;
  JOYINFOEX position;
  bool plugged = true;
};
// The joystick ids 0..n-1 the system reports; empty means no joystick driver at all.
void SetJoysticks(const std::vector<JoystickDevice>& devices);
void SetJoystickPosition(UINT id, DWORD x, DWORD y, DWORD buttons);
void SetJoystickPlugged(UINT id, bool plugged);

}  // namespace plat
