#include "game/actor/TAttackQueue.h"

#include <algorithm>

void TAttackQueue::Push(uint32_t value) {
  if (static_cast<size_t>(count) + 1 >= entries.size()) return;
  ++count;
  std::copy_backward(entries.begin(), entries.end() - 1, entries.end());
  entries[0] = value;
}

uint32_t TAttackQueue::Pop() {
  if (count == 0) return 0;
  entries[count] = 0;
  --count;
  return entries[count];
}

void TAttackQueue::Clear() {
  count = 0;
  std::fill(entries.begin(), entries.end(), 0u);
}
