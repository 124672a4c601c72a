// COM start-up as the game and the updater call it. Nothing here needs COM objects; the calls keep
// their results so start-up behaves as written, and tests can make them fail.
#pragma once
#include <cstdint>

namespace plat {

using HRESULT_T = int32_t;
// S_OK the first time on a thread, S_FALSE when already initialised; the forced result when set.
HRESULT_T CoInitializeEx(void* reserved, uint32_t model);
void CoUninitialize();
int ComInitCount();
void ForceComInitResult(bool force, HRESULT_T result = 0);

}  // namespace plat
