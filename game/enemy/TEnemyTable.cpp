#include "game/enemy/TEnemyTable.h"

#include "common/TFile.h"
#include "common/scramble.h"
#include "game/data/TRecordTable.h"

std::map<uint32_t, TEnemyRecord> EnemyDatabase;

namespace {

constexpr TFieldScramble kEnemyFieldScramble{scramble::kEnemyFieldOffset, scramble::kEnemyTextOffset};

}  // namespace

bool TEnemyTable::Load(const std::string& name) {
  TFile file;
  if (!ReadHeader(name, file)) return false;
  // The row count is unsigned here: a huge one reads until the bytes run out.
  for (uint32_t i = 0; i < static_cast<uint32_t>(rowCount); ++i) {
    TEnemyRecord record;
    if (!ReadRecordFields(file, record, kEnemyFieldScramble)) return false;
    records.push_back(std::move(record));
  }
  file.Close();
  return true;
}

void TEnemyTable::Clear() {
  ClearHeader();
  records.clear();
}

void LoadEnemyDatabase(const std::string& path) {
  TEnemyTable table(path);
  if (!table.Load("")) ReportUnreadTable(path);
  std::vector<TEnemyRecord> records;
  table.CopyRecords(records);
  for (TEnemyRecord& record : records) EnemyDatabase[record.Id] = std::move(record);
}

TEnemyRecord& FindEnemyRecord(uint32_t id) { return EnemyDatabase[id]; }
