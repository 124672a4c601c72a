#include "game/shell/TInput.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>

#include "common/TIni.h"
#include "platform/window/InputState.h"

using namespace plat;

const uint32_t TInput::kDefaultKeys[kButtonCount] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, 'Z', 'X', 'C', 'V',
                                                     'B',   'A',     'S',     'Q',      'W', 'E', 'R', 'T'};
const uint32_t TInput::kDefaultPad[kButtonCount] = {10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007,
                                                    10008, 10010, 10011, 10009, 10012, 10013, 10014, 10015};
const char* const TInput::kButtonNames[kButtonCount] = {"UP", "DOWN", "LEFT", "RIGHT", "A", "B", "C", "D",
                                                        "E",  "F",    "G",    "H",     "I", "J", "K", "L"};

namespace {

const std::map<std::string, int32_t>& KeyNames() {
  static const std::map<std::string, int32_t> names = [] {
    std::map<std::string, int32_t> n = {
        {"BACKSPACE", VK_BACK}, {"ENTER", VK_RETURN}, {"SHIFT", VK_SHIFT}, {"CTRL", VK_CONTROL},
        {"ALT", VK_MENU},       {"LEFT", VK_LEFT},    {"UP", VK_UP},       {"RIGHT", VK_RIGHT},
        {"DOWN", VK_DOWN},      {"SPACE", VK_SPACE},  {"NUMPAD*", VK_MULTIPLY}, {"NUMPAD+", VK_ADD},
        {"NUMPAD-", VK_SUBTRACT}, {"NUMPAD.", VK_DECIMAL}, {"NUMPAD/", VK_DIVIDE},
        // The punctuation keys of the Japanese layout.
        {"-", VK_OEM_MINUS}, {"^", VK_OEM_7}, {"\\", VK_OEM_5}, {"@", VK_OEM_3}, {"[", VK_OEM_4},
        {";", VK_OEM_PLUS},  {":", VK_OEM_1}, {"]", VK_OEM_6},  {",", VK_OEM_COMMA}, {".", VK_OEM_PERIOD},
        {"/", VK_OEM_2},
        {"\x81\x5f", VK_OEM_102},  // "＼", the second backslash key
    };
    for (char c = '0'; c <= '9'; ++c) n[std::string(1, c)] = c;
    for (char c = 'A'; c <= 'Z'; ++c) n[std::string(1, c)] = c;
    for (int i = 0; i <= 9; ++i) n["NUMPAD" + std::to_string(i)] = VK_NUMPAD0 + i;
    return n;
  }();
  return names;
}

}  // namespace

TInput::TInput(const std::string& path, uint32_t historyLength, const uint32_t keysIn[kButtonCount],
               const uint32_t padIn[kButtonCount])
    : settingsPath(path), joystickId(ChooseJoystick()), history(std::max<uint32_t>(historyLength, 1), 0) {
  for (int k = 0; k < kButtonCount; ++k) {
    keyBindings[k] = padBindings[k] = InputBinding{&Never, 0};
    keyCodes[k] = padCodes[k] = 0xFFFFFFFFu;
    defaultKeys[k] = keysIn[k];
    defaultPad[k] = padIn[k];
  }
  Load();
}

uint32_t TInput::ChooseJoystick() {
  if (joyGetNumDevs() == 0) return kNoJoystick;
  UINT axes[16], buttons[16];
  for (UINT id = 0; id < 16; ++id) {
    JOYCAPS caps;
    bool ok = joyGetDevCaps(id, &caps, sizeof caps) == JOYERR_NOERROR;
    axes[id] = ok ? caps.wNumAxes : 0;
    buttons[id] = ok ? caps.wNumButtons : 0;
  }
  for (UINT least : {16u, 8u})
    for (UINT id = 0; id < 16; ++id)
      if (axes[id] == 2 && buttons[id] >= least) return id;
  int best = -1;
  for (UINT id = 0; id < 16; ++id)
    if (axes[id] == 2 && (best < 0 || buttons[id] > buttons[best])) best = static_cast<int>(id);
  return best < 0 ? 0 : static_cast<uint32_t>(best);
}

void TInput::CalibratePad() {
  JOYCAPS caps;
  if (joyGetDevCaps(joystickId, &caps, sizeof caps) != JOYERR_NOERROR) {
    xLow = yLow = 10000;
    xHigh = yHigh = 50000;
    return;
  }
  // The one-third and two-thirds points of each axis.
  auto third = [](uint64_t near, uint64_t far) { return static_cast<uint32_t>((far + 2 * near) / 3); };
  xLow = third(caps.wXmin, caps.wXmax);
  xHigh = third(caps.wXmax, caps.wXmin);
  yLow = third(caps.wYmin, caps.wYmax);
  yHigh = third(caps.wYmax, caps.wYmin);
}

int32_t TInput::KeyCodeFromName(const std::string& name) {
  auto it = KeyNames().find(name);
  return it == KeyNames().end() ? -1 : it->second;
}

int32_t TInput::PadCodeFromText(const std::string& text) {
  // The settings tool writes a ten-character prefix, then the pad input's number.
  if (text.size() < 11) return -1;
  errno = 0;
  long n = std::strtol(text.c_str() + 10, nullptr, 10);
  if (errno != 0 || n < 1 || n > 36) return -1;
  return static_cast<int32_t>(kPadUp + n - 1);
}

InputBinding TInput::MakeBinding(int64_t code, uint32_t fallback, uint32_t& chosen) {
  bool known = (code >= 0 && code <= 255) || (code >= kPadUp && code <= kPadLast);
  if (!known) {
    code = fallback;
    if (!(code <= 255 || (code >= kPadUp && code <= kPadLast))) {
      chosen = 0xFFFFFFFFu;
      return InputBinding{&Never, 0};
    }
  }
  chosen = static_cast<uint32_t>(code);
  if (code <= 255) return InputBinding{&KeyDown, chosen};
  switch (code) {
    case kPadUp: return InputBinding{&PadUp, 0};
    case kPadUp + 1: return InputBinding{&PadDown, 0};
    case kPadUp + 2: return InputBinding{&PadLeft, 0};
    case kPadUp + 3: return InputBinding{&PadRight, 0};
    default: return InputBinding{&PadButton, 1u << (code - kPadButton1)};
  }
}

void TInput::Load() {
  CalibratePad();
  Clear(-1);
  TIni ini(settingsPath, 4096, 4096, 1024);
  bool readable = ini.Load();
  for (int k = 0; k < kButtonCount; ++k) {
    std::string value;
    int64_t key = -1, pad = -1;
    if (readable && ini.GetString("Keyboard", kButtonNames[k], value)) key = KeyCodeFromName(value);
    if (readable && ini.GetString("GamePad", kButtonNames[k], value)) pad = PadCodeFromText(value);
    keyBindings[k] = MakeBinding(key, defaultKeys[k], keyCodes[k]);
    padBindings[k] = MakeBinding(pad, defaultPad[k], padCodes[k]);
  }
}

void TInput::Clear(int32_t which) {
  if (which < 0) std::fill(history.begin(), history.end(), 0u);
  if (which & 1) {
    cursor = POINT{};
    leftButton = rightButton = 0;
  }
}

void TInput::Update() { (this->*update)(); }

void TInput::ShiftHistory() {
  std::copy_backward(history.begin(), history.end() - 1, history.end());
  history[0] &= 0xFFFF0000u;
}

// The first ticks after start-up report nothing, whatever is held.
void TInput::WarmUpUpdate() {
  GetCursorPos(&cursor);
  leftButton = rightButton = 0;
  ShiftHistory();
  enterNow = enterBefore = 0;
  if (--warmUp == 0) update = &TInput::NormalUpdate;
}

void TInput::NormalUpdate() {
  GetKeyboardState(keys);
  enterBefore = enterNow;
  enterNow = (keys[VK_RETURN] & 0x80) ? 1 : 0;
  GetCursorPos(&cursor);
  auto clicked = [](int vk) { return (static_cast<uint16_t>(GetAsyncKeyState(vk)) & 0x8001) == 0x8001 ? 1u : 0u; };
  leftButton = clicked(VK_LBUTTON);
  rightButton = clicked(VK_RBUTTON);
  ShiftHistory();

  JOYINFOEX centred;  // a keyboard binding never reads a pad direction
  centred.dwXpos = static_cast<DWORD>((uint64_t{xLow} + xHigh) / 2);
  centred.dwYpos = static_cast<DWORD>((uint64_t{yLow} + yHigh) / 2);
  for (int k = 0; k < kButtonCount; ++k)
    if (keyBindings[k].test(*this, centred, keyBindings[k].parameter)) history[0] |= 1u << k;

  JOYINFOEX pad;
  pad.dwFlags = JOY_RETURNALL;
  if (joyGetPosEx(joystickId, &pad) != JOYERR_NOERROR) return;
  for (int k = 0; k < kButtonCount; ++k)
    if (padBindings[k].test(*this, pad, padBindings[k].parameter)) history[0] |= 1u << k;
}

uint32_t TInput::GetButtons(size_t age) const { return age < history.size() ? history[age] : 0; }

void TInput::SetButtons(size_t age, uint32_t word) {
  if (age < history.size()) history[age] = word;
}

bool TInput::IsPressed(uint32_t buttons) const { return (GetButtons(0) & ~GetButtons(1) & buttons) != 0; }

uint32_t TInput::GetHeld(size_t n) const {
  if (history.size() < n) return 0;
  uint32_t held = 0xFFFF;
  for (uint32_t word : history) held &= word;
  return held;
}

bool TInput::KeyDown(const TInput& in, const JOYINFOEX&, uint32_t vk) { return (in.keys[vk & 0xFF] & 0x80) != 0; }
bool TInput::PadUp(const TInput& in, const JOYINFOEX& pad, uint32_t) { return pad.dwYpos < in.yLow; }
bool TInput::PadDown(const TInput& in, const JOYINFOEX& pad, uint32_t) { return pad.dwYpos > in.yHigh; }
bool TInput::PadLeft(const TInput& in, const JOYINFOEX& pad, uint32_t) { return pad.dwXpos < in.xLow; }
bool TInput::PadRight(const TInput& in, const JOYINFOEX& pad, uint32_t) { return pad.dwXpos > in.xHigh; }
bool TInput::PadButton(const TInput&, const JOYINFOEX& pad, uint32_t mask) { return (pad.dwButtons & mask) != 0; }
bool TInput::Never(const TInput&, const JOYINFOEX&, uint32_t) { return false; }
