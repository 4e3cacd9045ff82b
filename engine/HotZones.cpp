#include "engine/HotZones.h"

#include "engine/Gestures.h"
#include "settings/Settings.h"

bool IsInRect(const Rect32 &r, int32_t x, int32_t y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool IsOnMonitor(const Rect32 &m, int32_t x, int32_t y) {
    return m.left <= x && x < m.right && m.top <= y && y < m.bottom;
}

bool IsOnAnyMonitor(const Rect32 *monitors, size_t count, int32_t x, int32_t y) {
    for (size_t i = 0; i < count; ++i)
        if (IsOnMonitor(monitors[i], x, y))
            return true;
    return false;
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

// The pixel just beyond the edge of a strip (MOVE_ZONE_T to MOVE_ZONE_L), across from (x, y).
static Point32 AcrossTheEdge(const Rect32 &m, size_t strip, int32_t x, int32_t y) {
    switch (strip) {
    case ZONE_T: return {x, WrapSub(m.top, 1)};
    case ZONE_R: return {m.right, y};
    case ZONE_B: return {x, m.bottom};
    default: return {WrapSub(m.left, 1), y};
    }
}

bool IsInRestZone(const Settings &cfg, const Rect32 *monitors, size_t count, int32_t x, int32_t y) {
    const bool strips_pushed = (cfg.move.push & MOVE_PUSH_EDGES) != 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t bits = MonitorZoneBits(cfg.move.onmove, cfg.move.onmove_others, i);
        if (bits == 0)
            continue;
        Rect32 zones[MONITOR_ZONE_COUNT];
        MonitorZoneRects(monitors[i], cfg.move.width, cfg.move.height, zones);
        for (size_t z = 0; z < MONITOR_ZONE_COUNT; ++z) {
            if (!(bits >> z & 1) || !IsInRect(zones[z], x, y))
                continue;
            if (IsCornerZone(z) || !strips_pushed)
                return true;
            const Point32 across = AcrossTheEdge(monitors[i], z, x, y);
            if (IsOnAnyMonitor(monitors, count, across.x, across.y))
                return true;
        }
    }
    return false;
}

bool IsHostFrameZoneOn(uint32_t onmove, const uint8_t (&quick_option)[8]) {
    return (onmove & MOVE_ZONE_HOST_FRAME) && (quick_option[0] != 0 || quick_option[1] == 0);
}
