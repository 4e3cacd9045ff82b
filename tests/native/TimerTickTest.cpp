#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/TimerTick.h"

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

    std::vector<std::string> lines;
    bool has_focus = false;
    bool held_back = false;
    int sent = 0;
};

const Point32 IN_ZONE = {3, 3}, OUTSIDE = {500, 500};

class TimerTickTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaults(cfg);
        cfg.general.interval = 50;
        cfg.move.delay = 20;
        ClearTimerEvent();
        g_last_in_zone = false;
        g_last_activation_tick = 0;
        g_left_button = g_middle_button = g_right_button = {};
    }
    std::vector<std::string> Tick(uint32_t now, Point32 pt) {
        host.lines.clear();
        RunTimerTick(now, pt, cfg, host);
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

TEST_F(TimerTickTest, DelayLongerThanTheIntervalNeedsAnEntryAfterTheLastYetTimeTick) {
    cfg.move.delay = 120;
    Tick(5000, OUTSIDE);                                   // arms
    EXPECT_EQ(Tick(5050, IN_ZONE).back(), "yet time");     // refreshes g_last_in_zone
    EXPECT_TRUE(g_last_in_zone);
    Tick(5100, IN_ZONE);
    Tick(5150, IN_ZONE);                                   // due: no new entry
    EXPECT_EQ(host.sent, 0);
    Tick(6000, OUTSIDE);
    Tick(6050, OUTSIDE);
    Tick(6100, OUTSIDE);
    Tick(6150, IN_ZONE);                                   // entered since the last yet-time tick
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
    Tick(5000, IN_ZONE);
    Tick(5010, IN_ZONE);   // yet time: inside
    HandleMouseEvent(MOUSE_MSG_LBUTTONDOWN, {3, 3}, 0, 5015, 5015, cfg);
    Tick(5600, IN_ZONE);   // the long press
    EXPECT_EQ(host.sent, 1);
    Tick(5650, IN_ZONE);   // arms the move again
    EXPECT_EQ(g_timer_event, TIMER_EVENT_MOVE);
    EXPECT_TRUE(g_last_in_zone);
}

class HookWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_hook_watch = {};
        WatchNewHook();
    }
    // One interval: the hook sees an event or not, then the tick looks at the cursor.
    bool Interval(uint32_t now, Point32 cursor, bool hook_saw_event) {
        if (hook_saw_event)
            g_hook_saw_event = true;
        return HasHookBeenLost(now, cursor);
    }
};

TEST_F(HookWatchTest, OnlyACursorMovedWithoutAnEventMeansALostHook) {
    EXPECT_FALSE(Interval(1000, {10, 10}, false));    // the first tick only takes the position
    EXPECT_FALSE(Interval(1050, {20, 10}, true));     // moved, and the hook saw it
    EXPECT_FALSE(Interval(1100, {20, 10}, false));    // keyboard only: nothing moved, nothing seen
    EXPECT_FALSE(Interval(1150, {20, 10}, true));     // a button or the wheel without moving
    EXPECT_TRUE(Interval(1200, {20, 11}, false));     // moved, unseen
    EXPECT_FALSE(g_hook_saw_event);
}

TEST_F(HookWatchTest, AFreshHookIsJudgedFromItsSecondTick) {
    Interval(1000, {10, 10}, false);
    WatchNewHook();                                    // e.g. enabled again after the cursor moved
    EXPECT_FALSE(Interval(9000, {500, 500}, false));
    EXPECT_TRUE(Interval(9050, {501, 500}, false));
}

TEST_F(HookWatchTest, AtMostOneReinstallPerFiveSecondsAcrossTheTickWrap) {
    Interval(0xFFFFF000u, {0, 0}, false);
    EXPECT_TRUE(Interval(0xFFFFF100u, {1, 0}, false));
    WatchNewHook();
    Interval(0xFFFFF200u, {1, 0}, false);
    EXPECT_FALSE(Interval(0xFFFFF300u, {2, 0}, false));
    EXPECT_FALSE(Interval(0xFFFFF100u + HOOK_REINSTALL_SPACING_MS - 1, {3, 0}, false));   // past the wrap
    EXPECT_TRUE(Interval(0xFFFFF100u + HOOK_REINSTALL_SPACING_MS, {4, 0}, false));
}

}  // namespace
