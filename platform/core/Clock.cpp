#include "platform/core/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace plat {
namespace {

class RealClock : public Clock {
 public:
  DWORD Milliseconds() override {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  void Sleep(DWORD ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::optional<LocalTime> Now() override {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    if (t == static_cast<std::time_t>(-1) || !localtime_r(&t, &tm)) return std::nullopt;
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

RealClock realClock;
std::atomic<Clock*> current{&realClock};

}  // namespace

void SetClock(Clock* clock) { current.store(clock ? clock : &realClock); }
Clock& CurrentClock() { return *current.load(); }

DWORD timeGetTime() { return CurrentClock().Milliseconds(); }

namespace {
std::atomic<int> periods{0};
std::atomic<bool> capsFail{false};
}  // namespace

UINT timeGetDevCaps(TIMECAPS* caps, UINT size) {
  if (capsFail || !caps || size < sizeof(TIMECAPS)) return 97;  // TIMERR_NOCANDO
  *caps = TIMECAPS{};
  return 0;
}
UINT timeBeginPeriod(UINT period) {
  if (period == 0) return 97;
  ++periods;
  return 0;
}
UINT timeEndPeriod(UINT period) {
  if (period == 0) return 97;
  --periods;
  return 0;
}
int TimerPeriodsInForce() { return periods; }
void ForceTimeDevCapsFailure(bool fail) { capsFail = fail; }
void Sleep(DWORD ms) { CurrentClock().Sleep(ms); }
std::optional<LocalTime> GetLocalTime() { return CurrentClock().Now(); }

}  // namespace plat
