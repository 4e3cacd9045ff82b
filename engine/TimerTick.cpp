#include "engine/TimerTick.h"

bool g_last_in_zone;
HookWatch g_hook_watch;

void TickHost::Trace(const char *format, ...) {
    va_list args;
    va_start(args, format);
    VTrace(format, args);
    va_end(args);
}

static void Activate(uint32_t now, TickHost &host) {
    if (host.IsGestureHeldBack())
        return;   // no activation: the cool-down does not start
    host.Trace("g_VelkApi.SendHotKey(\"TrayInOut\")");
    g_last_activation_tick = now;
    host.SendTrayInOut();
}

static void EvaluateMove(uint32_t now, Point32 point, TickHost &host) {
    bool hit = host.IsInHotZone(point.x, point.y);
    if (!IsDue(now, g_timer_event_start, g_timer_event_delay)) {
        host.Trace("yet time");
        g_last_in_zone = hit;
        return;
    }
    ClearTimerEvent();
    bool cooled = now - g_last_activation_tick > ACTIVATION_COOL_DOWN_MS;
    if (hit && hit != g_last_in_zone && cooled) {
        bool has_focus = host.HostHasFocus();
        host.Trace("stat.has_focus=%d", has_focus ? 1 : 0);
        if (!has_focus)
            Activate(now, host);
    }
    g_last_in_zone = hit;
}

static ButtonState &ButtonOfHoldDownEvent(int32_t event) {
    if (event == TIMER_EVENT_BUTTONHOLDDOWN_LEFT)
        return g_left_button;
    return event == TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE ? g_middle_button : g_right_button;
}

static void EvaluateHoldDown(uint32_t now, Point32 point, const Settings &cfg, TickHost &host) {
    host.Trace("case(TIMER_EVENT_BUTTONHOLDDOWN(%d)", g_timer_event);
    ButtonState &button = ButtonOfHoldDownEvent(g_timer_event);
    if (!IsDue(now, g_timer_event_start, g_timer_event_delay)) {
        host.Trace("yet time");
        return;
    }
    ClearTimerEvent();
    // A release before the due time has already reset the sequence: the press is over.
    bool released = !button.holddown.active;
    Point32 start_point = button.holddown.start_point;
    ResetPressSequence(button.holddown);
    host.Trace("start_point.x=%d y=%d", start_point.x, start_point.y);
    if (released) {
        host.Trace("button released");
        return;
    }
    if (!IsWithinAllowance(point, start_point, cfg.click.move_allowance)) {
        host.Trace("too move cursor");
        return;
    }
    Activate(now, host);
}

void RunTimerTick(uint32_t now, Point32 point, const Settings &cfg, TickHost &host) {
    host.Trace("point.x=%d y=%d", point.x, point.y);
    host.Trace("g_timer_event=%d", g_timer_event);
    switch (g_timer_event) {
    case TIMER_EVENT_MOVE:
        EvaluateMove(now, point, host);
        break;
    case TIMER_EVENT_BUTTONHOLDDOWN_LEFT:
    case TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE:
    case TIMER_EVENT_BUTTONHOLDDOWN_RIGHT:
        EvaluateHoldDown(now, point, cfg, host);
        break;
    default:
        if (cfg.move.onmove != 0) {
            host.Trace("if(g_cfg.move.onmove), SetTimerEvent(TIMER_EVENT_MOVE,%d)", cfg.move.delay);
            SetTimerEvent(TIMER_EVENT_MOVE, static_cast<uint32_t>(cfg.move.delay), now);
        }
        break;
    }
}

void WatchNewHook() {
    g_hook_watch.has_point = false;
    g_hook_saw_event = false;
}

bool HasHookBeenLost(uint32_t now, Point32 cursor) {
    bool moved = g_hook_watch.has_point &&
                 (cursor.x != g_hook_watch.point.x || cursor.y != g_hook_watch.point.y);
    bool seen = g_hook_saw_event;
    g_hook_saw_event = false;
    g_hook_watch.has_point = true;
    g_hook_watch.point = cursor;
    if (!moved || seen)
        return false;
    if (g_hook_watch.has_reinstalled && now - g_hook_watch.reinstall_tick < HOOK_REINSTALL_SPACING_MS)
        return false;
    g_hook_watch.has_reinstalled = true;
    g_hook_watch.reinstall_tick = now;
    return true;
}
