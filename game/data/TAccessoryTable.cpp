#include "game/data/TAccessoryTable.h"

#include <new>

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<TAccessoryRecord>& Map() {
  static TRecordMap<TAccessoryRecord> map;
  return map;
}

}  // namespace

void TAccessoryTable::Load(const std::string& path) { Map().Load(path); }
TAccessoryRecord* TAccessoryTable::Find(uint32_t id) { return Map().Find(id); }
void TAccessoryTable::Clear() { Map().Clear(); }

TCountedPtr<TAccessoryEquip> TAccessoryTable::GetShared(uint32_t id) {
  const TAccessoryRecord& r = *Find(id);
  auto* equip = new (std::nothrow) TAccessoryEquip{r.id, r.physicalDefence, r.magicDefence, r.elementDefences};
  return equip ? TCountedPtr<TAccessoryEquip>(equip) : TCountedPtr<TAccessoryEquip>();
}
