// Switching the hook and the timer on and off.
#include "appinfo/SystemDll.h"
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "engine/TimerTick.h"
#include "settings/Settings.h"

HHOOK g_handle_mouse_ll;
unsigned g_engine_stops;
bool g_engine_running;
static HINSTANCE g_engine_module;

void StartEngine(HINSTANCE module) {
    g_engine_module = module;
    if (g_cfg.general.enable == 0)
        return;
    CreateEngineWindow(module);
    // Velkora may enable a running plug-in again (a resume without a suspension): a visit under
    // way, with the buttons it has seen, goes on. A stopped engine starts afresh: what the hook
    // queued before the stop goes unread, also where the stop got no answer from the hook thread
    // and nothing took the queue since.
    if (!g_engine_running) {
        HandleQueuedMouseEvents();
        ForgetZoneVisit();
    }
    g_engine_running = true;
    StartTimer(static_cast<UINT>(g_cfg.general.interval));
    InstallMouseHook();
}

void ResetGestureState() {
    g_wheel = WheelState{};
    g_last_activation_tick = 0;
    g_last_in_zone = false;
    ForgetZoneVisit();
}

void StopEngine() {
    g_engine_running = false;
    ++g_engine_stops;
    UninstallMouseHook();
    StopTimer();
}

void ReleaseEngine() {
    g_engine_running = false;
    EndHookThread(true);
    g_handle_mouse_ll = nullptr;
    StopTimer();
    DestroyEngineWindow();
}

bool InstallMouseHook() {
    if (g_handle_mouse_ll && !HookThreadHasLeft())
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

// A zero-distance move: a live hook sees it, a lost one does not. It moves nothing. False when
// the system refused it (a window of a higher integrity level in front, say).
static bool InjectHookProbe() {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    return SendInput(1, &input, sizeof input) == 1;
}

static const DWORD NO_INTEGRITY_LEVEL = ~0u;

// The mandatory integrity level of a process's token (the last part of its label's SID).
static DWORD IntegrityLevel(HANDLE process) {
    HANDLE token;
    if (!system_dll::OpenProcessToken(process, TOKEN_QUERY, &token))
        return NO_INTEGRITY_LEVEL;
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE room[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
    } info;
    DWORD size = 0;
    const BOOL read = system_dll::GetTokenInformation(token, TokenIntegrityLevel, &info, sizeof info, &size);
    CloseHandle(token);
    const SID *sid = read ? static_cast<const SID *>(info.label.Label.Sid) : nullptr;
    if (!sid || sid->SubAuthorityCount == 0)
        return NO_INTEGRITY_LEVEL;
    return sid->SubAuthority[sid->SubAuthorityCount - 1];
}

// Whether the hook can see the input that goes to the window in front. It cannot when there is
// none (the lock screen, the secure desktop of an elevation prompt) or when the window belongs
// to a process of a higher integrity level than the host's (an elevated program), and the
// plug-in cannot tell when that process or its token is closed to it.
static bool SeesForegroundInput() {
    static DWORD host_level;
    static bool host_level_read;
    if (!host_level_read) {
        host_level = IntegrityLevel(GetCurrentProcess());
        host_level_read = true;
    }
    DWORD process_id = 0;
    HWND window = GetForegroundWindow();
    if (!window || !GetWindowThreadProcessId(window, &process_id))
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (!process)
        return false;
    const DWORD level = IntegrityLevel(process);
    CloseHandle(process);
    // A host whose own level is unknown compares with nothing.
    return level != NO_INTEGRITY_LEVEL && (host_level == NO_INTEGRITY_LEVEL || level <= host_level);
}

bool WatchMouseHook(DWORD now, POINT cursor) {
    LASTINPUTINFO input = {};
    input.cbSize = sizeof input;
    GetLastInputInfo(&input);
    const bool installed = g_handle_mouse_ll != nullptr;
    switch (JudgeHook(now, {cursor.x, cursor.y}, input.dwTime, installed, installed && SeesForegroundInput())) {
    case HOOK_PROBE:
        if (!InjectHookProbe())
            WatchProbeRefused();
        break;
    case HOOK_LOST:
        ReinstallLostMouseHook(g_hook_watch.lost_severity);
        return true;
    case HOOK_INSTALL_AGAIN:
        InstallMouseHook();
        return true;
    case HOOK_WELL:
        break;
    }
    return false;
}

void UninstallMouseHook() {
    if (!g_handle_mouse_ll) {
        VELK_TRACE("no hook");
        return;
    }
    VELK_TRACE("try ::UnhookWindowsHookEx(0x%08x)",
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(g_handle_mouse_ll)));
    const HookStop stop = StopHookThread();
    if (stop == HOOK_STOPPED)
        VELK_TRACE("done.");
    else
        VELK_TRACE("failed. ret=0");   // the hook was gone already, or the thread did not answer
    // A hook that the system removed is gone with its thread: the next start installs a new one.
    if (stop != HOOK_STOP_NO_ANSWER) {
        g_handle_mouse_ll = nullptr;
        HandleQueuedMouseEvents();   // empties the queue: the engine is off
    }
}

