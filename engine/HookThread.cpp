// The thread of the low-level mouse hook. The system holds the mouse of the whole desktop while a
// low-level hook runs and waits for the thread that installed it to pump, so the hook lives on a
// thread that does nothing else: it pumps, and its procedure (MouseHook.cpp) queues the gesture
// events for the engine's thread. The thread is started with the engine and ends with it.
//
// The thread leaves in one way: SignalObjectAndWait answers whoever ends it and, in the same call,
// waits alertably; the ender then queues ExitThread to it as an APC, which runs inside that wait.
// From the answer on, no instruction of this module runs on the thread, so the module may be
// unmapped even while the thread is still leaving: in DLL_PROCESS_DETACH the loader lock is held
// and the thread cannot finish leaving (ExitThread takes that lock) until it is released.
#include "engine/Engine.h"

static const UINT WM_HOOK_UNHOOK = WM_APP + 2;   // apart from the engine window's messages
static const DWORD HOOK_THREAD_STACK = 64 * 1024;
// The thread answers at once; a wait past this is a thread that can no longer answer.
static const DWORD HOOK_THREAD_ANSWER_MS = 5000;

static HANDLE g_hook_thread;
static DWORD g_hook_thread_id;
static HANDLE g_hook_answer;   // the thread's own, auto-reset: the thread has answered a request
// Written before the thread starts or by the thread before it answers.
static HINSTANCE g_hook_module;
static HHOOK g_thread_hook;
static BOOL g_thread_unhooked;
std::atomic<HWND> g_hook_wake_window;
HHOOK g_hook_for_next;

static DWORD WINAPI HookThreadProc(void *answer_event) {
    const HANDLE answer = answer_event;
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);   // a message queue before the answer
    g_thread_hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, g_hook_module, 0);
    g_hook_for_next = g_thread_hook;
    g_thread_unhooked = FALSE;
    if (g_thread_hook) {
        SetEvent(answer);
        // A low-level hook procedure runs inside GetMessage. WM_QUIT comes from an unload.
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message != WM_HOOK_UNHOOK)
                continue;
            g_thread_unhooked = UnhookWindowsHookEx(g_thread_hook);
            if (g_thread_unhooked)
                break;
            SetEvent(answer);
        }
        if (!g_thread_unhooked)
            UnhookWindowsHookEx(g_thread_hook);
    }
    SignalObjectAndWait(answer, GetCurrentThread(), INFINITE, TRUE);
    return 0;   // never reached: ExitThread runs inside the wait
}

// Wine signals the event a second time when ExitThread ends the thread's last wait; a request
// therefore starts from an unsignalled event, and each thread has an event of its own, which
// goes only once the thread has ended.
static bool Ask(UINT request) {
    ResetEvent(g_hook_answer);
    return PostThreadMessageA(g_hook_thread_id, request, 0, 0);
}

static bool AwaitAnswer() { return WaitForSingleObject(g_hook_answer, HOOK_THREAD_ANSWER_MS) == WAIT_OBJECT_0; }

// Where the loader lock may be held (an unload), nothing waits for the thread's end, which takes
// that lock; elsewhere its end is awaited for a while, so that its event can go. An event whose
// thread was not seen to end stays open: the leaving thread may still signal it.
static void ForgetThread(bool await_end) {
    if (await_end && WaitForSingleObject(g_hook_thread, HOOK_THREAD_ANSWER_MS) == WAIT_OBJECT_0)
        CloseHandle(g_hook_answer);
    g_hook_answer = nullptr;
    CloseHandle(g_hook_thread);
    g_hook_thread = nullptr;
    g_hook_thread_id = 0;
}

// The thread has answered from its last call: ExitThread is queued to run there. It runs none of
// this module's code any more.
static void LetThreadGo(bool await_end) {
    QueueUserAPC(reinterpret_cast<PAPCFUNC>(ExitThread), g_hook_thread, 0);
    ForgetThread(await_end);
}

// A thread that cannot answer could still run this module's code: it is ended where it stands.
static void TerminateHookThread(bool await_end) {
    TerminateThread(g_hook_thread, 0);
    ForgetThread(await_end);
}

HHOOK StartHookThread(HINSTANCE module) {
    if (!(g_hook_answer = CreateEventA(nullptr, FALSE, FALSE, nullptr)))
        return nullptr;
    g_hook_module = module;
    g_thread_hook = nullptr;
    g_hook_thread = CreateThread(nullptr, HOOK_THREAD_STACK, HookThreadProc, g_hook_answer,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, &g_hook_thread_id);
    if (!g_hook_thread) {
        CloseHandle(g_hook_answer);
        g_hook_answer = nullptr;
        return nullptr;
    }
    // The hook passes every mouse event of the desktop: it is not to wait behind other threads.
    SetThreadPriority(g_hook_thread, THREAD_PRIORITY_HIGHEST);
    if (!AwaitAnswer()) {
        TerminateHookThread(true);
        return nullptr;
    }
    if (!g_thread_hook)
        LetThreadGo(true);
    return g_thread_hook;
}

BOOL StopHookThread() {
    if (!g_hook_thread || !Ask(WM_HOOK_UNHOOK) || !AwaitAnswer())
        return FALSE;
    if (!g_thread_unhooked)
        return FALSE;   // the thread goes on with its hook
    LetThreadGo(true);
    return TRUE;
}

void EndHookThread(bool loader_lock_held) {
    if (!g_hook_thread)
        return;
    if (Ask(WM_QUIT) && AwaitAnswer())
        LetThreadGo(!loader_lock_held);
    else
        TerminateHookThread(!loader_lock_held);
}
