#include "platform/core/FileSystem.h"

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

struct FileObject : KernelObject {
  int fd = -1;
  explicit FileObject(int f) : fd(f) {}
  ~FileObject() override {
    if (fd >= 0) ::close(fd);
  }
  bool Close() override {
    int f = fd;
    fd = -1;
    return ::close(f) == 0;
  }
};

FileObject* AsFile(HANDLE h) {
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
  return dynamic_cast<FileObject*>(h);
}

bool FailErrno() {
  SetLastError(ErrorFromErrno(errno));
  return false;
}

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

bool CloseHandle(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  bool ok = handle->Close();
  int err = errno;
  delete handle;
  if (!ok) {
    SetLastError(ErrorFromErrno(err));
    return false;
  }
  return true;
}

HANDLE CreateFile(const std::string& name, DWORD access, DWORD /*share*/, DWORD disposition) {
  std::string path = ResolvePath(name);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  bool wantRead = (access & GENERIC_READ) != 0;
  bool wantWrite = (access & GENERIC_WRITE) != 0;
  int flags = O_CLOEXEC;
  flags |= wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;

  struct stat st;
  bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed && S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  switch (disposition) {
    case CREATE_NEW:
      if (existed) {
        SetLastError(ERROR_FILE_EXISTS);
        return INVALID_HANDLE_VALUE;
      }
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  if (!existed && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  bool needsWrite = wantWrite || (flags & O_TRUNC);
  if (existed && needsWrite && (st.st_mode & kWriteBits) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if ((flags & O_TRUNC) && !wantWrite) flags = (flags & ~O_ACCMODE) | O_RDWR;
  int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) {
    FailErrno();
    return INVALID_HANDLE_VALUE;
  }
  bool reportExisting = existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
  SetLastError(reportExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return new FileObject(fd);
}

bool ReadFile(HANDLE file, void* buffer, DWORD count, DWORD* done) {
  if (done) *done = 0;
  FileObject* f = AsFile(file);
  if (!f || f->fd < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  DWORD total = 0;
  auto* out = static_cast<unsigned char*>(buffer);
  while (total < count) {
    ssize_t n = ::read(f->fd, out + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (done) *done = total;
      return FailErrno();
    }
    if (n == 0) break;  // end of file: a short read still succeeds
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  return true;
}

bool WriteFile(HANDLE file, const void* buffer, DWORD count, DWORD* done) {
  if (done) *done = 0;
  FileObject* f = AsFile(file);
  if (!f || f->fd < 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  DWORD total = 0;
  auto* in = static_cast<const unsigned char*>(buffer);
  while (total < count) {
    ssize_t n = ::write(f->fd, in + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (done) *done = total;
      return FailErrno();
    }
    total += static_cast<DWORD>(n);
  }
  if (done) *done = total;
  return true;
}

DWORD GetFileSize(HANDLE file, DWORD* high) {
  FileObject* f = AsFile(file);
  struct stat st;
  if (!f || ::fstat(f->fd, &st) != 0) {
    SetLastError(f ? ErrorFromErrno(errno) : ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(st.st_size);
  if (high) *high = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
  FileObject* f = AsFile(file);
  if (!f) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  int64_t offset = distanceHigh ? ((static_cast<int64_t>(*distanceHigh) << 32) |
                                   static_cast<uint32_t>(distance))
                                : distance;
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
  if (method > FILE_END) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  off_t pos = ::lseek(f->fd, static_cast<off_t>(offset), whence);
  if (pos < 0) {
    SetLastError(errno == EINVAL ? 131 /* negative seek */ : ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(pos) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(pos);
}

bool FlushFileBuffers(HANDLE file) {
  FileObject* f = AsFile(file);
  if (!f) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return ::fsync(f->fd) == 0 || FailErrno();
}

DWORD GetFileAttributes(const std::string& name) {
  struct stat st;
  if (::stat(ResolvePath(name).c_str(), &st) != 0) {
    FailErrno();
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(st.st_mode))
    return FILE_ATTRIBUTE_DIRECTORY | ((st.st_mode & kWriteBits) ? 0 : FILE_ATTRIBUTE_READONLY);
  return (st.st_mode & kWriteBits) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

bool SetFileAttributes(const std::string& name, DWORD attributes) {
  std::string path = ResolvePath(name);
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return FailErrno();
  mode_t mode = st.st_mode & 07777;
  mode_t wanted = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~kWriteBits)
                  : (mode & kWriteBits)                  ? mode
                                                         : (mode | S_IWUSR);
  if (wanted == mode) return true;
  return ::chmod(path.c_str(), wanted) == 0 || FailErrno();
}

bool CreateDirectory(const std::string& name) {
  std::string path = ResolvePath(name);
  if (::mkdir(path.c_str(), 0755) == 0) return true;
  if (errno == EEXIST) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  return FailErrno();
}

bool RemoveDirectory(const std::string& name) {
  return ::rmdir(ResolvePath(name).c_str()) == 0 || FailErrno();
}

bool DeleteFile(const std::string& name) {
  return ::unlink(ResolvePath(name).c_str()) == 0 || FailErrno();
}

bool MoveFileReplace(const std::string& from, const std::string& to) {
  return RenameDurably(ResolvePath(from), ResolvePath(to));
}

bool ReadWholeFile(const std::string& name, std::vector<unsigned char>& bytes) {
  HANDLE h = CreateFile(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(h, nullptr);
  bytes.assign(size == INVALID_FILE_SIZE ? 0 : size, 0);
  DWORD got = 0;
  bool ok = size != INVALID_FILE_SIZE && ReadFile(h, bytes.data(), size, &got) && got == size;
  CloseHandle(h);
  return ok;
}

bool WriteWholeFile(const std::string& name, const void* data, size_t size) {
  HANDLE h = CreateFile(name, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = WriteFile(h, data, static_cast<DWORD>(size), &put) && put == size;
  return CloseHandle(h) && ok;
}

}  // namespace plat
