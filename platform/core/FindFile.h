// Folder listing in the manner of FindFirstFile/FindNextFile: a wildcard in the last component,
// "." and ".." listed like any other entry, names in byte order.
#pragma once
#include <string>

#include "platform/core/KernelObject.h"

namespace plat {

struct WIN32_FIND_DATA {
  // The entry's attributes as GetFileAttributes gives them for its path (a link is followed), plus
  // FILE_ATTRIBUTE_REPARSE_POINT for a symbolic link; 0 when they cannot be read.
  DWORD dwFileAttributes = 0;
  std::string cFileName;
};

// pattern: a folder and a last component with '*' and '?' matched without regard to ASCII case;
// "*.*" matches every name, as on the original system. INVALID_HANDLE_VALUE when the folder cannot
// be listed (its error as the last error) or nothing matches (ERROR_FILE_NOT_FOUND).
HANDLE FindFirstFile(const std::string& pattern, WIN32_FIND_DATA* data);
// False with ERROR_NO_MORE_FILES after the last entry.
bool FindNextFile(HANDLE find, WIN32_FIND_DATA* data);
bool FindClose(HANDLE find);

// The wildcard test FindFirstFile uses.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace plat
