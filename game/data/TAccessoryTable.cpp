#include "game/data/TAccessoryTable.h"

#include <new>

#include "game/data/TRecordTable.h"


TCountedPtr<TAccessoryEquip> TAccessoryTable::GetShared(uint32_t id) {
  const TAccessoryRecord& r = *Find(id);
  auto* equip = new (std::nothrow) TAccessoryEquip{r.id, r.physicalDefence, r.magicDefence, r.elementDefences};
  return equip ? TCountedPtr<TAccessoryEquip>(equip) : TCountedPtr<TAccessoryEquip>();
}
