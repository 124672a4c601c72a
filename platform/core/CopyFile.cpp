#include "platform/core/CopyFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/core/DurableRename.h"
#include "platform/core/LastError.h"
#include "platform/core/Path.h"

namespace plat {
namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool Fail(DWORD code) {
  SetLastError(code);
  return false;
}

bool FailErrno() { return Fail(ErrorFromErrno(errno)); }

bool CopyBytes(int in, int out) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return false;
      done += w;
    }
  }
}

// Writes the copy to a new file in the target's folder and renames it over the target.
bool WriteBeside(int in, const struct stat& source, const std::string& target) {
  size_t slash = target.find_last_of('/');
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = target.substr(0, slash == std::string::npos ? 0 : slash + 1) + "." + name + ".XXXXXX";
  int out = ::mkstemp(temp.data());
  if (out < 0) return FailErrno();
  const struct timespec times[2] = {{0, UTIME_NOW}, source.st_mtim};
  bool ok = CopyBytes(in, out) && ::fchmod(out, source.st_mode & 0777) == 0 && ::futimens(out, times) == 0;
  int err = errno;
  if (::close(out) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && RenameDurably(temp, target)) return true;
  if (ok) err = errno;
  ::unlink(temp.c_str());
  return Fail(ErrorFromErrno(err));
}

}  // namespace

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  std::string source = ResolvePath(from);
  std::string target = ResolvePath(to);
  // Non-blocking, so that a FIFO in place of a file cannot stall the open.
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return FailErrno();
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return Fail(ERROR_ACCESS_DENIED);
  }

  bool ok = true;
  struct stat existing;
  if (::lstat(target.c_str(), &existing) == 0) {
    struct stat followed;
    bool isFolder = ::stat(target.c_str(), &followed) == 0 && S_ISDIR(followed.st_mode);
    if (failIfExists)
      ok = Fail(ERROR_FILE_EXISTS);
    else if (isFolder || (!S_ISLNK(existing.st_mode) && (existing.st_mode & kWriteBits) == 0))
      ok = Fail(ERROR_ACCESS_DENIED);
  }
  if (ok) ok = WriteBeside(in, st, target);
  DWORD err = GetLastError();
  ::close(in);
  SetLastError(ok ? ERROR_SUCCESS : err);
  return ok;
}

}  // namespace plat
