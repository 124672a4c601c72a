#include "sound/TSoundNameTable.h"

#include "common/TFile.h"
#include "sound/TTableFile.h"

bool TSoundNameTable::Read(const std::string& name) {
  TFile file;
  if (!ReadHeader(name, file)) return false;
  for (int32_t i = 0; i < rowCount; ++i) {
    TSoundNameRow row;
    if (!TTableFile::ReadScrambled4(row.id, file) || !ReadScrambledString(file, row.name)) return false;
    rows.push_back(std::move(row));
  }
  file.Close();
  return true;
}

void TSoundNameTable::Clear() {
  ClearHeader();
  rows.clear();
}
