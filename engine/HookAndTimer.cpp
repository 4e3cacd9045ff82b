// Switching the hook and the timer on and off.
#include "appinfo/SystemDll.h"
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "engine/Push.h"
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
    PublishHookZones();   // the settings may have changed while it was stopped
    StartTimer(static_cast<UINT>(g_cfg.general.interval));
    InstallMouseHook();
}

void ResetGestureState() {
    g_wheel = WheelState{};
    g_last_activation_tick = 0;
    g_last_in_zone = false;
    ForgetPush(g_push);
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

// A zero-distance move: a live hook sees it, a lost one does not. It moves nothing. SendInput
// reports only input that it could not put into the input stream at all (0, with an error: input
// to another desktop, say). Input that the system then keeps from a window of a higher
// integrity level (UIPI) it does not report: it returns the count and sets no error, as if the
// probe had gone through. So the window that would get the probe is judged first (SeesInputAt),
// and a refusal that it does report proves nothing either.
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

// Whether the hook is given the input of a process: not when its integrity level is above the
// host's (an elevated program), and the plug-in cannot tell when the process or its token is
// closed to it.
static bool SeesInputOfProcess(DWORD process_id) {
    static DWORD host_level;
    static bool host_level_read;
    if (!host_level_read) {
        host_level = IntegrityLevel(GetCurrentProcess());
        host_level_read = true;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (!process)
        return false;
    const DWORD level = IntegrityLevel(process);
    CloseHandle(process);
    // A host whose own level is unknown compares with nothing.
    return level != NO_INTEGRITY_LEVEL && (host_level == NO_INTEGRITY_LEVEL || level <= host_level);
}

// The answer for the window last asked about in one place (in front, under the cursor). Its
// process keeps its level, so the token is read only when another window comes there: a resting
// tick opens no process.
struct WindowJudged {
    HWND window;
    DWORD process_id;
    bool sees;
};

static bool SeesInputOfWindow(HWND window, WindowJudged &last) {
    DWORD process_id = 0;
    if (!window || !GetWindowThreadProcessId(window, &process_id))
        return false;
    if (window != last.window || process_id != last.process_id)
        last = {window, process_id, SeesInputOfProcess(process_id)};
    return last.sees;
}

// Whether the hook can see the input of the user at the cursor. Keys go to the window in front,
// the mouse to the window under the cursor, which may be another one beside it; each must belong
// to a process whose input the hook is given. There is none in front on the lock screen and on
// the secure desktop of an elevation prompt.
static bool SeesInputAt(POINT cursor) {
    static WindowJudged in_front, under_cursor;
    const HWND front = GetForegroundWindow();
    if (!SeesInputOfWindow(front, in_front))
        return false;
    HWND under = WindowFromPoint(cursor);
    under = under ? GetAncestor(under, GA_ROOT) : nullptr;
    if (!under || under == front || under == GetDesktopWindow())
        return true;
    return SeesInputOfWindow(under, under_cursor);
}

bool WatchMouseHook(DWORD now, POINT cursor) {
    LASTINPUTINFO input = {};
    input.cbSize = sizeof input;
    GetLastInputInfo(&input);
    const bool installed = g_handle_mouse_ll != nullptr;
    switch (JudgeHook(now, {cursor.x, cursor.y}, input.dwTime, installed, installed && SeesInputAt(cursor))) {
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

