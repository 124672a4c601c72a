// Record tables: the ".tbl" header of the table reader, then rows that are records read field by
// field. A record type lists its fields once, as member pointers in file order (`Fields()`); every
// table reads through the same code and differs only in that list.
#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "common/TFile.h"
#include "game/data/TGlobalRecords.h"
#include "sound/TTableReader.h"

static_assert(std::endian::native == std::endian::little, "record fields are read in place");

// The rotation offsets of a reader's scrambled fields: numbers start at `field`, string texts at
// `text` (their lengths are numbers).
struct TFieldScramble {
  uint8_t field;
  uint8_t text;
};
// What every record table of the game uses.
extern const TFieldScramble kTableFieldScramble;

namespace record_fields {

bool Read(TFile& file, uint32_t& value, TFieldScramble s);
bool Read(TFile& file, int32_t& value, TFieldScramble s);
bool Read(TFile& file, float& value, TFieldScramble s);
bool Read(TFile& file, uint8_t& value, TFieldScramble s);
bool Read(TFile& file, std::string& value, TFieldScramble s);
template <class T, size_t N>
bool Read(TFile& file, std::array<T, N>& values, TFieldScramble s) {
  for (T& v : values)
    if (!Read(file, v, s)) return false;
  return true;
}

}  // namespace record_fields

// Reads one record's fields in order; false at the first failed read.
template <class Record>
bool ReadRecordFields(TFile& file, Record& record, TFieldScramble s) {
  return std::apply([&](auto... member) { return (record_fields::Read(file, record.*member, s) && ...); },
                    Record::Fields());
}

// The reader object of a record table; it exists only while a table loads.
template <class Record>
class TRecordTable : public TTableHeader {
 public:
  virtual bool Read(const std::string& path) {
    TFile file;
    if (!ReadHeader(path, file)) return false;
    for (int32_t i = 0; i < rowCount; ++i) {
      Record record;
      if (!ReadRecordFields(file, record, kTableFieldScramble)) return false;
      records.push_back(std::move(record));
    }
    file.Close();
    return true;
  }
  virtual void Clear() {
    ClearHeader();
    records.clear();
  }
  virtual Record* GetRow(int32_t index) { return &records[static_cast<size_t>(index)]; }
  virtual std::vector<Record> GetRecords() const { return records; }

 protected:
  std::vector<Record> records;
};

// One global id-to-record map. A lookup of a missing id adds the record's default under it, so
// lookups never fail; map nodes stay put, so returned pointers stay valid.
template <class Record>
class TRecordMap {
 public:
  Record* Find(uint32_t id) { return &map_.try_emplace(id).first->second; }
  // Reads the file and stores its records by id; a later row of an id replaces the earlier one.
  void Load(const std::string& path) {
    TRecordTable<Record> table;
    if (!table.Read(path)) ReportUnreadTable(path);
    for (Record& record : table.GetRecords()) {
      listed_.insert(record.id);
      map_[record.id] = std::move(record);
    }
  }
  void Clear() {
    map_.clear();
    listed_.clear();
  }
  size_t Size() const { return map_.size(); }
  // Whether a loaded file held the id (the defaults that lookups add do not count).
  bool IsListed(uint32_t id) const { return listed_.count(id) != 0; }

 private:
  std::map<uint32_t, Record> map_;
  std::set<uint32_t> listed_;
};

template <class Record, TLoadMode kMode>
TRecordMap<Record>& GlobalRecordMap() {
  static TRecordMap<Record> map;
  return map;
}

template <class Record, TLoadMode kMode>
void TGlobalRecords<Record, kMode>::Load(const std::string& path) {
  if (kMode == TLoadMode::Replace) GlobalRecordMap<Record, kMode>().Clear();
  GlobalRecordMap<Record, kMode>().Load(path);
}

template <class Record, TLoadMode kMode>
Record* TGlobalRecords<Record, kMode>::Find(uint32_t id) {
  return GlobalRecordMap<Record, kMode>().Find(id);
}

template <class Record, TLoadMode kMode>
bool TGlobalRecords<Record, kMode>::IsListed(uint32_t id) {
  return GlobalRecordMap<Record, kMode>().IsListed(id);
}

template <class Record, TLoadMode kMode>
void TGlobalRecords<Record, kMode>::Clear() {
  GlobalRecordMap<Record, kMode>().Clear();
}
