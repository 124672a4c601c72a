// Ids of the objects on a stage: unique among live objects, so that hit volumes and registries can
// name an object without holding it.
#pragma once
#include <cstdint>
#include <set>

class TObjectIdList {
 public:
  // The counter's next value that no live object holds. The counter only moves forward, so a freed
  // id comes back only after the counter wraps.
  uint32_t Allocate();
  void Free(uint32_t id);
  bool Contains(uint32_t id) const { return used.count(id) != 0; }

 private:
  std::set<uint32_t> used;
  uint32_t counter = 0;
};

// The program's one list, unguarded: objects live on the game thread.
uint32_t AllocateObjectId();
void FreeObjectId(uint32_t id);
