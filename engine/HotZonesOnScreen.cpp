// The monitor snapshot and the hot-zone test against the real screen and host window.
#include "engine/Engine.h"
#include "engine/HotZones.h"
#include "engine/MonitorList.h"
#include "settings/Settings.h"

Rect32 g_monitor_rects[MONITOR_LIST_CAP];
size_t g_monitor_count;
VelkQuickOption g_quick_option;

static Rect32 ToRect32(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

void RefreshMonitorRects() {
    MonitorList monitors;
    size_t count = 0;
    RECT rect;
    for (unsigned i = 0; i < monitors.Count(); ++i)
        if (monitors.GetMonitorRect(i, rect) == 0)
            g_monitor_rects[count++] = ToRect32(rect);
    if (count)
        g_monitor_count = count;
}

bool IsInHotZone(int x, int y) {
    VELK_TRACE("onmove=0x%08x onmove_others=0x%08x", g_cfg.move.onmove, g_cfg.move.onmove_others);
    if (IsInAnyMonitorZone(g_cfg.move.onmove, g_cfg.move.onmove_others, g_monitor_rects, g_monitor_count,
                           g_cfg.move.width, g_cfg.move.height, x, y))
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
