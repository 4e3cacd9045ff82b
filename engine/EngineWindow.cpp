// The engine's hidden window on the host's thread. The hook thread announces its queued events
// to it, and its timer drives the ticks; both run through its window procedure, so that once the
// module leaves, whatever thread unloads it, taking the procedure away leaves nothing of the
// module to be called. Being a top-level window, it also hears of display changes, which no
// message-only window does.
#include "engine/Engine.h"
#include "engine/Gestures.h"
#include "engine/TimerTick.h"

static const char ENGINE_WINDOW_CLASS[] = "CursorwakeEngine";

static HWND g_engine_window;
static UINT_PTR g_timer_id;   // the timer of the window, while it runs
static HINSTANCE g_engine_window_module;   // owns the window class while it is registered

// Monitors 1 and 2 in one line, as ever, then one line for each later monitor.
static void TraceMonitorRects() {
    const Rect32 &p = g_monitor_rects[0], &s = g_monitor_rects[1];
    if (g_monitor_count > 1)
        VELK_TRACE("WM_DISPLAYCHANGE g_primary_rect=(%ld,%ld,%ld,%ld) g_secondary_rect=(%ld,%ld,%ld,%ld)",
                   long(p.left), long(p.top), long(p.right), long(p.bottom), long(s.left), long(s.top),
                   long(s.right), long(s.bottom));
    else
        VELK_TRACE("WM_DISPLAYCHANGE g_primary_rect=(%ld,%ld,%ld,%ld) no secondary", long(p.left), long(p.top),
                   long(p.right), long(p.bottom));
    for (size_t i = 2; i < g_monitor_count; ++i) {
        const Rect32 &m = g_monitor_rects[i];
        VELK_TRACE("WM_DISPLAYCHANGE monitor %u=(%ld,%ld,%ld,%ld)", unsigned(i + 1), long(m.left), long(m.top),
                   long(m.right), long(m.bottom));
    }
}

static LRESULT CALLBACK EngineWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_ENGINE_EVENTS:
        HandleQueuedMouseEvents();
        return 0;
    case WM_TIMER:
        if (wparam == ENGINE_TIMER_ID) {
            TimerProc(window, msg, wparam, GetTickCount());
        } else if (wparam == VISIT_WAKE_TIMER_ID) {
            KillTimer(window, VISIT_WAKE_TIMER_ID);
            VisitWake();
        } else if (wparam == VISIT_SAMPLE_TIMER_ID) {
            ButtonSample();
        }
        return 0;
    case WM_CLOSE:
        return 0;   // tools that close every window of a program send it to hidden ones too
    case WM_NCDESTROY:
        // Destroyed anyway: the next start of the engine creates it again.
        if (window == g_engine_window) {
            g_engine_window = nullptr;
            g_hook_wake_window = nullptr;
            g_timer_id = 0;
        }
        return DefWindowProcA(window, msg, wparam, lparam);
    case WM_DISPLAYCHANGE:
        RefreshMonitorRects();
        TraceMonitorRects();
        return 0;
    default:
        return DefWindowProcA(window, msg, wparam, lparam);
    }
}

static bool RegisterEngineWindowClass(HINSTANCE module) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = EngineWindowProc;
    wc.hInstance = module;
    wc.lpszClassName = ENGINE_WINDOW_CLASS;
    if (RegisterClassExA(&wc))
        return true;
    // Left behind by an earlier load of this module at the same address, whose window another
    // thread could not destroy; it goes once that window is gone.
    return UnregisterClassA(ENGINE_WINDOW_CLASS, module) && RegisterClassExA(&wc);
}

void CreateEngineWindow(HINSTANCE module) {
    if (g_engine_window)
        return;
    if (!g_engine_window_module) {
        if (!RegisterEngineWindowClass(module))
            return;
        g_engine_window_module = module;
    }
    // Never shown, no caption, a tool window: nothing that lists the user's windows takes it
    // for one of them.
    g_engine_window = CreateWindowExA(WS_EX_TOOLWINDOW, ENGINE_WINDOW_CLASS, "", WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, g_engine_window_module, nullptr);
    g_hook_wake_window = g_engine_window;
}

void DestroyEngineWindow() {
    if (g_engine_window) {
        if (GetWindowThreadProcessId(g_engine_window, nullptr) == GetCurrentThreadId()) {
            DestroyWindow(g_engine_window);
        } else {
            // Only its own thread can destroy a window. Unloaded from another thread, the
            // module leaves it a procedure that outlives the module, and asks it to close.
            SetWindowLongPtrA(g_engine_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
            PostMessageA(g_engine_window, WM_CLOSE, 0, 0);
        }
        g_engine_window = nullptr;
        g_hook_wake_window = nullptr;
    }
    if (g_engine_window_module) {
        UnregisterClassA(ENGINE_WINDOW_CLASS, g_engine_window_module);
        g_engine_window_module = nullptr;
    }
}

// The timer belongs to the window: its WM_TIMER reaches the window procedure, so that nothing
// calls into the module after the window's procedure is taken away. Set again, the running timer
// starts afresh with the new period, and the wait of a visit under way goes on with its wake and
// its samples.
void StartTimer(UINT period_ms) {
    if (g_engine_window)
        g_timer_id = SetTimer(g_engine_window, ENGINE_TIMER_ID, period_ms, nullptr);
}

void StopTimer() {
    if (!g_timer_id)
        return;
    if (g_engine_window) {
        KillTimer(g_engine_window, g_timer_id);
        KillTimer(g_engine_window, VISIT_WAKE_TIMER_ID);
        KillTimer(g_engine_window, VISIT_SAMPLE_TIMER_ID);
    }
    g_timer_id = 0;
}

void StartVisitWake(UINT ms) {
    if (g_engine_window && g_timer_id)
        SetTimer(g_engine_window, VISIT_WAKE_TIMER_ID, ms, nullptr);
}

bool SampleButtonsOfVisit(bool on) {
    if (!on) {
        if (g_engine_window)
            KillTimer(g_engine_window, VISIT_SAMPLE_TIMER_ID);
        return true;
    }
    return g_engine_window && g_timer_id && SetTimer(g_engine_window, VISIT_SAMPLE_TIMER_ID, VISIT_SAMPLE_MS, nullptr);
}
