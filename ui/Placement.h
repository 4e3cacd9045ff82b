// Centring a window on a rectangle, halves rounded down. No windows.h: tested natively.
#pragma once
#include <cstdint>

// The start coordinate that centres `size` between `low` and `high`:
// low + (high - low) / 2 - size / 2, each half rounded down.
int32_t CentredStart(int32_t low, int32_t high, int32_t size);
