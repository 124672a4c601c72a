#pragma once
#include <string>

#include "platform/core/Win32Types.h"

namespace plat {

DWORD GetLastError();
void SetLastError(DWORD code);
// Maps the errno of a failed POSIX call onto the error code the game sees.
DWORD ErrorFromErrno(int err);
// The system's text for an error code; false when it has none.
bool FormatMessage(DWORD code, std::string& text);

}  // namespace plat
