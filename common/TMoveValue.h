// Values that move from a start to an end over a count of ticks: sliding panels, fades, blinking
// and bobbing cursors, camera paths. They keep no time of their own; the owner steps them once per
// tick and reads `value`. They live here, at the bottom, because the sound layer, the effects, the
// scripts and the screens all animate with them.
#pragma once
#include <cstdint>

// The tween of either kind: `At` holds the one difference, the arithmetic of a step.
template <typename T>
class TTween {
 public:
  void Set(T start, T end, int32_t frames, int32_t step);
  // One step on; false (and the value at the end) once the end is reached.
  bool Forward();
  // One step back; false at step 0, where the value is left as it is.
  bool Backward();
  // Counts as ended; the value is not changed.
  void Finish() { step = frames; }

  T value = 0;
  T start = 0;
  T end = 0;
  int32_t step = 0;
  int32_t frames = 0;

 private:
  T At(int32_t s) const;
};

// The integer tween: 32-bit arithmetic, the product before the division, truncating toward zero.
using TMoveValueI = TTween<int32_t>;
// The floating-point tween.
using TMoveValue = TTween<float>;

// A float tween that starts again when it ends, a number of times or forever, either from its start
// or turning back.
class TLoopValue {
 public:
  static constexpr int32_t kForever = 2147483647;

  void Set(float start, float end, int32_t frames, int32_t repeatCount, bool backAndForth);
  // One tick; a turn at the end takes no tick of its own.
  void Step();
  float Value() const { return move.value; }

  int32_t repeatCount = 0;
  int32_t repeatsDone = 0;
  uint8_t backAndForth = 0;
  TMoveValue move;
};
