// What one tick of the engine's timer decides: the dwell in a hot zone and the completion of
// a long press. The host and the screen are reached through TickHost, so that the decisions
// run the same in the plug-in and in native tests.
#pragma once
#include <cstdarg>
#include <cstdint>

#include "engine/Gestures.h"

constexpr uint32_t ACTIVATION_COOL_DOWN_MS = 1000;

class TickHost {
public:
    virtual ~TickHost() = default;
    virtual void VTrace(const char *format, va_list args) = 0;
    virtual bool IsInHotZone(int32_t x, int32_t y) = 0;
    virtual bool HostHasFocus() = 0;          // false when the host cannot tell
    virtual bool IsGestureHeldBack() = 0;     // full screen in front, as the settings say
    virtual void SendTrayInOut() = 0;

    void Trace(const char *format, ...) __attribute__((format(printf, 2, 3)));
};

extern bool g_last_in_zone;

void RunTimerTick(uint32_t now, Point32 point, const Settings &cfg, TickHost &host);

// The system may remove a low-level hook without a word (hooks that kept it waiting, session
// switches, resume from sleep). A cursor that moved between two ticks while the hook saw no
// event tells: only a program's SetCursorPos moves it without an event, and that costs one
// needless re-install. Re-installing a healthy hook would stutter the whole desktop, so it is
// done on this sign only, and at most once per HOOK_REINSTALL_SPACING_MS.
constexpr uint32_t HOOK_REINSTALL_SPACING_MS = 5000;

struct HookWatch {
    bool has_point;             // false until the first tick after the hook went in
    Point32 point;              // the cursor at the previous tick
    bool has_reinstalled;
    uint32_t reinstall_tick;    // when the last re-install was decided
};

extern HookWatch g_hook_watch;

// A fresh hook: the next tick only takes the cursor's position.
void WatchNewHook();

// One tick's look at the hook, with the tick's clock and cursor: true when the hook is lost and
// is to be re-installed now. Clears g_hook_saw_event for the next interval.
bool HasHookBeenLost(uint32_t now, Point32 cursor);
