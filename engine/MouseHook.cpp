// The low-level mouse hook: reads the event, lets the recognisers decide, passes it on.
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

void RequestTrayInOut() {
    if (g_VelkApi.SendHotKey)
        g_VelkApi.SendHotKey("TrayInOut");
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) {
    g_hook_saw_event = true;
    if (code >= 0 && IsGestureMessage(static_cast<uint32_t>(wparam))) {
        const MSLLHOOKSTRUCT &ev = *reinterpret_cast<const MSLLHOOKSTRUCT *>(lparam);
        const DWORD now = GetTickCount();
        if (HandleMouseEvent(static_cast<uint32_t>(wparam), {ev.pt.x, ev.pt.y}, ev.mouseData, ev.time, now,
                             g_cfg) &&
            !IsGestureHeldBack())
            ActivateHost(now);
    }
    return CallNextHookEx(g_handle_mouse_ll, code, wparam, lparam);
}
