// Whether something in full screen holds a recognised gesture back, as the FullScreen setting
// asks: the decision over plain values, and the question put to the real screen.
#pragma once
#include <cstdint>

#include "engine/HotZones.h"

// The system's user-notification states (SHQueryUserNotificationState) that mean exclusive full
// screen. Its "busy" state is not among them: some overlays report it with nothing full screen.
enum : int32_t { NOTIFICATION_STATE_D3D_FULL_SCREEN = 3, NOTIFICATION_STATE_PRESENTATION_MODE = 4 };

bool CoversRect(const Rect32 &window, const Rect32 &monitor);
bool IsHeldBackByFullScreen(int32_t setting, int32_t notification_state, bool foreground_covers_monitor);

// True, with a trace line, when the FullScreen setting holds a recognised gesture back now.
bool IsGestureHeldBack();
