// The monitor snapshot and the hot-zone test against the real screen and host window.
#include "engine/Engine.h"
#include "engine/HotZones.h"
#include "engine/MonitorList.h"
#include "settings/Settings.h"

RECT g_primary_rect;
RECT g_secondary_rect;
int g_has_secondary;
VelkQuickOption g_quick_option;

void RefreshMonitorRects() {
    MonitorList monitors;
    monitors.GetMonitorRect(0, g_primary_rect);
    g_has_secondary = monitors.GetMonitorRect(1, g_secondary_rect) == 0 ? 1 : 0;
}

static Rect32 ToRect32(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

bool IsInHotZone(int x, int y) {
    VELK_TRACE("onmove=0x%08x", g_cfg.move.onmove);
    if (IsInAnyMonitorZone(g_cfg.move.onmove, ToRect32(g_primary_rect), g_has_secondary != 0,
                           ToRect32(g_secondary_rect), g_cfg.move.width, g_cfg.move.height, x, y))
        return true;
    if (!IsHostFrameZoneOn(g_cfg.move.onmove, g_quick_option.bytes))
        return false;
    HWND host_window = nullptr, second = nullptr;
    if (g_VelkApi.GetWindowHandles)
        g_VelkApi.GetWindowHandles(&host_window, &second);
    RECT frame;
    // A host that gives no window has no frame to enter.
    if (!host_window || !GetWindowRect(host_window, &frame))
        return false;
    return IsInRect(ToRect32(frame), x, y);
}
