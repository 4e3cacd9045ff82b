// Hot-zone geometry: corner squares and edge strips of every monitor, and the host's own window.
// Plain functions over plain rectangles, bounds inclusive.
#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/Settings.h"

struct Rect32 {
    int32_t left, top, right, bottom;
};

bool IsInRect(const Rect32 &r, int32_t x, int32_t y);
// A monitor's own pixels: left <= x < right, top <= y < bottom.
bool IsOnMonitor(const Rect32 &monitor, int32_t x, int32_t y);
bool IsOnAnyMonitor(const Rect32 *monitors, size_t count, int32_t x, int32_t y);

// The zones of one monitor in the order of their bits (MOVE_ZONE_LT first, MOVE_ZONE_L last),
// W reaching in x and H in y; L+W, R-W, T+H and B-H wrap as 32-bit two's complement.
constexpr size_t MONITOR_ZONE_COUNT = 8;
enum : size_t { ZONE_LT, ZONE_RT, ZONE_RB, ZONE_LB, ZONE_T, ZONE_R, ZONE_B, ZONE_L };
inline bool IsCornerZone(size_t zone) { return zone < ZONE_T; }
void MonitorZoneRects(const Rect32 &monitor, int32_t w, int32_t h, Rect32 (&zones)[MONITOR_ZONE_COUNT]);

// The zones of one monitor switched on in the low byte of `bits`.
bool IsInMonitorZones(uint32_t bits, const Rect32 &monitor, int32_t w, int32_t h, int32_t x, int32_t y);

// The byte of zone bits of the monitor at `index` as the plug-in counts them (0 is monitor 1):
// monitor 1 the low byte of OnMove, monitor 2 the next, every later one the low byte of
// OnMoveOthers.
uint32_t MonitorZoneBits(uint32_t onmove, uint32_t onmove_others, size_t index);

// The `count` monitors of the snapshot, each with its byte.
bool IsInAnyMonitorZone(uint32_t onmove, uint32_t onmove_others, const Rect32 *monitors, size_t count,
                        int32_t w, int32_t h, int32_t x, int32_t y);

// The zones that answer a cursor at rest: those of IsInAnyMonitorZone, but for the edge strips
// while Push bit 0 has them answer a push instead; there a strip still answers a rest where
// another monitor continues beyond its edge, for nothing can be pushed there.
bool IsInRestZone(const Settings &cfg, const Rect32 *monitors, size_t count, int32_t x, int32_t y);

// The host-frame zone is tested when its bit is set and the host's quick options allow it:
// byte 0 set, or byte 1 clear.
bool IsHostFrameZoneOn(uint32_t onmove, const uint8_t (&quick_option)[8]);
