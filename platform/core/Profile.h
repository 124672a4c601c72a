// Private-profile (INI) strings with the original system's rules: "[section]" and "key=value"
// lines trimmed of blanks, ';' lines ignored, one pair of surrounding quotes stripped, names looked
// up without regard to case. Lists are NUL-separated and end with a second NUL.
#pragma once
#include <string>

#include "platform/core/Win32Types.h"

namespace plat {

// section == nullptr: the section names (every header, in file order, duplicates included).
// key == nullptr: the key names of the first section of that name (duplicates included).
// Otherwise the first matching value, or def when the section or key is missing.
// A list that does not fit returns size - 2; a value that does not fit returns size - 1.
// A missing file gives empty lists and the default for a value.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* def, char* buffer,
                              DWORD size, const std::string& file);
DWORD GetPrivateProfileSectionNames(char* buffer, DWORD size, const std::string& file);
UINT GetPrivateProfileInt(const char* section, const char* key, int def, const std::string& file);

}  // namespace plat
