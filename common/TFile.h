// A file handle that reads and writes whole counts or nothing.
#pragma once
#include <cstdint>
#include <string>

#include "platform/core/Win32Types.h"

class TFile {
 public:
  explicit TFile(const std::string& name = "");
  virtual ~TFile();
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // access is GENERIC_READ and/or GENERIC_WRITE. Only a writing open makes the file writable first.
  bool Open(bool mustExist, uint32_t access, const std::string& name = "");
  bool Create(bool newOnly, uint32_t access, const std::string& name = "");
  void Close();  // throws my_error when the system refuses

  bool Read(void* buffer, uint32_t count);
  bool Write(const void* buffer, uint32_t count);
  uint32_t GetSize();
  bool Seek(int32_t offset, int origin);  // origin 0 start, 1 current, 2 end
  bool SeekSet(int32_t offset) { return Seek(offset, 0); }
  bool SeekCur(int32_t offset) { return Seek(offset, 1); }
  // Bytes between the position and the end (0 when unknown).
  uint32_t Remaining();

  // A u32 length and that many bytes, kept up to the first NUL. The maximum is not applied; a length
  // that runs past the end fails without reading (out empty, position at the end).
  bool ReadString(std::string& out, uint32_t maximum);
  // count bytes, each unscrambled with rotation (startCount + i); untouched when the read fails.
  bool ReadScrambled(void* buffer, uint32_t count, uint8_t startCount);

  bool IsOpen() const { return handle != plat::INVALID_HANDLE_VALUE; }
  const std::string& GetName() const { return name; }

 private:
  bool OpenWith(uint32_t disposition, uint32_t access, uint32_t share, const std::string& newName);

  plat::HANDLE handle;
  std::string name;
};

// CRC-32 of IEEE 802.3 (zip, PNG); 0 for a length of 0 or less.
uint32_t Crc32(const void* data, int32_t length);
