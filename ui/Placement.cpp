#include "ui/Placement.h"

static int64_t HalfRoundedDown(int64_t value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

int32_t CentredStart(int32_t low, int32_t high, int32_t size) {
    return static_cast<int32_t>(low + HalfRoundedDown(int64_t(high) - low) - HalfRoundedDown(size));
}
