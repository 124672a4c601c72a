#include "platform/core/LastError.h"

#include <cerrno>
#include <map>

namespace plat {
namespace {
thread_local DWORD lastError = ERROR_SUCCESS;

const std::map<DWORD, const char*>& MessageTable() {
  static const std::map<DWORD, const char*> table = {
      {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
      {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
      {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file.\r\n"},
      {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
      {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
      {ERROR_NOT_ENOUGH_MEMORY, "Not enough storage is available to process this command.\r\n"},
      {ERROR_NO_MORE_FILES, "There are no more files.\r\n"},
      {ERROR_WRITE_PROTECT, "The media is write protected.\r\n"},
      {ERROR_SHARING_VIOLATION,
       "The process cannot access the file because it is being used by another process.\r\n"},
      {ERROR_HANDLE_EOF, "Reached the end of the file.\r\n"},
      {ERROR_FILE_EXISTS, "The file exists.\r\n"},
      {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
      {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
      {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
      {ERROR_DIR_NOT_EMPTY, "The directory is not empty.\r\n"},
      {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
      {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
  };
  return table;
}
}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

DWORD ErrorFromErrno(int err) {
  switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC: return ERROR_DISK_FULL;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    default: return ERROR_INVALID_PARAMETER;
  }
}

bool FormatMessage(DWORD code, std::string& text) {
  auto it = MessageTable().find(code);
  if (it == MessageTable().end()) return false;
  text = it->second;
  return true;
}

}  // namespace plat
