#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/HookQueue.h"
#include "engine/HookZones.h"
#include "engine/Push.h"
#include "engine/TimerTick.h"
#include "engine/ZoneMoves.h"

namespace {

class FakeTickHost : public TickHost {
public:
    void VTrace(const char *format, va_list args) override {
        char line[256];
        std::vsnprintf(line, sizeof line, format, args);
        lines.push_back(line);
    }
    bool IsInHotZone(int32_t x, int32_t y) override {
        lines.push_back("onmove");
        return x <= 10 && y <= 10;
    }
    bool HostHasFocus() override { return has_focus; }
    bool IsGestureHeldBack() override { return held_back; }
    void SendTrayInOut() override { ++sent; }
    // With an elevated window in front the buttons read up, whatever they do; the last-input
    // time moves all the same.
    SystemButtons AskButtons() override {
        if (hook_counts_during_ask)
            g_hook_buttons += 2;   // the system passes the click on to its state after the ask
        hook_counts_during_ask = false;
        const SystemButtons buttons = {known, button_down && !elevated, pressed && !elevated, last_input, cursor};
        pressed = false;
        return buttons;
    }
    void WakeAfter(uint32_t ms) override { wake_in = ms; }
    bool SampleButtons(bool on) override { return sampling = on, true; }
    uint32_t HeldModifierKeys() override { return keys; }

    std::vector<std::string> lines;
    bool has_focus = false;
    bool held_back = false;
    bool button_down = false;
    bool pressed = false;   // since the last ask
    bool known = true;
    bool elevated = false;
    uint32_t last_input = 0;
    Point32 cursor = {0, 0};
    bool hook_counts_during_ask = false;
    bool sampling = false;
    uint32_t keys = 0;      // MODIFIER_* held
    int sent = 0;
    uint32_t wake_in = 0;   // 0: no wake asked for
};

const Point32 IN_ZONE = {3, 3}, OUTSIDE = {500, 500};
const Rect32 SCREEN = {0, 0, 1920, 1080};

class TimerTickTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaults(cfg);
        cfg.general.interval = 50;
        cfg.move.delay = 20;
        cfg.move.click_guard = 0;   // the cycle of ticks; the visits of ClickGuard have their table
        ClearTimerEvent();
        g_hook_buttons = 0;
        g_button_counts = {};
        ForgetVisit(host);
        ForgetPush(g_push);
        g_hook_watch = {};
        g_last_in_zone = false;
        g_last_activation_tick = 0;
        g_left_button = g_middle_button = g_right_button = {};
    }
    std::vector<std::string> Tick(uint32_t now, Point32 pt) {
        host.lines.clear();
        RunTimerTick(now, pt, pt, cfg, host);
        return host.lines;
    }
    // An arming tick followed by an evaluating tick one interval later.
    void Cycle(uint32_t now, Point32 pt) {
        Tick(now, pt);
        Tick(now + 50, pt);
    }
    Settings cfg;
    FakeTickHost host;
};

using Lines = std::vector<std::string>;

TEST_F(TimerTickTest, IdleTickArmsTheMoveEvent) {
    EXPECT_EQ(Tick(5000, OUTSIDE),
              (Lines{"point.x=500 y=500", "g_timer_event=0", "if(g_cfg.move.onmove), SetTimerEvent(TIMER_EVENT_MOVE,20)"}));
    EXPECT_EQ(g_timer_event, TIMER_EVENT_MOVE);
    EXPECT_EQ(g_timer_event_start, 5000u);
}

TEST_F(TimerTickTest, NoZonesConfiguredOnlyLogs) {
    cfg.move.onmove = 0;
    EXPECT_EQ(Tick(5000, IN_ZONE), (Lines{"point.x=3 y=3", "g_timer_event=0"}));
    EXPECT_EQ(g_timer_event, TIMER_EVENT_NONE);
}

TEST_F(TimerTickTest, EnteringAZoneActivatesOnceWithTheLogInOrder) {
    Tick(5000, IN_ZONE);
    EXPECT_EQ(Tick(5050, IN_ZONE), (Lines{"point.x=3 y=3", "g_timer_event=2", "onmove", "stat.has_focus=0",
                                          "g_VelkApi.SendHotKey(\"TrayInOut\")"}));
    EXPECT_EQ(host.sent, 1);
    EXPECT_EQ(g_last_activation_tick, 5050u);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_NONE);
    Cycle(7000, IN_ZONE);   // staying does not activate again
    EXPECT_EQ(host.sent, 1);
    Cycle(8000, OUTSIDE);
    Cycle(9000, IN_ZONE);
    EXPECT_EQ(host.sent, 2);
}

TEST_F(TimerTickTest, CoolDownIsStrictlyMoreThanASecond) {
    g_last_activation_tick = 4050;
    Cycle(5000, IN_ZONE);   // evaluates at 5050: exactly 1000 ms
    EXPECT_EQ(host.sent, 0);
    EXPECT_TRUE(g_last_in_zone);   // must now leave and re-enter
    Cycle(6000, IN_ZONE);
    EXPECT_EQ(host.sent, 0);
    Cycle(7000, OUTSIDE);
    Cycle(8000, IN_ZONE);
    EXPECT_EQ(host.sent, 1);
}

TEST_F(TimerTickTest, CoolDownHoldsAcrossTheTickWrap) {
    g_last_activation_tick = 0xFFFFFF00u;
    Cycle(0x00000010u, IN_ZONE);
    EXPECT_EQ(host.sent, 0);
    Cycle(0x00000500u, OUTSIDE);
    Cycle(0x00001000u, IN_ZONE);
    EXPECT_EQ(host.sent, 1);
}

TEST_F(TimerTickTest, FocusedHostIsNotActivatedAndNotRetried) {
    host.has_focus = true;
    Tick(5000, IN_ZONE);
    Lines lines = Tick(5050, IN_ZONE);
    EXPECT_EQ(lines.back(), "stat.has_focus=1");
    host.has_focus = false;
    Cycle(6000, IN_ZONE);
    EXPECT_EQ(host.sent, 0);
}

// Only the evaluating tick notes where the cursor was: a rest in a zone is seen as an entry also
// when ticks come more often than the Delay.
TEST_F(TimerTickTest, DelayLongerThanTheIntervalActivatesARest) {
    cfg.move.delay = 120;
    Tick(5000, OUTSIDE);                                   // arms
    EXPECT_EQ(Tick(5050, IN_ZONE), (Lines{"point.x=3 y=3", "g_timer_event=2", "yet time"}));
    EXPECT_FALSE(g_last_in_zone);
    Tick(5100, IN_ZONE);
    Tick(5150, IN_ZONE);                                   // due
    EXPECT_EQ(host.sent, 1);
    for (uint32_t now = 5200; now < 6000; now += 50)       // staying does not activate again
        Tick(now, IN_ZONE);
    EXPECT_EQ(host.sent, 1);
}

TEST_F(TimerTickTest, DueTestHoldsAcrossTheTickWrap) {
    g_last_activation_tick = 0x80000000u;
    Tick(0xFFFFFFF0u, OUTSIDE);
    EXPECT_EQ(Tick(0xFFFFFFFFu, IN_ZONE).back(), "yet time");
    g_last_in_zone = false;
    Tick(0x00000004u, IN_ZONE);   // 20 ms after arming
    EXPECT_EQ(host.sent, 1);
}

TEST_F(TimerTickTest, NegativeDelaysFallDueAtOnce) {
    cfg.move.delay = -100;
    Tick(5000, OUTSIDE);
    EXPECT_EQ(Tick(5050, IN_ZONE).back(), "g_VelkApi.SendHotKey(\"TrayInOut\")");
    cfg.click.msec_holddown = -5;
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN;
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {300, 300}, 0, 9000, 9000, cfg);
    EXPECT_EQ(Tick(9001, {300, 300}).back(), "g_VelkApi.SendHotKey(\"TrayInOut\")");
    EXPECT_EQ(host.sent, 2);
}

TEST_F(TimerTickTest, LongPressHeldStillActivatesEvenWithFocusAndInCoolDown) {
    host.has_focus = true;
    g_last_activation_tick = 5000;
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN;
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {300, 300}, 0, 5000, 5000, cfg);
    EXPECT_EQ(Tick(5400, {305, 295}), (Lines{"point.x=305 y=295", "g_timer_event=16",
                                             "case(TIMER_EVENT_BUTTONHOLDDOWN(16)", "yet time"}));
    EXPECT_EQ(Tick(5500, {310, 290}), (Lines{"point.x=310 y=290", "g_timer_event=16",
                                             "case(TIMER_EVENT_BUTTONHOLDDOWN(16)", "start_point.x=300 y=300",
                                             "g_VelkApi.SendHotKey(\"TrayInOut\")"}));
    EXPECT_EQ(host.sent, 1);
    EXPECT_FALSE(g_left_button.holddown.active);
    HandleMouseEvent(MOUSE_MSG_LBUTTONUP, {310, 290}, 0, 5600, 5600, cfg);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_NONE);

    // Held back by a full-screen window in front: nothing sent, and no cool-down starts.
    host.held_back = true;
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {300, 300}, 0, 7000, 7000, cfg);
    Tick(7500, {300, 300});
    EXPECT_EQ(host.sent, 1);
    EXPECT_EQ(g_last_activation_tick, 5500u);
}

TEST_F(TimerTickTest, LongPressThatDriftedTooFar) {
    cfg.click.onclick = CLICK_MIDDLE_HOLDDOWN;
    HandleMouseEvent(MOUSE_MSG_MBUTTONDOWN, {300, 300}, 0, 5000, 5000, cfg);
    EXPECT_EQ(Tick(5500, {300, 311}).back(), "too move cursor");
    EXPECT_EQ(host.sent, 0);
}

TEST_F(TimerTickTest, ReleasedLongPressNeverActivatesEvenNearTheOrigin) {
    cfg.click.onclick = CLICK_RIGHT_HOLDDOWN;
    HandleMouseEvent(MOUSE_MSG_RBUTTONDOWN, {2, 2}, 0, 5000, 5000, cfg);
    HandleMouseEvent(MOUSE_MSG_RBUTTONUP, {2, 2}, 0, 5100, 5100, cfg);
    Lines lines = Tick(5500, {0, 0});
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "start_point.x=-1 y=-1");
    EXPECT_EQ(lines.back(), "button released");
    EXPECT_EQ(host.sent, 0);
}

TEST_F(TimerTickTest, LongPressOverAPendingMoveKeepsTheZoneMemory) {
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN;
    Cycle(3000, IN_ZONE);  // entered: activates, and the zone is noted
    Tick(5000, IN_ZONE);   // arms
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {3, 3}, 0, 5015, 5015, cfg);
    Tick(5600, IN_ZONE);   // the long press
    EXPECT_EQ(host.sent, 2);
    Tick(5650, IN_ZONE);   // arms the move again
    EXPECT_EQ(g_timer_event, TIMER_EVENT_MOVE);
    EXPECT_TRUE(g_last_in_zone);
}

// A host that is not DPI-aware on a display scaled by 150 %: the hook's points and the physical
// cursor are 1.5 times the scaled point that GetCursorPos gives.
TEST_F(TimerTickTest, LongPressOnAScaledDisplayComparesPhysicalPoints) {
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN;
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {450, 450}, 0, 5000, 5000, cfg);
    host.lines.clear();
    RunTimerTick(5500, {300, 300}, {450, 450}, cfg, host);
    EXPECT_EQ(host.lines.back(), "g_VelkApi.SendHotKey(\"TrayInOut\")");
    EXPECT_EQ(host.sent, 1);

    HandleMouseEvent(MOUSE_MSG_LBUTTONUP, {450, 450}, 0, 5600, 5600, cfg);
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {450, 450}, 0, 7000, 7000, cfg);
    host.lines.clear();
    RunTimerTick(7500, {307, 300}, {461, 450}, cfg, host);   // 11 physical pixels, 7 scaled ones
    EXPECT_EQ(host.lines.back(), "too move cursor");
    EXPECT_EQ(host.sent, 1);
}

// The hot zones over a few seconds of one user's doing: where the cursor is, the buttons as the
// hook queues them and as the system knows them, the host's focus. Ticks come every Interval
// from 1000 ms on, and the wake comes when the visit asked for it.
struct Span {
    uint32_t from, to;
    bool Holds(uint32_t t) const { return t >= from && t < to; }
};
const uint32_t NEVER = 0xFFFFFFFFu;
const uint32_t DOWN = MOUSE_MSG_LBUTTONDOWN, UP = MOUSE_MSG_LBUTTONUP;

struct ZoneStory {
    const char *name;
    int32_t interval, delay, click_guard;
    std::vector<Span> inside;                              // the cursor in a zone
    std::vector<std::pair<uint32_t, uint32_t>> queued;     // (ms, message) from the hook's queue
    std::vector<uint32_t> activations;                     // when SendTrayInOut came
    Span held = {0, 0};                                    // a button down, as the system says
    Span focused = {0, 0};                                 // the host has the focus
    uint32_t last_activation = 0;                          // of a gesture before
    bool held_back = false;                                // full screen in front
    int spent_by_button = 0;                               // lines that say a button spent a visit
    std::vector<uint32_t> unseen = {};                     // presses only the system saw
    std::vector<uint32_t> after_drain = {};                // buttons the hook counted after a tick took the queue
    Span blind = {0, 0};                                   // ticks that know the hook blind
    bool unknown = false;                                  // the system cannot tell the buttons
    std::vector<ZoneMove> moves = {};                      // the hook's, taken from its queue at `seen`
    uint32_t onmove = MOVE_ZONE_LT, push = MOVE_PUSH_EDGES;
    uint32_t drain_lag = 0;                                // the hook's moves taken this much later
    uint32_t onmove_others = 0;                            // the zones of monitor 3 and on
    std::vector<uint32_t> during_ask = {};                 // clicks the hook counts while the system is asked
    Span elevated = {0, 0};                                // an elevated window in front
    uint32_t modifier = 0;                                 // the keys a zone asks for
    Span ctrl = {0, 0};                                    // Ctrl held
};

const uint32_t CTRL = MODIFIER_CTRL;

// The hook's moves on a monitor of 1920 x 1080, beginning at `at` and `ms` apart, each to `pt`
// with `step` added to it after each move.
std::vector<ZoneMove> Moves(uint32_t at, int count, uint32_t ms, Point32 pt, Point32 step = {0, 0},
                            Point32 from = {600, 500}) {
    std::vector<ZoneMove> moves;
    for (int i = 0; i < count; ++i) {
        moves.push_back({pt, from, at + i * ms});
        from = pt;
        pt = {pt.x + step.x, pt.y + step.y};
    }
    return moves;
}
std::vector<ZoneMove> operator+(std::vector<ZoneMove> a, const std::vector<ZoneMove> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const Point32 PAST_LEFT_EDGE = {-20, 500}, LEFT_EDGE = {0, 500}, MIDDLE = {600, 500};
const uint32_t LEFT_STRIP = MOVE_ZONE_L, CORNER_PUSHED = MOVE_PUSH_CORNERS;
const Span NOWHERE = {0, 0};

const ZoneStory ZONE_STORIES[] = {
    {"rest: Delay after the first tick inside, between two ticks", 500, 200, 1, {{1010, NEVER}}, {}, {1700}},
    {"in at set-up", 500, 200, 1, {{0, NEVER}}, {}, {1200}},
    {"leave and come back: once per visit", 500, 200, 1, {{1010, 2010}, {3010, NEVER}}, {}, {1700, 3700}},
    {"click after arriving, before the visit was seen", 500, 200, 1, {{1010, NEVER}}, {{1260, DOWN}, {1262, UP}},
     {}, {1260, 1262}, {}, 0, false, 1},
    {"click in the visit's wait", 500, 200, 1, {{1010, NEVER}}, {{1600, DOWN}, {1602, UP}}, {}, {}, {}, 0, false, 1},
    {"click after the activation", 500, 200, 1, {{1010, NEVER}}, {{1800, DOWN}, {1802, UP}}, {1700}},
    {"drag held in a corner, released after the wait", 500, 200, 1, {{1010, NEVER}}, {{700, DOWN}, {2300, UP}},
     {}, {700, 2300}, {}, 0, false, 1},
    {"drag released in a corner before the first tick inside, then away and back", 500, 200, 1,
     {{1010, 2010}, {3010, NEVER}}, {{700, DOWN}, {1300, UP}}, {3700}, {700, 1300}, {}, 0, false, 1},
    {"a button held since before the engine started", 500, 200, 1, {{1010, NEVER}}, {}, {}, {0, NEVER}, {}, 0,
     false, 1},
    {"passing through at a tick", 500, 200, 1, {{1490, 1510}}, {}, {}},
    {"focus at the end of the wait: spent", 500, 200, 1, {{1010, NEVER}}, {}, {}, {0, 0}, {1000, 1800}},
    {"cool-down at the end of the wait: spent", 500, 200, 1, {{1010, NEVER}}, {}, {}, {0, 0}, {0, 0}, 1300},
    {"full screen in front: spent", 500, 200, 1, {{1010, NEVER}}, {}, {}, {0, 0}, {0, 0}, 0, true},
    {"Delay 0: at the first tick", 500, 0, 1, {{1010, NEVER}}, {}, {1500}},
    {"Delay -5: at the first tick", 500, -5, 1, {{1010, NEVER}}, {}, {1500}},
    {"short Interval: rest", 50, 200, 1, {{1010, NEVER}}, {}, {1250}},
    {"short Interval: click in the wait", 50, 200, 1, {{1010, NEVER}}, {{1100, DOWN}, {1102, UP}}, {}, {}, {}, 0,
     false, 1},
    {"ClickGuard 0: the cycle", 500, 200, 0, {{1010, NEVER}}, {}, {1500}},
    {"ClickGuard 0: a click changes nothing", 500, 200, 0, {{1010, NEVER}}, {{1260, DOWN}, {1262, UP}}, {1500}},
    {"ClickGuard 0: passing through at a check", 500, 200, 0, {{1490, 1510}}, {}, {1500}},
    {"ClickGuard 0: short Interval, rest", 50, 200, 0, {{1010, NEVER}}, {}, {1200}},
    {"ClickGuard 2 is on", 500, 200, 2, {{1010, NEVER}}, {{1260, DOWN}, {1262, UP}}, {}, {}, {}, 0, false, 1},
    {"a click the hook saw before arriving", 500, 200, 1, {{1010, NEVER}}, {{800, DOWN}, {802, UP}}, {1700}},
    {"a click the hook missed, after arriving and before the visit was seen", 500, 200, 1, {{1010, NEVER}}, {},
     {}, {1260, 1262}, {}, 0, false, 1, {1260}},
    {"a click of 30 ms the hook missed in the visit's wait", 500, 200, 1, {{1010, NEVER}}, {}, {}, {1600, 1630},
     {}, 0, false, 1, {1600}},
    {"a click the hook missed before arriving, no tick knowing it blind", 500, 200, 1, {{1010, NEVER}}, {}, {}, {},
     {}, 0, false, 1, {700}},
    {"a click the hook missed before arriving, ticks knowing it blind", 500, 200, 1, {{1010, NEVER}}, {}, {1700},
     {}, {}, 0, false, 0, {700}, {}, {0, NEVER}},
    {"a click between a look at the queue and the decision", 500, 200, 1, {{1010, NEVER}}, {}, {}, {}, {}, 0,
     false, 1, {}, {1700}},
    {"buttons that cannot be known", 500, 200, 1, {{1010, NEVER}}, {}, {}, {}, {}, 0, false, 0, {}, {}, {0, 0},
     true},
    {"a zone of monitor 3 alone", 500, 200, 1, {{1010, NEVER}}, {}, {1700}, {}, {}, 0, false, 0, {}, {}, {0, 0},
     false, {}, 0, MOVE_PUSH_EDGES, 0, MOVE_ZONE_LT},
    {"ClickGuard 0: a zone of monitor 3 alone", 500, 200, 0, {{1010, NEVER}}, {}, {1500}, {}, {}, 0, false, 0, {},
     {}, {0, 0}, false, {}, 0, MOVE_PUSH_EDGES, 0, MOVE_ZONE_LT},
    {"a click the hook saw before a tick outside, then one it missed before arriving", 500, 200, 1,
     {{1300, NEVER}}, {{700, DOWN}, {702, UP}}, {}, {}, {}, 0, false, 1, {1200}},
    {"a click the hook counts while the decision asks the system", 500, 200, 1, {{1010, NEVER}}, {}, {}, {}, {}, 0,
     false, 1, {}, {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {1700}},
    {"an elevated window in front: a rest", 500, 200, 1, {{1010, NEVER}}, {}, {1700}, {}, {}, 0, false, 0, {}, {},
     {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, NEVER}},
    {"an elevated window in front: a click in the wait, all up to the system", 500, 200, 1, {{1010, NEVER}}, {}, {},
     {1600, 1630}, {}, 0, false, 1, {1600, 1630}, {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, NEVER}},
    {"an elevated window in front: a click that moved the cursor, then a rest", 500, 200, 1,
     {{1010, 1601}, {1601, NEVER}}, {}, {1700}, {}, {}, 0, false, 0, {1601}, {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {},
     {0, NEVER}},
    // The hook saw the cursor arrive.
    {"arrival seen: Delay after it", 500, 200, 1, {{1010, NEVER}}, {}, {1210}, {}, {}, 0, false, 0, {}, {}, NOWHERE,
     false, Moves(1010, 1, 0, IN_ZONE)},
    {"arrival seen, taken 300 ms late: at once", 500, 200, 1, {{1010, NEVER}}, {}, {1310}, {}, {}, 0, false, 0, {},
     {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE), MOVE_ZONE_LT, MOVE_PUSH_EDGES, 300},
    {"arrival seen, Interval 2000", 2000, 200, 1, {{1010, NEVER}}, {}, {1210}, {}, {}, 0, false, 0, {}, {}, NOWHERE,
     false, Moves(1010, 1, 0, IN_ZONE)},
    {"arrival seen, a click just before it", 500, 200, 1, {{1010, NEVER}}, {{1005, DOWN}, {1007, UP}}, {1210}, {},
     {}, 0, false, 0, {}, {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE)},
    {"arrival seen, a click after it", 500, 200, 1, {{1010, NEVER}}, {{1100, DOWN}, {1102, UP}}, {}, {}, {}, 0,
     false, 1, {}, {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE)},
    {"arrival seen, a drag held through it", 500, 200, 1, {{1010, NEVER}}, {{700, DOWN}, {2300, UP}}, {},
     {700, 2300}, {}, 0, false, 1, {}, {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE)},
    {"out and back in between two ticks: a new visit", 500, 200, 1, {{1010, 1100}, {1300, NEVER}}, {}, {1500}, {},
     {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1010, 1, 0, IN_ZONE) + Moves(1100, 1, 0, OUTSIDE) + Moves(1300, 1, 0, IN_ZONE)},
    // Pushes against the left edge of a strip (Push bit 0) and into a corner (bit 1), PushDistance 150.
    {"push of 20 px a move: 15 counted, the tenth answers", 500, 200, 1, {}, {}, {1190}, {}, {}, 0, false, 0, {},
     {}, NOWHERE, false, Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"a parked cursor on the edge: none", 500, 200, 1, {}, {}, {}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 1, 0, LEFT_EDGE), LEFT_STRIP},
    {"a slide along the edge: none", 500, 200, 1, {}, {}, {}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 40, 10, {-5, 100}, {0, 8}), LEFT_STRIP},
    {"push older than a second falls away", 500, 200, 1, {}, {}, {}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 5, 10, PAST_LEFT_EDGE) + Moves(2100, 5, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push within a second", 500, 200, 1, {}, {}, {2090}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 5, 10, PAST_LEFT_EDGE) + Moves(2050, 5, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push with a click since reaching the edge", 500, 200, 1, {}, {{1120, DOWN}, {1122, UP}}, {}, {}, {}, 0, false,
     0, {}, {}, NOWHERE, false, Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push right after a click the hook saw", 500, 200, 1, {}, {{1090, DOWN}, {1092, UP}}, {1190}, {}, {}, 0, false,
     0, {}, {}, NOWHERE, false, Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push with a click since, ClickGuard 0", 500, 200, 0, {}, {{1120, DOWN}, {1122, UP}}, {1190}, {}, {}, 0, false,
     0, {}, {}, NOWHERE, false, Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push in the cool-down", 500, 200, 1, {}, {}, {}, {}, {}, 1000, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"push with Velkora in front", 500, 200, 1, {}, {}, {}, {}, {0, NEVER}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP},
    {"one answer per push, armed again once the cursor left the strip", 500, 200, 1, {}, {}, {1190, 3190}, {}, {},
     0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 30, 10, PAST_LEFT_EDGE) + Moves(2900, 1, 0, MIDDLE) + Moves(3100, 12, 10, PAST_LEFT_EDGE),
     LEFT_STRIP},
    {"Push 0: the strip takes no push", 500, 200, 1, {}, {}, {}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP, 0},
    {"a corner pushed answers at once, and not the rest after", 500, 200, 1, {{1010, NEVER}}, {}, {1100}, {}, {},
     0, false, 0, {}, {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE) + Moves(1010, 10, 10, {-20, 3}, {0, 0}, IN_ZONE), MOVE_ZONE_LT,
     CORNER_PUSHED},
    {"a corner pushed over its top edge", 500, 200, 1, {{1010, NEVER}}, {}, {1100}, {}, {}, 0, false, 0, {}, {},
     NOWHERE, false, Moves(1010, 1, 0, IN_ZONE) + Moves(1010, 10, 10, {3, -20}, {0, 0}, IN_ZONE), MOVE_ZONE_LT, CORNER_PUSHED},
    {"a corner without its push bit answers the rest", 500, 200, 1, {{1010, NEVER}}, {}, {1210}, {}, {}, 0, false,
     0, {}, {}, NOWHERE, false, Moves(1010, 1, 0, IN_ZONE) + Moves(1010, 10, 10, {-20, 3}, {0, 0}, IN_ZONE), MOVE_ZONE_LT},
    // Keys chosen in Modifier.
    {"Ctrl chosen and held when the wait ends", 500, 200, 1, {{1010, NEVER}}, {}, {1700}, {}, {}, 0, false, 0, {},
     {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, 0}, CTRL, {1500, NEVER}},
    {"Ctrl chosen, pressed after the wait: spent", 500, 200, 1, {{1010, NEVER}}, {}, {}, {}, {}, 0, false, 0, {},
     {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, 0}, CTRL, {1800, NEVER}},
    {"Ctrl and Alt chosen, Ctrl alone held", 500, 200, 1, {{1010, NEVER}}, {}, {}, {}, {}, 0, false, 0, {}, {},
     {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, 0}, CTRL | MODIFIER_ALT, {0, NEVER}},
    {"Ctrl and a bit that chooses no key", 500, 200, 1, {{1010, NEVER}}, {}, {1700}, {}, {}, 0, false, 0, {}, {},
     {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, 0}, CTRL | 0x100, {0, NEVER}},
    {"Ctrl chosen: a push without it is spent", 500, 200, 1, {}, {}, {}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP, MOVE_PUSH_EDGES, 0, 0, {}, NOWHERE, CTRL, NOWHERE},
    {"Ctrl chosen: a push with it held", 500, 200, 1, {}, {}, {1190}, {}, {}, 0, false, 0, {}, {}, NOWHERE, false,
     Moves(1100, 12, 10, PAST_LEFT_EDGE), LEFT_STRIP, MOVE_PUSH_EDGES, 0, 0, {}, NOWHERE, CTRL, {1000, NEVER}},
    {"ClickGuard 0, Ctrl chosen, pressed after the check: spent", 500, 200, 0, {{1010, NEVER}}, {}, {}, {}, {}, 0,
     false, 0, {}, {}, {0, 0}, false, {}, MOVE_ZONE_LT, MOVE_PUSH_EDGES, 0, 0, {}, {0, 0}, CTRL, {1600, NEVER}},
};

TEST_F(TimerTickTest, ZoneStories) {
    for (const ZoneStory &story : ZONE_STORIES) {
        SetUp();
        cfg.general.interval = story.interval;
        cfg.move.delay = story.delay;
        cfg.move.click_guard = story.click_guard;
        cfg.move.onmove = story.onmove;
        cfg.move.onmove_others = story.onmove_others;
        cfg.move.push = story.push;
        cfg.move.modifier = story.modifier;
        g_last_activation_tick = story.last_activation;
        host = FakeTickHost();
        host.held_back = story.held_back;
        std::vector<uint32_t> activations;
        uint32_t wake_at = NEVER;
        int spent_by_button = 0;
        host.known = !story.unknown;
        Point32 last_pt = OUTSIDE;
        for (uint32_t t = 0; t < 6000; ++t) {
            for (const auto &event : story.queued)
                if (event.first == t) {
                    host.pressed |= event.second == DOWN;
                    host.last_input = t;
                    NoteQueueTaken(++g_hook_buttons);
                    NoteQueuedButton(event.second);
                }
            for (uint32_t press : story.unseen)
                if (press == t) {
                    host.pressed = true;
                    host.last_input = t;
                }
            for (uint32_t click : story.during_ask)
                host.hook_counts_during_ask |= click == t;
            host.elevated = story.elevated.Holds(t);
            const bool ticks = t >= 1000 && (t - 1000) % story.interval == 0;
            if (ticks || t == wake_at)
                NoteQueueTaken(g_hook_buttons);
            for (uint32_t press : story.after_drain)
                if (press == t) {
                    host.pressed = true;
                    ++g_hook_buttons;
                }
            g_hook_watch.blind = story.blind.Holds(t) || host.elevated;
            g_hook_watch.withheld = host.elevated;
            host.button_down = story.held.Holds(t);
            host.has_focus = story.focused.Holds(t);
            host.keys = story.ctrl.Holds(t) ? CTRL : 0;
            bool inside = false;
            for (const Span &span : story.inside)
                inside |= span.Holds(t);
            Point32 pt = inside ? IN_ZONE : OUTSIDE;
            if (inside && story.inside.size() > 1 && story.inside[1].Holds(t))
                pt.x += 1;   // a second span inside is a move within the zone
            if (pt.x != last_pt.x || pt.y != last_pt.y)
                host.last_input = t;
            last_pt = host.cursor = pt;
            const int sent = host.sent;
            host.lines.clear();
            for (const ZoneMove &move : story.moves)
                if (move.seen + story.drain_lag == t)
                    RunZoneMove(move, t, &SCREEN, 1, cfg, host);
            if (ticks)
                RunTimerTick(t, pt, pt, cfg, host);
            else if (host.sampling && t % VISIT_SAMPLE_MS == 0)
                RunButtonSample(host);
            if (host.wake_in) {
                wake_at = t + host.wake_in;
                host.wake_in = 0;
            }
            if (t == wake_at)
                RunVisitWake(t, pt, cfg, host);
            if (host.sent != sent)
                activations.push_back(t);
            for (const std::string &line : host.lines)
                spent_by_button += line == "a mouse button was down: the zone waits for the cursor to leave";
        }
        EXPECT_EQ(activations, story.activations) << story.name;
        EXPECT_EQ(spent_by_button, story.spent_by_button) << story.name;
    }
}

class HookWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_hook_watch = {};
        WatchNewHook();
    }
    // One interval: the hook sees an event or not, input comes or not, then the tick looks, with
    // a window in front whose input the hook can see or not.
    HookVerdict Interval(uint32_t now, Point32 cursor, bool hook_saw_event, bool input = true, bool conclusive = true) {
        if (hook_saw_event)
            g_hook_saw_event = true;
        if (input)
            ++last_input_;
        return JudgeHook(now, cursor, last_input_, true, conclusive);
    }
    // A probe at `now`, the hook seeing it or not by the next tick 50 ms later.
    HookVerdict Probed(uint32_t now, Point32 cursor, bool probe_seen) {
        EXPECT_EQ(Interval(now, cursor, false), HOOK_PROBE);
        return Interval(now + 50, cursor, probe_seen);
    }
    uint32_t last_input_ = 100;
};

TEST_F(HookWatchTest, OnlyACursorMovedWithoutAnEventMeansALostHook) {
    EXPECT_EQ(Interval(1000, {10, 10}, false), HOOK_WELL);          // the first tick only takes the position
    EXPECT_EQ(Interval(1050, {20, 10}, true), HOOK_WELL);           // moved, and the hook saw it
    EXPECT_EQ(Interval(1100, {20, 10}, false), HOOK_WELL);          // keyboard only: nothing moved, nothing seen
    EXPECT_EQ(Interval(1150, {20, 10}, true), HOOK_WELL);           // a button or the wheel without moving
    EXPECT_EQ(Interval(1200, {30, 10}, false, false), HOOK_WELL);   // SetCursorPos on Windows: no input
    EXPECT_FALSE(g_hook_watch.blind);
    EXPECT_EQ(Interval(1250, {20, 11}, false), HOOK_PROBE);         // moved by input, unseen: asked
    EXPECT_TRUE(g_hook_watch.blind);
    EXPECT_FALSE(g_hook_saw_event);
    EXPECT_EQ(Interval(1300, {20, 11}, false, false), HOOK_LOST);   // the probe went unseen
    EXPECT_TRUE(g_hook_watch.blind);
    EXPECT_EQ(g_hook_watch.lost_severity, 3);
}

// SetCursorPos under Wine, or with keyboard input on Windows: the live hook sees each probe, and
// probes come at most once per five seconds.
TEST_F(HookWatchTest, AProgramMovingTheCursorCostsAProbePerFiveSecondsAndNoReinstall) {
    Interval(1000, {0, 0}, false);
    int probes = 0;
    int32_t x = 0;
    for (uint32_t now = 1050; now < 1000 + 12000; now += 50) {
        HookVerdict verdict = Interval(now, {x ^= 1, 0}, false);
        EXPECT_NE(verdict, HOOK_LOST);
        if (verdict == HOOK_PROBE) {
            ++probes;
            g_hook_saw_event = true;   // the probe
        }
    }
    EXPECT_EQ(probes, 3);   // at 1.05 s, 6.05 s and 11.05 s
}

TEST_F(HookWatchTest, AFreshHookIsJudgedFromItsSecondTick) {
    Interval(1000, {10, 10}, false);
    WatchNewHook();                                    // e.g. enabled again after the cursor moved
    EXPECT_EQ(Interval(9000, {500, 500}, false), HOOK_WELL);
    EXPECT_EQ(Interval(9050, {501, 500}, false), HOOK_PROBE);
}

TEST_F(HookWatchTest, ReinstallsBackOffDoublingUpToFiveMinutesAcrossTheTickWrap) {
    uint32_t now = 0xFFFFF000u;
    Interval(now, {0, 0}, false);
    std::vector<uint32_t> gaps;
    std::vector<int> severities;
    uint32_t last = 0;
    int32_t x = 0;
    for (int i = 0; i < 10; ++i) {   // a hook lost again as soon as it is put back
        HookVerdict verdict = HOOK_WELL;
        while (verdict != HOOK_LOST) {
            now += 50;
            verdict = Interval(now, {x ^= 1, 0}, false);
        }
        if (i > 0)
            gaps.push_back(now - last);
        severities.push_back(g_hook_watch.lost_severity);
        last = now;
        WatchNewHook();
    }
    EXPECT_EQ(gaps, (std::vector<uint32_t>{5050, 10050, 20050, 40050, 80050, 160050, 300050, 300050, 300050}));
    EXPECT_EQ(severities, (std::vector<int>{3, 7, 7, 7, 7, 7, 7, 7, 7, 7}));

    // Working for longer than twice the distance ends the run: the next loss is the first of one.
    now += 2 * HOOK_BACKOFF_MAX_MS;
    Interval(now, {0, 0}, true);
    EXPECT_EQ(Probed(now + 50, {1, 0}, false), HOOK_LOST);
    EXPECT_EQ(g_hook_watch.lost_severity, 3);
    WatchNewHook();
    Interval(now + 200, {1, 0}, true);
    EXPECT_EQ(Interval(now + 250, {2, 0}, false), HOOK_WELL);   // within 5 s of the re-install
}

// An elevated window in front, the lock screen, an elevation prompt: the cursor moves by input the
// hook is never given. Minutes of it cost no probe and no re-install, and leave the back-off as it
// was; a probe sent just before, or one the system refused, gives no verdict. A hook lost
// meanwhile is found as soon as a window the hook can see is in front again.
TEST_F(HookWatchTest, InputTheHookCannotSeeGivesNoVerdict) {
    int32_t x = 0;
    Interval(1000, {0, 0}, false);
    EXPECT_EQ(Interval(1050, {x ^= 1, 0}, false), HOOK_PROBE);
    for (uint32_t now = 1100; now < 1100 + 600000; now += 50) {
        ASSERT_EQ(Interval(now, {x ^= 1, 0}, false, true, false), HOOK_WELL) << now;
        ASSERT_TRUE(g_hook_watch.blind);
        ASSERT_TRUE(g_hook_watch.withheld);   // the system's buttons read up there
    }
    EXPECT_FALSE(g_hook_watch.has_reinstalled);
    EXPECT_EQ(g_hook_watch.spacing, 0u);

    // Back on a window it can see: the first tick takes the cursor afresh, the hook is live.
    uint32_t now = 1100 + 600000;
    EXPECT_EQ(Interval(now, {x ^= 1, 0}, false), HOOK_WELL);
    EXPECT_FALSE(g_hook_watch.withheld);
    EXPECT_EQ(Probed(now + 50, {x ^= 1, 0}, true), HOOK_WELL);

    // A probe that SendInput refused, 5 s later: no verdict at the next tick.
    now += 5100;
    EXPECT_EQ(Interval(now, {x ^= 1, 0}, false), HOOK_PROBE);
    WatchProbeRefused();
    EXPECT_EQ(Interval(now + 50, {x ^= 1, 0}, false), HOOK_WELL);

    // Lost for real: found at the first probe the distance allows, logged as the first of a run.
    now += 5000;
    EXPECT_EQ(Probed(now, {x ^= 1, 0}, false), HOOK_LOST);
    EXPECT_EQ(g_hook_watch.lost_severity, 3);
}

TEST_F(HookWatchTest, ARefusedHookIsTriedAgainEveryFiveSeconds) {
    WatchFailedInstall(0xFFFFF000u);
    EXPECT_EQ(JudgeHook(0xFFFFF000u + HOOK_INSTALL_RETRY_MS - 1, {0, 0}, 0, false, false), HOOK_WELL);
    EXPECT_EQ(JudgeHook(0xFFFFF000u + HOOK_INSTALL_RETRY_MS, {0, 0}, 0, false, false), HOOK_INSTALL_AGAIN);
    EXPECT_EQ(JudgeHook(0xFFFFF000u + HOOK_INSTALL_RETRY_MS + 50, {0, 0}, 0, false, false), HOOK_WELL);
    EXPECT_EQ(JudgeHook(0xFFFFF000u + 2 * HOOK_INSTALL_RETRY_MS, {0, 0}, 0, false, false), HOOK_INSTALL_AGAIN);
}

// The hook thread's events reach the engine's thread in order, with one wake for each time the
// reader has taken the last; a full ring drops and counts.
TEST(HookQueueTest, InOrderOneWakePerBatchAndAFullRingDrops) {
    static HookQueue queue;   // a fresh ring, not the plug-in's
    HookEvent ev = {};
    int wakes = 0;
    for (uint32_t i = 0; i < HOOK_QUEUE_SIZE + 5; ++i) {
        ev.now = i;
        EXPECT_EQ(queue.Push(ev), i < HOOK_QUEUE_SIZE) << i;
        wakes += queue.NeedsWake();
    }
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(queue.TakeDropped(), 5u);
    EXPECT_EQ(queue.TakeDropped(), 0u);
    queue.TakeWake();
    HookEvent out;
    for (uint32_t i = 0; i < HOOK_QUEUE_SIZE; ++i) {
        ASSERT_TRUE(queue.Pop(out));
        EXPECT_EQ(out.now, i);
    }
    EXPECT_FALSE(queue.Pop(out));
    ev.now = 1000;
    EXPECT_TRUE(queue.Push(ev));   // room again, past the wrap of the ring
    EXPECT_TRUE(queue.NeedsWake());
    EXPECT_FALSE(queue.NeedsWake());
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.now, 1000u);
}

}  // namespace

namespace {

// The hook's look at each move, on monitor 1 and a shorter monitor 2 on its right, W = H = 10:
// a move is queued when it enters or leaves a zone, and every one beyond the monitors while a zone
// answers a push; otherwise once, where it gets there.
struct HookMoveRow {
    const char *what;
    uint32_t onmove, push;
    Point32 pt;
    bool queued;
};

const HookMoveRow HOOK_MOVE_ROWS[] = {
    {"the first move", 0xFFFF, 1, {600, 500}, true},
    {"in no zone again", 0xFFFF, 1, {601, 500}, false},
    {"into the left strip", 0xFFFF, 1, {5, 500}, true},
    {"in the same strip", 0xFFFF, 1, {6, 501}, false},
    {"beyond the left edge", 0xFFFF, 1, {-3, 500}, true},
    {"beyond it again", 0xFFFF, 1, {-5, 500}, true},
    {"back in the middle", 0xFFFF, 1, {600, 500}, true},
    {"right strip of 1 at the border: on monitor 2", 0xFFFF, 1, {1280, 500}, true},
    {"below the shorter monitor 2", 0xFFFF, 1, {1500, 900}, true},
    {"below it again", 0xFFFF, 1, {1501, 901}, true},
    {"top-left corner, no push", MOVE_ZONE_LT, 0, {2, 2}, true},
    {"beyond its edge, no push: once", MOVE_ZONE_LT, 0, {-4, 2}, true},
    {"beyond it again, no push", MOVE_ZONE_LT, 0, {-6, 2}, false},
    {"no zone on: once, after the change", 0, 1, {-6, 2}, true},
    {"no zone on: nothing beyond", 0, 1, {-9, 2}, false},
    {"no zone on: nothing in a corner", 0, 1, {2, 2}, false},
};

TEST(HookQueueTest, TheHookQueuesMovesIntoAndOutOfZonesAndPushes) {
    static HookZoneSnapshot zones;   // not the plug-in's
    const Rect32 monitors[] = {{0, 0, 1280, 1024}, {1280, 0, 2304, 768}};
    Settings cfg;
    ApplyDefaults(cfg);
    cfg.move.onmove = ~0u;
    HookMoves moves;
    Point32 last = {0, 0};
    for (const HookMoveRow &row : HOOK_MOVE_ROWS) {
        if (cfg.move.onmove != row.onmove || cfg.move.push != row.push) {   // the next move is queued
            cfg.move.onmove = row.onmove;
            cfg.move.push = row.push;
            zones.Publish(monitors, 2, cfg);
        }
        Point32 from;
        EXPECT_EQ(TakeMove(zones, moves, row.pt, from), row.queued) << row.what;
        EXPECT_EQ(from.x, last.x) << row.what;
        last = row.pt;
    }
    // A program moved the cursor: the tick asks for the next move, whatever it does.
    zones.Recheck();
    Point32 from;
    EXPECT_TRUE(TakeMove(zones, moves, {2, 3}, from));
    EXPECT_FALSE(TakeMove(zones, moves, {2, 4}, from));
}

}  // namespace
