#include "platform/core/FindFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/core/FileSystem.h"
#include "platform/core/LastError.h"
#include "platform/core/Path.h"

namespace plat {
namespace {

struct FindObject : KernelObject {
  std::string folder;  // native, ends in '/'
  std::vector<std::string> names;
  size_t next = 0;
};

unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

DWORD EntryAttributes(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return 0;
  DWORD followed = GetFileAttributes(path);
  if (followed == INVALID_FILE_ATTRIBUTES) followed = 0;
  return S_ISLNK(st.st_mode) ? (followed | FILE_ATTRIBUTE_REPARSE_POINT) : followed;
}

bool Deliver(FindObject* find, WIN32_FIND_DATA* data) {
  if (find->next >= find->names.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  const std::string& name = find->names[find->next++];
  if (data) {
    data->cFileName = name;
    data->dwFileAttributes = EntryAttributes(find->folder + name);
  }
  SetLastError(ERROR_SUCCESS);
  return true;
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Greedy match with one backtrack point: the last '*' seen.
  size_t p = 0, n = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

HANDLE FindFirstFile(const std::string& pattern, WIN32_FIND_DATA* data) {
  std::string native = ToNativePath(pattern);
  size_t slash = native.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
  std::string wildcard = slash == std::string::npos ? native : native.substr(slash + 1);
  folder = ResolvePath(folder);
  if (folder.empty() || folder.back() != '/') folder += '/';

  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto* find = new FindObject;
  find->folder = folder;
  while (dirent* e = ::readdir(dir)) {
    if (MatchesWildcard(wildcard, e->d_name)) find->names.emplace_back(e->d_name);
  }
  ::closedir(dir);
  std::sort(find->names.begin(), find->names.end());
  if (!Deliver(find, data)) {
    delete find;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return find;
}

bool FindNextFile(HANDLE handle, WIN32_FIND_DATA* data) {
  auto* find = dynamic_cast<FindObject*>(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
  if (!find) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return Deliver(find, data);
}

bool FindClose(HANDLE find) {
  if (!dynamic_cast<FindObject*>(find == INVALID_HANDLE_VALUE ? nullptr : find)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return CloseHandle(find);
}

}  // namespace plat
