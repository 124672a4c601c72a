#include "common/TSystemInfo.h"

#include "platform/core/Clock.h"
#include "platform/core/Processor.h"

TSystemInfo::TSystemInfo() { Probe(); }

void TSystemInfo::Probe() {
  plat::Machine& m = plat::CurrentMachine();
  physicalMB = static_cast<uint32_t>((m.TotalPhysicalBytes() + 640) / 1048576);
  if (!m.HasCpuid()) return;
  hasCpuid = 1;
  m.Cpuid(0);  // the vendor text; nothing of it is kept
  plat::CpuidResult std1 = m.Cpuid(1);
  stepping = std1.eax & 0xF;
  model = (std1.eax >> 4) & 0xF;
  family = (std1.eax >> 8) & 0xF;
  processorType = (std1.eax >> 12) & 0x3;
  hasFpu = std1.edx & 1;
  hasTsc = (std1.edx >> 4) & 1;
  hasMmx = (std1.edx >> 23) & 1;
  hasSse = (std1.edx >> 25) & 1;
  hasSseAgain = hasSse;
  plat::CpuidResult ext = m.Cpuid(0x80000001u);
  has3DNow = (ext.edx >> 31) & 1;
  has3DNowExt = (ext.edx >> 30) & 1;
  if (hasTsc) {
    uint32_t before = static_cast<uint32_t>(m.ReadTimeStampCounter());
    plat::Sleep(1000);
    uint32_t after = static_cast<uint32_t>(m.ReadTimeStampCounter());
    clockMHz = (after - before) / 1000000;
  }
}
