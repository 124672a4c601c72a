#include "game/field/ObjectIds.h"

namespace {

TObjectIdList& ProgramIds() {
  static TObjectIdList list;
  return list;
}

}  // namespace

uint32_t TObjectIdList::Allocate() {
  uint32_t candidate = counter++;
  while (used.count(candidate)) candidate = counter++;
  used.insert(candidate);
  return candidate;
}

void TObjectIdList::Free(uint32_t id) { used.erase(id); }

uint32_t AllocateObjectId() { return ProgramIds().Allocate(); }

void FreeObjectId(uint32_t id) { ProgramIds().Free(id); }
