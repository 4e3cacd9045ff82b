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

    void Trace(const char *format, ...) __attribute__((format(gnu_printf, 2, 3)));
};

extern bool g_last_in_zone;

void RunTimerTick(uint32_t now, Point32 point, const Settings &cfg, TickHost &host);
