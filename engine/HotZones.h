// Hot-zone geometry: corner squares and edge strips of the first two monitors, and the
// host's own window. Plain functions over plain rectangles, bounds inclusive.
#pragma once
#include <cstdint>

#include "settings/Settings.h"

struct Rect32 {
    int32_t left, top, right, bottom;
};

bool IsInRect(const Rect32 &r, int32_t x, int32_t y);

// The zones of one monitor switched on in the low byte of `bits` (MOVE_ZONE_LT ... MOVE_ZONE_L),
// W reaching in x and H in y; L+W, R-W, T+H and B-H wrap as 32-bit two's complement.
bool IsInMonitorZones(uint32_t bits, const Rect32 &monitor, int32_t w, int32_t h, int32_t x, int32_t y);

// Both monitors; the secondary's byte counts only when the snapshot found a second monitor.
bool IsInAnyMonitorZone(uint32_t onmove, const Rect32 &primary, bool has_secondary,
                        const Rect32 &secondary, int32_t w, int32_t h, int32_t x, int32_t y);

// The host-frame zone is tested when its bit is set and the host's quick options allow it:
// byte 0 set, or byte 1 clear.
bool IsHostFrameZoneOn(uint32_t onmove, const uint8_t (&quick_option)[8]);
