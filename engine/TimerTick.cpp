#include "engine/TimerTick.h"

bool g_last_in_zone;
ZoneVisit g_visit;
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

static bool AreModifierKeysHeld(uint32_t modifier, uint32_t held) {
    const uint32_t chosen = modifier & (MODIFIER_SHIFT | MODIFIER_CTRL | MODIFIER_ALT | MODIFIER_WIN);
    return (chosen & ~held) == 0;
}

// With Modifier set, a hot zone answers only while every key that it chooses is down; bits
// other than the four keys' choose nothing. At the moment a zone would answer: asks for the keys
// when Modifier chooses any, and says in the log why the zone does not answer when one is not
// held. The caller treats a refusal as a click in the zone: the visit is spent until the cursor
// leaves.
static bool ZoneKeysAllowAnswer(const Settings &cfg, TickHost &host) {
    if (AreModifierKeysHeld(cfg.move.modifier, 0))
        return true;   // no key chosen: nothing to ask
    const uint32_t held = host.HeldModifierKeys();
    if (AreModifierKeysHeld(cfg.move.modifier, held))
        return true;
    host.Trace("keys not held (Modifier=%u, held=%u): the zone waits for the cursor to leave",
               static_cast<unsigned>(cfg.move.modifier), static_cast<unsigned>(held));
    return false;
}

// What every activation by a zone needs: the keys that Modifier chooses are held, the pause
// after the last activation of any gesture has run out, and Velkora is not in front already.
void ActivateForZone(uint32_t now, const Settings &cfg, TickHost &host) {
    if (!ZoneKeysAllowAnswer(cfg, host))
        return;
    if (now - g_last_activation_tick <= ACTIVATION_COOL_DOWN_MS)
        return;
    bool has_focus = host.HostHasFocus();
    host.Trace("stat.has_focus=%d", has_focus ? 1 : 0);
    if (!has_focus)
        Activate(now, host);
}

// The cycle without ClickGuard: a tick arms the move event, the first tick at or after its due
// time looks at the zones. Only that look counts as where the cursor was before: were the ticks
// in between to count too, a Delay longer than Interval would leave every rest unnoticed.
static void EvaluateMove(uint32_t now, Point32 point, const Settings &cfg, TickHost &host) {
    if (!IsDue(now, g_timer_event_start, g_timer_event_delay)) {
        host.Trace("yet time");
        return;
    }
    ClearTimerEvent();
    bool hit = host.IsInHotZone(point.x, point.y);
    if (hit && !g_last_in_zone)
        ActivateForZone(now, cfg, host);
    g_last_in_zone = hit;
}

// Any zone at all: of monitors 1 and 2, Velkora's window (its bit, whatever the quick options
// say), or of the monitors from the third on.
static bool IsAnyZoneOn(const Settings &cfg) {
    return cfg.move.onmove != 0 || (cfg.move.onmove_others & 0xFF) != 0;
}

ButtonCounts g_button_counts;

void NoteQueueTaken(uint32_t buttons_counted) { g_button_counts.taken = buttons_counted; }

void NoteQueuedEventForVisit(uint32_t msg) {
    if (IsButtonMessage(msg))
        g_visit.button = true;
}

// Input the system took since the visit's last ask that did not move the cursor, where the
// buttons read up whatever they do: a click, a key or the wheel over an elevated window.
static bool InputInPlace(const SystemButtons &asked) {
    ZoneVisit &visit = g_visit;
    const bool in_place = visit.inside && !visit.decided && g_hook_watch.withheld &&
                          asked.last_input != visit.last_input && asked.cursor.x == visit.cursor.x &&
                          asked.cursor.y == visit.cursor.y;
    visit.last_input = asked.last_input;
    visit.cursor = asked.cursor;
    return in_place;
}

// Asks the system: true for a press that it marked since the last ask (whoever saw it), or input
// that left the cursor in place where the buttons read up; `down` for a button down now. The
// hook's count is read after the ask, since the system passes a press on to its state only once
// the hook has let the event go.
static bool AskSystem(TickHost &host, bool &down) {
    const SystemButtons asked = host.AskButtons();
    g_button_counts.asked = g_hook_buttons.load();
    if (!asked.known)
        g_visit.unknown = true;
    down = asked.down;
    return asked.pressed || InputInPlace(asked);
}

// Every press the system reports counts, also one of the hook's, which came after the last tick
// outside (the ticks after it ask) or spends the visit anyway.
bool SystemSawButton(TickHost &host) {
    bool down;
    const bool pressed = AskSystem(host, down);
    return down || pressed;
}

bool SystemHoldsButton(TickHost &host) {
    bool down;
    if (AskSystem(host, down) && g_visit.inside && !g_visit.decided)
        g_visit.button = true;
    return down;
}

void ForgetVisit(TickHost &host) {
    SystemSawButton(host);
    g_visit = ZoneVisit{};
}

// The visit's one chance: whatever the outcome, it does not come again while the visit lasts.
void DecideVisit(uint32_t now, const Settings &cfg, TickHost &host) {
    ZoneVisit &visit = g_visit;
    visit.decided = true;
    host.SampleButtons(false);
    // The last look at the queue, after the system's: a button that the hook counted after the
    // engine took it, also one that the system passes on to its state only after the ask.
    visit.button |= SystemSawButton(host);
    visit.button |= g_hook_buttons.load() != g_button_counts.taken;
    if (visit.unknown) {
        host.Trace("the mouse buttons cannot be known: the zone waits for the cursor to leave");
        return;
    }
    if (visit.button) {
        host.Trace("a mouse button was down: the zone waits for the cursor to leave");
        return;
    }
    ActivateForZone(now, cfg, host);
}

// A look at the zones with ClickGuard on, at a tick or when the visit's wait is over.
static void LookAtZones(uint32_t now, Point32 point, bool wait_over, const Settings &cfg, TickHost &host) {
    ZoneVisit &visit = g_visit;
    const bool asked = !wait_over && (g_hook_watch.blind || g_hook_buttons.load() != g_button_counts.asked);
    bool system_saw_button = asked && SystemSawButton(host);
    if (!host.IsInHotZone(point.x, point.y)) {
        if (visit.inside && !visit.decided)
            host.SampleButtons(false);
        visit.inside = false;
        visit.unknown = false;
        if (!wait_over)
            visit.button = false;   // ticks alone clear it, so that the rule reads "since the last tick outside"
        return;
    }
    const uint32_t delay = static_cast<uint32_t>(cfg.move.delay);
    if (!visit.inside) {
        if (!asked)
            system_saw_button = SystemSawButton(host);
        visit.inside = true;
        visit.decided = false;
        visit.start = now;
        if (cfg.move.delay > 0) {
            host.WakeAfter(delay);
            if (!host.SampleButtons(true))
                visit.unknown = true;
        }
    }
    visit.button |= system_saw_button;
    if (visit.decided)
        return;
    if (!wait_over && !IsDue(now, visit.start, delay)) {
        host.Trace("yet time");
        return;
    }
    DecideVisit(now, cfg, host);
}

void RunButtonSample(TickHost &host) {
    ZoneVisit &visit = g_visit;
    if (visit.inside && !visit.decided && !visit.button && !visit.unknown) {
        visit.button = SystemSawButton(host);
        if (!visit.button && !visit.unknown)
            return;
    }
    host.SampleButtons(false);   // the visit's outcome is settled, or it has ended
}

static ButtonState &ButtonOfHoldDownEvent(int32_t event) {
    if (event == TIMER_EVENT_BUTTONHOLDDOWN_LEFT)
        return g_left_button;
    return event == TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE ? g_middle_button : g_right_button;
}

static void EvaluateHoldDown(uint32_t now, Point32 physical, const Settings &cfg, TickHost &host) {
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
    if (!IsWithinAllowance(physical, start_point, cfg.click.move_allowance)) {
        host.Trace("too move cursor");
        return;
    }
    Activate(now, host);
}

void RunTimerTick(uint32_t now, Point32 point, Point32 physical, const Settings &cfg, TickHost &host) {
    host.Trace("point.x=%d y=%d", point.x, point.y);
    host.Trace("g_timer_event=%d", g_timer_event);
    const bool visits = cfg.move.click_guard != 0;
    switch (g_timer_event) {
    case TIMER_EVENT_MOVE:
        if (visits)
            ClearTimerEvent();   // armed before ClickGuard was switched on
        else
            EvaluateMove(now, point, cfg, host);
        break;
    case TIMER_EVENT_BUTTONHOLDDOWN_LEFT:
    case TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE:
    case TIMER_EVENT_BUTTONHOLDDOWN_RIGHT:
        EvaluateHoldDown(now, physical, cfg, host);
        break;
    default:
        if (IsAnyZoneOn(cfg) && !visits) {
            host.Trace("if(g_cfg.move.onmove), SetTimerEvent(TIMER_EVENT_MOVE,%d)", cfg.move.delay);
            SetTimerEvent(TIMER_EVENT_MOVE, static_cast<uint32_t>(cfg.move.delay), now);
        }
        break;
    }
    if (visits && IsAnyZoneOn(cfg))
        LookAtZones(now, point, false, cfg, host);
}

void RunVisitWake(uint32_t now, Point32 point, const Settings &cfg, TickHost &host) {
    if (cfg.move.click_guard == 0 || !IsAnyZoneOn(cfg) || !g_visit.inside || g_visit.decided)
        return;   // the visit has ended or decided at a tick meanwhile
    host.Trace("wait over: point.x=%d y=%d", point.x, point.y);
    LookAtZones(now, point, true, cfg, host);
}

void WatchNewHook() {
    g_hook_watch.has_point = false;
    g_hook_watch.probing = false;
    g_hook_saw_event = false;
}

void WatchProbeRefused() { g_hook_watch.probing = false; }

void WatchFailedInstall(uint32_t now) { g_hook_watch.install_failed_tick = now; }

static uint32_t Spacing() { return g_hook_watch.spacing ? g_hook_watch.spacing : HOOK_BACKOFF_FIRST_MS; }

static void NoteReinstall(uint32_t now) {
    HookWatch &w = g_hook_watch;
    const bool same_run = w.has_reinstalled && now - w.reinstall_tick < 2 * Spacing();
    w.spacing = same_run ? (Spacing() >= HOOK_BACKOFF_MAX_MS / 2 ? HOOK_BACKOFF_MAX_MS : 2 * Spacing())
                         : HOOK_BACKOFF_FIRST_MS;
    w.lost_severity = same_run ? 7 : 3;
    w.has_reinstalled = true;
    w.reinstall_tick = now;
    w.act_tick = now;
}

HookVerdict JudgeHook(uint32_t now, Point32 cursor, uint32_t last_input, bool installed, bool conclusive) {
    HookWatch &w = g_hook_watch;
    const bool seen = g_hook_saw_event.exchange(false);
    w.blind = true;
    w.withheld = installed && !conclusive;
    if (!installed) {
        if (now - w.install_failed_tick < HOOK_INSTALL_RETRY_MS)
            return HOOK_WELL;
        w.install_failed_tick = now;
        return HOOK_INSTALL_AGAIN;
    }
    if (!conclusive) {
        w.has_point = false;
        w.probing = false;
        return HOOK_WELL;
    }
    const bool moved = w.has_point && (cursor.x != w.point.x || cursor.y != w.point.y);
    const bool input = w.has_point && last_input != w.last_input;
    w.has_point = true;
    w.point = cursor;
    w.last_input = last_input;
    if (w.probing) {
        w.probing = false;
        w.blind = !seen;
        if (seen)
            return HOOK_WELL;
        NoteReinstall(now);
        return HOOK_LOST;
    }
    w.blind = moved && !seen && input;
    if (!w.blind)
        return HOOK_WELL;
    if (w.has_acted && now - w.act_tick < Spacing())
        return HOOK_WELL;
    w.has_acted = true;
    w.act_tick = now;
    w.probing = true;
    return HOOK_PROBE;
}
