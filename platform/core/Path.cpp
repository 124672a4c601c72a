#include "platform/core/Path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace plat {
namespace {
std::mutex overrideLock;
std::string moduleOverride;

bool Exists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = x - 'A' + 'a';
    if (y >= 'A' && y <= 'Z') y = y - 'A' + 'a';
    if (x != y) return false;
  }
  return true;
}

// The entry of folder dir named like name in another case; empty when there is none.
std::string FindNoCase(const std::string& dir, std::string_view name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (EqualNoCase(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}
}  // namespace

bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string ToNativePath(std::string_view path) {
  std::string out(path);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = out[i];
    if (IsSjisLeadByte(c)) {
      ++i;  // the trail byte may be 0x5C and is not a separator
    } else if (c == '\\') {
      out[i] = '/';
    }
  }
  return out;
}

std::string ResolvePath(std::string_view path) {
  std::string native = ToNativePath(path);
  if (native.empty() || Exists(native)) return native;

  std::string result;
  size_t pos = 0;
  if (native[0] == '/') {
    result = "/";
    pos = 1;
  }
  bool matching = true;
  while (pos <= native.size()) {
    size_t slash = native.find('/', pos);
    if (slash == std::string::npos) slash = native.size();
    std::string_view part(native.data() + pos, slash - pos);
    std::string piece(part);
    if (matching && !part.empty() && part != "." && part != "..") {
      std::string candidate = result + piece;
      if (!Exists(candidate)) {
        std::string other = FindNoCase(result.empty() ? std::string(".") : result, part);
        if (other.empty())
          matching = false;
        else
          piece = other;
      }
    }
    result += piece;
    if (slash < native.size()) result += '/';
    pos = slash + 1;
  }
  return result;
}

std::string BaseNameWithoutExtension(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? path : path.substr(slash + 1);
  size_t dot = base.find_last_of('.');
  return std::string(dot == std::string_view::npos ? base : base.substr(0, dot));
}

bool GetModuleFileName(std::string& path) {
  {
    std::lock_guard<std::mutex> lock(overrideLock);
    if (!moduleOverride.empty()) {
      path = moduleOverride;
      return true;
    }
  }
  std::vector<char> buf(4096);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return false;
  path.assign(buf.data(), static_cast<size_t>(n));
  return true;
}

void SetModuleFileNameOverride(std::string path) {
  std::lock_guard<std::mutex> lock(overrideLock);
  moduleOverride = std::move(path);
}

}  // namespace plat
