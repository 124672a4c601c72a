#include "sound/TTableReader.h"

#include <cstdio>

#include "common/TFile.h"
#include "common/scramble.h"
#include "platform/core/Win32Types.h"
#include "sound/TTableFile.h"

bool TTableHeader::ReadField4(TFile& file, uint32_t& value) const {
  if (headerFlag != 0) return TTableFile::ReadScrambled4(value, file);
  value = 0;
  return file.Read(&value, 4);
}

bool TTableHeader::ReadScrambledString(TFile& file, std::string& out) {
  return ReadScrambledString(file, out, scramble::kTableTextOffset);
}

bool TTableHeader::ReadScrambledString(TFile& file, std::string& out, uint8_t textOffset) {
  uint32_t length = 0;
  if (!TTableFile::ReadScrambled4(length, file)) return false;
  if (length > file.Remaining()) return false;
  std::string text(length, '\0');
  if (!file.ReadScrambled(text.data(), length, textOffset)) return false;
  text.resize(text.find('\0') == std::string::npos ? length : text.find('\0'));
  out = std::move(text);
  return true;
}

bool TTableHeader::ReadHeader(const std::string& name, TFile& file) {
  if (!name.empty()) fileName = name;
  // Data is read-only: an open never asks for write access, so read-only folders load.
  if (!file.Open(true, plat::GENERIC_READ, fileName)) return false;
  uint32_t rows = 0, columns = 0;
  if (!file.Read(&headerFlag, 1) || !ReadField4(file, rows) || !ReadField4(file, columns)) return false;
  rowCount = static_cast<int32_t>(rows);
  columnCount = static_cast<int32_t>(columns);
  for (int32_t i = 0; i < columnCount; ++i) {
    std::string columnName;
    bool ok = headerFlag != 0 ? ReadScrambledString(file, columnName) : file.ReadString(columnName, 255);
    if (!ok) return false;
    columnNames.push_back(columnName);
  }
  for (int32_t i = 0; i < columnCount; ++i) {
    uint32_t type = 0;
    if (!ReadField4(file, type)) return false;
    columnTypes.push_back(type);
  }
  return true;
}

void TTableHeader::ClearHeader() {
  rowCount = 0;
  columnCount = 0;
  columnNames.clear();
  columnTypes.clear();
}

bool TTableReader::Read(const std::string& name) {
  TFile file;
  if (!ReadHeader(name, file)) return false;
  for (int32_t i = 0; i < rowCount; ++i) {
    uint32_t id = 0;
    if (!TTableFile::ReadScrambled4(id, file)) return false;
    rows.push_back(id);
  }
  file.Close();
  return true;
}

void TTableReader::Clear() {
  ClearHeader();
  rows.clear();
}

void ReportUnreadTable(const std::string& path) {
  std::fprintf(stderr, "table not read whole (missing or short): %s\n", path.c_str());
}
