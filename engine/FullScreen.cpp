// Whether a full-screen game, slide show or window in front holds a recognised gesture back.
// Asked only when a gesture has been recognised, never per mouse event.
#include "appinfo/SystemDll.h"
#include "engine/Engine.h"
#include "engine/ExcludedProgram.h"
#include "engine/FullScreen.h"
#include "settings/Settings.h"

namespace {

const int32_t NOTIFICATION_STATE_UNKNOWN = 0;

// Shell32 is loaded on the first question and kept: a host with a tray icon has it loaded anyway.
int32_t QueryNotificationState() {
    QUERY_USER_NOTIFICATION_STATE state = QUERY_USER_NOTIFICATION_STATE();
    if (FAILED(system_dll::SHQueryUserNotificationState(&state)))
        return NOTIFICATION_STATE_UNKNOWN;
    return state;
}

bool IsShellOrHostWindow(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (!lstrcmpA(name, "Progman") || !lstrcmpA(name, "WorkerW") || !lstrcmpA(name, "Shell_TrayWnd") ||
        !lstrcmpA(name, "Shell_SecondaryTrayWnd"))
        return true;
    HWND host_windows[2] = {};
    if (g_VelkApi.GetWindowHandles)
        g_VelkApi.GetWindowHandles(&host_windows[0], &host_windows[1]);
    HWND root = GetAncestor(window, GA_ROOTOWNER);
    for (HWND own : host_windows)
        if (own && (window == own || root == own))
            return true;
    return false;
}

bool ForegroundCoversItsMonitor() {
    HWND window = GetForegroundWindow();
    RECT frame;
    if (!window || !GetWindowRect(window, &frame))
        return false;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    const RECT &m = monitor.rcMonitor;
    // Only a window that covers its monitor costs a question to Velkora about its own windows.
    return CoversRect({frame.left, frame.top, frame.right, frame.bottom}, {m.left, m.top, m.right, m.bottom}) &&
           !IsShellOrHostWindow(window);
}

}  // namespace

bool IsGestureHeldBack() {
    if (IsListedProgramInFront())
        return true;
    const int32_t setting = g_cfg.general.fullscreen;
    if (setting == FULLSCREEN_REACT_ALWAYS)
        return false;
    const int32_t state = QueryNotificationState();
    const bool covers = NeedsForegroundCover(setting, state) && ForegroundCoversItsMonitor();
    if (!IsHeldBackByFullScreen(setting, state, covers))
        return false;
    VELK_TRACE("full screen in front (FullScreen=%d, state=%d): gesture held back", setting, state);
    return true;
}
