// A measurement of the machine: memory, processor identification and features, clock.
#pragma once
#include <cstdint>

class TSystemInfo {
 public:
  TSystemInfo();
  virtual ~TSystemInfo() = default;
  void Probe();

  uint32_t processorType = 0, family = 0, model = 0, stepping = 0;
  uint32_t clockMHz = 0;
  uint8_t hasCpuid = 0, hasTsc = 0, hasFpu = 0, hasMmx = 0, hasSse = 0;
  uint8_t hasSseAgain = 0;  // a second copy of the SSE bit; nothing reads it
  uint8_t has3DNow = 0, has3DNowExt = 0;
  uint32_t physicalMB = 0;
};
