#include "game/data/TItemListTable.h"

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<TItemListRecord>& Map() {
  static TRecordMap<TItemListRecord> map;
  return map;
}

}  // namespace

void TItemListTable::Load(const std::string& path) {
  Map().Clear();
  Map().Load(path);
}
TItemListRecord* TItemListTable::Find(uint32_t id) { return Map().Find(id); }
void TItemListTable::Clear() { Map().Clear(); }
