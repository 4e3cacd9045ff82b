#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

#include "engine/Gestures.h"

namespace {

const uint32_t NOTCH_UP = 0x00780000, NOTCH_DOWN = 0xFF880000;

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaults(cfg);
        g_wheel = {};
        g_left_button = g_middle_button = g_right_button = {};
        ClearTimerEvent();
    }
    bool Wheel(uint32_t data, uint32_t now) { return HandleMouseEvent(MOUSE_MSG_WHEEL, {5, 5}, data, now, now, cfg); }
    bool Button(uint32_t msg, uint32_t time, Point32 pt = {100, 100}) {
        return HandleMouseEvent(msg, pt, 0, time, time, cfg);
    }
    // down, up, down, up of the middle button at the given times; true if any completed.
    int MiddleClicks(std::initializer_list<uint32_t> times, Point32 pt = {100, 100}) {
        int recognised = 0;
        bool down = true;
        for (uint32_t t : times) {
            recognised += Button(down ? MOUSE_MSG_MBUTTONDOWN : MOUSE_MSG_MBUTTONUP, t, pt);
            down = !down;
        }
        return recognised;
    }
    Settings cfg;
};

TEST_F(GestureTest, FourAlternatingNotchesActivateOnTheFourth) {
    EXPECT_FALSE(Wheel(NOTCH_UP, 1000));
    EXPECT_FALSE(Wheel(NOTCH_DOWN, 1100));
    EXPECT_FALSE(Wheel(NOTCH_UP, 1200));
    EXPECT_TRUE(Wheel(NOTCH_DOWN, 1300));
    EXPECT_EQ(g_wheel.up_count, 0);
    EXPECT_EQ(g_wheel.last_delta, 0xFF88);
}

TEST_F(GestureTest, WheelStartingBackwardAndRepeatedNotchesCountOnce) {
    EXPECT_FALSE(Wheel(NOTCH_DOWN, 100));
    EXPECT_FALSE(Wheel(NOTCH_UP, 200));
    EXPECT_FALSE(Wheel(NOTCH_UP, 300));   // same direction: no new step
    EXPECT_EQ(g_wheel.up_count, 1);
    EXPECT_FALSE(Wheel(NOTCH_DOWN, 400));
    EXPECT_TRUE(Wheel(NOTCH_UP, 500));
}

TEST_F(GestureTest, FourNotchesOneWayReachTheAllowanceAndStartOver) {
    for (uint32_t t = 0; t < 3; ++t)
        EXPECT_FALSE(Wheel(NOTCH_UP, 10 + t));
    EXPECT_EQ(g_wheel.delta_sum, 360);
    EXPECT_FALSE(Wheel(NOTCH_UP, 20));
    EXPECT_EQ(g_wheel.delta_sum, 0);
    EXPECT_EQ(g_wheel.last_delta, 120);
    EXPECT_EQ(g_wheel.last_tick, 0u);   // the next notch meets the time-out and starts afresh
}

TEST_F(GestureTest, PauseLongerThanTimeoutRestartsAtTheLateNotch) {
    Wheel(NOTCH_UP, 1000);
    Wheel(NOTCH_DOWN, 1100);
    EXPECT_FALSE(Wheel(NOTCH_UP, 1601));   // 501 ms later
    EXPECT_EQ(g_wheel.up_count, 1);
    EXPECT_EQ(g_wheel.down_count, 0);
}

TEST_F(GestureTest, WheelTimeoutHoldsAcrossTheTickWrap) {
    Wheel(NOTCH_UP, 0xFFFFFF00u);
    Wheel(NOTCH_DOWN, 0xFFFFFF80u);
    Wheel(NOTCH_UP, 0x00000010u);
    EXPECT_TRUE(Wheel(NOTCH_DOWN, 0x00000090u));
}

TEST_F(GestureTest, WheelSettingsAtTheirExtremes) {
    cfg.wheel.up = cfg.wheel.down = 0;
    EXPECT_TRUE(Wheel(NOTCH_UP, 5));   // every event completes
    cfg.wheel.up = cfg.wheel.down = 2;
    cfg.wheel.allowance = 1;
    for (uint32_t t = 0; t < 8; ++t)
        EXPECT_FALSE(Wheel(t % 2 ? NOTCH_UP : NOTCH_DOWN, 100 + 100 * t));
    // Allowance x 120 wraps as 32-bit instead of overflowing.
    cfg.wheel.allowance = INT_MAX;
    g_wheel = {};
    EXPECT_FALSE(Wheel(NOTCH_UP, 1000));
    cfg.wheel.allowance = INT_MIN;
    EXPECT_FALSE(Wheel(NOTCH_DOWN, 1100));
}

// Some 4.3e9 alternating notches with a huge Allowance and no time-out bring a count to the top.
TEST_F(GestureTest, StepCountsStopAtTheTopAndStillComplete) {
    cfg.wheel.up = INT_MAX;
    cfg.wheel.down = 2;
    cfg.wheel.allowance = 1000;
    cfg.wheel.timeout = UINT32_MAX;
    g_wheel = {};
    g_wheel.up_count = INT_MAX - 1;
    g_wheel.last_delta = static_cast<uint16_t>(-120);
    EXPECT_FALSE(Wheel(NOTCH_UP, 100));
    EXPECT_FALSE(Wheel(NOTCH_DOWN, 200));
    EXPECT_FALSE(Wheel(NOTCH_UP, 300));
    EXPECT_EQ(g_wheel.up_count, INT_MAX);
    EXPECT_TRUE(Wheel(NOTCH_DOWN, 400));
}

TEST_F(GestureTest, FineWheelDeltaCountsNoStepButMovesTheSum) {
    EXPECT_FALSE(Wheel(0x00280000, 10));   // +40
    EXPECT_EQ(g_wheel.delta_sum, 40);
    EXPECT_EQ(g_wheel.up_count + g_wheel.down_count, 0);
    EXPECT_EQ(g_wheel.last_delta, 40);
}

TEST_F(GestureTest, WheelOffOrOtherMessagesChangeNothing) {
    cfg.wheel.onwheel = WHEEL_COUNT_FINE;   // without bit 0 the gesture is off
    EXPECT_FALSE(Wheel(NOTCH_UP, 10));
    EXPECT_EQ(g_wheel.last_tick, 0u);
    cfg.wheel.onwheel = 1;
    cfg.click.onclick = 0x77;
    EXPECT_FALSE(IsQueuedMessage(0x200) || IsQueuedMessage(0x20E));   // queued: the extra buttons, for the zones
    EXPECT_TRUE(IsQueuedMessage(MOUSE_MSG_WHEEL) && IsQueuedMessage(MOUSE_MSG_MBUTTONUP) && IsQueuedMessage(0x20B));
    EXPECT_FALSE(HandleMouseEvent(0x200, {1, 1}, 0, 5, 5, cfg));           // move
    EXPECT_FALSE(HandleMouseEvent(0x20E, {1, 1}, NOTCH_UP, 5, 5, cfg));    // horizontal wheel
    EXPECT_FALSE(HandleMouseEvent(0x20B, {1, 1}, 0x10000, 5, 5, cfg));     // extra button
    EXPECT_EQ(g_wheel.last_tick, 0u);
    EXPECT_FALSE(g_left_button.dblclick.active);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_NONE);
}

// The wheel's delta in the high word of the event's mouse data.
uint32_t Delta(int delta) { return static_cast<uint32_t>(delta) << 16; }

struct WheelEvent {
    int delta;
    uint32_t now;
};

// The events in turn; for each, whether it completed a jiggle.
std::vector<bool> WheelResults(const Settings &cfg, const std::vector<WheelEvent> &events) {
    std::vector<bool> results;
    for (const WheelEvent &e : events)
        results.push_back(HandleMouseEvent(MOUSE_MSG_WHEEL, {5, 5}, Delta(e.delta), e.now, e.now, cfg));
    return results;
}

// Three steps of 40 make a notch: a jiggle of two notches each way.
TEST_F(GestureTest, FineJiggleActivatesOnlyWhenFineScrollingCounts) {
    const int STEPS[] = {40, 40, 40, -40, -40, -40, 40, 40, 40, -40, -40, -40};
    for (int32_t onwheel : {1, 3}) {
        cfg.wheel.onwheel = onwheel;
        g_wheel = {};
        int activations = 0;
        for (uint32_t i = 0; i < 12; ++i) {
            const bool recognised = Wheel(Delta(STEPS[i]), 1000 + 40 * i);
            EXPECT_EQ(recognised, onwheel == 3 && i == 11) << onwheel << " " << i;
            activations += recognised;
        }
        EXPECT_EQ(activations, onwheel == 3 ? 1 : 0);
    }
}

TEST_F(GestureTest, FineScrollOneWayOrBackAndForthWithinANotchNeverActivates) {
    cfg.wheel.onwheel = 3;
    uint32_t t = 1000;
    for (int i = 0; i < 200; ++i)
        EXPECT_FALSE(Wheel(Delta(30), t += 10));
    g_wheel = {};
    for (int i = 0; i < 200; ++i)
        EXPECT_FALSE(Wheel(Delta(i % 2 ? -30 : 30), t += 40));
    // A change of direction starts the sum afresh: 100 up after 30 down is short of a notch.
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(Wheel(Delta(i % 2 ? 100 : -30), t += 40));
    EXPECT_EQ(g_wheel.up_count + g_wheel.down_count, 0);
}

TEST_F(GestureTest, FineSumIsForgottenAfterAPauseLongerThanTimeout) {
    cfg.wheel.onwheel = 3;
    Wheel(Delta(80), 1000);
    Wheel(Delta(80), 1501);   // 501 ms later: 80, no notch
    EXPECT_EQ(g_wheel.up_count, 0);
    EXPECT_EQ(g_wheel.fine_sum, 80);
    Wheel(Delta(80), 2001);   // 500 ms later: 160, a notch and 40 over
    EXPECT_EQ(g_wheel.up_count, 1);
    EXPECT_EQ(g_wheel.fine_sum, 40);
}

// With fine scrolling counted, a delta of 120 is one notch as before, and one of 240 is two
// notches of the same moment, through activations and a runaway sum alike.
TEST_F(GestureTest, WholeNotchesCountAsWhenOnlyNotchesCount) {
    const std::vector<WheelEvent> NOTCHES = {{120, 100}, {-120, 200}, {120, 300}, {-120, 400}, {120, 500},
                                             {120, 600}, {120, 700}, {-120, 800}, {120, 1400}};
    const std::vector<WheelEvent> DOUBLE_NOTCHES = {{240, 1500}, {240, 1600}, {-240, 1700}, {240, 1800},
                                                    {-240, 1900}, {240, 2000}, {-240, 2100}, {240, 2200},
                                                    {-240, 2300}};
    std::vector<WheelEvent> halves;
    for (const WheelEvent &e : DOUBLE_NOTCHES)
        halves.insert(halves.end(), 2, {e.delta / 2, e.now});
    std::vector<bool> notched = WheelResults(cfg, NOTCHES);
    const std::vector<bool> of_halves = WheelResults(cfg, halves);
    for (size_t i = 0; i < of_halves.size(); i += 2)
        notched.push_back(of_halves[i] || of_halves[i + 1]);
    const WheelState after_notched = g_wheel;

    g_wheel = {};
    cfg.wheel.onwheel = 3;
    std::vector<bool> fine = WheelResults(cfg, NOTCHES);
    const std::vector<bool> of_doubles = WheelResults(cfg, DOUBLE_NOTCHES);
    fine.insert(fine.end(), of_doubles.begin(), of_doubles.end());
    EXPECT_EQ(fine, notched);
    EXPECT_EQ(std::count(notched.begin(), notched.end(), true), 3);
    auto fields = [](const WheelState &w) {
        return std::make_tuple(w.last_tick, w.last_delta, w.delta_sum, w.up_count, w.down_count, w.fine_sum);
    };
    EXPECT_EQ(fields(g_wheel), fields(after_notched));
}

// Eight rounds of `steps` events of `delta` each way from 1000 on, `apart` ms apart, each turn
// `turn` ms after the event before it.
std::vector<WheelEvent> Rounds(int delta, int steps, uint32_t apart, uint32_t turn) {
    std::vector<WheelEvent> events;
    uint32_t now = 1000 - turn;
    for (int round = 0; round < 8; ++round, delta = -delta)
        for (int i = 0; i < steps; ++i)
            events.push_back({delta, now += i ? apart : turn});
    return events;
}

// A turn of the wheel less than BounceGuard ms after the last wheel event that was no chatter, by
// the events' own time stamps, is chatter and counts for nothing; four notches a hand's pace apart
// still jiggle. A turn is measured from the last event that counted, not from the chatter before
// it, so a quick hand's turns and a touchpad's (a report every 8 ms) count from the guard on.
TEST_F(GestureTest, ChatterIsNoStep) {
    const uint32_t WRAP = 0xFFFFFFF0u;
    const struct {
        const char *what;
        int32_t guard, onwheel;
        std::vector<WheelEvent> events;
        int calls;
    } CASES[] = {
        {"in one clock step", 30, 1, {{120, 1000}, {-120, 1000}, {120, 1000}, {-120, 1000}}, 0},
        {"a clock step apart", 30, 1, {{120, 1000}, {-120, 1016}, {120, 1032}, {-120, 1048}}, 0},
        {"two clock steps apart", 30, 1, {{120, 1000}, {-120, 1031}, {120, 1062}, {-120, 1093}}, 1},
        {"exactly the guard apart", 30, 1, {{120, 1000}, {-120, 1030}, {120, 1060}, {-120, 1090}}, 1},
        {"a ms short of the guard", 30, 1, {{120, 1000}, {-120, 1030}, {120, 1059}, {-120, 1090}}, 0},
        {"without a guard", 0, 1, {{120, 1000}, {-120, 1000}, {120, 1000}, {-120, 1000}}, 1},
        {"across the wrap", 30, 1, {{120, WRAP}, {-120, WRAP + 16}, {120, WRAP + 32}, {-120, WRAP + 48}}, 0},
        {"a hand across the wrap", 30, 1, {{120, WRAP}, {-120, WRAP + 40}, {120, WRAP + 80}, {-120, WRAP + 120}}, 1},
        {"bounces amid a jiggle", 30, 1,
         {{120, 1000}, {-120, 1000}, {120, 1000}, {-120, 1060}, {120, 1060}, {120, 1120}, {-120, 1180}}, 1},
        {"fine steps a clock step apart", 30, 3,
         {{60, 1000}, {60, 1008}, {-60, 1016}, {-60, 1024}, {60, 1032}, {60, 1040}, {-60, 1048}, {-60, 1056}}, 0},
        {"fine steps of a hand", 30, 3,
         {{60, 1000}, {60, 1008}, {-60, 1050}, {-60, 1058}, {60, 1100}, {60, 1108}, {-60, 1150}, {-60, 1158}}, 1},
        {"a turn 40 ms after the notch that counted, 20 after a chatter", 30, 1,
         {{120, 1000}, {-120, 1020}, {-120, 1040}, {120, 1100}, {-120, 1160}}, 1},
        {"a quick hand: three notches 20 ms apart, turns 20 ms later", 30, 1, Rounds(120, 3, 20, 20), 2},
        {"a touchpad: reports of 40 every 8 ms, turns 16 ms later", 30, 3, Rounds(40, 6, 8, 16), 2},
    };
    for (const auto &c : CASES) {
        SetUp();
        cfg.wheel.bounce_guard = c.guard;
        cfg.wheel.onwheel = c.onwheel;
        const std::vector<bool> results = WheelResults(cfg, c.events);
        EXPECT_EQ(std::count(results.begin(), results.end(), true), c.calls) << c.what;
    }
}

// The notch after a chatter is no turn, and the chatter is not in the sum.
TEST_F(GestureTest, ChatterLeavesStepsAndSumAsTheyWere) {
    WheelResults(cfg, {{120, 1000}, {-120, 1000}, {120, 1016}, {-120, 1047}});
    EXPECT_EQ(g_wheel.up_count, 1);
    EXPECT_EQ(g_wheel.down_count, 1);
    EXPECT_EQ(g_wheel.delta_sum, 120);
}

TEST_F(GestureTest, MiddleDoubleClickIsRecognisedOnTheSecondUp) {
    EXPECT_EQ(MiddleClicks({1000, 1050, 1100}), 0);
    EXPECT_TRUE(Button(MOUSE_MSG_MBUTTONUP, 1150));
    EXPECT_FALSE(g_middle_button.dblclick.active);
}

TEST_F(GestureTest, TripleClickOnceQuadrupleTwice) {
    EXPECT_EQ(MiddleClicks({10, 20, 30, 40, 50, 60}), 1);
    SetUp();
    EXPECT_EQ(MiddleClicks({10, 20, 30, 40, 50, 60, 70, 80}), 2);
}

TEST_F(GestureTest, GapsAreMeasuredBetweenSuccessiveEvents) {
    // Each gap within 200 ms although the whole takes 600 ms.
    EXPECT_EQ(MiddleClicks({0, 200, 400, 600}), 1);
    // A late second down starts again: up, down, up must follow.
    EXPECT_EQ(MiddleClicks({1000, 1050, 1251, 1300}), 0);
    EXPECT_EQ(MiddleClicks({1350, 1400}), 1);
}

// The gap is a difference of time stamps, so the window holds across the tick wrap, and a
// window of 2147483648 ms or more takes in every two events up to 24 days apart (4294967295,
// -1 in the file: every two).
TEST_F(GestureTest, DoubleClickWindowHoldsAcrossTheTickWrapAndAtItsExtremes) {
    const struct {
        uint32_t window;
        std::initializer_list<uint32_t> times;
        int recognised;
    } CASES[] = {
        {200, {0xFFFFFFF8u, 0xFFFFFFFFu, 4, 60}, 1},
        {2147483647u, {0x90000000u, 0x90000010u, 0x90000020u, 0x90000030u}, 1},
        {2147483647u, {0, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}, 1},
        {2147483647u, {0, 0x80000000u, 0, 0x80000000u}, 0},
        {2147483648u, {0x90000000u, 0x90000010u, 0x90000020u, 0x90000030u}, 1},
        {2147483648u, {0, 0x80000000u, 0, 0x80000000u}, 1},
        {4294967295u, {0xFFFFFFF0u, 0xFFFFFFF1u, 0xFFFFFFF2u, 0xFFFFFFF3u}, 1},
        {4294967295u, {5, 4, 3, 2}, 1},
    };
    for (const auto &c : CASES) {
        SetUp();
        cfg.click.msec_dblclick = c.window;
        EXPECT_EQ(MiddleClicks(c.times), c.recognised) << c.window << " from " << *c.times.begin();
    }
}

TEST_F(GestureTest, TravelAllowanceIsInclusive) {
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONDOWN, 10, {100, 100}));
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONUP, 20, {110, 90}));
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONDOWN, 30, {90, 110}));
    EXPECT_TRUE(Button(MOUSE_MSG_MBUTTONUP, 40, {110, 110}));
    // One pixel beyond restarts the sequence at that down.
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONDOWN, 100, {100, 100}));
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONUP, 110, {100, 100}));
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONDOWN, 120, {111, 100}));
    EXPECT_EQ(g_middle_button.dblclick.start_point.x, 111);
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONUP, 130, {111, 100}));
}

TEST_F(GestureTest, ExtremeAllowanceWrapsWithoutUndefinedBehaviour) {
    cfg.click.move_allowance = INT_MAX;
    EXPECT_EQ(MiddleClicks({10, 20, 30, 40}, {INT_MAX, INT_MIN}), 0);
    cfg.click.move_allowance = -1;   // nothing is ever inside
    EXPECT_EQ(MiddleClicks({100, 110, 120, 130}), 0);
}

TEST_F(GestureTest, StrayUpStartsNothingAndButtonsKeepTheirOwnRecords) {
    EXPECT_FALSE(Button(MOUSE_MSG_MBUTTONUP, 5));
    EXPECT_FALSE(g_middle_button.dblclick.active);
    cfg.click.onclick = CLICK_LEFT_DBLCLICK | CLICK_MIDDLE_DBLCLICK;
    Button(MOUSE_MSG_MBUTTONDOWN, 10);
    Button(MOUSE_MSG_LBUTTONDOWN, 15);
    Button(MOUSE_MSG_MBUTTONUP, 20);
    Button(MOUSE_MSG_MBUTTONDOWN, 30);
    EXPECT_TRUE(Button(MOUSE_MSG_MBUTTONUP, 40));
    EXPECT_TRUE(g_left_button.dblclick.active);

    // A run of stray ups inside the window holds its count at the top instead of wrapping.
    Button(MOUSE_MSG_MBUTTONDOWN, 1000);
    for (uint32_t t = 1001; t <= 1200; ++t)
        Button(MOUSE_MSG_MBUTTONUP, t);
    const bool on_down = Button(MOUSE_MSG_MBUTTONDOWN, 1201);
    EXPECT_TRUE(on_down || Button(MOUSE_MSG_MBUTTONUP, 1202));
}

TEST_F(GestureTest, LongPressArmsOnDownAndForgetsOnUp) {
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN;
    Button(MOUSE_MSG_LBUTTONDOWN, 5000, {40, 50});
    EXPECT_EQ(g_timer_event, TIMER_EVENT_BUTTONHOLDDOWN_LEFT);
    EXPECT_EQ(g_timer_event_start, 5000u);
    EXPECT_EQ(g_timer_event_delay, 500u);
    EXPECT_EQ(g_left_button.holddown.start_point.x, 40);
    Button(MOUSE_MSG_LBUTTONDOWN, 5100);   // a down while active does nothing
    EXPECT_EQ(g_timer_event_start, 5000u);
    Button(MOUSE_MSG_LBUTTONUP, 5200);
    EXPECT_FALSE(g_left_button.holddown.active);
    EXPECT_EQ(g_left_button.holddown.start_point.x, -1);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_BUTTONHOLDDOWN_LEFT);   // stays pending
}

TEST_F(GestureTest, SecondLongPressReplacesThePendingOne) {
    cfg.click.onclick = CLICK_LEFT_HOLDDOWN | CLICK_RIGHT_HOLDDOWN;
    Button(MOUSE_MSG_LBUTTONDOWN, 10);
    Button(MOUSE_MSG_RBUTTONDOWN, 20);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_BUTTONHOLDDOWN_RIGHT);
    EXPECT_EQ(g_timer_event_start, 20u);
}

TEST_F(GestureTest, DoubleClickAndLongPressRunOnTheSameEvents) {
    cfg.click.onclick = CLICK_RIGHT_DBLCLICK | CLICK_RIGHT_HOLDDOWN;
    Button(MOUSE_MSG_RBUTTONDOWN, 10);
    EXPECT_EQ(g_timer_event, TIMER_EVENT_BUTTONHOLDDOWN_RIGHT);
    Button(MOUSE_MSG_RBUTTONUP, 20);
    Button(MOUSE_MSG_RBUTTONDOWN, 30);
    EXPECT_EQ(g_timer_event_start, 30u);
    EXPECT_TRUE(Button(MOUSE_MSG_RBUTTONUP, 40));
    EXPECT_FALSE(g_right_button.holddown.active);
}

}  // namespace
