#include "platform/window/InputState.h"

#include <array>
#include <cstring>
#include <mutex>

namespace plat {
namespace {

struct Input {
  std::mutex lock;
  std::array<uint8_t, 256> keys{};
  std::array<bool, 256> pressedSinceQuery{};
  // Pressed since the last keyboard read: a tap shorter than a frame must still reach the game.
  std::array<bool, 256> pressedSinceRead{};
  POINT cursor;
  std::vector<JoystickDevice> joysticks;
};

Input& I() {
  static Input input;
  return input;
}

}  // namespace

bool GetKeyboardState(uint8_t keys[256]) {
  std::lock_guard<std::mutex> guard(I().lock);
  std::memcpy(keys, I().keys.data(), 256);
  for (size_t vk = 0; vk < 256; ++vk)
    if (I().pressedSinceRead[vk]) keys[vk] |= 0x80;
  I().pressedSinceRead.fill(false);
  return true;
}

int16_t GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  std::lock_guard<std::mutex> guard(I().lock);
  int16_t state = (I().keys[vk] & 0x80) ? static_cast<int16_t>(0x8000) : 0;
  if (I().pressedSinceQuery[vk]) state |= 1;
  I().pressedSinceQuery[vk] = false;
  return state;
}

bool GetCursorPos(POINT* point) {
  if (!point) return false;
  std::lock_guard<std::mutex> guard(I().lock);
  *point = I().cursor;
  return true;
}

UINT joyGetNumDevs() {
  std::lock_guard<std::mutex> guard(I().lock);
  return static_cast<UINT>(I().joysticks.size());
}

MMRESULT joyGetDevCaps(UINT id, JOYCAPS* caps, UINT size) {
  std::lock_guard<std::mutex> guard(I().lock);
  if (!caps || size < sizeof(JOYCAPS)) return MMSYSERR_ERROR + 10;  // invalid parameter
  if (id >= I().joysticks.size()) return MMSYSERR_BADDEVICEID;
  if (!I().joysticks[id].plugged) return JOYERR_UNPLUGGED;
  *caps = I().joysticks[id].caps;
  return JOYERR_NOERROR;
}

MMRESULT joyGetPosEx(UINT id, JOYINFOEX* info) {
  std::lock_guard<std::mutex> guard(I().lock);
  if (!info) return JOYERR_PARMS;
  if (id >= I().joysticks.size()) return JOYERR_PARMS;
  if (!I().joysticks[id].plugged) return JOYERR_UNPLUGGED;
  DWORD flags = info->dwFlags;
  *info = I().joysticks[id].position;
  info->dwFlags = flags;
  return JOYERR_NOERROR;
}

void SetKeyDown(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  std::lock_guard<std::mutex> guard(I().lock);
  if (down && !(I().keys[vk] & 0x80)) I().pressedSinceQuery[vk] = I().pressedSinceRead[vk] = true;
  I().keys[vk] = down ? 0x80 : 0;
}

void SetCursorPosition(LONG x, LONG y) {
  std::lock_guard<std::mutex> guard(I().lock);
  I().cursor = POINT{x, y};
}

void ReleaseAllKeys() {
  std::lock_guard<std::mutex> guard(I().lock);
  I().keys.fill(0);
  I().pressedSinceQuery.fill(false);
  I().pressedSinceRead.fill(false);
}

void SetJoysticks(const std::vector<JoystickDevice>& devices) {
  std::lock_guard<std::mutex> guard(I().lock);
  I().joysticks = devices;
}

void SetJoystickPosition(UINT id, DWORD x, DWORD y, DWORD buttons) {
  std::lock_guard<std::mutex> guard(I().lock);
  if (id >= I().joysticks.size()) return;
  auto& p = I().joysticks[id].position;
  p.dwXpos = x;
  p.dwYpos = y;
  p.dwButtons = buttons;
}

void SetJoystickPlugged(UINT id, bool plugged) {
  std::lock_guard<std::mutex> guard(I().lock);
  if (id < I().joysticks.size()) I().joysticks[id].plugged = plugged;
}

}  // namespace plat
