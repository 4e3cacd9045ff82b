// Hot-zone geometry: corner squares and edge strips of the first two monitors, and the
// host's own window. Plain functions over plain rectangles, bounds inclusive.
#pragma once
#include <cstddef>
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

// The system's user-notification states (SHQueryUserNotificationState) that mean exclusive full
// screen. Its "busy" state is not among them: some overlays report it with nothing full screen.
enum : int32_t { NOTIFICATION_STATE_D3D_FULL_SCREEN = 3, NOTIFICATION_STATE_PRESENTATION_MODE = 4 };

bool CoversRect(const Rect32 &window, const Rect32 &monitor);
bool IsHeldBackByFullScreen(int32_t setting, int32_t notification_state, bool foreground_covers_monitor);

// Monitor "1" is the primary, wherever the system lists it (Windows promises no order); the
// others follow in the order in which the system lists them. `count` of the N entries are in
// use; a full list takes no more, except the primary, which pushes the last one out.
template <typename Entry, size_t N>
void AddInMonitorOrder(Entry (&entries)[N], size_t &count, const Entry &entry, bool is_primary) {
    if (!is_primary) {
        if (count < N)
            entries[count++] = entry;
        return;
    }
    if (count < N)
        ++count;
    for (size_t i = count - 1; i > 0; --i)
        entries[i] = entries[i - 1];
    entries[0] = entry;
}
