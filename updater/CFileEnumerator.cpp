#include "updater/CFileEnumerator.h"

#include "platform/core/FileSystem.h"
#include "platform/core/FindFile.h"

namespace updater {
namespace {

bool EqualNoCase(const std::string& a, size_t from, const std::string& b) {
  for (size_t i = 0; i < b.size(); ++i) {
    unsigned char x = a[from + i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

}  // namespace

CFileEnumerator::CFileEnumerator(std::string root, std::string pattern, int folders, unsigned maxDepth)
    : root_(std::move(root)), pattern_(std::move(pattern)), folders_(folders), maxDepth_(maxDepth) {
  if (root_.empty() || root_.back() != '/') root_ += '/';
}

bool CFileEnumerator::PatternAccepts(const std::string& pattern, const std::string& name) {
  if (pattern == ".*") return true;
  if (pattern.empty()) return name.find('.') == std::string::npos;
  return pattern.size() < name.size() && EqualNoCase(name, name.size() - pattern.size(), pattern);
}

uint8_t CFileEnumerator::FlagsOf(uint32_t attributes) {
  if (attributes == plat::INVALID_FILE_ATTRIBUTES) return 0;
  uint8_t flags = (attributes & plat::FILE_ATTRIBUTE_DIRECTORY) ? kEntryFolder : kEntryFile;
  if (attributes & plat::FILE_ATTRIBUTE_READONLY) flags |= kEntryReadOnly;
  if (attributes & plat::FILE_ATTRIBUTE_HIDDEN) flags |= kEntryHidden;
  if (attributes & plat::FILE_ATTRIBUTE_SYSTEM) flags |= kEntrySystem;
  return flags;
}

void CFileEnumerator::Report(const std::string& path, uint8_t flags) {
  if (OnFound(path, flags))
    ++accepted_;
  else
    ++skipped_;
}

void CFileEnumerator::Walk() {
  FolderQueue queue;
  queue.emplace_back(root_, 0u);
  if (folders_) {
    uint8_t flags = FlagsOf(plat::GetFileAttributes(root_));
    if (flags & kEntryFolder) Report(root_, flags);
  }
  while (!queue.empty()) {
    auto [folder, depth] = queue.front();
    queue.pop_front();
    ListFolder(folder, depth, queue);
  }
  OnFinish();
}

void CFileEnumerator::ListFolder(const std::string& folder, unsigned depth, FolderQueue& queue) {
  plat::WIN32_FIND_DATA data;
  plat::HANDLE find = plat::FindFirstFile(folder + "*.*", &data);
  if (find == plat::INVALID_HANDLE_VALUE) {
    failed_ = true;
    return;
  }
  do {
    const std::string& name = data.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + name;
    bool isLink = (data.dwFileAttributes & plat::FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (isLink && (data.dwFileAttributes & plat::FILE_ATTRIBUTE_DIRECTORY)) {
      ++skipped_;  // never followed: it could lead out of the tree or round in a circle
      OnFolderLink(path);
      continue;
    }
    uint8_t flags = FlagsOf(plat::GetFileAttributes(path));
    if (flags == 0) {
      failed_ = true;
      ++skipped_;
      continue;
    }
    if (flags & kEntryFolder) {
      if (folders_)
        Report(path, flags);
      else
        ++skipped_;
      if (depth < maxDepth_) queue.emplace_back(path + "/", depth + 1);
    } else if (!folders_) {
      if (PatternAccepts(pattern_, name))
        Report(path, flags);
      else
        ++skipped_;
    }
  } while (plat::FindNextFile(find, &data));
  plat::FindClose(find);
}

CUpdateFileEnumerator::CUpdateFileEnumerator(std::string root, std::string pattern, int folders)
    : CFileEnumerator(std::move(root), std::move(pattern), folders, ~0u) {}

std::string CUpdateFileEnumerator::RelativeName(const std::string& path) const {
  return path == Root() ? "./" : path.substr(Root().size());
}

bool CUpdateFileEnumerator::OnFound(const std::string& path, uint8_t flags) {
  if (!entries_.emplace(RelativeName(path), flags).second) throw kEnumerationFailed;
  return true;
}

void CUpdateFileEnumerator::OnFolderLink(const std::string& path) { folderLinks_.insert(RelativeName(path)); }

}  // namespace updater
