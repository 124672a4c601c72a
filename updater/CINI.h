// A whole profile (INI) file read through the profile-string calls, then looked up by section and
// key (both compared as bytes).
#pragma once
#include <map>
#include <string>

namespace updater {

class CINI {
 public:
  CINI(std::string path, int sectionNamesSize, int keyNamesSize, int valueSize);
  virtual ~CINI() = default;

  // False for a missing file or one without sections. A section or a key that occurs twice
  // throws my_error. A section whose key list, or a value, does not fit its buffer is left out.
  bool Load();
  bool GetValue(const std::string& section, const std::string& key, std::string& value) const;

 private:
  std::string path_;
  int sectionNamesSize_;
  int keyNamesSize_;
  int valueSize_;
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace updater
