#include "common/TIni.h"

#include <cstdlib>
#include <vector>

#include "common/my_error.h"
#include "platform/core/Profile.h"

namespace {

// Splits a NUL-separated list; false when it is empty or was cut (size - 2).
bool SplitList(const std::vector<char>& buffer, uint32_t length, std::vector<std::string>& names) {
  if (length == 0 || length == buffer.size() - 2) return false;
  for (uint32_t i = 0; i < length;) {
    std::string name(&buffer[i]);
    i += static_cast<uint32_t>(name.size()) + 1;
    names.push_back(name);
  }
  return true;
}

}  // namespace

TIni::TIni(const std::string& p, uint32_t sectionSize, uint32_t keySize, uint32_t valSize)
    : path(p), sectionListSize(sectionSize), keyListSize(keySize), valueSize(valSize) {
  bool hasFolder = p.find_first_of("/\\:") != std::string::npos;
  folderPrefix = hasFolder ? "" : "./";
}

bool TIni::Load() {
  sections.clear();
  const std::string file = folderPrefix + path;
  if (sectionListSize < 2 || keyListSize < 2 || valueSize < 1) return false;

  const plat::ProfileFile profile(file);
  std::vector<char> list(sectionListSize);
  std::vector<std::string> sectionNames;
  uint32_t n = profile.GetSectionNames(list.data(), sectionListSize);
  if (!SplitList(list, n, sectionNames)) return false;

  std::vector<char> keys(keyListSize);
  std::vector<char> value(valueSize);
  for (const std::string& section : sectionNames) {
    auto [it, added] = sections.emplace(section, std::map<std::string, std::string>{});
    if (!added) throw my_error(my_error::GetLogString(), __FILE__, 76);
    std::vector<std::string> keyNames;
    uint32_t k = profile.GetString(section.c_str(), nullptr, "failed", keys.data(), keyListSize);
    if (!SplitList(keys, k, keyNames)) return false;
    for (const std::string& key : keyNames) {
      uint32_t v = profile.GetString(section.c_str(), key.c_str(), "failed", value.data(), valueSize);
      if (v == valueSize - 1) return false;
      if (!it->second.emplace(key, std::string(value.data(), v)).second)
        throw my_error(my_error::GetLogString(), __FILE__, 124);
    }
  }
  return true;
}

bool TIni::GetString(const std::string& section, const std::string& key, std::string& out) const {
  auto s = sections.find(section);
  if (s == sections.end()) return false;
  auto k = s->second.find(key);
  if (k == s->second.end()) return false;
  out = k->second;
  return true;
}

bool TIni::GetInt(const std::string& section, const std::string& key, int32_t& out) const {
  std::string text;
  if (!GetString(section, key, text)) return false;
  out = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
  return true;
}
