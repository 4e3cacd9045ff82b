// Switching the hook and the timer on and off.
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "engine/TimerTick.h"
#include "settings/Settings.h"

HHOOK g_handle_mouse_ll;
static HINSTANCE g_engine_module;

void StartEngine(HINSTANCE module) {
    g_engine_module = module;
    if (g_cfg.general.enable == 0)
        return;
    CreateEngineWindow(module);
    ForgetVisit();
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
    EndHookThread(true);
    g_handle_mouse_ll = nullptr;
    StopTimer();
    DestroyEngineWindow();
}

bool InstallMouseHook() {
    if (g_handle_mouse_ll)
        return true;
    VELK_TRACE("try ::SetWindowsHookEx(WH_MOUSE_LL, 0x%08x, 0x%08x, 0)",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(&MouseHookProc)),
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_engine_module)));
    g_handle_mouse_ll = StartHookThread(g_engine_module);
    if (!g_handle_mouse_ll) {
        VELK_TRACE("failed.");
        WatchFailedInstall(GetTickCount());
        return false;
    }
    VELK_TRACE("done. g_handle_mouse_ll=0x%08x",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    WatchNewHook();
    return true;
}

// The system removed the hook behind the engine's back: a new thread with a new hook replaces it.
static void ReinstallLostMouseHook(int severity) {
    g_VelkApi.Print(severity, g_VelkApi.log_tag, "hook lost: the cursor moved, g_handle_mouse_ll=0x%08x saw no event",
                    static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    EndHookThread(false);   // its hook is most likely gone already; nothing to learn either way
    g_handle_mouse_ll = nullptr;
    InstallMouseHook();
}

// A zero-distance move: a live hook sees it, a lost one does not. It moves nothing.
static void InjectHookProbe() {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void WatchMouseHook(DWORD now, POINT cursor) {
    LASTINPUTINFO input = {};
    input.cbSize = sizeof input;
    GetLastInputInfo(&input);
    switch (JudgeHook(now, {cursor.x, cursor.y}, input.dwTime, g_handle_mouse_ll != nullptr)) {
    case HOOK_PROBE:
        InjectHookProbe();
        break;
    case HOOK_LOST:
        ReinstallLostMouseHook(g_hook_watch.lost_severity);
        break;
    case HOOK_INSTALL_AGAIN:
        InstallMouseHook();
        break;
    case HOOK_WELL:
        break;
    }
}

void UninstallMouseHook() {
    if (!g_handle_mouse_ll) {
        VELK_TRACE("no hook");
        return;
    }
    VELK_TRACE("try ::UnhookWindowsHookEx(0x%08x)",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    BOOL ret = StopHookThread();
    if (ret) {
        VELK_TRACE("done.");
        g_handle_mouse_ll = nullptr;
        HandleQueuedMouseEvents();   // empties the queue: the engine is off
    } else {
        VELK_TRACE("failed. ret=%d", ret);
    }
}

