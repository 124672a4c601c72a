// How much one status value of the player grows at a level-up: toward a target on the value's curve,
// a fixed share of the gap for certain and the rest as a random share below it.
#pragma once
#include <cstdint>

// The target is trunc(curve x 0.001 x (level + 22) x (level + 2) + base). Nothing at or above it;
// below it at least 1 and never past it. Draws one random number only when a random share is
// possible.
uint32_t GainAmount(int32_t level, uint32_t current, int32_t curve, float fixedShare, int32_t base);
