#include "game/data/TSkillTable.h"

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<TSkillRecord>& Map() {
  static TRecordMap<TSkillRecord> map;
  return map;
}

}  // namespace

void TSkillTable::Load(const std::string& path) {
  Map().Clear();
  Map().Load(path);
}
TSkillRecord* TSkillTable::Find(uint32_t id) { return Map().Find(id); }
void TSkillTable::Clear() { Map().Clear(); }
