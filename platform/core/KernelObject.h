#pragma once
#include "platform/core/Win32Types.h"

namespace plat {

// Everything a HANDLE can name: files, events, threads, mutexes.
struct KernelObject {
  virtual ~KernelObject() = default;
  // False when the underlying release failed; the handle is gone either way.
  virtual bool Close() { return true; }
};

// Closes and frees any kernel object; false (with the last error set) for a bad handle.
bool CloseHandle(HANDLE handle);

}  // namespace plat
