// File calls with the system's results: handles, all-or-nothing bookkeeping left to the caller,
// attributes where "read-only" means no write bit at all (so it binds root as well).
#pragma once
#include <string>
#include <vector>

#include "platform/core/KernelObject.h"

namespace plat {

// Paths go through ResolvePath. Opening with GENERIC_WRITE a file that has no write bit fails with
// ERROR_ACCESS_DENIED, as a read-only file does on the original system. CREATE_ALWAYS and
// OPEN_ALWAYS on an existing file succeed with ERROR_ALREADY_EXISTS as the last error.
HANDLE CreateFile(const std::string& name, DWORD access, DWORD share, DWORD disposition);
bool ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* done);
bool WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* done);
// The low 32 bits of the size; the high ones into *high when given. INVALID_FILE_SIZE on failure.
DWORD GetFileSize(HANDLE file, DWORD* high);
// The new position's low 32 bits, or INVALID_SET_FILE_POINTER (with the last error set).
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
bool FlushFileBuffers(HANDLE file);

DWORD GetFileAttributes(const std::string& name);
// FILE_ATTRIBUTE_READONLY clears every write bit; anything else gives the owner write access back.
bool SetFileAttributes(const std::string& name, DWORD attributes);
bool CreateDirectory(const std::string& name);
bool RemoveDirectory(const std::string& name);
bool DeleteFile(const std::string& name);
// Renames a closed new file over an existing target in one step, flushed so that a power cut leaves
// one of the two whole (how saves replace their previous file).
bool MoveFileReplace(const std::string& from, const std::string& to);

// Reads or writes a whole small file; helpers for tools and tests.
bool ReadWholeFile(const std::string& name, std::vector<unsigned char>& bytes);
bool WriteWholeFile(const std::string& name, const void* data, size_t size);

}  // namespace plat
