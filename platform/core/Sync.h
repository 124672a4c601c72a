// Events, threads, waits and the named mutex. Waits use real time: only the music workers wait,
// and they must make progress whatever clock the game reads.
#pragma once
#include <functional>
#include <string>

#include "platform/core/KernelObject.h"

namespace plat {

HANDLE CreateEvent(bool manualReset, bool initialState);
bool SetEvent(HANDLE event);
bool ResetEvent(HANDLE event);

// The thread's handle is signalled when the function returns; its result is the exit code.
HANDLE CreateThread(std::function<DWORD()> body);
bool GetExitCodeThread(HANDLE thread, DWORD* code);

// WAIT_OBJECT_0 + index of the signalled handle, WAIT_TIMEOUT, or WAIT_FAILED. An auto-reset
// event is reset by the wait that it ends.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, bool waitAll, DWORD timeoutMs);

// A mutex named across processes. The handle is returned whether or not another holder exists;
// the last error is ERROR_ALREADY_EXISTS when one does.
HANDLE CreateMutex(const std::string& name);
// Where named mutexes keep their lock files (the runtime folder, else the temporary one).
std::string MutexFolder();

}  // namespace plat
