#include "engine/ZoneMoves.h"

#include "engine/Push.h"

void NoteQueuedButton(uint32_t msg) {
    NoteQueuedEventForVisit(msg);
    if (IsButtonMessage(msg))
        g_push.button = true;
}

static void BeginVisitAt(uint32_t arrival, uint32_t now, const Settings &cfg, TickHost &host) {
    ZoneVisit &visit = g_visit;
    visit.inside = visit.decided = visit.unknown = false;
    // A button held at the arrival; not a press before it (a click, then a move into the corner),
    // which the system may still mark when no tick has asked since. Every button event queued
    // after the arrival follows in the queue.
    visit.button = SystemHoldsButton(host);
    visit.inside = true;
    visit.start = arrival;
    const uint32_t waited = now - arrival;
    if (cfg.move.delay > 0 && waited < static_cast<uint32_t>(cfg.move.delay)) {
        host.WakeAfter(static_cast<uint32_t>(cfg.move.delay) - waited);
        if (!host.SampleButtons(true))
            visit.unknown = true;
        return;
    }
    DecideVisit(now, cfg, host);
}

static void EndVisit(TickHost &host) {
    if (!g_visit.decided)
        host.SampleButtons(false);
    g_visit.inside = false;
    g_visit.unknown = false;
}

// The push has reached PushDistance: answered at once, refused as a visit would be, and either way
// spent until the cursor leaves the zone. A corner answers once per visit, a push or a rest.
static void AnswerPush(uint32_t now, const Settings &cfg, TickHost &host) {
    g_push.spent = true;
    host.Trace("pushed: %d px within %u ms", g_push.sum, static_cast<unsigned>(PUSH_WINDOW_MS));
    ZoneVisit &visit = g_visit;
    if (IsCornerZone(static_cast<size_t>(g_push.zone))) {
        g_last_in_zone = true;   // nor the check of the cycle without ClickGuard
        if (visit.inside) {
            if (visit.decided)
                return;
            visit.decided = true;
            host.SampleButtons(false);
        }
    }
    if (cfg.move.click_guard != 0) {
        const bool unknown_before = visit.unknown;
        // The system first, then the hook's count, as a visit decides: a press that the system
        // passes on to its state only after the ask is then in the count.
        const bool system_saw_button = SystemSawButton(host);
        if (system_saw_button || g_push.button || g_hook_buttons.load() != g_button_counts.taken) {
            host.Trace("a mouse button was down: the push waits for the cursor to leave the edge");
            return;
        }
        if (visit.unknown && !unknown_before) {
            host.Trace("the mouse buttons cannot be known: the push waits for the cursor to leave the edge");
            return;
        }
    }
    ActivateForZone(now, cfg, host);
}

void RunZoneMove(const ZoneMove &move, uint32_t now, const Rect32 *monitors, size_t count, const Settings &cfg,
                 TickHost &host) {
    const bool beyond = !IsOnAnyMonitor(monitors, count, move.pt.x, move.pt.y);
    const PushStep step =
        beyond ? MeasurePush(cfg, monitors, count, move.from, move.pt) : PushStep{0, NO_PUSH, 0, move.pt};
    if (cfg.move.click_guard != 0) {
        const bool rests = IsInRestZone(cfg, monitors, count, step.cursor.x, step.cursor.y);
        if (rests && !g_visit.inside)
            BeginVisitAt(move.seen, now, cfg, host);
        else if (!rests && g_visit.inside)
            EndVisit(host);
    }
    if (!beyond) {
        NoteMoveOnDesktop(g_push, cfg, monitors, count, move.pt);
        return;
    }
    // A push counts the presses from its first move on: the system's mark of one before it (a
    // click, then a push within a tick) is taken here.
    if (cfg.move.click_guard != 0 && step.zone != NO_PUSH && IsAnotherZone(g_push, step))
        SystemHoldsButton(host);
    if (AddPush(g_push, step, move.seen, cfg.move.push_distance))
        AnswerPush(now, cfg, host);
}
