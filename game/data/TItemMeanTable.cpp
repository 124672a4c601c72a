#include "game/data/TItemMeanTable.h"

#include <new>

#include "game/data/TRecordTable.h"

namespace {

TRecordMap<TItemMeanRecord>& Map() {
  static TRecordMap<TItemMeanRecord> map;
  return map;
}

}  // namespace

void TItemMeanTable::Load(const std::string& path) { Map().Load(path); }
TItemMeanRecord* TItemMeanTable::GetRecord(uint32_t id) { return Map().Find(id); }
void TItemMeanTable::Clear() { Map().Clear(); }

TCountedPtr<TItemEffect> TItemMeanTable::Find(uint32_t id) {
  const TItemMeanRecord& r = *GetRecord(id);
  auto* effect = new (std::nothrow) TItemEffect{r.id, r.duration, r.hpRestored, r.mpRestored, r.boosts, r.ringCost};
  return effect ? TCountedPtr<TItemEffect>(effect) : TCountedPtr<TItemEffect>();
}
