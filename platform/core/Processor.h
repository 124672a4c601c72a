// The processor identification, time-stamp counter and memory status behind the system probe.
// Tests replace the machine with a table.
#pragma once
#include <cstdint>
#include <optional>

namespace plat {

struct CpuidResult {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

class Machine {
 public:
  virtual ~Machine() = default;
  virtual bool HasCpuid() = 0;
  virtual CpuidResult Cpuid(uint32_t leaf) = 0;
  virtual uint64_t ReadTimeStampCounter() = 0;
  virtual uint64_t TotalPhysicalBytes() = 0;
};

// The machine in use; nullptr restores the real one. The caller keeps ownership.
void SetMachine(Machine* machine);
Machine& CurrentMachine();

}  // namespace plat
