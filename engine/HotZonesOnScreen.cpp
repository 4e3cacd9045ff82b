// The monitor snapshot and the hot-zone test against the real screen and host window.
#include "base/ProcAddress.h"
#include "engine/Engine.h"
#include "engine/HookZones.h"
#include "engine/HotZones.h"
#include "engine/MonitorList.h"
#include "settings/Settings.h"

Rect32 g_monitor_rects[MONITOR_LIST_CAP];
size_t g_monitor_count;
Rect32 g_hook_monitor_rects[MONITOR_LIST_CAP];
size_t g_hook_monitor_count;
VelkQuickOption g_quick_option;

static Rect32 ToRect32(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

// A list that comes back empty leaves the rectangles as they were.
static void TakeMonitorRects(Rect32 (&rects)[MONITOR_LIST_CAP], size_t &rect_count) {
    MonitorList monitors;
    size_t count = 0;
    RECT rect;
    for (unsigned i = 0; i < monitors.Count(); ++i)
        if (monitors.GetMonitorRect(i, rect) == 0)
            rects[count++] = ToRect32(rect);
    if (count)
        rect_count = count;
}

typedef HANDLE(WINAPI *SetThreadDpiAwarenessContextProc)(HANDLE);
static const HANDLE PER_MONITOR_AWARE = reinterpret_cast<HANDLE>(-3);   // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE

// The hook's points are in physical pixels, while a host that is not DPI-aware gets scaled ones
// from GetMonitorInfo. So the thread is per-monitor aware while it takes the monitors for the
// hook (Windows 10 1607 and later), and is put back; elsewhere the hook gets the scaled ones.
static void TakeHookMonitorRects() {
    static SetThreadDpiAwarenessContextProc set_awareness;
    static bool looked_up;
    if (!looked_up) {
        looked_up = true;
        if (HMODULE user32 = GetModuleHandleA("user32.dll"))
            set_awareness = ProcAddress<SetThreadDpiAwarenessContextProc>(user32, "SetThreadDpiAwarenessContext");
    }
    const HANDLE before = set_awareness ? set_awareness(PER_MONITOR_AWARE) : nullptr;
    TakeMonitorRects(g_hook_monitor_rects, g_hook_monitor_count);
    if (before)
        set_awareness(before);
}

void RefreshMonitorRects() {
    TakeMonitorRects(g_monitor_rects, g_monitor_count);
    TakeHookMonitorRects();
    PublishHookZones();
}

void PublishHookZones() { g_hook_zones.Publish(g_hook_monitor_rects, g_hook_monitor_count, g_cfg); }

bool IsInHotZone(int x, int y) {
    VELK_TRACE("onmove=0x%08x onmove_others=0x%08x", g_cfg.move.onmove, g_cfg.move.onmove_others);
    if (IsInRestZone(g_cfg, g_monitor_rects, g_monitor_count, x, y))
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
