// The keyboard and one joystick, sampled once per update tick into a 16-bit button word, with a
// history of the last words (newest first). Bindings come from ".\input.ini" with fixed defaults.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/WindowTypes.h"

// Bit k of a button word is virtual button k.
enum InputButton : uint32_t {
  kButtonUp = 0x0001,
  kButtonDown = 0x0002,
  kButtonLeft = 0x0004,
  kButtonRight = 0x0008,
  kButtonA = 0x0010,  // decides
  kButtonB = 0x0020,  // cancels
  kButtonC = 0x0040,
  kButtonD = 0x0080,
  kButtonE = 0x0100,
  kButtonF = 0x0200,
  kButtonG = 0x0400,
  kButtonH = 0x0800,
  kButtonI = 0x1000,
  kButtonJ = 0x2000,
  kButtonK = 0x4000,
  kButtonL = 0x8000,
};

class TInput;

// A key code 0-255, or a pad code: 10000 up, 10001 down, 10002 left, 10003 right, 10004-10035
// buttons 1-32.
struct InputBinding {
  using Test = bool (*)(const TInput& input, const plat::JOYINFOEX& pad, uint32_t parameter);
  Test test;
  uint32_t parameter;
};

class TInput {
 public:
  static constexpr int kButtonCount = 16;
  static constexpr uint32_t kPadUp = 10000;
  static constexpr uint32_t kPadButton1 = 10004;
  static constexpr uint32_t kPadLast = 10035;
  static constexpr uint32_t kNoJoystick = 0xFFFFFFFFu;
  static const uint32_t kDefaultKeys[kButtonCount];
  static const uint32_t kDefaultPad[kButtonCount];
  static const char* const kButtonNames[kButtonCount];

  TInput(const std::string& settingsPath, uint32_t historyLength, const uint32_t defaultKeys[kButtonCount],
         const uint32_t defaultPad[kButtonCount]);

  // One tick's sample.
  void Update();
  // (Re)reads the bindings and recalibrates the pad; the warm-up is not restarted.
  void Load();
  // A negative value clears the history; bit 1 clears the cursor and the mouse buttons.
  void Clear(int32_t which);

  // Word 0 is this tick's buttons; words past the history read as 0.
  uint32_t GetButtons(size_t age = 0) const;
  // Replaces a word of the history (the player hides buttons from itself for a tick); a word past
  // the history is not there to replace.
  void SetButtons(size_t age, uint32_t word);
  // Set now and clear in the previous tick.
  bool IsPressed(uint32_t buttons) const;
  // The buttons set in every word of the history; 0 when the history keeps fewer than n words.
  uint32_t GetHeld(size_t n) const;
  const std::vector<uint32_t>& GetHistory() const { return history; }
  plat::POINT GetCursor() const { return cursor; }
  uint32_t GetLeftButton() const { return leftButton; }
  uint32_t GetRightButton() const { return rightButton; }
  bool EnterNow() const { return enterNow != 0; }
  bool EnterBefore() const { return enterBefore != 0; }

  uint32_t GetJoystickId() const { return joystickId; }
  // The code a binding was made from; -1 (as u32) when the binding is empty.
  uint32_t GetKeyCode(int button) const { return keyCodes[button]; }
  uint32_t GetPadCode(int button) const { return padCodes[button]; }

  // ".\input.ini" values: -1 when the text names nothing.
  static int32_t KeyCodeFromName(const std::string& name);
  static int32_t PadCodeFromText(const std::string& text);
  static uint32_t ChooseJoystick();

 private:
  void WarmUpUpdate();
  void NormalUpdate();
  void ShiftHistory();
  void CalibratePad();
  static InputBinding MakeBinding(int64_t code, uint32_t fallback, uint32_t& chosen);

  static bool KeyDown(const TInput& in, const plat::JOYINFOEX& pad, uint32_t vk);
  static bool PadUp(const TInput& in, const plat::JOYINFOEX& pad, uint32_t);
  static bool PadDown(const TInput& in, const plat::JOYINFOEX& pad, uint32_t);
  static bool PadLeft(const TInput& in, const plat::JOYINFOEX& pad, uint32_t);
  static bool PadRight(const TInput& in, const plat::JOYINFOEX& pad, uint32_t);
  static bool PadButton(const TInput& in, const plat::JOYINFOEX& pad, uint32_t mask);
  static bool Never(const TInput& in, const plat::JOYINFOEX& pad, uint32_t);

  std::string settingsPath;
  uint32_t defaultKeys[kButtonCount];
  uint32_t defaultPad[kButtonCount];
  InputBinding keyBindings[kButtonCount];
  InputBinding padBindings[kButtonCount];
  uint32_t keyCodes[kButtonCount];
  uint32_t padCodes[kButtonCount];
  void (TInput::*update)() = &TInput::WarmUpUpdate;
  uint32_t joystickId;
  uint32_t xLow = 10000, xHigh = 50000, yLow = 10000, yHigh = 50000;
  uint8_t keys[256] = {};
  std::vector<uint32_t> history;
  plat::POINT cursor;
  uint32_t leftButton = 0, rightButton = 0;
  uint32_t warmUp = 5;
  uint8_t enterNow = 0, enterBefore = 0;
};
