// Private-profile (INI) strings with the original system's rules: "[section]" and "key=value"
// lines trimmed of blanks, ';' lines ignored, one pair of surrounding quotes stripped, names looked
// up without regard to case. Lists are NUL-separated and end with a second NUL.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/Win32Types.h"

namespace plat {

// One profile file read and indexed once; each call answers as the free function of the same
// name would on that file, in time independent of the file's size (lists aside). Readers that
// fetch every key use this so a load stays linear in the file.
class ProfileFile {
 public:
  explicit ProfileFile(const std::string& file);

  DWORD GetString(const char* section, const char* key, const char* def, char* buffer, DWORD size) const;
  DWORD GetSectionNames(char* buffer, DWORD size) const;

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> firstKey;  // case-folded key -> first entry
  };
  bool read = false;
  std::vector<Section> sections;
  std::unordered_map<std::string, size_t> firstSection;  // case-folded name -> first section
};

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
