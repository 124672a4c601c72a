#include "game/data/THrdefTable.h"

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<THrdefRecord>& Map() {
  static TRecordMap<THrdefRecord> map;
  return map;
}

}  // namespace

void THrdefTable::Load(const std::string& path) {
  Map().Clear();
  Map().Load(path);
}
THrdefRecord* THrdefTable::Find(uint32_t id) { return Map().Find(id); }
void THrdefTable::Clear() { Map().Clear(); }
