#include "platform/core/Com.h"

#include <atomic>

namespace plat {
namespace {
thread_local int initCount = 0;
std::atomic<bool> forced{false};
std::atomic<HRESULT_T> forcedResult{0};
}  // namespace

HRESULT_T CoInitializeEx(void*, uint32_t) {
  if (forced) return forcedResult;
  return initCount++ == 0 ? 0 : 1;
}

void CoUninitialize() {
  if (initCount > 0) --initCount;
}

int ComInitCount() { return initCount; }

void ForceComInitResult(bool force, HRESULT_T result) {
  forcedResult = result;
  forced = force;
}

}  // namespace plat
