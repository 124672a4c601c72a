// The game's one random stream: a 32-bit Mersenne Twister (MT19937). Start-up seeds it from the
// millisecond timer; every random decision of play then takes the next number. Game thread only.
#pragma once
#include <cstdint>

struct MtRandomState {
  static constexpr int kWords = 624;
  static constexpr int kUnseeded = 625;

  uint32_t words[kWords] = {};
  int index = kUnseeded;

  void Seed(uint32_t seed);
  // The next tempered word; a state never seeded is seeded with 5489 first.
  uint32_t Next();

 private:
  void Twist();
};

// The global state, and the two operations on it.
MtRandomState& GlobalRandomState();
void SeedRand(uint32_t seed);
uint32_t GenRand();
// The next word's upper 31 bits: GenRand() >> 1, from the same stream.
uint32_t GenRand31();
