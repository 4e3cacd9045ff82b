// Gesture recognition and the pending timer event: plain decisions over plain records,
// driven by the hook and the timer with the time stamp, the point and the settings.
#pragma once
#include <atomic>
#include <cstdint>

#include "settings/Settings.h"

struct Point32 {
    int32_t x, y;
};

// The mouse messages the hook tells apart (the values of WM_LBUTTONDOWN and so on).
enum : uint32_t {
    MOUSE_MSG_MOVE = 512,
    MOUSE_MSG_LBUTTONDOWN = 513, MOUSE_MSG_LBUTTONUP = 514,
    MOUSE_MSG_RBUTTONDOWN = 516, MOUSE_MSG_RBUTTONUP = 517,
    MOUSE_MSG_MBUTTONDOWN = 519, MOUSE_MSG_MBUTTONUP = 520,
    MOUSE_MSG_WHEEL = 522,
    MOUSE_MSG_XBUTTONDOWN = 523, MOUSE_MSG_XBUTTONUP = 524,
};

enum : int32_t {
    TIMER_EVENT_NONE = 0,
    TIMER_EVENT_MOVE = 2,
    TIMER_EVENT_BUTTONHOLDDOWN_LEFT = 16,    // each equals the button's long-press bit
    TIMER_EVENT_BUTTONHOLDDOWN_MIDDLE = 32,
    TIMER_EVENT_BUTTONHOLDDOWN_RIGHT = 64,
};

struct WheelState {
    uint32_t last_tick;
    uint16_t last_delta;
    int16_t delta_sum;
    int32_t up_count;
    int32_t down_count;
    int16_t fine_sum;   // fine-resolution deltas of one direction short of a notch
    // For telling a worn wheel's chatter from a turn: kept when the jiggle starts over.
    uint32_t last_event_time;   // time stamp of the last wheel event that was no chatter
    int8_t direction;           // of the last wheel event that was no chatter: 1 forward, -1 back
};

struct PressSequence {
    bool active;
    uint32_t msg;
    Point32 start_point;
    int8_t up_count;
    int8_t down_count;
};

struct ButtonState {
    uint32_t last_time;
    PressSequence dblclick;
    PressSequence holddown;
};

extern WheelState g_wheel;
extern ButtonState g_left_button, g_middle_button, g_right_button;
extern int32_t g_timer_event;
extern uint32_t g_timer_event_start;
extern uint32_t g_timer_event_delay;
extern uint32_t g_last_activation_tick;

// The hook's sign of life: its thread sets this first thing for every event it sees, and each
// timer tick reads and clears it (JudgeHook).
extern std::atomic<bool> g_hook_saw_event;
// The hook's count of button events, every button, down and up: it counts each after queueing it
// (or dropping it from a full queue), so that a count read by the engine's thread covers only
// events that it can take from the queue.
extern std::atomic<uint32_t> g_hook_buttons;

// Elapsed time is a difference, so the test holds across the 49.7-day wrap of the tick count.
// A delay of zero or less, which a settings file may give, is due at once.
inline bool IsDue(uint32_t now, uint32_t start, uint32_t delay) {
    return static_cast<int32_t>(delay) <= 0 || now - start >= delay;
}

void ResetPressSequence(PressSequence &seq);

bool DetectDoubleClick(ButtonState &button, uint32_t msg, uint32_t down_msg, uint32_t up_msg,
                       Point32 pt, uint32_t time, uint32_t window_ms, int32_t allowance);

// Both wheel recognisers take the event's own time stamp (MSLLHOOKSTRUCT's time) and the tick
// count when the hook saw it; TimeOut is measured by the tick count. A turn of the wheel less
// than BounceGuard ms after the last wheel event that was no chatter, by the time stamps, is
// chatter, which a worn wheel's encoder sends while the wheel turns one way and no hand makes: it
// is left out whole, as if the wheel had not sent it. So the notch after a chatter is no turn,
// and a turn is measured from the events that counted, not from the chatter before it.

// One wheel event; true when it completes a jiggle. Only a delta of exactly one notch counts.
bool DetectWheelJiggle(WheelState &wheel, uint16_t delta, uint32_t time, uint32_t now, const Settings &cfg);

// One wheel event of a touchpad or a free-spinning wheel, which scroll in steps finer than a
// notch. The steps of one direction add up, and each full notch counts as if a notched wheel had
// sent it with this event; a change of direction starts the sum afresh. Every wheel event but
// chatter keeps the jiggle alive, so a pause longer than TimeOut forgets the sum with the rest.
bool DetectFineWheelJiggle(WheelState &wheel, uint16_t delta, uint32_t time, uint32_t now, const Settings &cfg);

// Arms the long press of one button on its down, forgets it on its up.
void ArmLongPress(ButtonState &button, uint32_t msg, uint32_t down_msg, uint32_t up_msg, Point32 pt,
                  int32_t event_value, uint32_t holddown_ms, uint32_t now);

void SetTimerEvent(int32_t value, uint32_t delay, uint32_t now);
void ClearTimerEvent();

// The messages the hook queues: the buttons and the wheel. The horizontal wheel concerns nothing
// here; moves only the hot zones (HookZones). The extra buttons make no
// gesture, but like every button they spend a visit to a hot zone.
inline bool IsQueuedMessage(uint32_t msg) {
    switch (msg) {
    case MOUSE_MSG_LBUTTONDOWN: case MOUSE_MSG_LBUTTONUP:
    case MOUSE_MSG_RBUTTONDOWN: case MOUSE_MSG_RBUTTONUP:
    case MOUSE_MSG_MBUTTONDOWN: case MOUSE_MSG_MBUTTONUP:
    case MOUSE_MSG_XBUTTONDOWN: case MOUSE_MSG_XBUTTONUP:
    case MOUSE_MSG_WHEEL:
        return true;
    default:
        return false;
    }
}

inline bool IsButtonMessage(uint32_t msg) { return IsQueuedMessage(msg) && msg != MOUSE_MSG_WHEEL; }

// Windows marks the mouse events that it makes from touch and pen input in their extra
// information. A tap or a press of the pen is no mouse gesture; it is a press all the same.
constexpr uint32_t TOUCH_OR_PEN_MASK = 0xFFFFFF00u, TOUCH_OR_PEN_SIGNATURE = 0xFF515700u;
inline bool IsTouchOrPen(uint32_t extra_info) { return (extra_info & TOUCH_OR_PEN_MASK) == TOUCH_OR_PEN_SIGNATURE; }

// The hook's decision for one event: true when a wheel jiggle or a double-click completed
// and the host is to be activated.
bool HandleMouseEvent(uint32_t msg, Point32 pt, uint32_t mouse_data, uint32_t time, uint32_t now,
                      const Settings &cfg);

// Square test around a centre, edges inside; arithmetic wraps as 32-bit two's complement.
bool IsWithinAllowance(Point32 pt, Point32 centre, int32_t allowance);

inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
