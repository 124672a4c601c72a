#include "game/data/TSvpTable.h"

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<TSvpRecord>& Map() {
  static TRecordMap<TSvpRecord> map;
  return map;
}

}  // namespace

void TSvpTable::Load(const std::string& path) {
  Map().Clear();
  Map().Load(path);
}
TSvpRecord* TSvpTable::Find(uint32_t id) { return Map().Find(id); }
void TSvpTable::Clear() { Map().Clear(); }
