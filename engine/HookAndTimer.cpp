// Switching the hook and the timer on and off.
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "engine/TimerTick.h"
#include "settings/Settings.h"

HHOOK g_handle_mouse_ll;
UINT_PTR g_timer_id;
static HINSTANCE g_engine_module;

void StartEngine(HINSTANCE module) {
    g_engine_module = module;
    if (g_cfg.general.enable == 0)
        return;
    CreateEngineWindow(module);
    StartTimer(static_cast<UINT>(g_cfg.general.interval));
    InstallMouseHook();
}

void ResetGestureState() {
    g_wheel = WheelState{};
    g_last_activation_tick = 0;
    g_last_in_zone = false;
}

void StopEngine() {
    UninstallMouseHook();
    StopTimer();
}

void ReleaseEngine() {
    if (g_handle_mouse_ll)
        UninstallMouseHook();
    StopTimer();
    DestroyEngineWindow();
}

bool InstallMouseHook() {
    if (g_handle_mouse_ll)
        return true;
    VELK_TRACE("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x%08x, 0x%08x, 0)",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(&MouseHookProc)),
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_engine_module)));
    g_handle_mouse_ll = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, g_engine_module, 0);
    if (!g_handle_mouse_ll) {
        VELK_TRACE("failed.");
        return false;
    }
    VELK_TRACE("done. g_handle_mouse_ll=0x%08x",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    WatchNewHook();
    return true;
}

void ReinstallLostMouseHook() {
    g_VelkApi.Print(3, g_VelkApi.log_tag, "hook lost: the cursor moved, g_handle_mouse_ll=0x%08x saw no event",
                    static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    UnhookWindowsHookEx(g_handle_mouse_ll);   // most likely gone already; nothing to learn either way
    g_handle_mouse_ll = nullptr;
    InstallMouseHook();
}

void UninstallMouseHook() {
    if (!g_handle_mouse_ll) {
        VELK_TRACE("no hook");
        return;
    }
    VELK_TRACE("try ::UnhookWindowsHookEx(0x%08x)",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    BOOL ret = UnhookWindowsHookEx(g_handle_mouse_ll);
    if (ret) {
        VELK_TRACE("done.");
        g_handle_mouse_ll = nullptr;
    } else {
        VELK_TRACE("failed. ret=%d", ret);
    }
}

void StartTimer(UINT period_ms) {
    StopTimer();
    g_timer_id = SetTimer(nullptr, 0, period_ms, TimerProc);
}

void StopTimer() {
    if (!g_timer_id)
        return;
    KillTimer(nullptr, g_timer_id);
    g_timer_id = 0;
}
