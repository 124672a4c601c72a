// ".\input.ini": the key and pad bindings read as the game window reads them at start-up. Then
// what the game does with the input object every tick: keys and a 12-button pad sampled through the
// bindings into the button history that scenes ask for presses and holds, and the file read again
// as the options screen does.
#include "game/shell/TInput.h"
#include "platform/window/InputState.h"
#include "tests/fuzz/FuzzHarness.h"

namespace {

constexpr int kTicks = 24;

void Start() {
  static const bool started = [] {
    fuzz::Folder();
    plat::JoystickDevice pad;
    pad.caps.wXmax = pad.caps.wYmax = 65535;
    pad.caps.wNumAxes = 2;
    pad.caps.wNumButtons = 12;
    plat::SetJoysticks({pad});
    return true;
  }();
  (void)started;
}

// Every key and pad input is down on some of the ticks.
void Sample(TInput& input) {
  for (int tick = 0; tick < kTicks; ++tick) {
    for (int vk = 0; vk < 256; ++vk) plat::SetKeyDown(vk, (vk + tick) % 5 == 0);
    const plat::DWORD x = tick % 3 == 0 ? 0 : tick % 3 == 1 ? 32767 : 65535;
    const plat::DWORD y = tick % 4 < 2 ? 0 : 65535;
    plat::SetJoystickPosition(0, x, y, 0xFFFu >> (tick % 12));
    input.Update();
    input.IsPressed(kButtonA | kButtonB);
    input.GetHeld(3);
  }
  plat::ReleaseAllKeys();
}

}  // namespace

DW_FUZZ_TARGET(input_ini) {
  Start();
  fuzz::WriteFile("fuzz-input.ini", data, size);
  fuzz::Guard([&] {
    TInput input(".\\fuzz-input.ini", 10, TInput::kDefaultKeys, TInput::kDefaultPad);
    Sample(input);
    input.Load();
    Sample(input);
  });
}
