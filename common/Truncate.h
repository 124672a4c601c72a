// Truncation toward zero of the game's float results into integers, saturating instead of running
// into undefined conversions.
#pragma once
#include <cstdint>

// Into an int32: the nearest end of the range past it, 0 for NaN. Colour packing meets values
// outside 0..1 this way.
int32_t TruncateToInt(double value);
// Into a u32: nothing below zero (nor NaN), the largest number past the range.
uint32_t TruncateToU32(double value);
