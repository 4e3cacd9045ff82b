// The thread of the low-level mouse hook. The system holds the mouse of the whole desktop while a
// low-level hook runs and waits for the thread that installed it to pump, so the hook lives on a
// thread that does nothing else: it pumps, and its procedure (MouseHook.cpp) queues the gesture
// events for the engine's thread. The thread is started with the engine and ends with it.
//
// The thread leaves in one way: SignalObjectAndWait answers whoever ends it and, in the same call,
// waits alertably; ExitThread, queued to it as an APC, runs inside that wait. From the answer on,
// no instruction of this module runs on the thread, so the module may be unmapped even while the
// thread is still leaving: in DLL_PROCESS_DETACH the loader lock is held and the thread cannot
// finish leaving (ExitThread takes that lock) until it is released. Nothing else on the thread
// waits alertably, so ExitThread may be queued before the thread gets there: an ender that gives
// up waiting does so, and the thread leaves on its own whenever it answers.
#include "engine/Engine.h"

static const UINT WM_HOOK_UNHOOK = WM_APP + 2;   // apart from the engine window's messages
static const DWORD HOOK_THREAD_STACK = 64 * 1024;
// The thread answers at once; a wait past this is a thread that can no longer answer.
static const DWORD HOOK_THREAD_ANSWER_MS = 5000;

enum : int { START_PENDING, START_ANSWERED, START_ABANDONED };

// One hook thread. Each has an answer event of its own, which goes only once the thread is seen
// to end: Wine signals it a second time when ExitThread ends the thread's last wait.
struct HookThread {
    HANDLE handle;
    DWORD id;
    HANDLE answer;              // auto-reset: the thread has answered a request
    HHOOK hook;                 // written by the thread before it answers its start
    BOOL unhooked;              // written by the thread before its last answer
    std::atomic<int> start;     // whether its starter still waits for it
    bool leaving;               // ExitThread is queued: it leaves once it answers
};

// The engine's thread, and threads whose start was given up, which still read their record.
static const int HOOK_THREAD_RECORDS = 4;
static HookThread g_threads[HOOK_THREAD_RECORDS];
static HookThread *g_current;
static HINSTANCE g_hook_module;   // written before a thread starts
std::atomic<HWND> g_hook_wake_window;
HHOOK g_hook_for_next;

static DWORD WINAPI HookThreadProc(void *record) {
    HookThread &t = *static_cast<HookThread *>(record);
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);   // a message queue before the answer
    const HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, MouseHookProc, g_hook_module, 0);
    t.hook = hook;
    // A starter that gave up waiting has gone on without this thread: it pumps nothing and leaves.
    if (hook && t.start.exchange(START_ANSWERED) == START_PENDING) {
        g_hook_for_next = hook;
        SetEvent(t.answer);
        // A low-level hook procedure runs inside GetMessage. WM_QUIT comes from an end.
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_HOOK_UNHOOK) {
        }
    }
    // On its own thread a hook can only fail to go when the system has removed it already.
    t.unhooked = hook && UnhookWindowsHookEx(hook);
    SignalObjectAndWait(t.answer, GetCurrentThread(), INFINITE, TRUE);
    return 0;   // never reached: ExitThread runs inside the wait
}

// A request starts from an unsignalled event: the answer to it is the next signal.
static bool Ask(HookThread &t, UINT request) {
    ResetEvent(t.answer);
    return PostThreadMessageA(t.id, request, 0, 0);
}

static bool AwaitAnswer(HookThread &t) { return WaitForSingleObject(t.answer, HOOK_THREAD_ANSWER_MS) == WAIT_OBJECT_0; }

// A thread left to leave on its own answers once more, from its last call, or has ended.
static bool HasLeft(HookThread &t) {
    return WaitForSingleObject(t.answer, 0) == WAIT_OBJECT_0 || WaitForSingleObject(t.handle, 0) == WAIT_OBJECT_0;
}

static void LeaveOnItsOwn(HookThread &t) {
    QueueUserAPC(reinterpret_cast<PAPCFUNC>(ExitThread), t.handle, 0);
    t.leaving = true;
}

// Where the loader lock may be held (an unload), nothing waits for the thread's end, which takes
// that lock; elsewhere its end is awaited for a while, so that its event can go. An event whose
// thread was not seen to end stays open: the leaving thread may still signal it.
static void ForgetThread(HookThread &t, bool await_end) {
    if (await_end && WaitForSingleObject(t.handle, HOOK_THREAD_ANSWER_MS) == WAIT_OBJECT_0)
        CloseHandle(t.answer);
    CloseHandle(t.handle);
    t.handle = t.answer = nullptr;
    t.id = 0;
}

// The thread has answered from its last call: ExitThread runs there, if it was not queued
// already. It runs none of this module's code any more.
static void LetThreadGo(HookThread &t, bool await_end) {
    if (!t.leaving)
        LeaveOnItsOwn(t);
    ForgetThread(t, await_end);
}

// A thread that cannot answer could still run this module's code: it is ended where it stands,
// and its end awaited, which needs no loader lock for a terminated thread, before the module
// can go.
static void TerminateHookThread(HookThread &t) {
    TerminateThread(t.handle, 0);
    WaitForSingleObject(t.handle, INFINITE);
    CloseHandle(t.answer);
    CloseHandle(t.handle);
    t.handle = t.answer = nullptr;
    t.id = 0;
}

// Threads whose start was given up and that have ended since; at an unload, every one of them.
static void EndAbandonedThreads(bool unload) {
    for (HookThread &t : g_threads) {
        if (!t.handle || &t == g_current)
            continue;
        if (WaitForSingleObject(t.handle, 0) == WAIT_OBJECT_0)
            ForgetThread(t, true);
        else if (unload && HasLeft(t))
            ForgetThread(t, false);
        else if (unload)
            TerminateHookThread(t);   // the loader lock is held here, so the thread cannot hold it
    }
}

HHOOK StartHookThread(HINSTANCE module) {
    EndAbandonedThreads(false);
    HookThread *free_record = nullptr;
    for (HookThread &t : g_threads)
        if (!t.handle && &t != g_current)
            free_record = &t;
    if (!free_record || !(free_record->answer = CreateEventA(nullptr, FALSE, FALSE, nullptr)))
        return nullptr;
    HookThread &t = *free_record;
    t.hook = nullptr;
    t.unhooked = FALSE;
    t.start = START_PENDING;
    t.leaving = false;
    g_hook_module = module;
    t.handle = CreateThread(nullptr, HOOK_THREAD_STACK, HookThreadProc, &t, STACK_SIZE_PARAM_IS_A_RESERVATION, &t.id);
    if (!t.handle) {
        CloseHandle(t.answer);
        t.answer = nullptr;
        return nullptr;
    }
    // The hook passes every mouse event of the desktop: it is not to wait behind other threads.
    SetThreadPriority(t.handle, THREAD_PRIORITY_HIGHEST);
    if (!AwaitAnswer(t)) {
        // A new thread first runs the DLLs' thread attach under the loader lock: one that has not
        // answered may hold it, and ending it would leave the lock held for good. The start
        // fails, and the thread leaves on its own whenever it runs.
        if (t.start.exchange(START_ABANDONED) != START_ANSWERED) {
            VELK_TRACE("the hook thread did not answer within %u ms; it leaves on its own",
                       static_cast<unsigned>(HOOK_THREAD_ANSWER_MS));
            LeaveOnItsOwn(t);
            return nullptr;
        }
        AwaitAnswer(t);   // it answered just now: its signal is on the way
    }
    if (!t.hook) {
        LetThreadGo(t, true);   // refused: that was the thread's last answer
        return nullptr;
    }
    g_current = &t;
    return t.hook;
}

HookStop StopHookThread() {
    if (!g_current)
        return HOOK_STOP_NO_ANSWER;
    HookThread &t = *g_current;
    if (t.leaving ? !HasLeft(t) : !(Ask(t, WM_HOOK_UNHOOK) && AwaitAnswer(t))) {
        // It goes once it gets to the request; the next end does not wait for it again.
        if (!t.leaving)
            LeaveOnItsOwn(t);
        return HOOK_STOP_NO_ANSWER;
    }
    const BOOL unhooked = t.unhooked;
    g_current = nullptr;
    LetThreadGo(t, true);
    return unhooked ? HOOK_STOPPED : HOOK_STOPPED_WAS_GONE;
}

bool HookThreadHasLeft() {
    if (!g_current || !g_current->leaving || !HasLeft(*g_current))
        return false;
    HookThread &t = *g_current;
    g_current = nullptr;
    LetThreadGo(t, true);
    return true;
}

void EndHookThread(bool loader_lock_held) {
    if (g_current) {
        HookThread &t = *g_current;
        g_current = nullptr;
        if (t.leaving ? HasLeft(t) : Ask(t, WM_QUIT) && AwaitAnswer(t))
            LetThreadGo(t, !loader_lock_held);
        else
            TerminateHookThread(t);   // it has had its 5 s
    }
    EndAbandonedThreads(loader_lock_held);
}
