#include "game/shell/TInput.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/window/InputState.h"
#include "tests/game/shell/ShellFixture.h"
#include "tools/datakit/IniWriter.h"

using namespace plat;
using namespace shelltest;

namespace {

JoystickDevice Pad(UINT axes, UINT buttons, bool plugged = true) {
  JoystickDevice d;
  d.caps.wXmin = d.caps.wYmin = 0;
  d.caps.wXmax = d.caps.wYmax = 65535;
  d.caps.wNumAxes = axes;
  d.caps.wNumButtons = buttons;
  d.position.dwXpos = d.position.dwYpos = 32767;
  d.plugged = plugged;
  return d;
}

class Input : public ShellFixture {
 protected:
  std::string Path() const { return dir / "input.ini"; }
  TInput Make() { return TInput(Path(), 10, TInput::kDefaultKeys, TInput::kDefaultPad); }
  // An input past its five warm-up ticks.
  TInput Ready() {
    TInput in = Make();
    for (int i = 0; i < 5; ++i) in.Update();
    return in;
  }
  void WriteBinding(const std::string& button, const std::string& key, const std::string& pad) {
    datakit::IniWriter ini;
    ini.Section("Keyboard").Key(button, key).Section("GamePad").Key(button, pad);
    ini.Save(Path());
  }
};

TEST_F(Input, TheFirstFiveTicksReportNothingWhateverIsHeld) {
  SetJoysticks({Pad(2, 12)});
  for (bool byPad : {false, true}) {
    TInput in = Make();
    if (byPad)
      SetJoystickPosition(0, 32767, 32767, 1);  // button 1 is A
    else
      SetKeyDown('Z', true);
    for (int tick = 1; tick <= 5; ++tick) {
      in.Update();
      EXPECT_EQ(in.GetButtons(), 0u) << "tick " << tick << (byPad ? " pad" : " key");
    }
    in.Update();
    EXPECT_EQ(in.GetButtons(), kButtonA) << (byPad ? "pad" : "key");
    EXPECT_TRUE(in.IsPressed(kButtonA));
    in.Load();  // a reload clears the history but does not restart the warm-up
    in.Update();
    EXPECT_TRUE(in.IsPressed(kButtonA));
    SetJoystickPosition(0, 32767, 32767, 0);
    ReleaseAllKeys();
  }
}

TEST_F(Input, KeyOrPadSetsTheBitAndOneKeyMaySetTwoButtons) {
  datakit::IniWriter ini;
  ini.Section("Keyboard").Key("A", "Z").Key("B", "Z");
  ini.Section("GamePad").Key("C", "PAD_INPUT_5");
  ini.Save(Path());
  SetJoysticks({Pad(2, 12)});
  TInput in = Ready();

  SetKeyDown('Z', true);
  in.Update();
  EXPECT_EQ(in.GetButtons(), kButtonA | kButtonB);
  SetKeyDown('Z', false);
  SetJoystickPosition(0, 32767, 32767, 1);  // button 1: C by the file, A by its default
  in.Update();
  EXPECT_EQ(in.GetButtons(), kButtonA | kButtonC);
  EXPECT_FALSE(in.IsPressed(kButtonA)) << "held since the last tick";
  EXPECT_TRUE(in.IsPressed(kButtonC));
  EXPECT_EQ(in.GetButtons(1), kButtonA | kButtonB);
}

// A button counts as held only once it is set in every word of the history; a history shorter
// than the length asked for holds nothing.
TEST_F(Input, HeldButtonsAreThoseSetThroughTheWholeHistory) {
  TInput in = Ready();
  SetKeyDown(VK_DOWN, true);
  SetKeyDown('Z', true);
  for (int tick = 1; tick <= 10; ++tick) {
    if (tick == 4) SetKeyDown('Z', false);
    in.Update();
    EXPECT_EQ(in.GetHeld(10), tick == 10 ? kButtonDown : 0u) << tick;
  }
  EXPECT_EQ(in.GetHeld(11), 0u);
  SetKeyDown(VK_DOWN, false);
  in.Update();
  EXPECT_EQ(in.GetHeld(10), 0u);

  TInput shortHistory(Path(), 4, TInput::kDefaultKeys, TInput::kDefaultPad);
  SetKeyDown(VK_DOWN, true);
  for (int i = 0; i < 12; ++i) shortHistory.Update();
  EXPECT_EQ(shortHistory.GetHeld(4), kButtonDown);
  EXPECT_EQ(shortHistory.GetHeld(10), 0u);
}

TEST_F(Input, PadDirectionsNeedToPassTheThirdsOfTheAxisStrictly) {
  SetJoysticks({Pad(2, 12)});
  TInput in = Ready();
  struct Case {
    DWORD x, y;
    uint32_t buttons;
  };
  // 0..65535 gives thresholds 21845 and 43690.
  const Case cases[] = {{21845, 32767, 0},          {21844, 32767, kButtonLeft}, {43690, 32767, 0},
                        {43691, 32767, kButtonRight}, {32767, 21844, kButtonUp},  {32767, 43691, kButtonDown},
                        {0, 65535, kButtonLeft | kButtonDown}};
  for (const Case& c : cases) {
    SetJoystickPosition(0, c.x, c.y, 0);
    in.Update();
    EXPECT_EQ(in.GetButtons(), c.buttons) << c.x << "," << c.y;
  }
  // A pad that fails its reading adds nothing; the keyboard still works.
  SetJoystickPlugged(0, false);
  SetKeyDown(VK_UP, true);
  in.Update();
  EXPECT_EQ(in.GetButtons(), kButtonUp);
}

TEST_F(Input, APadWithoutCapabilitiesUsesTheFixedThresholds) {
  SetJoysticks({Pad(2, 12, false)});
  TInput in = Ready();
  SetJoystickPlugged(0, true);
  SetJoystickPosition(0, 10000, 50001, 0);
  in.Update();
  EXPECT_EQ(in.GetButtons(), kButtonDown) << "10000 is not below 10000; 50001 is above 50000";
}

TEST_F(Input, TheJoystickIsChosenByAxesAndButtons) {
  struct Case {
    std::vector<JoystickDevice> devices;
    uint32_t id;
  };
  const Case cases[] = {
      {{}, TInput::kNoJoystick},
      {{Pad(2, 8), Pad(2, 16)}, 1},           // 16 buttons first
      {{Pad(3, 32), Pad(2, 8), Pad(2, 12)}, 1},  // then the first with 8
      {{Pad(2, 4), Pad(2, 6), Pad(2, 6)}, 1},  // then the most buttons, the first of equals
      {{Pad(3, 20), Pad(1, 10)}, 0},           // no pad with two axes
      {{Pad(2, 16, false), Pad(2, 2)}, 1},     // an unplugged pad has nothing
  };
  for (const Case& c : cases) {
    SetJoysticks(c.devices);
    EXPECT_EQ(TInput::ChooseJoystick(), c.id) << c.devices.size();
  }
}

TEST_F(Input, KeyboardNamesOfTheFile) {
  struct Case {
    const char* name;
    uint32_t code;
  };
  // Button A's default is Z.
  const Case cases[] = {{"X", 'X'},      {"0", '0'},          {"SPACE", 32},     {"ENTER", 13},
                        {"BACKSPACE", 8}, {"CTRL", 17},        {"LEFT", 37},      {"NUMPAD7", 103},
                        {"NUMPAD/", 111}, {"NUMPAD-", 109},    {"-", 0xBD},       {"^", 0xDE},
                        {"\\", 0xDC},     {"@", 0xC0},         {":", 0xBA},       {";", 0xBB},
                        {"/", 0xBF},      {"\x81\x5f", 0xE2},  // "＼"
                        {"z", 'Z'},       {"", 'Z'},           {"F1", 'Z'},       {"SPACEBAR", 'Z'}};
  for (const Case& c : cases) {
    WriteBinding("A", c.name, "PAD_INPUT_5");
    TInput in = Make();
    EXPECT_EQ(in.GetKeyCode(4), c.code) << c.name;
  }
}

TEST_F(Input, PadNumbersOfTheFile) {
  struct Case {
    const char* text;
    uint32_t code;
  };
  // Button A's default is pad button 1 (10004); the first ten characters are not read.
  const Case cases[] = {{"PAD_INPUT_6", 10005},  {"PAD_INPUT_1", 10000}, {"PAD_INPUT_4", 10003},
                        {"PAD_INPUT_36", 10035}, {"xxxxxxxxxx12", 10011}, {"PAD_INPUT_37", 10004},
                        {"PAD_INPUT_0", 10004},  {"PAD_INPUT_", 10004},   {"PAD_INPUT_x", 10004},
                        {"PAD_5", 10004},        {"PAD_INPUT_99999999999999999999", 10004}};
  for (const Case& c : cases) {
    WriteBinding("A", "Z", c.text);
    TInput in = Make();
    EXPECT_EQ(in.GetPadCode(4), c.code) << c.text;
  }
}

TEST_F(Input, AMissingFileGivesEveryDefault) {
  std::remove(Path().c_str());
  TInput in = Make();
  for (int k = 0; k < TInput::kButtonCount; ++k) {
    EXPECT_EQ(in.GetKeyCode(k), TInput::kDefaultKeys[k]) << k;
    EXPECT_EQ(in.GetPadCode(k), TInput::kDefaultPad[k]) << k;
  }
  EXPECT_EQ(TInput::kDefaultKeys[9], static_cast<uint32_t>('A')) << "F is on the A key";
  EXPECT_EQ(TInput::kDefaultPad[11], 10009u) << "H is pad button 6";
}

// Frames slower than a tap: a key pressed and let go between two ticks still makes one press on
// the next tick, and is up on the one after; a key held over ticks is one press, however many
// ticks see it.
TEST_F(Input, ATapBetweenTwoTicksIsOnePressAndAHeldKeyIsNotDoubled) {
  TInput in = Ready();
  struct Tick {
    std::vector<std::pair<int, bool>> between;  // keys changed before the tick, in order
    uint32_t buttons;
    uint32_t pressed;
  };
  const Tick ticks[] = {
      {{{'Z', true}, {'Z', false}}, kButtonA, kButtonA},               // a tap
      {{}, 0, 0},                                                      // gone on the next tick
      {{}, 0, 0},
      {{{'Z', true}}, kButtonA, kButtonA},                             // held from here
      {{}, kButtonA, 0},
      {{}, kButtonA, 0},
      {{{'Z', false}}, 0, 0},                                          // let go
      {{}, 0, 0},
      {{{'X', true}, {'X', false}, {'X', true}, {'X', false}}, kButtonB, kButtonB},  // a double tap: one
      {{}, 0, 0},
      {{{VK_UP, true}, {'Z', true}, {'Z', false}}, kButtonUp | kButtonA, kButtonUp | kButtonA},
      {{}, kButtonUp, 0},                                              // the held key stays, once
      {{{VK_UP, false}, {VK_UP, true}}, kButtonUp, 0},                 // up and down again: still held
      {{{VK_UP, false}}, 0, 0},
  };
  int n = 0;
  for (const Tick& t : ticks) {
    for (const auto& [key, down] : t.between) SetKeyDown(key, down);
    in.Update();
    ++n;
    EXPECT_EQ(in.GetButtons(), t.buttons) << "tick " << n;
    for (uint32_t button : {kButtonUp, kButtonA, kButtonB})
      EXPECT_EQ(in.IsPressed(button), (t.pressed & button) != 0) << "tick " << n << " button " << button;
  }

  // Letting every key go at once also forgets a tap not yet seen.
  SetKeyDown('Z', true);
  SetKeyDown('Z', false);
  ReleaseAllKeys();
  in.Update();
  EXPECT_EQ(in.GetButtons(), 0u);
}

TEST_F(Input, EnterAndTheMouseAreSampledEachTick) {
  TInput in = Ready();
  SetCursorPosition(12, 34);
  SetKeyDown(VK_RETURN, true);
  SetKeyDown(VK_LBUTTON, true);
  in.Update();
  EXPECT_TRUE(in.EnterNow());
  EXPECT_FALSE(in.EnterBefore());
  EXPECT_EQ(in.GetCursor().x, 12);
  EXPECT_EQ(in.GetCursor().y, 34);
  EXPECT_EQ(in.GetLeftButton(), 1u);
  EXPECT_EQ(in.GetRightButton(), 0u);
  in.Update();
  EXPECT_TRUE(in.EnterBefore());
  EXPECT_EQ(in.GetLeftButton(), 0u) << "held, but not pressed again since the last query";
  in.Clear(1);
  EXPECT_EQ(in.GetCursor().x, 0);
}

}  // namespace
