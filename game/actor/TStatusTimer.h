// The player character's two small timer kinds. A status timer counts a running effect down and
// keeps a phase inside its cycle, so that the damage kinds strike the owner once a second; a short
// timer only counts down. A timer set to n frames runs for n ticks.
#pragma once
#include <cstdint>

class TActor;

class TStatusTimer {
 public:
  static constexpr int32_t kPlainCycle = 120;
  static constexpr int32_t kDamageCycle = 60;
  static constexpr int32_t kPoisonLoss = 4;
  static constexpr int32_t kPoisonFloor = 5;  // below this HP poison does nothing

  TStatusTimer(TActor* owner, int32_t frames) : framesLeft(frames), owner(owner) {}

  // A negative count changes nothing.
  void Set(int32_t n);
  void Clear();
  // One tick of each kind; false on the tick that takes the count below 0.
  bool Tick();
  bool TickPoison();
  bool TickDrain();

  bool IsRunning() const { return framesLeft > 0; }
  int32_t GetFramesLeft() const { return framesLeft; }
  int32_t GetPhase() const { return phase; }

 private:
  // Counts down and steps the phase of a damage cycle; true when the cycle is complete.
  bool StepDamageCycle(bool& running);

  int32_t framesLeft;
  int32_t phase = 0;
  TActor* owner;
};

class TShortTimer {
 public:
  TShortTimer(int32_t value, int32_t frames) : framesLeft(frames), value(value) { Set(frames); }

  // A negative count changes nothing; the result is n.
  int32_t Set(int32_t n);
  void Clear() { framesLeft = 0; }
  // False on the tick that takes the count below 0.
  bool Tick() { return --framesLeft >= 0; }

  bool IsRunning() const { return framesLeft > 0; }
  int32_t GetFramesLeft() const { return framesLeft; }
  int32_t GetValue() const { return value; }

 private:
  int32_t framesLeft;
  int32_t value;
};
