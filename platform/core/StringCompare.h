// The Win32 case-insensitive string comparison, for ASCII letters (file names and extensions).
#pragma once

namespace plat {

// Negative, zero or positive as a sorts before, equal to or after b, 'A'-'Z' taken as 'a'-'z'.
int lstrcmpiA(const char* a, const char* b);

}  // namespace plat
