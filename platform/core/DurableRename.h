// Putting a finished new file in place of an old one so that a power cut leaves either the old file
// or the whole new one: the new file's data reaches the disc before the rename, and the folder's
// new entry after it. Saves and copies replace their targets this way.
#pragma once
#include <string>

namespace plat {

// The three steps, which tests replace to see their order. Each returns false with errno set.
class FileSync {
 public:
  virtual ~FileSync() = default;
  virtual bool FlushFile(const std::string& path) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool FlushFolder(const std::string& path) = 0;
};

// The steps in use; nullptr restores the system's. The caller keeps ownership.
void SetFileSync(FileSync* sync);

// Renames the closed file `from` over `to` (native paths, both in one folder). A failed flush of
// the new file stops before the rename, so the target stays as it was; false with the last error
// set when any step fails.
bool RenameDurably(const std::string& from, const std::string& to);

}  // namespace plat
