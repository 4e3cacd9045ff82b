#include "engine/Gestures.h"

#include <limits>

WheelState g_wheel;
ButtonState g_left_button, g_middle_button, g_right_button;
int32_t g_timer_event;
uint32_t g_timer_event_start;
uint32_t g_timer_event_delay;
uint32_t g_last_activation_tick;
std::atomic<bool> g_hook_saw_event;
std::atomic<uint32_t> g_hook_buttons;

// A huge Allowance with no time-out lets a wheel direction count past any 32-bit number, and
// a run of stray button-ups past any 8-bit one; a count held at the top still meets every
// threshold that a larger one would.
template <typename Count>
static void CountStep(Count &count) {
    if (count < std::numeric_limits<Count>::max())
        ++count;
}

void ResetPressSequence(PressSequence &seq) {
    seq.active = false;
    seq.msg = 0;
    seq.start_point = {-1, -1};
    seq.up_count = 0;
    seq.down_count = 0;
}

bool IsWithinAllowance(Point32 pt, Point32 centre, int32_t allowance) {
    return pt.x >= WrapSub(centre.x, allowance) && pt.x <= WrapAdd(centre.x, allowance) &&
           pt.y >= WrapSub(centre.y, allowance) && pt.y <= WrapAdd(centre.y, allowance);
}

bool DetectDoubleClick(ButtonState &button, uint32_t msg, uint32_t down_msg, uint32_t up_msg,
                       Point32 pt, uint32_t time, uint32_t window_ms, int32_t allowance) {
    PressSequence &seq = button.dblclick;
    // The gap as a difference: it holds across the tick wrap, and a huge window is as generous
    // as it reads: 2147483648 ms takes in every two events up to 24 days apart, 4294967295 (-1
    // in the file) every two events.
    bool too_late = time - button.last_time > window_ms;
    bool fresh_down = msg == down_msg && seq.msg != down_msg;
    if (too_late || fresh_down || !IsWithinAllowance(pt, seq.start_point, allowance))
        ResetPressSequence(seq);
    button.last_time = time;

    if (msg == down_msg)
        CountStep(seq.down_count);
    else if (msg == up_msg)
        CountStep(seq.up_count);

    if (seq.active) {
        if (seq.down_count >= 2 && seq.up_count >= 2) {
            ResetPressSequence(seq);
            return true;
        }
        return false;
    }
    if (msg == down_msg) {
        seq.active = true;
        seq.msg = down_msg;
        seq.start_point = pt;
    }
    return false;
}

// Zeroing starts the jiggle over; what tells chatter from a turn stays.
static void ZeroWheel(WheelState &wheel) {
    const uint32_t last_event_time = wheel.last_event_time;
    const int8_t direction = wheel.direction;
    wheel = WheelState{};
    wheel.last_event_time = last_event_time;
    wheel.direction = direction;
}

static int8_t DirectionOf(int32_t delta) { return static_cast<int8_t>((delta > 0) - (delta < 0)); }

// Chatter is no step and no part of the sum: the wheel did not move that way, and the sum is to
// tell how far it ran one way. Nor does it keep the jiggle alive, nor is a turn measured from it:
// measured from chatter, the reports of a touchpad 8 ms apart, or a quick hand's notches, would
// stay chatter for as long as they came. The time since the last event that was no chatter is a
// difference, so it holds across the tick count's wrap, and an event stamped before it is no
// chatter.
static bool IsChatter(WheelState &wheel, int32_t delta, uint32_t time, const Settings &cfg) {
    const int8_t direction = DirectionOf(delta);
    if (cfg.wheel.bounce_guard > 0 && direction == -wheel.direction && direction != 0 &&
        time - wheel.last_event_time < static_cast<uint32_t>(cfg.wheel.bounce_guard))
        return true;
    wheel.last_event_time = time;
    if (direction != 0)
        wheel.direction = direction;
    return false;
}

static bool CountNotch(WheelState &wheel, uint16_t delta, uint32_t now, const Settings &cfg) {
    static const uint16_t NOTCH_FORWARD = 120;
    static const uint16_t NOTCH_BACKWARD = static_cast<uint16_t>(-120);

    if (now - wheel.last_tick > cfg.wheel.timeout)
        ZeroWheel(wheel);
    wheel.last_tick = now;
    if (delta != wheel.last_delta) {
        if (delta == NOTCH_FORWARD)
            CountStep(wheel.up_count);
        else if (delta == NOTCH_BACKWARD)
            CountStep(wheel.down_count);
    }
    wheel.delta_sum = static_cast<int16_t>(static_cast<uint16_t>(wheel.delta_sum) + delta);

    bool recognised = false;
    int32_t sum = wheel.delta_sum;
    if ((sum < 0 ? -sum : sum) >= WrapMul(cfg.wheel.allowance, 120))
        ZeroWheel(wheel);
    if (wheel.down_count >= cfg.wheel.down && wheel.up_count >= cfg.wheel.up) {
        ZeroWheel(wheel);
        recognised = true;
    }
    wheel.last_delta = delta;
    return recognised;
}

bool DetectWheelJiggle(WheelState &wheel, uint16_t delta, uint32_t time, uint32_t now, const Settings &cfg) {
    return !IsChatter(wheel, static_cast<int16_t>(delta), time, cfg) && CountNotch(wheel, delta, now, cfg);
}

bool DetectFineWheelJiggle(WheelState &wheel, uint16_t delta, uint32_t time, uint32_t now, const Settings &cfg) {
    static const int32_t NOTCH = 120;

    const int32_t step = static_cast<int16_t>(delta);
    if (IsChatter(wheel, step, time, cfg))
        return false;
    if (now - wheel.last_tick > cfg.wheel.timeout)
        ZeroWheel(wheel);
    wheel.last_tick = now;
    int32_t sum = wheel.fine_sum;
    if ((step < 0 && sum > 0) || (step > 0 && sum < 0))
        sum = 0;
    sum += step;
    bool recognised = false;
    while (sum >= NOTCH || sum <= -NOTCH) {
        const int32_t notch = sum > 0 ? NOTCH : -NOTCH;
        sum -= notch;
        recognised |= CountNotch(wheel, static_cast<uint16_t>(notch), now, cfg);
    }
    wheel.fine_sum = static_cast<int16_t>(sum);
    return recognised;
}

void ArmLongPress(ButtonState &button, uint32_t msg, uint32_t down_msg, uint32_t up_msg, Point32 pt,
                  int32_t event_value, uint32_t holddown_ms, uint32_t now) {
    PressSequence &seq = button.holddown;
    if (seq.active) {
        if (msg == up_msg)
            ResetPressSequence(seq);
        return;
    }
    if (msg == down_msg) {
        seq.active = true;
        seq.msg = down_msg;
        seq.start_point = pt;
        SetTimerEvent(event_value, holddown_ms, now);
    }
}

void SetTimerEvent(int32_t value, uint32_t delay, uint32_t now) {
    g_timer_event = value;
    g_timer_event_start = now;
    g_timer_event_delay = delay;
}

void ClearTimerEvent() {
    g_timer_event = TIMER_EVENT_NONE;
    g_timer_event_start = 0;
    g_timer_event_delay = 0;
}

namespace {
struct ButtonGesture {
    uint32_t down_msg, up_msg;
    ButtonState *state;
    uint32_t dblclick_bit, holddown_bit;
    int32_t event_value;
};

const ButtonGesture *ButtonGestureFor(uint32_t msg) {
    static const ButtonGesture BUTTONS[] = {
        {MOUSE_MSG_LBUTTONDOWN, MOUSE_MSG_LBUTTONUP, &g_left_button, CLICK_LEFT_DBLCLICK,
         CLICK_LEFT_HOLDDOWN, TIMER_EVENT_BUTTONHOLDDOWN_LEFT},
        {MOUSE_MSG_RBUTTONDOWN, MOUSE_MSG_RBUTTONUP, &g_right_button, CLICK_RIGHT_DBLCLICK,
         CLICK_RIGHT_HOLDDOWN, TIMER_EVENT_BUTTONHOLDDOWN_RIGHT},
        {MOUSE_MSG_MBUTTONDOWN, MOUSE_MSG_MBUTTONUP, &g_middle_button, CLICK_MIDDLE_DBLCLICK,
         CLICK_MIDDLE_HOLDDOWN, TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE},
    };
    for (const ButtonGesture &b : BUTTONS)
        if (msg == b.down_msg || msg == b.up_msg)
            return &b;
    return nullptr;
}
}  // namespace

bool HandleMouseEvent(uint32_t msg, Point32 pt, uint32_t mouse_data, uint32_t time, uint32_t now,
                      const Settings &cfg) {
    if (msg == MOUSE_MSG_WHEEL) {
        const uint16_t delta = static_cast<uint16_t>(mouse_data >> 16);
        switch (cfg.wheel.onwheel & (WHEEL_GESTURE_ON | WHEEL_COUNT_FINE)) {
        case WHEEL_GESTURE_ON: return DetectWheelJiggle(g_wheel, delta, time, now, cfg);
        case WHEEL_GESTURE_ON | WHEEL_COUNT_FINE: return DetectFineWheelJiggle(g_wheel, delta, time, now, cfg);
        default: return false;
        }
    }
    const ButtonGesture *b = ButtonGestureFor(msg);
    if (!b)
        return false;
    bool recognised = false;
    if (cfg.click.onclick & b->dblclick_bit)
        recognised = DetectDoubleClick(*b->state, msg, b->down_msg, b->up_msg, pt, time,
                                       cfg.click.msec_dblclick, cfg.click.move_allowance);
    if (cfg.click.onclick & b->holddown_bit)
        ArmLongPress(*b->state, msg, b->down_msg, b->up_msg, pt, b->event_value,
                     static_cast<uint32_t>(cfg.click.msec_holddown), now);
    return recognised;
}
