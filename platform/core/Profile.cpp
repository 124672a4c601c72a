#include "platform/core/Profile.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"

namespace plat {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Names compare without regard to ASCII case: the index holds them folded.
std::string Fold(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return out;
}

// Calls onSection(name) for each header and onEntry(key, value) for each pair under one.
template <class OnSection, class OnEntry>
void ForEachLine(std::string_view text, OnSection onSection, OnEntry onEntry) {
  bool inSection = false;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = Trim(text.substr(0, nl));
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
      onSection(Trim(name));
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    size_t eq = line.find('=');
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = eq == std::string_view::npos ? std::string_view{} : Trim(line.substr(eq + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\'')))
      value = value.substr(1, value.size() - 2);
    onEntry(key, value);
  }
}

// Copies a NUL-separated list; a cut list keeps whole bytes up to size - 2 and ends in two NULs.
DWORD CopyList(const std::vector<std::string>& names, char* buffer, DWORD size) {
  if (size == 0) return 0;
  if (size == 1) {
    buffer[0] = 0;
    return 0;
  }
  std::string joined;
  for (auto& n : names) {
    joined += n;
    joined += '\0';
  }
  if (joined.size() + 1 <= size) {
    std::memcpy(buffer, joined.data(), joined.size());
    buffer[joined.size()] = 0;
    if (joined.empty()) buffer[1] = 0;
    return static_cast<DWORD>(joined.size());
  }
  std::memcpy(buffer, joined.data(), size - 2);
  buffer[size - 2] = 0;
  buffer[size - 1] = 0;
  return size - 2;
}

DWORD CopyValue(std::string_view value, char* buffer, DWORD size) {
  if (size == 0) return 0;
  size_t n = value.size() < size - 1 ? value.size() : size - 1;
  std::memcpy(buffer, value.data(), n);
  buffer[n] = 0;
  return static_cast<DWORD>(n);
}

}  // namespace

ProfileFile::ProfileFile(const std::string& file) {
  std::vector<unsigned char> bytes;
  read = ReadWholeFile(file, bytes);
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  ForEachLine(
      text,
      [&](std::string_view name) {
        firstSection.emplace(Fold(name), sections.size());
        sections.push_back({std::string(name), {}, {}});
      },
      [&](std::string_view key, std::string_view value) {
        Section& s = sections.back();
        s.firstKey.emplace(Fold(key), s.entries.size());
        s.entries.push_back({std::string(key), std::string(value)});
      });
}

DWORD ProfileFile::GetString(const char* section, const char* key, const char* def, char* buffer,
                             DWORD size) const {
  if (!section) {
    std::vector<std::string> names;
    for (auto& s : sections) names.push_back(s.name);
    return CopyList(names, buffer, size);
  }
  auto s = firstSection.find(Fold(section));
  const Section* found = s == firstSection.end() ? nullptr : &sections[s->second];
  if (!key) {
    std::vector<std::string> names;
    if (found)
      for (auto& e : found->entries) names.push_back(e.key);
    return CopyList(names, buffer, size);
  }
  if (found) {
    auto k = found->firstKey.find(Fold(key));
    if (k != found->firstKey.end()) return CopyValue(found->entries[k->second].value, buffer, size);
  }
  SetLastError(read ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
  return CopyValue(def ? Trim(def) : std::string_view{}, buffer, size);
}

DWORD ProfileFile::GetSectionNames(char* buffer, DWORD size) const {
  return GetString(nullptr, nullptr, nullptr, buffer, size);
}

DWORD GetPrivateProfileString(const char* section, const char* key, const char* def, char* buffer,
                              DWORD size, const std::string& file) {
  return ProfileFile(file).GetString(section, key, def, buffer, size);
}

DWORD GetPrivateProfileSectionNames(char* buffer, DWORD size, const std::string& file) {
  return GetPrivateProfileString(nullptr, nullptr, nullptr, buffer, size, file);
}

UINT GetPrivateProfileInt(const char* section, const char* key, int def, const std::string& file) {
  char buf[64];
  DWORD n = GetPrivateProfileString(section, key, "", buf, sizeof buf, file);
  if (n == 0) return static_cast<UINT>(def);
  return static_cast<UINT>(std::strtol(buf, nullptr, 10));
}

}  // namespace plat
