// The attack presses that the player buffers while an action runs, taken oldest first. The newest
// press sits at the front of the array and the oldest at the back; a queue holds one press fewer
// than its capacity, and a press on a full queue is dropped.
#pragma once
#include <cstdint>
#include <vector>

class TAttackQueue {
 public:
  explicit TAttackQueue(uint32_t capacity) : entries(capacity, 0) {}

  void Push(uint32_t value);
  // The oldest press, or 0 when none is waiting.
  uint32_t Pop();
  // Empty, every entry zero.
  void Clear();

  uint32_t GetCount() const { return count; }
  uint32_t GetCapacity() const { return static_cast<uint32_t>(entries.size()); }
  const std::vector<uint32_t>& GetEntries() const { return entries; }

 private:
  std::vector<uint32_t> entries;
  uint32_t count = 0;
};
