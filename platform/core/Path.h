// Paths as the game spells them ("data\\tbl03\\wepon.tbl", "MAP03/...") opened on a POSIX file
// system that may hold the data with another letter case.
#pragma once
#include <string>
#include <string_view>

namespace plat {

bool IsSjisLeadByte(unsigned char c);
// Backslashes become slashes; the second byte of a Shift-JIS pair is never taken for one.
std::string ToNativePath(std::string_view path);
// The native path of an existing entry, matching each component without regard to ASCII case when
// the path does not exist as written. Components that do not exist are kept as written, so a new
// file lands in the existing folder.
std::string ResolvePath(std::string_view path);

// A path's last component without its extension ("C:\\src\\TIni.cpp" gives "TIni"); either separator.
std::string BaseNameWithoutExtension(std::string_view path);

// The full path of the running program (the override, when a test set one).
bool GetModuleFileName(std::string& path);
void SetModuleFileNameOverride(std::string path);  // empty: the real one again

}  // namespace plat
