// An INI file read once through the profile-string calls, then looked up by section and key.
#pragma once
#include <cstdint>
#include <map>
#include <string>

class TIni {
 public:
  TIni(const std::string& path, uint32_t sectionListSize = 4096, uint32_t keyListSize = 4096,
       uint32_t valueSize = 1024);
  virtual ~TIni() = default;

  // False for a missing or empty file, a section without keys, or a list or value that was cut.
  // A section or key that occurs twice throws my_error.
  bool Load();
  bool GetString(const std::string& section, const std::string& key, std::string& out) const;
  bool GetInt(const std::string& section, const std::string& key, int32_t& out) const;

  const std::map<std::string, std::map<std::string, std::string>>& Sections() const { return sections; }

 private:
  std::string path;
  std::string folderPrefix;
  std::map<std::string, std::map<std::string, std::string>> sections;
  uint32_t sectionListSize, keyListSize, valueSize;
};
