#include "game/field/THitTable.h"

#include <cstdio>
#include <map>

#include "common/TFile.h"
#include "common/scramble.h"
#include "platform/core/Win32Types.h"
#include "sound/TTableFile.h"

namespace {

std::string& HitFolder() {
  static std::string folder;
  return folder;
}

std::map<uint32_t, THitRecord>& GlobalHitTable() {
  static std::map<uint32_t, THitRecord> table;
  return table;
}

// A scrambled name: its length and its text, each one scrambled read with its own start.
bool ReadScrambledName(TFile& file, std::string& name) {
  uint32_t length = 0;
  if (!file.ReadScrambled(&length, 4, scramble::kHitNameLengthOffset)) return false;
  if (length > file.Remaining()) return false;
  std::string text(length, '\0');
  if (!file.ReadScrambled(text.data(), length, scramble::kHitNameTextOffset)) return false;
  name = text.substr(0, text.find('\0'));
  return true;
}

}  // namespace

bool THitTable::ReadCount(TFile& file, uint32_t& count) const {
  return scrambled ? TTableFile::ReadScrambled4(count, file) : file.Read(&count, 4);
}

bool THitTable::ReadNames(TFile& file) {
  // Every name takes at least its length's 4 bytes; the vector grows only with names read.
  for (uint32_t i = 0; i < nameCount; ++i) {
    std::string name;
    if (!(scrambled ? ReadScrambledName(file, name) : file.ReadString(name, 255))) return false;
    names.push_back(std::move(name));
  }
  return true;
}

bool THitTable::ReadIds(TFile& file) {
  for (uint32_t i = 0; i < nameCount; ++i) {
    uint32_t id = 0;
    if (!ReadCount(file, id)) return false;
    ids.push_back(id);
  }
  return true;
}

bool THitTable::ReadRecords(TFile& file) {
  // Records are never scrambled.
  for (uint32_t i = 0; i < recordCount; ++i) {
    THitRecord record;
    if (!file.Read(&record, sizeof record)) return false;
    records.push_back(record);
  }
  return true;
}

bool THitTable::Read(const std::string& newPath) {
  if (!newPath.empty()) path = newPath;
  TFile file;
  // Read access only: a writing open would make a read-only data file writable.
  if (!file.Open(true, plat::GENERIC_READ, path)) return false;
  bool whole = file.Read(&scrambled, 1) && ReadCount(file, recordCount) && ReadCount(file, nameCount) &&
               ReadNames(file) && ReadIds(file) && ReadRecords(file);
  file.Close();
  return whole;
}

void THitTable::Clear() {
  recordCount = 0;
  nameCount = 0;
  records.clear();
  names.clear();
  ids.clear();
}

const THitRecord* THitTable::GetRecord(uint32_t index) const {
  return index < records.size() ? &records[index] : nullptr;
}

void THitTable::Load(const std::string& name) {
  std::map<uint32_t, THitRecord>& table = GlobalHitTable();
  table.clear();
  const std::string path = HitFolder() + name;
  THitTable reader;
  // The game goes on with what was read; attacks whose records are missing use record 0.
  if (!reader.Read(path)) std::fprintf(stderr, "hit table not read whole (missing or short): %s\n", path.c_str());
  for (const THitRecord& record : reader.records) table[record.id] = record;
}

void THitTable::Unload() { GlobalHitTable().clear(); }

const THitRecord* THitTable::Find(uint32_t id) {
  std::map<uint32_t, THitRecord>& table = GlobalHitTable();
  auto found = table.find(id);
  if (found != table.end()) return &found->second;
  return &table.try_emplace(0).first->second;
}

void SetHitFolder(const std::string& folder) { HitFolder() = folder; }

const std::string& GetHitFolder() { return HitFolder(); }
