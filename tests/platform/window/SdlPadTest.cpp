// The game pad through the SDL backend, played by SDL's virtual joystick: its stick and buttons
// reach the joystick reading the game polls, each axis scaled to 0..65535. The backend does not
// start without a display (the dummy video driver is refused), so the test command starts Xvfb; no
// window is made.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "platform/window/InputState.h"
#include "platform/window/SdlBackend.h"

using namespace plat;

namespace {

constexpr int kAxes = 2, kButtons = 12;

class SdlPadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sdl.Ready()) << sdl.Failure();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is plugged in; the backend takes the first";
    device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kAxes, kButtons, 0);
    ASSERT_GE(device, 0) << SDL_GetError();
    pad = SDL_JoystickOpen(device);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    sdl.Pump(0);  // the backend sees the pad arrive and takes it
  }
  void TearDown() override {
    if (pad) SDL_JoystickClose(pad);
    if (device >= 0) SDL_JoystickDetachVirtual(device);
  }

  // The reading after the backend has handled what the pad did; SDL takes the virtual pad's new
  // state in while the events are pumped.
  JOYINFOEX Reading() {
    sdl.Pump(0);
    JOYINFOEX info;
    info.dwFlags = JOY_RETURNALL;
    EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
    return info;
  }
  JOYINFOEX Stick(Sint16 axis0, Sint16 axis1) {
    SDL_JoystickSetVirtualAxis(pad, 0, axis0);
    SDL_JoystickSetVirtualAxis(pad, 1, axis1);
    return Reading();
  }

  SdlBackend sdl;
  int device = -1;
  SDL_Joystick* pad = nullptr;
};

TEST_F(SdlPadTest, ThePadIsTakenWithItsAxesScaledToTheFullRange) {
  ASSERT_EQ(joyGetNumDevs(), 1u);
  JOYCAPS caps;
  ASSERT_EQ(joyGetDevCaps(0, &caps, sizeof caps), JOYERR_NOERROR);
  EXPECT_EQ(caps.wNumAxes, 2u);
  EXPECT_EQ(caps.wNumButtons, 12u);
  EXPECT_EQ(caps.wXmin, 0u);
  EXPECT_EQ(caps.wXmax, 65535u);
  EXPECT_EQ(caps.wYmin, 0u);
  EXPECT_EQ(caps.wYmax, 65535u);
}

// Axis 0 is X, rightward; axis 1 is Y, downward; SDL's -32768..32767 becomes 0..65535.
TEST_F(SdlPadTest, TheSticksFirstAxisIsXAndItsSecondY) {
  struct Case {
    const char* what;
    Sint16 axis0, axis1;
    DWORD x, y;
  } cases[] = {
      {"right", 32767, 0, 65535, 32768},
      {"down", 0, 32767, 32768, 65535},
      {"left", -32768, 0, 0, 32768},
      {"up", 0, -32768, 32768, 0},
      {"centred", 0, 0, 32768, 32768},
      {"down and left", -32768, 32767, 0, 65535},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const JOYINFOEX info = Stick(c.axis0, c.axis1);
    EXPECT_EQ(info.dwXpos, c.x);
    EXPECT_EQ(info.dwYpos, c.y);
  }
}

// SDL's button n is the pad's button n + 1, bit n of the reading.
TEST_F(SdlPadTest, ButtonsSetTheirBitsWhileHeld) {
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(pad, 11, SDL_PRESSED);
  EXPECT_EQ(Reading().dwButtons, 0x801u);
  SDL_JoystickSetVirtualButton(pad, 0, SDL_RELEASED);
  EXPECT_EQ(Reading().dwButtons, 0x800u);
  SDL_JoystickSetVirtualButton(pad, 11, SDL_RELEASED);
  EXPECT_EQ(Reading().dwButtons, 0u);
}

TEST_F(SdlPadTest, APadThatGoesAwayReadsAsUnplugged) {
  Stick(32767, 0);
  SDL_JoystickClose(pad);
  pad = nullptr;
  ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0) << SDL_GetError();
  device = -1;
  sdl.Pump(0);
  JOYINFOEX info;
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
}

}  // namespace
