// The low-level mouse hook on its thread: copies what recognition needs of a gesture event, and of
// a move that matters to the hot zones (HookZones), into the queue, wakes the engine's thread,
// passes the event on. It calls nothing of the host's and allocates nothing. Recognition runs on
// the engine's thread, in the order the events came.
#include "engine/Engine.h"
#include "engine/FullScreen.h"
#include "engine/Gestures.h"
#include "engine/HookQueue.h"
#include "engine/HookZones.h"
#include "engine/TimerTick.h"
#include "engine/ZoneMoves.h"
#include "hostapi/VelkApi.h"
#include "settings/Settings.h"

static bool g_drop_reported;   // a full queue is reported once per load
static HookMoves g_hook_moves;  // the hook thread's own

void RequestTrayInOut() {
    if (g_VelkApi.SendHotKey)
        g_VelkApi.SendHotKey("TrayInOut");
}

// The pause of the hot zones counts from the activation itself, not from the event that made it:
// the event may have waited in the queue while Velkora's thread was busy.
void ActivateHost() {
    g_last_activation_tick = GetTickCount();
    RequestTrayInOut();
}

static void QueueEvent(uint32_t msg, const MSLLHOOKSTRUCT &ev, Point32 from) {
    g_hook_queue.Push({msg, {ev.pt.x, ev.pt.y}, ev.mouseData, ev.time, GetTickCount(),
                       IsTouchOrPen(static_cast<uint32_t>(ev.dwExtraInfo)), from});
    if (IsButtonMessage(msg))
        g_hook_buttons.fetch_add(1, std::memory_order_release);
    if (g_hook_queue.NeedsWake())
        if (HWND engine_window = g_hook_wake_window.load(std::memory_order_relaxed))
            PostMessageA(engine_window, WM_ENGINE_EVENTS, 0, 0);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wparam, LPARAM lparam) {
    g_hook_saw_event.store(true, std::memory_order_relaxed);
    const uint32_t msg = static_cast<uint32_t>(wparam);
    if (code >= 0) {
        const MSLLHOOKSTRUCT &ev = *reinterpret_cast<const MSLLHOOKSTRUCT *>(lparam);
        Point32 from = {0, 0};
        if (msg == MOUSE_MSG_MOVE ? TakeMove(g_hook_zones, g_hook_moves, {ev.pt.x, ev.pt.y}, from)
                                  : IsQueuedMessage(msg))
            QueueEvent(msg, ev, from);
    }
    return CallNextHookEx(g_hook_for_next, code, wparam, lparam);
}

void HandleQueuedMouseEvents() {
    g_hook_queue.TakeWake();
    NoteQueueTaken(g_hook_buttons.load(std::memory_order_acquire));
    // Once the engine has stopped (disabled, suspended, a dialog shown, also by Velkora when an
    // activation here called it), what the hook queued before goes unread: no gesture completes
    // for an engine that is off.
    HookEvent ev;
    while (g_hook_queue.Pop(ev)) {
        if (!g_engine_running)
            continue;
        if (ev.msg == MOUSE_MSG_MOVE) {
            TakeZoneMove({ev.pt, ev.from, ev.now});
            continue;
        }
        NoteQueuedButton(ev.msg);
        if (!ev.touch_or_pen && HandleMouseEvent(ev.msg, ev.pt, ev.mouse_data, ev.time, ev.now, g_cfg) &&
            !IsGestureHeldBack())
            ActivateHost();
    }
    if (const uint32_t dropped = g_hook_queue.TakeDropped()) {
        if (g_engine_running)
            NoteQueuedButton(MOUSE_MSG_LBUTTONDOWN);   // a button may have been among them
        g_hook_zones.Recheck();                         // and a move in or out of a zone
        if (!g_drop_reported)
            g_VelkApi.Print(3, g_VelkApi.log_tag, "hook queue full: %u mouse events dropped", dropped);
        g_drop_reported = true;
    }
}
