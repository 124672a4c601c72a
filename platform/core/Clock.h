// Time as the game sees it: a wrapping millisecond counter, sleep and the local date. Tests swap in
// a virtual clock so nothing waits and dates are fixed.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/core/Win32Types.h"

namespace plat {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // month 1-12
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DWORD Milliseconds() = 0;
  virtual void Sleep(DWORD ms) = 0;
  virtual std::optional<LocalTime> Now() = 0;
};

// A clock that moves only when told to (or when something sleeps on it).
class VirtualClock : public Clock {
 public:
  explicit VirtualClock(DWORD startMs = 0) : ms_(startMs) {}
  DWORD Milliseconds() override { return ms_; }
  void Sleep(DWORD ms) override { ms_ += ms; }
  std::optional<LocalTime> Now() override { return local_; }
  void Advance(DWORD ms) { ms_ += ms; }
  void Set(DWORD ms) { ms_ = ms; }
  void SetLocalTime(std::optional<LocalTime> t) { local_ = t; }

 private:
  DWORD ms_;
  std::optional<LocalTime> local_ = LocalTime{2004, 10, 9, 7, 5, 3};
};

// The clock in use; nullptr restores the real one. The caller keeps ownership.
void SetClock(Clock* clock);
Clock& CurrentClock();

DWORD timeGetTime();
// The multimedia timer's period: capabilities, and begin/end (counted so tests can check pairs).
struct TIMECAPS {
  UINT wPeriodMin = 1, wPeriodMax = 1000000;
};
UINT timeGetDevCaps(TIMECAPS* caps, UINT size);  // 0 on success
UINT timeBeginPeriod(UINT period);
UINT timeEndPeriod(UINT period);
int TimerPeriodsInForce();
void ForceTimeDevCapsFailure(bool fail);
void Sleep(DWORD ms);
// The local time from time() and localtime(); empty when it cannot be had.
std::optional<LocalTime> GetLocalTime();

}  // namespace plat
