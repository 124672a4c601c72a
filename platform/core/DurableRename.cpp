#include "platform/core/DurableRename.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/core/LastError.h"

namespace plat {
namespace {

// fsync of a descriptor opened for the purpose; a file system that cannot flush (EINVAL) has
// nothing it could lose.
bool FlushPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  const int err = errno;
  ::close(fd);
  errno = err;
  return ok;
}

class SystemFileSync : public FileSync {
 public:
  bool FlushFile(const std::string& path) override { return FlushPath(path, O_RDONLY); }
  bool Rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }
  bool FlushFolder(const std::string& path) override { return FlushPath(path, O_RDONLY | O_DIRECTORY); }
};

SystemFileSync systemSync;
FileSync* currentSync = &systemSync;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool FailErrno() {
  SetLastError(ErrorFromErrno(errno));
  return false;
}

}  // namespace

void SetFileSync(FileSync* sync) { currentSync = sync ? sync : &systemSync; }

bool RenameDurably(const std::string& from, const std::string& to) {
  if (!currentSync->FlushFile(from) || !currentSync->Rename(from, to)) return FailErrno();
  return currentSync->FlushFolder(FolderOf(to)) || FailErrno();
}

}  // namespace plat
