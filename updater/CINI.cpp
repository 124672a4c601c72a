#include "updater/CINI.h"

#include <vector>

#include "platform/core/Profile.h"
#include "updater/my_error.h"

namespace updater {
namespace {

// The names of a NUL-separated list; false when it is empty or did not fit (size - 2).
bool SplitList(const std::vector<char>& buffer, plat::DWORD length, std::vector<std::string>& names) {
  if (length == 0 || length == buffer.size() - 2) return false;
  for (plat::DWORD i = 0; i < length;) {
    std::string name(&buffer[i]);
    i += static_cast<plat::DWORD>(name.size()) + 1;
    names.push_back(name);
  }
  return true;
}

}  // namespace

CINI::CINI(std::string path, int sectionNamesSize, int keyNamesSize, int valueSize)
    : path_(std::move(path)),
      sectionNamesSize_(sectionNamesSize),
      keyNamesSize_(keyNamesSize),
      valueSize_(valueSize) {}

bool CINI::Load() {
  sections_.clear();
  if (sectionNamesSize_ < 3 || keyNamesSize_ < 3 || valueSize_ < 2) return false;
  const plat::ProfileFile profile(path_);
  std::vector<char> list(static_cast<size_t>(sectionNamesSize_));
  std::vector<std::string> sectionNames;
  plat::DWORD n = profile.GetSectionNames(list.data(), static_cast<plat::DWORD>(list.size()));
  if (!SplitList(list, n, sectionNames)) return false;

  std::vector<char> keys(static_cast<size_t>(keyNamesSize_));
  std::vector<char> value(static_cast<size_t>(valueSize_));
  for (const std::string& section : sectionNames) {
    auto [entry, added] = sections_.emplace(section, std::map<std::string, std::string>{});
    if (!added) throw my_error(kErrorReportMessage, __FILE__, 47);
    plat::DWORD k = profile.GetString(section.c_str(), nullptr, "failed", keys.data(),
                                      static_cast<plat::DWORD>(keys.size()));
    std::vector<std::string> keyNames;
    if (!SplitList(keys, k, keyNames)) continue;
    for (const std::string& key : keyNames) {
      plat::DWORD v = profile.GetString(section.c_str(), key.c_str(), "failed", value.data(),
                                        static_cast<plat::DWORD>(value.size()));
      if (v == value.size() - 1) continue;
      if (!entry->second.emplace(key, std::string(value.data(), v)).second)
        throw my_error(kErrorReportMessage, __FILE__, 96);
    }
  }
  return true;
}

bool CINI::GetValue(const std::string& section, const std::string& key, std::string& value) const {
  auto s = sections_.find(section);
  if (s == sections_.end()) return false;
  auto k = s->second.find(key);
  if (k == s->second.end()) return false;
  value = k->second;
  return true;
}

}  // namespace updater
