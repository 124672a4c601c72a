#include "platform/core/Processor.h"

#include <sys/sysinfo.h>

#include <atomic>
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#endif

namespace plat {
namespace {

class RealMachine : public Machine {
 public:
  bool HasCpuid() override {
#if defined(__x86_64__) || defined(__i386__)
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
  }
  CpuidResult Cpuid(uint32_t leaf) override {
    CpuidResult r;
#if defined(__x86_64__) || defined(__i386__)
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
#else
    (void)leaf;
#endif
    return r;
  }
  uint64_t ReadTimeStampCounter() override {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return 0;
#endif
  }
  uint64_t TotalPhysicalBytes() override {
    struct sysinfo info;
    if (::sysinfo(&info) != 0) return 0;
    return static_cast<uint64_t>(info.totalram) * info.mem_unit;
  }
};

RealMachine realMachine;
std::atomic<Machine*> current{&realMachine};

}  // namespace

void SetMachine(Machine* machine) { current.store(machine ? machine : &realMachine); }
Machine& CurrentMachine() { return *current.load(); }

}  // namespace plat
