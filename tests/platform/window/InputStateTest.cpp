#include "platform/window/InputState.h"

#include <gtest/gtest.h>

#include "platform/core/Clock.h"
#include "platform/core/Com.h"
#include "platform/window/SdlBackend.h"

using namespace plat;

namespace {

TEST(InputState, KeyboardAndAsyncBits) {
  ReleaseAllKeys();
  SetKeyDown('Z', true);
  uint8_t keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[static_cast<uint8_t>('Z')], 0x80);
  EXPECT_EQ(GetAsyncKeyState('Z') & 0xFFFF, 0x8001);
  EXPECT_EQ(GetAsyncKeyState('Z') & 0xFFFF, 0x8000) << "the pressed bit is cleared by the query";
  SetKeyDown('Z', false);
  EXPECT_EQ(GetAsyncKeyState('Z'), 0);
  SetKeyDown(VK_LBUTTON, true);
  SetKeyDown(VK_LBUTTON, false);
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 1) << "a click between two queries is still seen";
  SetCursorPosition(12, 34);
  POINT p;
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p.x, 12);
  EXPECT_EQ(p.y, 34);
}

TEST(InputState, JoysticksReportCapsPositionsAndUnplugging) {
  SetJoysticks({});
  EXPECT_EQ(joyGetNumDevs(), 0u);
  JoystickDevice pad;
  pad.caps.wXmax = pad.caps.wYmax = 65535;
  pad.caps.wNumAxes = 2;
  pad.caps.wNumButtons = 12;
  SetJoysticks({pad});
  JOYCAPS caps;
  EXPECT_EQ(joyGetDevCaps(0, &caps, sizeof caps), JOYERR_NOERROR);
  EXPECT_EQ(caps.wNumButtons, 12u);
  EXPECT_EQ(joyGetDevCaps(1, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
  SetJoystickPosition(0, 100, 65000, 0x5);
  JOYINFOEX info;
  info.dwFlags = JOY_RETURNALL;
  ASSERT_EQ(joyGetPosEx(0, &info), JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 100u);
  EXPECT_EQ(info.dwButtons, 5u);
  EXPECT_EQ(info.dwFlags, JOY_RETURNALL);
  SetJoystickPlugged(0, false);
  EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_UNPLUGGED);
  SetJoysticks({});
}

TEST(InputState, ScancodesMapToTheJapaneseLayoutKeys) {
  struct Case {
    int scancode, vk;
  } cases[] = {{4 /*A*/, 'A'}, {29 /*Z*/, 'Z'}, {39 /*0*/, '0'}, {41 /*Esc*/, VK_ESCAPE}, {61 /*F4*/, VK_F4},
               {82 /*Up*/, VK_UP}, {98 /*KP0*/, VK_NUMPAD0}, {47 /*[*/, VK_OEM_3}, {135 /*ro*/, VK_OEM_102},
               {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromScancode(c.scancode), c.vk) << c.scancode;
}

TEST(SystemServices, ComAndTimerPeriodsAreCounted) {
  EXPECT_EQ(CoInitializeEx(nullptr, 0), 0);
  EXPECT_EQ(CoInitializeEx(nullptr, 0), 1);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(ComInitCount(), 0);
  ForceComInitResult(true, static_cast<int32_t>(0x80004005u));
  EXPECT_NE(CoInitializeEx(nullptr, 0), 0);
  ForceComInitResult(false);

  TIMECAPS caps;
  EXPECT_EQ(timeGetDevCaps(&caps, sizeof caps), 0u);
  int before = TimerPeriodsInForce();
  timeBeginPeriod(caps.wPeriodMin);
  EXPECT_EQ(TimerPeriodsInForce(), before + 1);
  timeEndPeriod(caps.wPeriodMin);
  EXPECT_EQ(TimerPeriodsInForce(), before);
}

}  // namespace
