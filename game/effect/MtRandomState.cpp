#include "game/effect/MtRandomState.h"

namespace {

constexpr int kShift = 397;
constexpr uint32_t kMatrix = 0x9908B0DFu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7FFFFFFFu;
constexpr uint32_t kMagic[2] = {0, kMatrix};

}  // namespace

void MtRandomState::Seed(uint32_t seed) {
  words[0] = seed;
  for (int i = 1; i < kWords; ++i)
    words[i] = 1812433253u * (words[i - 1] ^ (words[i - 1] >> 30)) + static_cast<uint32_t>(i);
  index = kWords;
}

void MtRandomState::Twist() {
  for (int i = 0; i < kWords; ++i) {
    uint32_t y = (words[i] & kUpper) | (words[(i + 1) % kWords] & kLower);
    words[i] = words[(i + kShift) % kWords] ^ (y >> 1) ^ kMagic[y & 1];
  }
  index = 0;
}

uint32_t MtRandomState::Next() {
  if (index >= kWords) {
    if (index == kUnseeded) Seed(5489);
    Twist();
  }
  uint32_t y = words[index++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

MtRandomState& GlobalRandomState() {
  static MtRandomState state;
  return state;
}

void SeedRand(uint32_t seed) { GlobalRandomState().Seed(seed); }

uint32_t GenRand() { return GlobalRandomState().Next(); }

uint32_t GenRand31() { return GenRand() >> 1; }
