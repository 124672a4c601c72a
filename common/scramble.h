// The byte scrambling of the data files and the constants that belong to the data set. Readers and
// the data kit share these, so written files read back.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/Untraced.h"

namespace scramble {

// Table files: scrambled strings put their text at rotation offset 4 (the length took 0-3).
constexpr uint8_t kTableTextOffset = 4;
// "enemy.tbl": the offsets of its fields and of its string texts.
constexpr uint8_t kEnemyFieldOffset = 0;
constexpr uint8_t kEnemyTextOffset = 4;
// "basic.bht": the two scrambled name reads.
constexpr uint8_t kHitNameLengthOffset = 0;
constexpr uint8_t kHitNameTextOffset = 4;
// Script packs: the rotation of the token scrambling.
constexpr int kScriptTokenRotation = 3;

inline uint8_t RotateLeft(uint8_t v, unsigned n) {
  n &= 7;
  return static_cast<uint8_t>((v << n) | (v >> ((8 - n) & 7)));
}
inline uint8_t RotateRight(uint8_t v, unsigned n) {
  n &= 7;
  return static_cast<uint8_t>((v >> n) | (v << ((8 - n) & 7)));
}

// Byte i of a read that starts at count k is rotated by (k + i) mod 8.
inline uint8_t Scramble(uint8_t plain, uint8_t k) { return static_cast<uint8_t>(~RotateLeft(plain, k)); }
inline uint8_t Unscramble(uint8_t stored, uint8_t k) {
  return RotateRight(static_cast<uint8_t>(~stored), k);
}

DW_UNTRACED inline void ScrambleBytes(void* data, size_t count, uint8_t start) {
  auto* p = static_cast<uint8_t*>(data);
  for (size_t i = 0; i < count; ++i) p[i] = Scramble(p[i], static_cast<uint8_t>(start + i));
}
DW_UNTRACED inline void UnscrambleBytes(void* data, size_t count, uint8_t start) {
  auto* p = static_cast<uint8_t*>(data);
  for (size_t i = 0; i < count; ++i) p[i] = Unscramble(p[i], static_cast<uint8_t>(start + i));
}

}  // namespace scramble
