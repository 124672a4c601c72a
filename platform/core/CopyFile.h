// File copying in the manner of CopyFile: data, permission bits and modification time.
#pragma once
#include <string>

#include "platform/core/Win32Types.h"

namespace plat {

// Copies a regular file. The copy is written beside the target and renamed over it, so a failed
// copy never leaves half a file and a symbolic link at the target is replaced, not written
// through. An existing target without any write bit is refused (ERROR_ACCESS_DENIED), as a
// read-only file is on the original system; failIfExists refuses any existing target
// (ERROR_FILE_EXISTS). Anything but a regular file as the source is refused (ERROR_ACCESS_DENIED).
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);

}  // namespace plat
