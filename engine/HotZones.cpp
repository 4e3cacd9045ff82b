#include "engine/HotZones.h"

#include "engine/Gestures.h"
#include "settings/Settings.h"

bool IsInRect(const Rect32 &r, int32_t x, int32_t y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

bool IsInMonitorZones(uint32_t bits, const Rect32 &m, int32_t w, int32_t h, int32_t x, int32_t y) {
    const int32_t near_left = WrapAdd(m.left, w), near_right = WrapSub(m.right, w);
    const int32_t near_top = WrapAdd(m.top, h), near_bottom = WrapSub(m.bottom, h);
    const struct {
        uint32_t bit;
        Rect32 zone;
    } ZONES[] = {
        {MOVE_ZONE_LT, {m.left, m.top, near_left, near_top}},
        {MOVE_ZONE_RT, {near_right, m.top, m.right, near_top}},
        {MOVE_ZONE_RB, {near_right, near_bottom, m.right, m.bottom}},
        {MOVE_ZONE_LB, {m.left, near_bottom, near_left, m.bottom}},
        {MOVE_ZONE_T, {m.left, m.top, m.right, near_top}},
        {MOVE_ZONE_R, {near_right, m.top, m.right, m.bottom}},
        {MOVE_ZONE_B, {m.left, near_bottom, m.right, m.bottom}},
        {MOVE_ZONE_L, {m.left, m.top, near_left, m.bottom}},
    };
    for (const auto &z : ZONES)
        if ((bits & z.bit) && IsInRect(z.zone, x, y))
            return true;
    return false;
}

bool IsInAnyMonitorZone(uint32_t onmove, const Rect32 &primary, bool has_secondary,
                        const Rect32 &secondary, int32_t w, int32_t h, int32_t x, int32_t y) {
    if (IsInMonitorZones(onmove & 0xFF, primary, w, h, x, y))
        return true;
    return has_secondary &&
           IsInMonitorZones((onmove >> MOVE_ZONE_SECONDARY_SHIFT) & 0xFF, secondary, w, h, x, y);
}

bool IsHostFrameZoneOn(uint32_t onmove, const uint8_t (&quick_option)[8]) {
    return (onmove & MOVE_ZONE_HOST_FRAME) && (quick_option[0] != 0 || quick_option[1] == 0);
}
