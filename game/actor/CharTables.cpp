#include "game/actor/CharTables.h"

#include <algorithm>

#include "sound/TTableReader.h"

std::vector<uint32_t> ReadCharTable(const std::string& path) {
  TTableReader reader;
  std::vector<uint32_t> table;
  if (!reader.Read(path)) {
    ReportUnreadTable(path);
    return table;
  }
  for (int32_t i = 0; i < reader.GetRowCount(); ++i) table.push_back(*reader.GetRow(i));
  return table;
}

uint32_t CharTableEntry(const std::vector<uint32_t>& table, int64_t levelDifference) {
  const int64_t index = std::clamp<int64_t>(levelDifference + kEqualLevelsEntry, 0, kLastLevelEntry);
  return static_cast<size_t>(index) < table.size() ? table[static_cast<size_t>(index)] : 0u;
}
