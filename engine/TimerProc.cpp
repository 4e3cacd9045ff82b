// The timer's tick: reads the clock and the cursor, and lets the tick's decisions run
// against the real host and screen.
#include "engine/Engine.h"
#include "engine/TimerTick.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

namespace {
class PluginTickHost : public TickHost {
public:
    void VTrace(const char *format, va_list args) override {
        g_VelkApi.VPrint(7, g_VelkApi.log_tag, format, args);
    }
    bool IsInHotZone(int32_t x, int32_t y) override { return ::IsInHotZone(x, y); }
    bool HostHasFocus() override {
        VelkStatus stat = {};
        if (g_VelkApi.GetStatus)
            g_VelkApi.GetStatus(&stat);
        return stat.has_focus != 0;
    }
    bool IsGestureHeldBack() override { return ::IsGestureHeldBack(); }
    void SendTrayInOut() override { RequestTrayInOut(); }
};
}  // namespace

void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD) {
    DWORD now = GetTickCount();
    POINT point;
    if (!GetCursorPos(&point))
        return;
    if (g_handle_mouse_ll && HasHookBeenLost(now, {point.x, point.y}))
        ReinstallLostMouseHook();
    PluginTickHost host;
    RunTimerTick(now, {point.x, point.y}, g_cfg, host);
}
