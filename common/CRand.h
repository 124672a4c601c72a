// The C runtime's rand(): a 15-bit linear congruential generator. Scripts and a few game parts use it
// instead of the game's MT19937, so its sequence has to match that runtime exactly.
#pragma once
#include <cstdint>

class CRand {
 public:
  static constexpr int32_t kMax = 0x7FFF;

  explicit constexpr CRand(uint32_t seed = 1) : state_(seed) {}

  void Seed(uint32_t seed) { state_ = seed; }
  // 0 to kMax.
  int32_t Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
  }
  uint32_t GetState() const { return state_; }

  // The generator that rand()/srand() stand for. Like that runtime's, each thread has its own, seeded 1.
  static CRand& Shared() {
    thread_local CRand shared;
    return shared;
  }

 private:
  uint32_t state_;
};
