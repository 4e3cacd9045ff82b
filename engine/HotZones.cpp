#include "engine/HotZones.h"

#include "engine/Gestures.h"
#include "settings/Settings.h"

bool IsInRect(const Rect32 &r, int32_t x, int32_t y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

void MonitorZoneRects(const Rect32 &m, int32_t w, int32_t h, Rect32 (&zones)[MONITOR_ZONE_COUNT]) {
    const int32_t near_left = WrapAdd(m.left, w), near_right = WrapSub(m.right, w);
    const int32_t near_top = WrapAdd(m.top, h), near_bottom = WrapSub(m.bottom, h);
    zones[0] = {m.left, m.top, near_left, near_top};            // MOVE_ZONE_LT
    zones[1] = {near_right, m.top, m.right, near_top};          // MOVE_ZONE_RT
    zones[2] = {near_right, near_bottom, m.right, m.bottom};    // MOVE_ZONE_RB
    zones[3] = {m.left, near_bottom, near_left, m.bottom};      // MOVE_ZONE_LB
    zones[4] = {m.left, m.top, m.right, near_top};              // MOVE_ZONE_T
    zones[5] = {near_right, m.top, m.right, m.bottom};          // MOVE_ZONE_R
    zones[6] = {m.left, near_bottom, m.right, m.bottom};        // MOVE_ZONE_B
    zones[7] = {m.left, m.top, near_left, m.bottom};            // MOVE_ZONE_L
}

bool IsInMonitorZones(uint32_t bits, const Rect32 &m, int32_t w, int32_t h, int32_t x, int32_t y) {
    if ((bits & 0xFF) == 0)
        return false;
    Rect32 zones[MONITOR_ZONE_COUNT];
    MonitorZoneRects(m, w, h, zones);
    for (size_t i = 0; i < MONITOR_ZONE_COUNT; ++i)
        if ((bits >> i & 1) && IsInRect(zones[i], x, y))
            return true;
    return false;
}

uint32_t MonitorZoneBits(uint32_t onmove, uint32_t onmove_others, size_t index) {
    if (index < 2)
        return onmove >> (index * MOVE_ZONE_SECONDARY_SHIFT) & 0xFF;
    return onmove_others & 0xFF;
}

bool IsInAnyMonitorZone(uint32_t onmove, uint32_t onmove_others, const Rect32 *monitors, size_t count,
                        int32_t w, int32_t h, int32_t x, int32_t y) {
    for (size_t i = 0; i < count; ++i)
        if (IsInMonitorZones(MonitorZoneBits(onmove, onmove_others, i), monitors[i], w, h, x, y))
            return true;
    return false;
}

bool IsHostFrameZoneOn(uint32_t onmove, const uint8_t (&quick_option)[8]) {
    return (onmove & MOVE_ZONE_HOST_FRAME) && (quick_option[0] != 0 || quick_option[1] == 0);
}
