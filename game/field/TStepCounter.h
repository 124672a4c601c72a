// An integer that steps from a start toward an end: by `step` a call when step is 1 or more, or by
// 1 every (-step) calls when it is below 1 (every call for 0). A step that would pass the end
// leaves the value at the end and reports false; reaching the end exactly still reports true.
#pragma once
#include <cstdint>

class TStepCounter {
 public:
  TStepCounter(int32_t from, int32_t to, int32_t step) { Set(from, to, step); }

  void Set(int32_t from, int32_t to, int32_t step);
  // Back to the start.
  void Reset() { Set(from, to, step); }
  bool Step();

  int32_t GetValue() const { return value; }

 private:
  int32_t value = 0;
  int32_t from = 0;
  int32_t to = 0;
  int32_t step = 1;
  int32_t subCount = 0;
};
