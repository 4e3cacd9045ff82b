// Whether something in full screen holds a recognised gesture back, as the FullScreen setting
// asks: the decision over plain values, and the question put to the real screen.
#pragma once
#include <cstdint>

#include "engine/HotZones.h"

// The system's user-notification states (SHQueryUserNotificationState). Exclusive full screen and
// presentation mode hold gestures back alone. "Busy" comes with slide shows and borderless
// full-screen games, but some overlays report it with nothing full screen: it holds them back only
// together with a foreground window that covers its monitor.
enum : int32_t {
    NOTIFICATION_STATE_BUSY = 2,
    NOTIFICATION_STATE_D3D_FULL_SCREEN = 3,
    NOTIFICATION_STATE_PRESENTATION_MODE = 4
};

bool CoversRect(const Rect32 &window, const Rect32 &monitor);
// Whether the foreground window covers its monitor is asked only where it decides.
bool NeedsForegroundCover(int32_t setting, int32_t notification_state);
bool IsHeldBackByFullScreen(int32_t setting, int32_t notification_state, bool foreground_covers_monitor);

// True, with a trace line, when the FullScreen setting holds a recognised gesture back now, or
// the window in front belongs to a program of the Exclude setting.
bool IsGestureHeldBack();
