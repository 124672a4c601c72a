#include "common/TFile.h"

#include <array>
#include <vector>

#include "common/my_error.h"
#include "common/Untraced.h"
#include "common/scramble.h"
#include "platform/core/FileSystem.h"
#include "platform/core/MessageBox.h"

TFile::TFile(const std::string& n) : handle(plat::INVALID_HANDLE_VALUE), name(n) {}

TFile::~TFile() {
  try {
    Close();
  } catch (const my_error& e) {
    my_error::TransactionError(e);
  } catch (const char* text) {
    plat::MessageBox(nullptr, text, "char* CatchHandler", plat::MB_OK | plat::MB_ICONSTOP | plat::MB_TOPMOST);
  } catch (...) {
    my_error::TransactionUnknownError();
  }
}

bool TFile::OpenWith(uint32_t disposition, uint32_t access, uint32_t share, const std::string& newName) {
  if (!newName.empty()) name = newName;
  if (IsOpen()) {
    plat::CloseHandle(handle);
    handle = plat::INVALID_HANDLE_VALUE;
  }
  if (access & plat::GENERIC_WRITE) plat::SetFileAttributes(name, plat::FILE_ATTRIBUTE_NORMAL);
  handle = plat::CreateFile(name, access, share, disposition);
  return IsOpen();
}

bool TFile::Open(bool mustExist, uint32_t access, const std::string& n) {
  uint32_t share = access == plat::GENERIC_READ ? plat::FILE_SHARE_READ : 0;
  return OpenWith(mustExist ? plat::OPEN_EXISTING : plat::OPEN_ALWAYS, access, share, n);
}

bool TFile::Create(bool newOnly, uint32_t access, const std::string& n) {
  return OpenWith(newOnly ? plat::CREATE_NEW : plat::CREATE_ALWAYS, access | plat::GENERIC_WRITE, 0, n);
}

void TFile::Close() {
  if (!IsOpen()) return;
  if (!plat::CloseHandle(handle)) {
    // The handle object is gone either way on this system; keep the object usable.
    handle = plat::INVALID_HANDLE_VALUE;
    throw my_error(my_error::GetLogString(), __FILE__, 115);
  }
  handle = plat::INVALID_HANDLE_VALUE;
}

bool TFile::Read(void* buffer, uint32_t count) {
  plat::DWORD done = 0;
  return plat::ReadFile(handle, buffer, count, &done) && done == count;
}

bool TFile::Write(const void* buffer, uint32_t count) {
  plat::DWORD done = 0;
  return plat::WriteFile(handle, buffer, count, &done) && done == count;
}

uint32_t TFile::GetSize() { return plat::GetFileSize(handle, nullptr); }

bool TFile::Seek(int32_t offset, int origin) {
  if (origin < 0 || origin > 2) return false;
  return plat::SetFilePointer(handle, offset, nullptr, static_cast<plat::DWORD>(origin)) !=
         plat::INVALID_SET_FILE_POINTER;
}

uint32_t TFile::Remaining() {
  uint32_t size = GetSize();
  uint32_t pos = plat::SetFilePointer(handle, 0, nullptr, plat::FILE_CURRENT);
  if (size == plat::INVALID_FILE_SIZE || pos == plat::INVALID_SET_FILE_POINTER || pos > size) return 0;
  return size - pos;
}

bool TFile::ReadString(std::string& out, uint32_t /*maximum*/) {
  uint32_t length = 0;
  if (!Read(&length, 4)) {
    out.clear();
    return false;
  }
  if (length > Remaining()) {
    Seek(0, 2);
    out.clear();
    return false;
  }
  std::vector<char> bytes(length);
  if (!Read(bytes.data(), length)) {
    out.clear();
    return false;
  }
  size_t n = 0;
  while (n < length && bytes[n] != 0) ++n;
  out.assign(bytes.data(), n);
  return true;
}

bool TFile::ReadScrambled(void* buffer, uint32_t count, uint8_t startCount) {
  if (count == 0) return true;
  if (!Read(buffer, count)) return false;
  scramble::UnscrambleBytes(buffer, count, startCount);
  return true;
}

DW_UNTRACED uint32_t Crc32(const void* data, int32_t length) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  if (length <= 0) return 0;
  auto* p = static_cast<const uint8_t*>(data);
  // Through the bare pointer: an uninlined operator[] would be traced, the loop's attribute aside.
  const uint32_t* rows = table.data();
  uint32_t crc = 0xFFFFFFFFu;
  for (int32_t i = 0; i < length; ++i) crc = rows[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}
