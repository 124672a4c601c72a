#include "game/data/TItemMeanTable.h"

#include <new>

#include "game/data/TRecordTable.h"


TCountedPtr<TItemEffect> TItemMeanTable::Find(uint32_t id) {
  const TItemMeanRecord& r = *GetRecord(id);
  auto* effect = new (std::nothrow) TItemEffect{r.id, r.duration, r.hpRestored, r.mpRestored, r.boosts, r.ringCost};
  return effect ? TCountedPtr<TItemEffect>(effect) : TCountedPtr<TItemEffect>();
}
