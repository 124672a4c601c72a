#include "platform/core/Profile.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"

namespace plat {
namespace {

struct Entry {
  std::string key, value;
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

bool Parse(const std::string& file, std::vector<Section>& sections) {
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(file, bytes)) return false;
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  Section* current = nullptr;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = Trim(text.substr(0, nl));
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name = line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1);
      sections.push_back({std::string(Trim(name)), {}});
      current = &sections.back();
      continue;
    }
    if (!current) continue;
    size_t eq = line.find('=');
    std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = eq == std::string_view::npos ? std::string_view{} : Trim(line.substr(eq + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\'')))
      value = value.substr(1, value.size() - 2);
    current->entries.push_back({std::string(key), std::string(value)});
  }
  return true;
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

DWORD GetPrivateProfileString(const char* section, const char* key, const char* def, char* buffer,
                              DWORD size, const std::string& file) {
  std::vector<Section> sections;
  bool read = Parse(file, sections);
  if (!section) {
    std::vector<std::string> names;
    for (auto& s : sections) names.push_back(s.name);
    return CopyList(names, buffer, size);
  }
  const Section* found = nullptr;
  for (auto& s : sections) {
    if (SameName(s.name, section)) {
      found = &s;
      break;
    }
  }
  if (!key) {
    std::vector<std::string> names;
    if (found)
      for (auto& e : found->entries) names.push_back(e.key);
    return CopyList(names, buffer, size);
  }
  if (found) {
    for (auto& e : found->entries)
      if (SameName(e.key, key)) return CopyValue(e.value, buffer, size);
  }
  SetLastError(read ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
  return CopyValue(def ? Trim(def) : std::string_view{}, buffer, size);
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
